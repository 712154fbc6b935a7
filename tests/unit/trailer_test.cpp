#include <gtest/gtest.h>

#include <array>

#include "package_fixture.h"
#include "trailer.h"

namespace scrinst {
namespace {

using test::MakeTrailer;

TEST(Trailer, ReadsEveryFieldLittleEndianAtItsOffset)
{
    std::array<std::uint8_t, kTrailerSize> bytes{};
    bytes[0] = 3;
    bytes[1] = 'A'; bytes[2] = 'b'; bytes[3] = 'c';
    bytes[4] = 0xEE;  // past the name: carries no meaning, must survive
    bytes[52] = 0x01; bytes[53] = 0x02; bytes[54] = 0x03; bytes[55] = 0x04;
    bytes[56] = 4; bytes[57] = '.'; bytes[58] = 'j'; bytes[59] = 'p'; bytes[60] = 'g';
    bytes[64] = 0xFF; bytes[65] = 0xFF; bytes[66] = 0xFF; bytes[67] = 0xFF;
    bytes[68] = 0x00; bytes[69] = 0x00; bytes[70] = 0x00; bytes[71] = 0x80;

    const TPackageTrailer trailer = ReadTrailer(bytes);
    EXPECT_EQ(SaverName(trailer), "Abc");
    EXPECT_EQ(trailer.saverName[4], 0xEE);
    EXPECT_EQ(trailer.pictureSize, 0x04030201);
    EXPECT_EQ(PictureType(trailer), ".jpg");
    EXPECT_EQ(trailer.textSize, -1);
    EXPECT_EQ(trailer.saverSize, INT32_MIN);
    EXPECT_EQ(WriteTrailer(trailer), bytes);
}

TEST(Trailer, IsTakenFromTheLastBytesOnly)
{
    const auto trailer = WriteTrailer(MakeTrailer("Stars", 9));
    for (const std::size_t stubLength : {0u, 1u, 4096u}) {
        std::vector<std::uint8_t> package(stubLength, 0x5A);
        package.insert(package.end(), trailer.begin(), trailer.end());
        const auto found = ReadTrailerAtEnd(package);
        ASSERT_TRUE(found.has_value());
        EXPECT_EQ(SaverName(*found), "Stars");
        EXPECT_EQ(ItemOffsetsOf(static_cast<std::int64_t>(package.size()), *found).saver,
                  static_cast<std::int64_t>(stubLength) - 9);
    }
    EXPECT_FALSE(ReadTrailerAtEnd(std::vector<std::uint8_t>(kTrailerSize - 1)).has_value());
}

TEST(Trailer, ItemOffsetsCountBackFromTheEnd)
{
    const auto offsets = ItemOffsetsOf(1000, MakeTrailer("x", 100, 20, ".bmp", 8));
    EXPECT_EQ(offsets.trailer, 928);
    EXPECT_EQ(offsets.text, 920);
    EXPECT_EQ(offsets.picture, 900);
    EXPECT_EQ(offsets.saver, 800);
    // Counts that overflow 32 bits must not wrap into a plausible offset.
    const auto huge = ItemOffsetsOf(100, MakeTrailer("x", INT32_MAX, INT32_MAX, ".bmp", INT32_MAX));
    EXPECT_LT(huge.saver, 0);
}

TEST(Trailer, OnlyExactLowerCaseJpegTypesSelectTheJpegReader)
{
    struct Case {
        std::string_view type;
        bool jpeg;
    };
    const Case cases[] = {
        {".jpg", true},  {".jpeg", true}, {".JPG", false}, {".Jpeg", false}, {"jpg", false},
        {".jpe", false}, {"", false},     {".bmp", false}, {".jpg ", false}, {".jpegx", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.type));
        TPackageTrailer trailer;
        SetPictureType(trailer, c.type);
        EXPECT_EQ(PictureIsJpeg(trailer), c.jpeg);
    }
    // A length byte that disagrees with the characters decides, not the characters.
    TPackageTrailer lying;
    SetPictureType(lying, ".jpg");
    lying.pictureType[0] = 9;
    EXPECT_FALSE(PictureIsJpeg(lying));
}

TEST(Trailer, TitleIsNamePlusInstallationCutAt63)
{
    struct Case {
        std::string name;
        std::string title;
    };
    const Case cases[] = {
        {"Starfield", "Starfield Installation"},
        {"", " Installation"},
        {std::string(50, 'n'), std::string(50, 'n') + " Installation"},
        {std::string(51, 'n'), std::string(51, 'n') + " Installatio"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string title = InstallationTitle(MakeTrailer(c.name, 1));
        EXPECT_EQ(title, c.title);
        EXPECT_LE(title.size(), kMaxTitleLength);
    }
}

TEST(Trailer, CountsAreSaneOnlyForAPresentSaverAndNonNegativeCountsThatFit)
{
    struct Case {
        const char* name;
        std::int32_t saver, picture, text;
        bool sane;
    };
    const Case cases[] = {
        {"ordinary", 10, 5, 3, true},
        {"saver only", 1, 0, 0, true},
        {"no saver", 0, 5, 3, false},
        {"negative saver", -1, 0, 0, false},
        {"negative picture", 10, -5, 0, false},
        {"negative text", 10, 0, -3, false},
        {"sum reaches 2 GiB", INT32_MAX - 72, 1, 0, false},
        {"sum overflows", INT32_MAX, INT32_MAX, INT32_MAX, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(CountsAreSane(MakeTrailer("x", c.saver, c.picture, ".bmp", c.text)), c.sane);
    }
}

}  // namespace
}  // namespace scrinst
