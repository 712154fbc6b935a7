#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "error.h"
#include "jpeg_fixture.h"
#include "jpeg_reader.h"
#include "messages.h"

namespace scrinst {
namespace {

using Bytes = std::vector<std::uint8_t>;
using test::EncodeJpeg;
using test::HandMadeJpegHeader;
using test::JpegHeaderFields;
using test::JpegModel;
using test::JpegPicture;
using test::SolidPicture;

struct Bgr {
    int blue;
    int green;
    int red;
};

Bgr PixelAt(const Bitmap& bitmap, int x, int y)
{
    const std::size_t at = static_cast<std::size_t>(y) * bitmap.Stride() + 3 * static_cast<std::size_t>(x);
    return {bitmap.pixels.at(at), bitmap.pixels.at(at + 1), bitmap.pixels.at(at + 2)};
}

int GreyAt(const Bitmap& bitmap, int x, int y)
{
    const std::size_t at = static_cast<std::size_t>(y) * bitmap.Stride() + static_cast<std::size_t>(x);
    return bitmap.palette.at(bitmap.pixels.at(at)).red;
}

bool Near(Bgr actual, Bgr expected, int tolerance)
{
    return std::abs(actual.blue - expected.blue) <= tolerance && std::abs(actual.green - expected.green) <= tolerance &&
           std::abs(actual.red - expected.red) <= tolerance;
}

std::string Show(Bgr pixel)
{
    return "B" + std::to_string(pixel.blue) + " G" + std::to_string(pixel.green) + " R" + std::to_string(pixel.red);
}

// Every pixel of a 24-bit bitmap against the colour `expected` gives it.
template <typename Expected>
void ExpectColours(const Bitmap& bitmap, Expected expected, int tolerance)
{
    for (int y = 0; y < bitmap.height; ++y) {
        for (int x = 0; x < bitmap.width; ++x) {
            const Bgr actual = PixelAt(bitmap, x, y);
            ASSERT_TRUE(Near(actual, expected(x, y), tolerance))
                << "at " << x << "," << y << ": " << Show(actual) << ", expected " << Show(expected(x, y));
        }
    }
}

void ExpectZeroPadding(const Bitmap& bitmap)
{
    const std::size_t used = (static_cast<std::size_t>(bitmap.width) * bitmap.bitsPerPixel + 7) / 8;
    for (int y = 0; y < bitmap.height; ++y) {
        for (std::size_t i = used; i < bitmap.Stride(); ++i) {
            ASSERT_EQ(bitmap.pixels.at(static_cast<std::size_t>(y) * bitmap.Stride() + i), 0) << "row " << y;
        }
    }
}

std::string LoadFailure(const Bytes& bytes)
{
    try {
        (void)JpegImage::Load(bytes);
    } catch (const Error& error) {
        return error.message();
    }
    return "(loaded)";
}

std::string DecodeFailure(const Bytes& bytes)
{
    const JpegImage image = JpegImage::Load(bytes);
    try {
        (void)image.Decode();
    } catch (const Error& error) {
        return error.message();
    }
    return "(decoded)";
}

Bytes Prefix(const Bytes& bytes, std::size_t count)
{
    return Bytes(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(count));
}

std::size_t BigEndian16(const Bytes& bytes, std::size_t at)
{
    return std::size_t{bytes.at(at)} * 256 + bytes.at(at + 1);
}

// Where each scan's SOS marker starts, found by walking the marker segments
// and skipping the compressed data after each scan header (inside it, 0xFF is
// followed only by a stuffed zero or a restart marker).
std::vector<std::size_t> ScanStarts(const Bytes& bytes)
{
    std::vector<std::size_t> starts;
    std::size_t pos = 2;
    while (pos + 4 <= bytes.size() && bytes[pos] == 0xFF && bytes[pos + 1] != 0xD9) {
        const std::uint8_t marker = bytes[pos + 1];
        const std::size_t segmentEnd = pos + 2 + BigEndian16(bytes, pos + 2);
        if (marker != 0xDA) {
            pos = segmentEnd;
            continue;
        }
        starts.push_back(pos);
        pos = segmentEnd;
        while (pos + 1 < bytes.size() &&
               !(bytes[pos] == 0xFF && bytes[pos + 1] != 0 && (bytes[pos + 1] < 0xD0 || bytes[pos + 1] > 0xD7))) {
            ++pos;
        }
    }
    return starts;
}

// The offset of the first byte of compressed data.
std::size_t FirstScanData(const Bytes& bytes)
{
    const std::size_t sos = ScanStarts(bytes).at(0);
    return sos + 2 + BigEndian16(bytes, sos + 2);
}

// Pads a file to `total` scans by repeating its last one. libjpeg only warns
// about such a bogus progression and decodes every copy, which is what makes
// a long run of scans a denial of service.
Bytes WithScanCount(const Bytes& bytes, std::size_t total)
{
    const std::vector<std::size_t> starts = ScanStarts(bytes);
    const std::size_t last = starts.back();
    const std::size_t end = bytes.size() - 2;  // the EOI marker
    Bytes out = Prefix(bytes, end);
    for (std::size_t i = starts.size(); i < total; ++i) {
        out.insert(out.end(), bytes.begin() + static_cast<std::ptrdiff_t>(last),
                   bytes.begin() + static_cast<std::ptrdiff_t>(end));
    }
    out.insert(out.end(), {0xFF, 0xD9});
    return out;
}

// 21 x 16, a colour in each 8-pixel-aligned quadrant: red, green / blue,
// white. With every component at full size each 8 x 8 block is one colour,
// so the decoded pixels come back within rounding of what went in, and any
// mix-up of rows, columns or channel order shows.
JpegPicture Quadrants()
{
    JpegPicture picture;
    picture.width = 21;
    picture.height = 16;
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            const bool right = x >= 8;
            const bool bottom = y >= 8;
            if (!bottom && !right) {
                picture.samples.insert(picture.samples.end(), {255, 0, 0});
            } else if (!bottom) {
                picture.samples.insert(picture.samples.end(), {0, 255, 0});
            } else if (!right) {
                picture.samples.insert(picture.samples.end(), {0, 0, 255});
            } else {
                picture.samples.insert(picture.samples.end(), {255, 255, 255});
            }
        }
    }
    return picture;
}

