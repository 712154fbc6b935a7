#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "bmp_fixture.h"
#include "error.h"
#include "loader.h"
#include "messages.h"
#include "package_file.h"
#include "package_fixture.h"
#include "recording_target.h"

namespace scrinst {
namespace {

using test::Bytes;
using test::Concat;
using test::Filled;
using test::MakeTrailer;
using test::RawPackage;
using test::RecordingTarget;
using Log = std::vector<std::string>;
using Lines = std::vector<std::string>;

const std::vector<std::uint8_t> kStub = Bytes("MZ this stands for the installer executable");

// Loads and returns the message of the error loading raised, or "" on success.
std::string Load(RecordingTarget& target, std::vector<std::uint8_t> package)
{
    try {
        LoadPackageBytes(target, ByteBuffer(std::move(package)));
        return "";
    } catch (const Error& error) {
        return error.message();
    }
}

std::vector<std::uint8_t> SaverOf(const RecordingTarget& target)
{
    const auto bytes = target.saver.bytes();
    return {bytes.begin(), bytes.end()};
}

TEST(LoadPackage, FullPackageMakesEveryEffectInOrder)
{
    const auto saver = Filled(150000);  // more than two copy chunks
    const auto picture = test::SolidBmp24(3, 2, 0x10, 0x20, 0x30);
    const auto text = Bytes("Line one\r\nLine two");
    const auto trailer = MakeTrailer("Starfield", static_cast<std::int32_t>(saver.size()),
                                     static_cast<std::int32_t>(picture.size()), ".bmp",
                                     static_cast<std::int32_t>(text.size()));
    RecordingTarget target;
    EXPECT_EQ(Load(target, RawPackage(Concat({kStub, saver, picture, text}), trailer)), "");

    EXPECT_EQ(target.log, (Log{"trailer", "caption", "saver", "drop", "fill", "lines"}));
    EXPECT_EQ(target.trailer, trailer);
    EXPECT_EQ(target.caption, "Starfield Installation");
    EXPECT_EQ(SaverOf(target), saver);
    EXPECT_EQ(target.picture.width, 3);
    EXPECT_EQ(target.picture.height, 2);
    EXPECT_EQ(target.lines, (Lines{"Line one", "Line two"}));
}

TEST(LoadPackage, WithoutPictureAndTextOnlyTrailerCaptionAndSaverChange)
{
    const auto saver = Bytes("SCR");
    auto trailer = MakeTrailer("", 3);
    trailer.pictureType[0] = 200;  // never looked at without a picture
    RecordingTarget target;
    EXPECT_EQ(Load(target, RawPackage(Concat({kStub, saver}), trailer)), "");
    EXPECT_EQ(target.log, (Log{"trailer", "caption", "saver"}));
    EXPECT_EQ(target.caption, " Installation");
    EXPECT_TRUE(target.showsBanner);
    EXPECT_TRUE(target.lines.empty());
    EXPECT_EQ(SaverOf(target), saver);
}

TEST(LoadPackage, ItemsAreFoundWhateverTheStubLength)
{
    const auto saver = Bytes("saver-bytes");
    const auto text = Bytes("hello");
    const auto trailer = MakeTrailer("S", 11, 0, "", 5);
    for (const std::size_t stubLength : {0u, 1u, 70000u}) {
        SCOPED_TRACE(stubLength);
        RecordingTarget target;
        EXPECT_EQ(Load(target, RawPackage(Concat({Filled(stubLength), saver, text}), trailer)), "");
        EXPECT_EQ(SaverOf(target), saver);
        EXPECT_EQ(target.lines, (Lines{"hello"}));
    }
}

// What the window holds after each kind of failure, step by step.
TEST(LoadPackage, FailureLeavesTheEffectsMadeBeforeIt)
{
    const auto saver = Bytes("SAVER");
    const auto text = Bytes("never shown");
    const auto bmp = test::SolidBmp24(2, 2, 1, 2, 3);
    auto planes2 = bmp;
    planes2[26] = 2;
    const std::vector<std::uint8_t> jpegLike = {0xFF, 0xD8, 0xFF, 0xE0, 0, 16, 'J', 'F', 'I', 'F', 0, 1, 1, 0, 0, 1};
    auto size = [](const std::vector<std::uint8_t>& v) { return static_cast<std::int32_t>(v.size()); };

    struct Case {
        const char* name;
        std::vector<std::uint8_t> package;
        std::string message;
        Log log;
        std::string caption;
        std::vector<std::uint8_t> saver;
        bool banner;
    };
    auto nameTooLong = MakeTrailer("x", 5);
    nameTooLong.saverName[0] = 52;

    const Case cases[] = {
        {"shorter than a trailer", Filled(71), std::string(messages::kStreamReadError), {}, "Installation", {}, true},
        {"name length byte above 51", RawPackage(Concat({kStub, saver}), nameTooLong),
         std::string(messages::kStreamReadError), {"trailer"}, "Installation", {}, true},
        {"counts exceed the file", RawPackage(saver, MakeTrailer("Big", 1000)),
         std::string(messages::kStreamReadError), {"trailer", "caption"}, "Big Installation", {}, true},
        {"saver count zero", RawPackage(Concat({kStub, saver}), MakeTrailer("Zero", 0)),
         std::string(messages::kStreamReadError), {"trailer", "caption"}, "Zero Installation", {}, true},
        {"negative picture count", RawPackage(Concat({kStub, saver}), MakeTrailer("Neg", 5, -5, ".bmp")),
         std::string(messages::kStreamReadError), {"trailer", "caption"}, "Neg Installation", {}, true},
        {"counts overflow", RawPackage(Concat({kStub, saver}), MakeTrailer("Ovf", INT32_MAX, INT32_MAX, ".bmp", 2)),
         std::string(messages::kStreamReadError), {"trailer", "caption"}, "Ovf Installation", {}, true},
        {"jpg type holding a bitmap keeps the banner",
         RawPackage(Concat({kStub, saver, bmp, text}), MakeTrailer("J", 5, size(bmp), ".jpg", size(text))),
         messages::JpegError(53), {"trailer", "caption", "saver"}, "J Installation", saver, true},
        {"bmp type holding a JPEG drops the banner",
         RawPackage(Concat({kStub, saver, jpegLike, text}), MakeTrailer("B", 5, size(jpegLike), ".bmp", size(text))),
         std::string(messages::kBitmapNotValid), {"trailer", "caption", "saver", "drop"}, "B Installation", saver, false},
        {"capital JPG reads a bitmap",
         RawPackage(Concat({kStub, saver, jpegLike}), MakeTrailer("C", 5, size(jpegLike), ".JPG")),
         std::string(messages::kBitmapNotValid), {"trailer", "caption", "saver", "drop"}, "C Installation", saver, false},
        {"bitmap with two planes",
         RawPackage(Concat({kStub, saver, planes2}), MakeTrailer("P", 5, size(planes2), ".bmp")),
         std::string(messages::kBitmapNotValid), {"trailer", "caption", "saver", "drop"}, "P Installation", saver, false},
        {"picture shorter than a file header",
         RawPackage(Concat({kStub, saver, Bytes("BM")}), MakeTrailer("H", 5, 2, ".bmp")),
         std::string(messages::kStreamReadError), {"trailer", "caption", "saver", "drop"}, "H Installation", saver, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingTarget target;
        EXPECT_EQ(Load(target, c.package), c.message);
        EXPECT_EQ(target.log, c.log);
        EXPECT_EQ(target.caption, c.caption);
        EXPECT_EQ(SaverOf(target), c.saver);
        EXPECT_EQ(target.showsBanner, c.banner);
        EXPECT_TRUE(target.lines.empty());
    }
}

TEST(LoadPackage, RefusesPackagesOfTwoGibibytesBeforeReading)
{
    // A real 2 GiB file is too heavy for a unit test; a sparse one shows the
    // size check comes before any allocation or read.
    const auto path = std::filesystem::temp_directory_path() / "scrinst-huge-package.exe";
    {
        std::ofstream file(path, std::ios::binary);
        file.seekp(kMaxPackageSize - 1);
        file.put('\0');
    }
    RecordingTarget target;
    try {
        LoadPackageFile(target, path.string());
        ADD_FAILURE() << "no error";
    } catch (const Error& error) {
        EXPECT_EQ(error.message(), messages::kStreamReadError);
    }
    EXPECT_TRUE(target.log.empty());
    std::filesystem::remove(path);
}

TEST(LoadPackage, ReadsAPackageFromItsFile)
{
    const auto path = std::filesystem::temp_directory_path() / "scrinst-loader-test.exe";
    {
        std::ofstream file(path, std::ios::binary);
        const auto package = RawPackage(Concat({kStub, Bytes("SCR")}), MakeTrailer("F", 3));
        file.write(reinterpret_cast<const char*>(package.data()), static_cast<std::streamsize>(package.size()));
    }
    RecordingTarget target;
    LoadPackageFile(target, path.string());
    EXPECT_EQ(target.caption, "F Installation");
    std::filesystem::remove(path);
}

TEST(LoadPackage, MissingFileNamesThePathAndTheSystemText)
{
    RecordingTarget target;
    try {
        LoadPackageFile(target, "/nonexistent/Setup.exe");
        ADD_FAILURE() << "no error";
    } catch (const Error& error) {
        EXPECT_EQ(error.message(), "Cannot open file \"/nonexistent/Setup.exe\". No such file or directory");
    }
    EXPECT_TRUE(target.log.empty());
    EXPECT_EQ(target.caption, "Installation");
}

}  // namespace
}  // namespace scrinst
