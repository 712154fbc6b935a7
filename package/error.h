#pragma once

#include <exception>
#include <string>
#include <utility>

namespace scrinst {

// Every failure the installer can meet is one of these, carrying the exact text
// the user sees in the error box (before the box adds its full stop).
class Error : public std::exception {
public:
    explicit Error(std::string message) : message_(std::move(message)) {}
    const char* what() const noexcept override { return message_.c_str(); }
    const std::string& message() const noexcept { return message_; }

private:
    std::string message_;
};

}  // namespace scrinst
