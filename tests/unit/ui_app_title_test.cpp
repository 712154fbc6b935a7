#include <gtest/gtest.h>

#include <cctype>
#include <string>

#include "app_title.h"

namespace {

// Stands in for CharLowerBuffA; records what it was given, since only the
// characters after the first may be passed.
std::string g_lowered;

void LowerAscii(std::span<char> text)
{
    g_lowered.assign(text.begin(), text.end());
    for (char& c : text) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
}

TEST(ApplicationTitle, CutsPathAndExtensionAndLowersAllButTheFirstCharacter)
{
    struct Case {
        const char* name;
        const char* moduleFileName;
        const char* title;
        const char* lowered;  // what the system's lower-casing received
    };
    const Case cases[] = {
        {"upper-case name", "C:\\WINDOWS\\TEMP\\SETUP.EXE", "Setup", "ETUP"},
        {"first character kept as it is", "C:\\dl\\aQUARIUM.exe", "aquarium", "QUARIUM"},
        {"cut at the first dot", "C:\\dl\\MY.SAVER.EXE", "My", "Y"},
        {"dots in folders do not count", "C:\\v1.2\\FISH.EXE", "Fish", "ISH"},
        {"no folder", "SETUP.EXE", "Setup", "ETUP"},
        {"no extension", "C:\\x\\SETUP", "Setup", "ETUP"},
        {"one character", "C:\\x\\S.EXE", "S", ""},
        {"nothing before the dot", "C:\\x\\.EXE", "", ""},
        {"ends in a separator", "C:\\x\\", "", ""},
        {"forward slashes are not separators", "C:/x/SETUP.EXE", "C:/x/setup", ":/x/SETUP"},
        {"high bytes passed through", "C:\\x\\\xC4PFEL.EXE", "\xC4pfel", "PFEL"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        g_lowered.clear();
        EXPECT_EQ(scrinst::ApplicationTitle(c.moduleFileName, LowerAscii), c.title);
        EXPECT_EQ(g_lowered, c.lowered);
    }
}

}  // namespace
