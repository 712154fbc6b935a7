#include "bmp_reader.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <limits>
#include <string>
#include <vector>

#include "bmp_fixture.h"
#include "error.h"
#include "messages.h"
#include "system_error.h"

namespace scrinst {
namespace {

using test::BmpFields;
using test::BuildBmp;
using Bytes = std::vector<std::uint8_t>;

constexpr std::uint32_t kRle8 = 1;
constexpr std::uint32_t kRle4 = 2;
constexpr std::uint32_t kBitFields = 3;

const std::string kReadError(messages::kStreamReadError);
const std::string kNotValid(messages::kBitmapNotValid);

std::string TooLarge()
{
    return messages::SystemErrorWithCode(kErrorNotEnoughMemory, SystemErrorText(kErrorNotEnoughMemory));
}

std::string ErrorOf(const Bytes& file)
{
    try {
        (void)ReadBitmapFile(file);
    } catch (const Error& error) {
        return error.message();
    }
    return "(no error)";
}

PaletteEntry Grey(std::uint8_t level)
{
    return {level, level, level, 0};
}

// A palette of count distinct entries, so that a shifted table shows.
std::vector<PaletteEntry> Ramp(std::size_t count)
{
    std::vector<PaletteEntry> palette;
    for (std::size_t i = 0; i < count; ++i) {
        const auto level = static_cast<std::uint8_t>(i);
        palette.push_back({level, static_cast<std::uint8_t>(255 - level), 7, 0});
    }
    return palette;
}

// The palette the reader gives: the file's entries, then black up to the
// full count of the depth.
std::vector<PaletteEntry> Padded(std::vector<PaletteEntry> palette, std::size_t depthColours)
{
    for (auto& entry : palette) {
        entry.reserved = 0;
    }
    palette.resize(depthColours);
    return palette;
}

struct DecodeCase {
    const char* name;
    Bytes file;
    std::int32_t width;
    std::int32_t height;
    std::uint16_t bitsPerPixel;
    std::vector<PaletteEntry> palette;
    Bytes pixels;  // top row first, each row padded to four bytes
};

BmpFields Fields(std::int32_t width, std::int32_t height, std::uint16_t bitCount, Bytes pixels)
{
    BmpFields fields;
    fields.width = width;
    fields.height = height;
    fields.bitCount = bitCount;
    fields.pixels = std::move(pixels);
    return fields;
}

std::vector<DecodeCase> DecodeCases()
{
    std::vector<DecodeCase> cases;

    // 24 bits: the row of three pixels has three bytes of padding, which
    // must neither be copied nor shift the next row.
    cases.push_back({"24-bit 3x1 row padding", BuildBmp(Fields(3, 1, 24, {1, 2, 3, 4, 5, 6, 7, 8, 9, 0xEE, 0xEE, 0xEE})),
                     3, 1, 24, {}, {1, 2, 3, 4, 5, 6, 7, 8, 9, 0, 0, 0}});
    const Bytes twoByTwo = {1, 1, 1, 2, 2, 2, 0xEE, 0xEE, 3, 3, 3, 4, 4, 4, 0xEE, 0xEE};
    cases.push_back({"24-bit 2x2 bottom-up", BuildBmp(Fields(2, 2, 24, twoByTwo)), 2, 2, 24, {},
                     {3, 3, 3, 4, 4, 4, 0, 0, 1, 1, 1, 2, 2, 2, 0, 0}});
    cases.push_back({"24-bit 2x2 top-down", BuildBmp(Fields(2, -2, 24, twoByTwo)), 2, 2, 24, {},
                     {1, 1, 1, 2, 2, 2, 0, 0, 3, 3, 3, 4, 4, 4, 0, 0}});

    {
        // Ten 1-bit pixels cross a byte; the unused low bits are set in the
        // file and must not show.
        auto fields = Fields(10, 2, 1, {0xAA, 0xFF, 0, 0, 0x0F, 0x40, 0, 0});
        fields.palette = {Grey(0), Grey(255)};
        cases.push_back({"1-bit 10x2", BuildBmp(fields), 10, 2, 8, Padded(fields.palette, 2),
                         {0, 0, 0, 0, 1, 1, 1, 1, 0, 1, 0, 0, 1, 0, 1, 0, 1, 0, 1, 0, 1, 1, 0, 0}});
    }
    {
        auto fields = Fields(3, 2, 4, {0x12, 0x3F, 0, 0, 0x45, 0x6F, 0, 0});
        fields.palette = Ramp(16);
        cases.push_back({"4-bit 3x2 full table", BuildBmp(fields), 3, 2, 8, Padded(fields.palette, 16),
                         {4, 5, 6, 0, 1, 2, 3, 0}});
    }
    {
        auto fields = Fields(2, 1, 8, {3, 1, 0, 0});
        fields.palette = Ramp(4);
        fields.colorsUsed = 4;
        cases.push_back({"8-bit 2x1 short table", BuildBmp(fields), 2, 1, 8, Padded(fields.palette, 256),
                         {3, 1, 0, 0}});
    }
    {
        // Index 200 lies beyond the two-entry table: it keeps its value and
        // the palette entry it names is black.
        auto fields = Fields(2, 1, 8, {1, 200, 0, 0});
        fields.palette = {Grey(10), Grey(20)};
        fields.colorsUsed = 2;
        cases.push_back({"8-bit index beyond the table", BuildBmp(fields), 2, 1, 8, Padded(fields.palette, 256),
                         {1, 200, 0, 0}});
    }
    {
        // A count above what 1 bit can index: the extra entries are skipped
        // and the pixels still start right after all four.
        auto fields = Fields(2, 1, 1, {0x40, 0, 0, 0});
        fields.palette = {Grey(1), Grey(2), Grey(3), Grey(4)};
        fields.colorsUsed = 4;
        cases.push_back({"1-bit table longer than the depth", BuildBmp(fields), 2, 1, 8, {Grey(1), Grey(2)},
                         {0, 1, 0, 0}});
    }
    {
        // Default 5-5-5: the top bit is unused; 5-bit fields widen by
        // repeating their bits, so 31 becomes 255 and 16 becomes 132.
        auto fields = Fields(4, 1, 16, {0x00, 0x7C, 0xE0, 0x03, 0x1F, 0x80, 0x10, 0x42});
        cases.push_back({"16-bit 5-5-5", BuildBmp(fields), 4, 1, 24, {},
                         {0, 0, 255, 0, 255, 0, 255, 0, 0, 132, 132, 132}});
    }
    {
        auto fields = Fields(4, 1, 16, {0x00, 0xF8, 0xE0, 0x07, 0x10, 0x84, 0xFF, 0xFF});
        fields.compression = kBitFields;
        fields.masks = {0xF800, 0x07E0, 0x001F};
        cases.push_back({"16-bit 5-6-5 bit fields", BuildBmp(fields), 4, 1, 24, {},
                         {0, 0, 255, 0, 255, 0, 132, 130, 132, 255, 255, 255}});
    }
    cases.push_back({"32-bit default ignores the top byte", BuildBmp(Fields(1, 1, 32, {0x33, 0x22, 0x11, 0xAA})), 1,
                     1, 24, {}, {0x33, 0x22, 0x11, 0}});
    {
        // The 124-byte header carries its masks inside: here red in the
        // lowest byte, so the channels come out swapped.
        auto fields = Fields(1, 1, 32, {0x11, 0x22, 0x33, 0x44});
        fields.headerSize = 124;
        fields.compression = kBitFields;
        fields.masks = {0x000000FF, 0x0000FF00, 0x00FF0000};
        cases.push_back({"32-bit bit fields in a 124-byte header", BuildBmp(fields), 1, 1, 24, {},
                         {0x33, 0x22, 0x11, 0}});
    }
    {
        // 10-bit fields keep their top 8 bits.
        auto fields = Fields(1, 1, 32, {0x01, 0x00, 0xF8, 0x3F});
        fields.compression = kBitFields;
        fields.masks = {0x3FF00000, 0x000FFC00, 0x000003FF};
        cases.push_back({"32-bit 10-10-10 bit fields", BuildBmp(fields), 1, 1, 24, {}, {0x00, 0x80, 0xFF, 0}});
    }
    {
        auto fields = Fields(2, 1, 8, {5, 254, 0, 0});
        fields.headerSize = 12;
        fields.palette = Ramp(256);
        cases.push_back({"core header 8-bit with 3-byte entries", BuildBmp(fields), 2, 1, 8, Padded(Ramp(256), 256),
                         {5, 254, 0, 0}});
    }
    {
        auto fields = Fields(1, 2, 24, {1, 2, 3, 0, 4, 5, 6, 0});
        fields.headerSize = 12;
        cases.push_back({"core header 24-bit", BuildBmp(fields), 1, 2, 24, {}, {4, 5, 6, 0, 1, 2, 3, 0}});
    }
    for (const std::uint32_t size : {52u, 56u, 108u, 200u}) {
        // Longer headers are skipped to their announced end; their mask
        // fields do not matter without bit-field compression.
        auto fields = Fields(1, 1, 8, {1, 0, 0, 0});
        fields.headerSize = size;
        fields.colorsUsed = 2;
        fields.palette = {Grey(10), Grey(20)};
        fields.masks = {0xDEAD, 0xBEEF, 0xF00D};
        static const std::string names[] = {"52-byte header", "56-byte header", "108-byte header",
                                            "200-byte header"};
        const auto index = size == 52 ? 0 : size == 56 ? 1 : size == 108 ? 2 : 3;
        cases.push_back({names[index].c_str(), BuildBmp(fields), 1, 1, 8, Padded(fields.palette, 256), {1, 0, 0, 0}});
    }
    {
        // True-colour pictures may carry a table as a display hint: it is
        // read past, not shown.
        auto fields = Fields(1, 1, 24, {9, 8, 7, 0});
        fields.colorsUsed = 2;
        fields.palette = {Grey(1), Grey(2)};
        cases.push_back({"24-bit with a hint table", BuildBmp(fields), 1, 1, 24, {}, {9, 8, 7, 0}});
    }
    {
        // The file header's offset to the pixels is not used.
        auto file = BuildBmp(Fields(1, 1, 24, {9, 8, 7, 0}));
        test::PutU32(file, 10, 0xFFFFFFF0u);
        cases.push_back({"pixel offset ignored", file, 1, 1, 24, {}, {9, 8, 7, 0}});
    }
    return cases;
}

TEST(BmpReader, DecodesEachDepthAndHeaderToExactPixels)
{
    for (const DecodeCase& c : DecodeCases()) {
        SCOPED_TRACE(c.name);
        const Bitmap bitmap = ReadBitmapFile(c.file);
        EXPECT_EQ(bitmap.width, c.width);
        EXPECT_EQ(bitmap.height, c.height);
        EXPECT_EQ(bitmap.bitsPerPixel, c.bitsPerPixel);
        EXPECT_EQ(bitmap.palette, c.palette);
        EXPECT_EQ(bitmap.pixels, c.pixels);
    }
}

TEST(BmpReader, PixelDataEndingEarlyLeavesTheRestZero)
{
    // Bottom row complete, top row one pixel and one byte of the next.
    const Bytes complete = {1, 1, 1, 2, 2, 2, 0xEE, 0xEE, 3, 3, 3, 4, 4, 4, 0xEE, 0xEE};
    const Bytes cut(complete.begin(), complete.begin() + 12);
    EXPECT_EQ(ReadBitmapFile(BuildBmp(Fields(2, 2, 24, cut))).pixels,
              (Bytes{3, 3, 3, 0, 0, 0, 0, 0, 1, 1, 1, 2, 2, 2, 0, 0}));

    EXPECT_EQ(ReadBitmapFile(BuildBmp(Fields(2, 2, 24, {}))).pixels, Bytes(16, 0));

    // 1-bit: only whole pixels of a row cut short are taken, none invented.
    auto oneBit = Fields(2, 2, 1, {0xC0, 0, 0, 0});
    oneBit.palette = {Grey(0), Grey(255)};
    EXPECT_EQ(ReadBitmapFile(BuildBmp(oneBit)).pixels, (Bytes{0, 0, 0, 0, 1, 1, 0, 0}));
}

TEST(BmpReader, PixelCountComesFromTheHeaderButNeverPastTheFile)
{
    const Bytes stored = {1, 1, 1, 2, 2, 2, 0xEE, 0xEE, 3, 3, 3, 4, 4, 4, 0xEE, 0xEE};
    const Bytes whole = {3, 3, 3, 4, 4, 4, 0, 0, 1, 1, 1, 2, 2, 2, 0, 0};

    auto small = Fields(2, 2, 24, stored);
    small.sizeImage = 8;  // claims one row: the second is not read
    EXPECT_EQ(ReadBitmapFile(BuildBmp(small)).pixels, (Bytes{0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 2, 2, 2, 0, 0}));

    auto huge = Fields(2, 2, 24, stored);
    huge.sizeImage = 0xFFFFFFFFu;
    EXPECT_EQ(ReadBitmapFile(BuildBmp(huge)).pixels, whole);

    // Trailing bytes after the pixels are ignored.
    auto longer = Fields(2, 2, 24, stored);
    longer.pixels.insert(longer.pixels.end(), 40, 0x77);
    EXPECT_EQ(ReadBitmapFile(BuildBmp(longer)).pixels, whole);
}

struct RleCase {
    const char* name;
    std::uint32_t compression;
    std::int32_t width;
    std::int32_t height;
    Bytes stream;
    Bytes pixels;  // top row first; every width here is a multiple of four
    std::uint32_t sizeImage = 0;
};

TEST(BmpReader, RunLengthStreamsDecodeEveryEscape)
{
    const RleCase cases[] = {
        {"RLE8 run, end of line, odd absolute run with padding, delta, end",
         kRle8, 4, 3,
         {0x03, 0x05, 0x00, 0x00, 0x00, 0x03, 1, 2, 3, 0x00, 0x01, 0x09, 0x00, 0x00, 0x00, 0x02, 0x02, 0x00,
          0x02, 0x07, 0x00, 0x01, 0x05, 0x05},
         {0, 0, 7, 7, 1, 2, 3, 9, 5, 5, 5, 0}},
        {"RLE8 delta upwards skips a row", kRle8, 4, 3,
         {0x02, 0x04, 0x00, 0x02, 0x01, 0x02, 0x01, 0x08, 0x00, 0x01},
         {0, 0, 0, 8, 0, 0, 0, 0, 4, 4, 0, 0}},
        {"RLE4 alternating run, delta, odd absolute run with padding", kRle4, 8, 2,
         {0x03, 0x12, 0x00, 0x02, 0x01, 0x00, 0x02, 0xAA, 0x00, 0x00, 0x00, 0x05, 0x34, 0x56, 0x70, 0x00, 0x01,
          0xF0, 0x00, 0x01},
         {3, 4, 5, 6, 7, 15, 0, 0, 1, 2, 1, 0, 10, 10, 0, 0}},
        {"RLE4 even absolute run needs no padding", kRle4, 4, 1,
         {0x00, 0x03, 0x12, 0x30, 0x01, 0x44, 0x00, 0x01}, {1, 2, 3, 4}},
    };
    for (const RleCase& c : cases) {
        SCOPED_TRACE(c.name);
        BmpFields fields = Fields(c.width, c.height, c.compression == kRle8 ? 8 : 4, c.stream);
        fields.compression = c.compression;
        fields.palette = Ramp(c.compression == kRle8 ? 256 : 16);
        const Bitmap bitmap = ReadBitmapFile(BuildBmp(fields));
        EXPECT_EQ(bitmap.bitsPerPixel, 8);
        EXPECT_EQ(bitmap.palette, fields.palette);
        EXPECT_EQ(bitmap.pixels, c.pixels);
    }
}

// Codes that would leave the picture are clipped, silently: nothing is
// written outside it, nothing wraps to another row, and what follows a clipped
// code is still decoded in step.
TEST(BmpReader, RunLengthOverrunsAreClipped)
{
    const RleCase cases[] = {
        {"run past the row end does not wrap", kRle8, 4, 2,
         {0x06, 0x01, 0x01, 0x02, 0x00, 0x00, 0x01, 0x03}, {3, 0, 0, 0, 1, 1, 1, 1}},
        {"absolute run past the row end keeps its padding in step", kRle8, 4, 2,
         {0x00, 0x02, 0x02, 0x00, 0x00, 0x05, 1, 2, 3, 4, 5, 0x00, 0x01, 0x09, 0x00, 0x00, 0x01, 0x08},
         {8, 0, 0, 0, 0, 0, 1, 2}},
        {"delta past the right edge", kRle8, 4, 2,
         {0x00, 0x02, 0xFF, 0x00, 0x02, 0x07, 0x00, 0x00, 0x01, 0x06}, {6, 0, 0, 0, 0, 0, 0, 0}},
        {"delta above the top row ends the picture", kRle8, 4, 2,
         {0x01, 0x01, 0x00, 0x02, 0x00, 0xFF, 0x01, 0x02}, {0, 0, 0, 0, 1, 0, 0, 0}},
        {"more rows than the height", kRle8, 4, 2,
         {0x01, 0x01, 0x00, 0x00, 0x01, 0x02, 0x00, 0x00, 0x01, 0x03, 0x00, 0x00, 0x01, 0x04},
         {2, 0, 0, 0, 1, 0, 0, 0}},
        {"data after the end of the bitmap", kRle8, 4, 2, {0x01, 0x01, 0x00, 0x01, 0x01, 0x02},
         {0, 0, 0, 0, 1, 0, 0, 0}},
        {"stream ends inside an absolute run", kRle8, 4, 2, {0x00, 0x04, 7, 8}, {0, 0, 0, 0, 7, 8, 0, 0}},
        {"stream ends inside a delta", kRle8, 4, 2, {0x01, 0x05, 0x00, 0x02, 0x01}, {0, 0, 0, 0, 5, 0, 0, 0}},
        {"stream ends after half a code", kRle8, 4, 2, {0x01, 0x05, 0x02}, {0, 0, 0, 0, 5, 0, 0, 0}},
        {"empty stream", kRle8, 4, 2, {}, Bytes(8, 0)},
        {"RLE4 run past the row end", kRle4, 4, 2, {0x07, 0x12, 0x00, 0x00, 0x01, 0x30},
         {3, 0, 0, 0, 1, 2, 1, 2}},
        {"RLE4 stream ends inside an odd absolute run", kRle4, 4, 2, {0x00, 0x05, 0x12},
         {0, 0, 0, 0, 1, 2, 0, 0}},
        {"size field shorter than the stream", kRle8, 4, 2, {0x01, 0x01, 0x01, 0x02}, {0, 0, 0, 0, 1, 0, 0, 0},
         2},
        {"size field longer than the file", kRle8, 4, 2, {0x01, 0x01, 0x01, 0x02}, {0, 0, 0, 0, 1, 2, 0, 0},
         0xFFFFFFFFu},
    };
    for (const RleCase& c : cases) {
        SCOPED_TRACE(c.name);
        BmpFields fields = Fields(c.width, c.height, c.compression == kRle8 ? 8 : 4, c.stream);
        fields.compression = c.compression;
        fields.sizeImage = c.sizeImage;
        fields.palette = Ramp(c.compression == kRle8 ? 256 : 16);
        EXPECT_EQ(ReadBitmapFile(BuildBmp(fields)).pixels, c.pixels);
    }
}

struct HostileCase {
    std::string name;
    Bytes file;
    std::string message;
};

Bytes Valid24()
{
    return BuildBmp(Fields(2, 2, 24, Bytes(16, 0x55)));
}

Bytes Truncated(Bytes file, std::size_t size)
{
    file.resize(size);
    return file;
}

std::vector<HostileCase> HostileCases()
{
    std::vector<HostileCase> cases;
    auto add = [&cases](std::string name, Bytes file, std::string message) {
        cases.push_back({std::move(name), std::move(file), std::move(message)});
    };
    auto with = [](auto change) {
        BmpFields fields = Fields(2, 2, 24, Bytes(16, 0x55));
        change(fields);
        return BuildBmp(fields);
    };

    // File and header sizes.
    add("empty file", {}, kReadError);
    add("13 bytes", Truncated(Valid24(), 13), kReadError);
    {
        auto file = Valid24();
        file[1] = 'A';
        add("BA instead of BM", file, kNotValid);
        file[0] = 'b';
        file[1] = 'm';
        add("bm in lower case", file, kNotValid);
    }
    add("file header only", Truncated(Valid24(), 14), kNotValid);
    add("header size field cut short", Truncated(Valid24(), 17), kNotValid);
    add("information header cut short", Truncated(Valid24(), 14 + 39), kNotValid);
    add("core header cut short", Truncated(with([](BmpFields& f) { f.headerSize = 12; }), 14 + 11), kNotValid);
    add("124-byte header cut short", Truncated(with([](BmpFields& f) { f.headerSize = 124; }), 14 + 100),
        kNotValid);
    for (const std::uint32_t size : {0u, 4u, 11u, 13u, 16u, 39u}) {
        add("header size " + std::to_string(size), with([size](BmpFields& f) { f.headerSize = size; }), kNotValid);
    }
    add("header size far past the file", with([](BmpFields& f) { f.headerSize = 0xFFFFFFFFu; }), kNotValid);

    // Dimensions.
    add("width 0", with([](BmpFields& f) { f.width = 0; }), kNotValid);
    add("width -1", with([](BmpFields& f) { f.width = -1; }), kNotValid);
    add("width INT32_MIN", with([](BmpFields& f) { f.width = std::numeric_limits<std::int32_t>::min(); }),
        kNotValid);
    add("height 0", with([](BmpFields& f) { f.height = 0; }), kNotValid);
    add("height INT32_MIN", with([](BmpFields& f) { f.height = std::numeric_limits<std::int32_t>::min(); }),
        kNotValid);
    add("core width 0", with([](BmpFields& f) { f.headerSize = 12; f.width = 0; }), kNotValid);
    add("core height 0", with([](BmpFields& f) { f.headerSize = 12; f.height = 0; }), kNotValid);

    // Planes, depths, compressions.
    for (const std::uint16_t planes : std::initializer_list<std::uint16_t>{0, 2, 0xFFFF}) {
        add("planes " + std::to_string(planes), with([planes](BmpFields& f) { f.planes = planes; }), kNotValid);
    }
    add("core planes 2", with([](BmpFields& f) { f.headerSize = 12; f.planes = 2; }), kNotValid);
    for (const std::uint16_t bits : std::initializer_list<std::uint16_t>{0, 2, 3, 15, 48, 64}) {
        add("bit depth " + std::to_string(bits), with([bits](BmpFields& f) { f.bitCount = bits; }), kNotValid);
    }
    for (const std::uint16_t bits : std::initializer_list<std::uint16_t>{16, 32}) {
        add("core bit depth " + std::to_string(bits), with([bits](BmpFields& f) {
                f.headerSize = 12;
                f.bitCount = bits;
            }),
            kNotValid);
    }
    const struct {
        const char* name;
        std::uint16_t bits;
        std::uint32_t compression;
    } misfits[] = {
        {"RLE8 at 4 bits", 4, kRle8},      {"RLE8 at 24 bits", 24, kRle8},     {"RLE4 at 8 bits", 8, kRle4},
        {"RLE4 at 1 bit", 1, kRle4},       {"bit fields at 24 bits", 24, kBitFields},
        {"bit fields at 8 bits", 8, kBitFields}, {"JPEG compression", 24, 4},     {"PNG compression", 24, 5},
        {"alpha bit fields", 32, 6},       {"compression 0xFFFFFFFF", 24, 0xFFFFFFFFu},
    };
    for (const auto& misfit : misfits) {
        add(misfit.name, with([&misfit](BmpFields& f) {
                f.bitCount = misfit.bits;
                f.compression = misfit.compression;
                f.masks = {0xF800, 0x07E0, 0x001F};
            }),
            kNotValid);
    }
    add("RLE8 top-down", with([](BmpFields& f) { f.height = -2; f.bitCount = 8; f.compression = kRle8; }),
        kNotValid);
    add("RLE4 top-down", with([](BmpFields& f) { f.height = -2; f.bitCount = 4; f.compression = kRle4; }),
        kNotValid);

    // Colour tables and masks.
    add("colour table cut short", with([](BmpFields& f) {
            f.bitCount = 8;
            f.palette = Ramp(25);
            f.pixels.clear();
        }),
        kReadError);
    add("core colour table cut short", with([](BmpFields& f) {
            f.headerSize = 12;
            f.bitCount = 4;
            f.palette = Ramp(5);
            f.pixels.clear();
        }),
        kReadError);
    for (const std::uint32_t count : {257u, 0x40000000u, 0xFFFFFFFFu}) {
        add("8-bit colour count " + std::to_string(count), with([count](BmpFields& f) {
                f.bitCount = 8;
                f.colorsUsed = count;
                f.palette = Ramp(256);
                f.pixels.clear();
            }),
            kReadError);
    }
    add("24-bit hint table cut short", with([](BmpFields& f) { f.colorsUsed = 0xFFFFFFFFu; }), kReadError);
    add("masks cut short", Truncated(with([](BmpFields& f) {
                                         f.bitCount = 16;
                                         f.compression = kBitFields;
                                         f.masks = {0xF800, 0x07E0, 0x001F};
                                         f.pixels.clear();
                                     }),
                                     14 + 40 + 8),
        kReadError);
    const struct {
        const char* name;
        std::uint16_t bits;
        std::uint32_t headerSize;
        std::vector<std::uint32_t> masks;
    } badMasks[] = {
        {"zero red mask", 16, 40, {0, 0x07E0, 0x001F}},
        {"zero blue mask in a 124-byte header", 32, 124, {0xFF0000, 0xFF00, 0}},
        {"masks left zero in a 108-byte header", 32, 108, {}},
        {"overlapping masks", 16, 40, {0xF800, 0x0FE0, 0x001F}},
        {"non-contiguous mask", 32, 40, {0xF0F00000, 0xFF00, 0xFF}},
        {"mask beyond 16 bits", 16, 40, {0x1F0000, 0x07E0, 0x001F}},
    };
    for (const auto& bad : badMasks) {
        add(bad.name, with([&bad](BmpFields& f) {
                f.bitCount = bad.bits;
                f.headerSize = bad.headerSize;
                f.compression = kBitFields;
                f.masks = bad.masks;
            }),
            kNotValid);
    }

    // Sizes beyond the limit, refused before anything is allocated.
    constexpr std::int32_t maxInt = std::numeric_limits<std::int32_t>::max();
    add("16385 x 16385 24-bit", with([](BmpFields& f) { f.width = 16385; f.height = 16385; }), TooLarge());
    add("8-bit one row over 256 MiB", with([](BmpFields& f) {
            f.width = 16384;
            f.height = 16385;
            f.bitCount = 8;
            f.palette = Ramp(256);
        }),
        TooLarge());
    add("1-bit picture that decodes past 256 MiB", with([](BmpFields& f) {
            f.width = 32768;
            f.height = 8193;
            f.bitCount = 1;
            f.palette = Ramp(2);
        }),
        TooLarge());
    add("largest width and height", with([](BmpFields& f) { f.width = maxInt; f.height = maxInt; }),
        TooLarge());
    add("largest width, top-down", with([](BmpFields& f) {
            f.width = maxInt;
            f.height = -maxInt;
            f.bitCount = 32;
        }),
        TooLarge());
    add("largest width, one row", with([](BmpFields& f) { f.width = maxInt; f.height = 1; }), TooLarge());
    // The table is read before the bitmap would be created.
    add("too large and colour table cut short", with([](BmpFields& f) {
            f.width = 65535;
            f.height = 65535;
            f.bitCount = 8;
            f.pixels.clear();
        }),
        kReadError);
    return cases;
}

TEST(BmpReader, RefusesHostileInputWithTheExactMessage)
{
    for (const HostileCase& c : HostileCases()) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ErrorOf(c.file), c.message);
    }
}

