#pragma once

#include <map>
#include <string>

namespace scrinst::e2e {

// driver.exe SCENARIO PACKAGE [key=value ...]; paths may be given as Unix
// paths, which Wine shows under drive Z:.
class Options {
public:
    Options(int argc, char** argv);

    const std::string& scenario() const noexcept { return scenario_; }
    const std::string& package() const noexcept { return package_; }

    bool has(const std::string& key) const { return values_.count(key) != 0; }
    std::string get(const std::string& key, const std::string& fallback = "") const;
    std::string path(const std::string& key) const;
    // A required value; its absence is a mistake in the test's own setup.
    std::string need(const std::string& key) const;

private:
    std::string scenario_;
    std::string package_;
    std::map<std::string, std::string> values_;
};

std::string WindowsPath(const std::string& path);

}  // namespace scrinst::e2e
