#include <gtest/gtest.h>

#include <string>

#include "error_text.h"
#include "messages.h"

namespace {

TEST(ErrorBoxText, AppendsAFullStopOnlyAfterBytesAboveTheFullStop)
{
    struct Case {
        const char* name;
        std::string message;
        std::string shown;
    };
    const Case cases[] = {
        {"letter", std::string(scrinst::messages::kStreamReadError), "Stream read error."},
        {"digit", "JPEG error #53", "JPEG error #53."},
        {"closing quote", scrinst::messages::FailedToSetData("SCRNSAVE.EXE"), "Failed to set data for 'SCRNSAVE.EXE'"},
        {"double quote", "Cannot open file \"x\"", "Cannot open file \"x\""},
        {"full stop", "Done.", "Done."},
        {"blank", "Trailing blank ", "Trailing blank "},
        {"parenthesis", "(x)", "(x)"},
        {"line break", "System text\r\n", "System text\r\n"},
        {"slash lies just above the full stop", "a/", "a/."},
        {"hyphen lies just below it", "a-", "a-"},
        {"byte 128 counts as unsigned", "caf\x80", "caf\x80."},
        {"byte 255", "\xFF", "\xFF."},
        {"empty", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(scrinst::ErrorBoxText(c.message), c.shown);
    }
}

}  // namespace
