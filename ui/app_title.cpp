#include "app_title.h"

namespace scrinst {

std::string ApplicationTitle(std::string_view moduleFileName, LowerCaseBuffer lowerCase)
{
    std::string_view name = moduleFileName;
    if (const auto slash = name.rfind('\\'); slash != std::string_view::npos) {
        name.remove_prefix(slash + 1);
    }
    // The first dot, not the last: "my.saver.exe" is titled "My".
    if (const auto dot = name.find('.'); dot != std::string_view::npos) {
        name = name.substr(0, dot);
    }
    std::string title(name);
    if (title.size() > 1) {
        lowerCase(std::span<char>(title).subspan(1));
    }
    return title;
}

}  // namespace scrinst
