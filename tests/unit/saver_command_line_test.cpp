// The sample screen saver's reading of what Windows passes it. Header-only
// and free of <windows.h>, so it is checked here although the saver itself
// only builds for Windows.
#include "../../samples/starfield/command_line.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string_view>

namespace {

using scrinst::starfield::ArgumentsOf;
using scrinst::starfield::ParseSaverArguments;
using scrinst::starfield::SaverCommand;
using scrinst::starfield::SaverMode;

TEST(SaverCommandLine, SkipsTheProgramPathQuotedOrNot)
{
    struct Case {
        const char* name;
        std::string_view commandLine;
        std::string_view arguments;
    };
    const Case cases[] = {
        {"plain path", R"(C:\WINDOWS\STARFI~1.SCR /s)", " /s"},
        {"quoted path with blanks", R"("C:\Program Files\Star field.scr" /p 123)", " /p 123"},
        {"quoted path, no arguments", R"("C:\a b\x.scr")", ""},
        {"unterminated quote swallows the rest", R"("C:\a b\x.scr /s)", ""},
        {"path only", R"(x.scr)", ""},
        {"tab after the path", "x.scr\t/c", "\t/c"},
        {"empty", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ArgumentsOf(c.commandLine), c.arguments);
    }
}

TEST(SaverCommandLine, ReadsModeAndWindowInEveryForm)
{
    struct Case {
        const char* name;
        std::string_view arguments;
        SaverCommand expected;
    };
    const Case cases[] = {
        {"nothing opens the options", "", {SaverMode::Configure, 0}},
        {"blanks only", "   ", {SaverMode::Configure, 0}},
        {"slash s", "/s", {SaverMode::FullScreen, 0}},
        {"upper case", "/S", {SaverMode::FullScreen, 0}},
        {"dash", "-s", {SaverMode::FullScreen, 0}},
        {"bare letter", "s", {SaverMode::FullScreen, 0}},
        {"leading blanks", "  \t/s", {SaverMode::FullScreen, 0}},
        {"preview after a blank", "/p 1234", {SaverMode::Preview, 1234}},
        {"preview after a colon", "/p:1234", {SaverMode::Preview, 1234}},
        {"preview, colon and blanks", "/P : 66", {SaverMode::Preview, 66}},
        {"preview without window", "/p", {SaverMode::Preview, 0}},
        {"configure with owner", "/c:5678", {SaverMode::Configure, 5678}},
        {"configure dash upper", "-C 42", {SaverMode::Configure, 42}},
        {"password change", "/a 99", {SaverMode::ChangePassword, 99}},
        {"unknown letter opens the options", "/x 7", {SaverMode::Configure, 7}},
        {"only a slash", "/", {SaverMode::Configure, 0}},
        {"digits stop at the first other character", "/p 12ab34", {SaverMode::Preview, 12}},
        {"not a number", "/p abc", {SaverMode::Preview, 0}},
        {"largest handle", "/p 4294967295", {SaverMode::Preview, 4294967295u}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ParseSaverArguments(c.arguments), c.expected);
    }
}

TEST(SaverCommandLine, AWindowNumberTooLargeForAHandleMeansNone)
{
    // One digit more than the largest value of the platform's pointer.
    const std::string_view tooLarge =
        sizeof(std::uintptr_t) == 8 ? "/p 184467440737095516150" : "/p 42949672950";
    EXPECT_EQ(ParseSaverArguments(tooLarge), (SaverCommand{SaverMode::Preview, 0}));
}

}  // namespace
