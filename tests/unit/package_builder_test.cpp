#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "bmp_fixture.h"
#include "package_builder.h"
#include "package_fixture.h"
#include "package_inspector.h"

namespace scrinst::pack {
namespace {

using test::Bytes;
namespace fs = std::filesystem;

PackageInputs Inputs()
{
    PackageInputs inputs;
    inputs.stub = Bytes("MZ stub");
    inputs.saver = test::Filled(1000);
    inputs.picture = test::SolidBmp24(4, 3, 9, 8, 7);
    inputs.text = Bytes("About\r\nthis saver");
    inputs.name = "Starfield";
    return inputs;
}

TEST(PackageBuilder, BuildsWhatTheInstallerLoads)
{
    const PackageInputs inputs = Inputs();
    const auto package = BuildPackage(inputs);
    ASSERT_EQ(package.size(), inputs.stub.size() + 1000 + inputs.picture.size() + inputs.text.size() + kTrailerSize);
    EXPECT_TRUE(std::equal(inputs.stub.begin(), inputs.stub.end(), package.begin()));

    const PackageReport report = InspectPackage(package);
    EXPECT_TRUE(report.valid()) << report.problem;
    ASSERT_TRUE(report.trailer.has_value());
    EXPECT_EQ(SaverName(*report.trailer), "Starfield");
    EXPECT_EQ(PictureType(*report.trailer), ".bmp");
    EXPECT_EQ(report.offsets.saver, static_cast<std::int64_t>(inputs.stub.size()));
    EXPECT_EQ(report.pictureKind, PictureKind::Bitmap);
    EXPECT_EQ(report.pictureWidth, 4);
    EXPECT_EQ(report.pictureHeight, 3);
    EXPECT_EQ(report.textLines, 2u);
    EXPECT_EQ(report.caption, "Starfield Installation");
}

TEST(PackageBuilder, RefusesWhatTheInstallerCannotUse)
{
    struct Case {
        const char* name;
        void (*change)(PackageInputs&);
        const char* fragment;
    };
    const Case cases[] = {
        {"name of 52 bytes", [](PackageInputs& in) { in.name = std::string(52, 'n'); }, "at most 51"},
        {"name with a backslash", [](PackageInputs& in) { in.name = "..\\evil"; }, "cannot be a Windows file name"},
        {"device name", [](PackageInputs& in) { in.name = "nul"; }, "cannot be a Windows file name"},
        {"empty saver", [](PackageInputs& in) { in.saver.clear(); }, "screen saver is empty"},
        {"picture of another kind", [](PackageInputs& in) { in.picture = Bytes("GIF89a...."); },
         "neither a JPEG nor a Windows bitmap"},
        {"bitmap the reader refuses", [](PackageInputs& in) { in.picture[26] = 2; }, "Bitmap image is not valid"},
        {"JPEG cut inside its headers", [](PackageInputs& in) { in.picture = {0xFF, 0xD8, 0xFF, 0xE0, 0x00}; },
         "JPEG error #"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PackageInputs inputs = Inputs();
        c.change(inputs);
        try {
            (void)BuildPackage(inputs);
            ADD_FAILURE() << "built";
        } catch (const BuildError& error) {
            EXPECT_NE(std::string(error.what()).find(c.fragment), std::string::npos) << error.what();
        }
    }
}

TEST(PackageBuilder, NameOf51BytesAndNoPictureAreFine)
{
    PackageInputs inputs = Inputs();
    inputs.name = std::string(51, 'n');
    inputs.picture.clear();
    inputs.text.clear();
    const PackageReport report = InspectPackage(BuildPackage(inputs));
    EXPECT_TRUE(report.valid());
    EXPECT_EQ(report.caption, std::string(51, 'n') + " Installatio");
    EXPECT_EQ(report.trailer->pictureSize, 0);
}

TEST(PackageBuilder, PictureKindComesFromTheContent)
{
    EXPECT_EQ(DetectPictureKind(Bytes("BM....")), PictureKind::Bitmap);
    EXPECT_EQ(DetectPictureKind(std::vector<std::uint8_t>{0xFF, 0xD8, 0xFF, 0xDB}), PictureKind::Jpeg);
    EXPECT_EQ(DetectPictureKind(Bytes("\x89PNG")), PictureKind::Unknown);
    EXPECT_EQ(DetectPictureKind({}), PictureKind::None);
    EXPECT_EQ(DefaultSaverName("/some/where/Star Field.scr"), "Star Field");
}

TEST(PackageInspector, ReportsTheLoadersOwnErrorForDamagedPackages)
{
    auto package = BuildPackage(Inputs());
    package.erase(package.begin(), package.begin() + 600);  // counts now exceed the file
    const PackageReport report = InspectPackage(package);
    EXPECT_FALSE(report.valid());
    EXPECT_EQ(report.problem, "Stream read error");
    EXPECT_NE(FormatReportText(report).find("INVALID: Stream read error"), std::string::npos);
    EXPECT_NE(FormatReportJson(report).find("\"valid\": false"), std::string::npos);

    const PackageReport tiny = InspectPackage(Bytes("short"));
    EXPECT_FALSE(tiny.trailer.has_value());
    EXPECT_NE(FormatReportJson(tiny).find("\"trailer\": null"), std::string::npos);
}

class TempDirectory {
public:
    TempDirectory() : path_(fs::temp_directory_path() / ("scrpack-test-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name()))
    {
        fs::remove_all(path_);
        fs::create_directories(path_);
    }
    ~TempDirectory() { std::error_code ignored; fs::remove_all(path_, ignored); }
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

TEST(PackageInspector, ExtractWritesEachItemUnderTheName)
{
    const TempDirectory dir;
    const PackageInputs inputs = Inputs();
    const auto written = ExtractPackage(BuildPackage(inputs), dir.path() / "out");
    ASSERT_EQ(written.size(), 3u);
    EXPECT_EQ(ReadFileBytes(dir.path() / "out" / "Starfield.scr"), inputs.saver);
    EXPECT_EQ(ReadFileBytes(dir.path() / "out" / "Starfield.bmp"), inputs.picture);
    EXPECT_EQ(ReadFileBytes(dir.path() / "out" / "Starfield.txt"), inputs.text);
}

TEST(PackageInspector, ExtractRefusesANameThatWouldLeaveTheDirectory)
{
    const TempDirectory dir;
    const auto package = test::RawPackage(test::Concat({Bytes("MZ"), Bytes("SCR")}), test::MakeTrailer("../escape", 3));
    EXPECT_THROW((void)ExtractPackage(package, dir.path() / "out"), BuildError);
    EXPECT_FALSE(fs::exists(dir.path() / "escape.scr"));
}

TEST(PackageBuilder, FailedWriteLeavesNoFileBehind)
{
    const TempDirectory dir;
    const auto target = dir.path() / "missing-folder" / "Setup.exe";
    EXPECT_THROW(WriteFileAtomically(target, Bytes("data")), BuildError);
    EXPECT_FALSE(fs::exists(target));

    const auto good = dir.path() / "Setup.exe";
    WriteFileAtomically(good, Bytes("data"));
    EXPECT_EQ(ReadFileBytes(good), Bytes("data"));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
}

}  // namespace
}  // namespace scrinst::pack
