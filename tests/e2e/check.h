#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace scrinst::e2e {

// A check that cannot go on: the scenario stops, the driver reports it and
// fails.
class Fatal : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Records a failed expectation and lets the scenario go on, so that one run
// shows every difference it can reach.
void Expect(bool ok, const std::string& what);
[[noreturn]] void Fail(const std::string& what);
inline void Require(bool ok, const std::string& what)
{
    if (!ok) {
        Fail(what);
    }
}

// Compares and reports as: <what>: expected "<expected>", got "<actual>".
void ExpectEqual(std::string_view what, std::string_view expected, std::string_view actual);
void ExpectEqual(std::string_view what, long long expected, long long actual);

// Progress lines, so that a failure's log shows how far the scenario came.
void Note(const std::string& text);

int FailureCount() noexcept;

// Text with control characters made visible: "a\r\nb".
std::string Quoted(std::string_view text);

}  // namespace scrinst::e2e