Bgr QuadrantColour(int x, int y)
{
    const bool right = x >= 8;
    const bool bottom = y >= 8;
    if (!bottom) {
        return right ? Bgr{0, 255, 0} : Bgr{0, 0, 255};
    }
    return right ? Bgr{255, 255, 255} : Bgr{255, 0, 0};
}

TEST(JpegImageLoad, ReadsTheSizeFromTheHeaders)
{
    JpegPicture progressive = SolidPicture(9, 4, JpegModel::Rgb, {1, 2, 3});
    progressive.progressive = true;
    const struct {
        const char* name;
        Bytes bytes;
        std::int32_t width;
        std::int32_t height;
    } cases[] = {
        {"colour", EncodeJpeg(SolidPicture(21, 16, JpegModel::Rgb, {9, 9, 9})), 21, 16},
        {"greyscale", EncodeJpeg(SolidPicture(5, 3, JpegModel::Grey, {7})), 5, 3},
        {"one row", EncodeJpeg(SolidPicture(7, 1, JpegModel::Rgb, {9, 9, 9})), 7, 1},
        {"progressive", EncodeJpeg(progressive), 9, 4},
        // Only the headers are parsed: a picture far too big to decode loads.
        {"largest size, no data", HandMadeJpegHeader({65500, 65500, 3, false}), 65500, 65500},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const JpegImage image = JpegImage::Load(c.bytes);
        EXPECT_EQ(image.width(), c.width);
        EXPECT_EQ(image.height(), c.height);
    }
}

TEST(JpegImageLoad, HeaderErrorsCarryLibjpegsMessageCode)
{
    const Bytes header = HandMadeJpegHeader({});
    const struct {
        const char* name;
        Bytes bytes;
        int code;
    } cases[] = {
        {"empty input", {}, 42},
        {"a bitmap file", {'B', 'M', 0x3A, 0, 0, 0, 0, 0, 0, 0, 0x36, 0, 0, 0}, 53},
        {"a lone 0xFF", {0xFF}, 53},
        {"start of image and nothing more", Prefix(header, 2), 51},
        {"cut after a marker code, its length missing", Prefix(header, 4), 31},
        {"cut inside the frame header", Prefix(header, 75), 11},
        {"cut after the frame header", Prefix(header, 84), 59},
        {"cut inside a Huffman table", Prefix(header, 90), 8},
        {"JFIF marker and no frame", {0xFF, 0xD8, 0xFF, 0xE0, 0, 16, 'J', 'F', 'I', 'F', 0, 1, 1, 0, 0, 1, 0, 1, 0, 0}, 51},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(LoadFailure(c.bytes), messages::JpegError(c.code));
    }
}

