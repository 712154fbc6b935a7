#include "options.h"

#include "check.h"

namespace scrinst::e2e {

std::string WindowsPath(const std::string& path)
{
    if (path.empty() || path.front() != '/') {
        return path;
    }
    std::string windows = "Z:" + path;
    for (char& c : windows) {
        if (c == '/') {
            c = '\\';
        }
    }
    return windows;
}

Options::Options(int argc, char** argv)
{
    if (argc < 2) {
        Fail("usage: driver SCENARIO [PACKAGE] [key=value ...]");
    }
    scenario_ = argv[1];
    int first = 2;
    if (argc > 2 && std::string(argv[2]).find('=') == std::string::npos) {
        package_ = WindowsPath(argv[2]);
        first = 3;
    }
    for (int i = first; i < argc; ++i) {
        const std::string argument = argv[i];
        const std::size_t equals = argument.find('=');
        if (equals == std::string::npos) {
            Fail("argument " + Quoted(argument) + " is not key=value");
        }
        values_[argument.substr(0, equals)] = argument.substr(equals + 1);
    }
}

std::string Options::get(const std::string& key, const std::string& fallback) const
{
    const auto found = values_.find(key);
    return found == values_.end() ? fallback : found->second;
}

std::string Options::path(const std::string& key) const
{
    return WindowsPath(need(key));
}

std::string Options::need(const std::string& key) const
{
    const auto found = values_.find(key);
    if (found == values_.end()) {
        Fail("scenario " + scenario_ + " needs " + key + "=");
    }
    return found->second;
}

}  // namespace scrinst::e2e
