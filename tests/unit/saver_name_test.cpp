#include <gtest/gtest.h>

#include <string>

#include "saver_name.h"

namespace scrinst {
namespace {

struct NameCase {
    const char* label;
    std::string name;
    bool plain;
};

TEST(IsPlainFileName, RefusesWhatWouldLeaveTheFolderOrReachADevice)
{
    const NameCase cases[] = {
        // Ordinary names, including ones that merely start like a device.
        {"simple", "Starfield", true},
        {"blanks and digits", "My Saver 2", true},
        {"empty", "", true},
        {"high bytes", "Caf\xE9 \xC4rger", true},
        {"dots only", "..", true},
        {"device prefix", "CONSOLE", true},
        {"two-digit port", "COM10", true},
        {"port without number", "LPT", true},
        {"device after a blank", " CON", true},
        {"device inside", "xNUL", true},
        // Separators, drives and the characters Windows forbids.
        {"parent folder", "..\\evil", false},
        {"forward slash", "a/b", false},
        {"drive or stream colon", "x:y", false},
        {"wildcard star", "a*b", false},
        {"wildcard question", "a?b", false},
        {"quote", "a\"b", false},
        {"less than", "a<b", false},
        {"greater than", "a>b", false},
        {"pipe", "a|b", false},
        {"tab", "tab\t", false},
        {"zero byte", std::string("nul\0byte", 8), false},
        {"byte 31", "a\x1F", false},
        // Device names, in any case, with blanks or an extension.
        {"console", "CON", false},
        {"console with extension", "con.txt", false},
        {"null with trailing blank", "NUL ", false},
        {"null blank then extension", "nul .scr", false},
        {"printer", "Prn", false},
        {"aux", "aux", false},
        {"port one", "COM1", false},
        {"port zero", "com0", false},
        {"printer port with extension", "LPT9.scr", false},
        {"port superscript one", "COM\xB9", false},
        {"port superscript three", "lpt\xB3.x", false},
        {"console input", "conin$", false},
        {"console output", "CONOUT$.a.b", false},
    };
    for (const NameCase& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(IsPlainFileName(c.name), c.plain);
    }
}

}  // namespace
}  // namespace scrinst