TEST(JpegImageDecode, ColourGivesTopDownBgrRowsPaddedToFourBytes)
{
    JpegPicture progressive = Quadrants();
    progressive.progressive = true;
    const struct {
        const char* name;
        Bytes bytes;
    } cases[] = {
        {"baseline", EncodeJpeg(Quadrants())},
        {"progressive", EncodeJpeg(progressive)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Bitmap bitmap = JpegImage::Load(c.bytes).Decode();
        ASSERT_EQ(bitmap.width, 21);
        ASSERT_EQ(bitmap.height, 16);
        EXPECT_EQ(bitmap.bitsPerPixel, 24);
        EXPECT_TRUE(bitmap.palette.empty());
        ASSERT_EQ(bitmap.Stride(), 64U);  // 63 bytes of pixels, one of padding
        ASSERT_EQ(bitmap.pixels.size(), 64U * 16U);
        ExpectColours(bitmap, QuadrantColour, 8);
        ExpectZeroPadding(bitmap);
    }
}

TEST(JpegImageDecode, GreyscaleGivesEightBitsThroughA236LevelPalette)
{
    // 13 x 9: dark left of x = 8, light right of it; 13 index bytes pad to 16.
    JpegPicture picture;
    picture.width = 13;
    picture.height = 9;
    picture.model = JpegModel::Grey;
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            picture.samples.push_back(x < 8 ? 30 : 220);
        }
    }
    const Bitmap bitmap = JpegImage::Load(EncodeJpeg(picture)).Decode();

    ASSERT_EQ(bitmap.width, 13);
    ASSERT_EQ(bitmap.height, 9);
    EXPECT_EQ(bitmap.bitsPerPixel, 8);
    ASSERT_EQ(bitmap.Stride(), 16U);
    ASSERT_EQ(bitmap.pixels.size(), 16U * 9U);
    // One component gets all the requested levels, evenly spread over 0..255.
    ASSERT_EQ(bitmap.palette.size(), 236U);
    EXPECT_EQ(bitmap.palette.front(), (PaletteEntry{0, 0, 0, 0}));
    EXPECT_EQ(bitmap.palette.back(), (PaletteEntry{255, 255, 255, 0}));
    for (std::size_t i = 1; i < bitmap.palette.size(); ++i) {
        const PaletteEntry& entry = bitmap.palette[i];
        ASSERT_TRUE(entry.red == entry.green && entry.green == entry.blue) << "entry " << i;
        ASSERT_GT(entry.red, bitmap.palette[i - 1].red) << "entry " << i;
    }
    // Levels lie about 1.09 apart, so dithering moves a pixel by at most 2.
    for (int y = 0; y < bitmap.height; ++y) {
        for (int x = 0; x < bitmap.width; ++x) {
            ASSERT_NEAR(GreyAt(bitmap, x, y), x < 8 ? 30 : 220, 2) << "at " << x << "," << y;
        }
    }
    ExpectZeroPadding(bitmap);
}

