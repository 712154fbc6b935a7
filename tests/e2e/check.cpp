#include "check.h"

#include <cstdio>

namespace scrinst::e2e {

namespace {
int failures = 0;
}

void Expect(bool ok, const std::string& what)
{
    if (!ok) {
        ++failures;
        std::printf("FAIL: %s\n", what.c_str());
        std::fflush(stdout);
    }
}

void Fail(const std::string& what)
{
    throw Fatal(what);
}

void ExpectEqual(std::string_view what, std::string_view expected, std::string_view actual)
{
    Expect(expected == actual, std::string(what) + ": expected " + Quoted(expected) + ", got " + Quoted(actual));
}

void ExpectEqual(std::string_view what, long long expected, long long actual)
{
    Expect(expected == actual,
           std::string(what) + ": expected " + std::to_string(expected) + ", got " + std::to_string(actual));
}

void Note(const std::string& text)
{
    std::printf("  %s\n", text.c_str());
    std::fflush(stdout);
}

int FailureCount() noexcept
{
    return failures;
}

std::string Quoted(std::string_view text)
{
    // Long texts (file contents) are cut: the start shows the difference.
    constexpr std::size_t kShown = 300;
    const bool cut = text.size() > kShown;
    if (cut) {
        text = text.substr(0, kShown);
    }
    std::string out = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\r') {
            out += "\\r";
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20 || byte >= 0x7F) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", byte);
            out += hex;
        } else {
            out += c;
        }
    }
    out += cut ? "\"..." : "\"";
    return out;
}

}  // namespace scrinst::e2e
