#include <gtest/gtest.h>

#include "package_fixture.h"
#include "text_lines.h"

namespace scrinst {
namespace {

TEST(SplitLines, BreaksAsTheTextBoxShowsThem)
{
    using Lines = std::vector<std::string>;
    struct Case {
        const char* name;
        std::string text;
        Lines lines;
    };
    const Case cases[] = {
        {"CR LF, LF, LF and a final CR", "one\r\ntwo\n\nthree\r", {"one", "two", "", "three"}},
        {"zero byte ends the text", std::string("abc\0def", 7), {"abc"}},
        {"LF CR is two breaks", "a\n\rb", {"a", "", "b"}},
        {"lone CR", "a\rb", {"a", "b"}},
        {"no final break", "last", {"last"}},
        {"final CR LF adds no empty line", "a\r\n", {"a"}},
        {"two final breaks keep one empty line", "a\n\n", {"a", ""}},
        {"only a break", "\n", {""}},
        {"empty", "", {}},
        {"zero byte first", std::string("\0abc", 4), {}},
        {"high bytes kept as they are", "caf\xE9\r\n\xA9 2026", {"caf\xE9", "\xA9 2026"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(SplitLines(test::Bytes(c.text)), c.lines);
    }
}

}  // namespace
}  // namespace scrinst