TEST(JpegImageDecode, ThinPicturesDecodeLikeAnyOther)
{
    const struct {
        const char* name;
        JpegPicture picture;
    } cases[] = {
        {"one pixel high", SolidPicture(7, 1, JpegModel::Rgb, {200, 40, 10})},
        {"one pixel wide", SolidPicture(1, 7, JpegModel::Rgb, {200, 40, 10})},
        {"one pixel high, chroma subsampled", [] {
             JpegPicture p = SolidPicture(5, 1, JpegModel::Rgb, {200, 40, 10});
             p.subsampleChroma = true;
             return p;
         }()},
        {"one pixel high, progressive", [] {
             JpegPicture p = SolidPicture(5, 1, JpegModel::Rgb, {200, 40, 10});
             p.progressive = true;
             return p;
         }()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Bitmap bitmap = JpegImage::Load(EncodeJpeg(c.picture)).Decode();
        ASSERT_EQ(bitmap.width, c.picture.width);
        ASSERT_EQ(bitmap.height, c.picture.height);
        ExpectColours(bitmap, [](int, int) { return Bgr{10, 40, 200}; }, 8);
    }

    const Bitmap grey = JpegImage::Load(EncodeJpeg(SolidPicture(6, 1, JpegModel::Grey, {128}))).Decode();
    ASSERT_EQ(grey.height, 1);
    EXPECT_EQ(grey.bitsPerPixel, 8);
    EXPECT_NEAR(GreyAt(grey, 5, 0), 128, 2);
}

TEST(JpegImageDecode, FourComponentPicturesShowInColour)
{
    const auto with = [](JpegModel model, bool adobe, std::initializer_list<std::uint8_t> pixel) {
        JpegPicture picture = SolidPicture(16, 8, model, pixel);
        picture.adobeMarker = adobe;
        return picture;
    };
    const struct {
        const char* name;
        JpegPicture picture;
        Bgr expected;
    } cases[] = {
        // With an Adobe marker the samples are stored inverted: 255 is no ink.
        {"Adobe CMYK blue", with(JpegModel::Cmyk, true, {0, 0, 255, 255}), {255, 0, 0}},
        {"Adobe CMYK half black", with(JpegModel::Cmyk, true, {255, 255, 255, 128}), {128, 128, 128}},
        {"plain CMYK green, stored as ink", with(JpegModel::Cmyk, false, {255, 0, 255, 0}), {0, 255, 0}},
        {"YCCK red", with(JpegModel::Ycck, true, {255, 0, 0, 255}), {0, 0, 255}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Bitmap bitmap = JpegImage::Load(EncodeJpeg(c.picture)).Decode();
        EXPECT_EQ(bitmap.bitsPerPixel, 24);
        ExpectColours(bitmap, [&](int, int) { return c.expected; }, 8);
    }
}

TEST(JpegImageDecode, DataThatEndsEarlyShowsAsFarAsItGoes)
{
    // A red picture tall enough that half its compressed data covers only
    // its top: past the cut libjpeg has no coefficients, which decode to the
    // middle grey.
    const Bytes red = EncodeJpeg(SolidPicture(16, 64, JpegModel::Rgb, {255, 0, 0}));
    const std::size_t data = FirstScanData(red);
    const Bitmap half = JpegImage::Load(Prefix(red, data + (red.size() - data) / 2)).Decode();
    ASSERT_EQ(half.height, 64);
    EXPECT_TRUE(Near(PixelAt(half, 0, 0), {0, 0, 255}, 8)) << Show(PixelAt(half, 0, 0));
    EXPECT_TRUE(Near(PixelAt(half, 15, 63), {128, 128, 128}, 2)) << Show(PixelAt(half, 15, 63));

    // A progressive picture's first scan holds the DC coefficients of every
    // block; for one flat colour that is the whole picture.
    JpegPicture progressive = SolidPicture(16, 64, JpegModel::Rgb, {255, 0, 0});
    progressive.progressive = true;
    const Bytes steps = EncodeJpeg(progressive);
    const Bitmap firstScan = JpegImage::Load(Prefix(steps, ScanStarts(steps).at(1))).Decode();
    ExpectColours(firstScan, [](int, int) { return Bgr{0, 0, 255}; }, 8);

    // Headers only: every pixel is the middle grey.
    const Bitmap headersOnly = JpegImage::Load(HandMadeJpegHeader({10, 3, 1, false})).Decode();
    ASSERT_EQ(headersOnly.width, 10);
    ASSERT_EQ(headersOnly.height, 3);
    for (int x = 0; x < 10; ++x) {
        EXPECT_NEAR(GreyAt(headersOnly, x, 2), 128, 2) << "at " << x;
    }
}

TEST(JpegImageDecode, RefusesWhatCannotBeShown)
{
    Bytes badFirstScan = HandMadeJpegHeader({8, 8, 1, true});
    badFirstScan[badFirstScan.size() - 2] = 5;  // a DC scan must end at coefficient 0
    const struct {
        const char* name;
        Bytes bytes;
        std::string message;
    } cases[] = {
        // Refused before anything large is allocated.
        {"largest size, colour", HandMadeJpegHeader({65500, 65500, 3, false}),
         std::string(messages::kOutOfSystemResources)},
        {"largest size, greyscale", HandMadeJpegHeader({65500, 65500, 1, false}),
         std::string(messages::kOutOfSystemResources)},
        // 16388 bytes a row: just over 256 MiB.
        {"greyscale just over the bitmap limit", HandMadeJpegHeader({16385, 16384, 1, false}),
         std::string(messages::kOutOfSystemResources)},
        // 216 MB of bitmap, but 8 bytes a pixel of coefficients is more
        // working memory than libjpeg may take: "backing store not supported".
        {"progressive CMYK beyond libjpeg's memory", HandMadeJpegHeader({9000, 8000, 4, true}),
         messages::JpegError(49)},
        {"two components", HandMadeJpegHeader({8, 8, 2, false}), messages::JpegError(27)},
        {"first scan invalid, found only when decoding", badFirstScan, messages::JpegError(16)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(DecodeFailure(c.bytes), c.message);
    }
}

TEST(JpegImageDecode, StopsPicturesWithTooManyScans)
{
    JpegPicture picture = SolidPicture(8, 8, JpegModel::Grey, {90});
    picture.progressive = true;
    const Bytes progressive = EncodeJpeg(picture);

    const Bitmap atLimit = JpegImage::Load(WithScanCount(progressive, 500)).Decode();
    EXPECT_EQ(atLimit.height, 8);
    EXPECT_EQ(DecodeFailure(WithScanCount(progressive, 501)), messages::kJpegTooManyScans);
    EXPECT_EQ(DecodeFailure(WithScanCount(progressive, 5000)), messages::kJpegTooManyScans);

    // Each scan passes over every block however little data it has, so the
    // work grows with the picture: over 4096 x 4096 pixels even 200 empty
    // scans are too many.
    JpegHeaderFields big{4096, 4096, 1, true};
    big.scans = 200;
    EXPECT_EQ(DecodeFailure(HandMadeJpegHeader(big)), messages::kJpegTooManyScans);
}

}  // namespace
}  // namespace scrinst