TEST(BmpReader, TooLargeMessageCarriesTheSystemCode)
{
    EXPECT_EQ(TooLarge().rfind("System Error.  Code: 8.\r\n", 0), 0u);
}

TEST(BmpReader, AcceptsAPictureOfExactlyTheLimit)
{
    BmpFields fields = Fields(16384, 16384, 8, {7});
    fields.palette = Ramp(256);
    const Bitmap bitmap = ReadBitmapFile(BuildBmp(fields));
    EXPECT_EQ(bitmap.pixels.size(), kMaxBitmapBytes);
    EXPECT_EQ(bitmap.pixels[(16384u - 1) * 16384u], 7);
}

TEST(BmpFixture, HelpersBuildFilesTheReaderAccepts)
{
    const Bytes pixels = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18};
    const Bitmap colour = ReadBitmapFile(test::MakeBmp24(3, 2, pixels));
    EXPECT_EQ(colour.pixels, (Bytes{1, 2, 3, 4, 5, 6, 7, 8, 9, 0, 0, 0, 10, 11, 12, 13, 14, 15, 16, 17, 18, 0, 0, 0}));

    const Bitmap solid = ReadBitmapFile(test::SolidBmp24(2, 1, 10, 20, 30));
    EXPECT_EQ(solid.pixels, (Bytes{10, 20, 30, 10, 20, 30, 0, 0}));

    const Bytes indexes = {0, 1, 1, 0};
    const Bitmap paletted = ReadBitmapFile(test::MakeBmp8(2, 2, {Grey(0), Grey(9)}, indexes));
    EXPECT_EQ(paletted.pixels, (Bytes{0, 1, 0, 0, 1, 0, 0, 0}));
    EXPECT_EQ(paletted.palette[1], Grey(9));
}

}  // namespace
}  // namespace scrinst
