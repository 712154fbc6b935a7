// Arbitrary bytes as a JPEG picture item: loaded (headers), then decoded.
// Every input must either give a well-formed Bitmap of the size the headers
// announced or fail with scrinst::Error; anything else (a crash, a sanitizer
// report, another exception, a malformed result) is a finding.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "bitmap.h"
#include "error.h"
#include "jpeg_reader.h"

namespace {

void Check(bool condition)
{
    if (!condition) {
        std::abort();
    }
}

void CheckBitmap(const scrinst::JpegImage& image, const scrinst::Bitmap& bitmap)
{
    Check(bitmap.width == image.width() && bitmap.height == image.height());
    Check(bitmap.width > 0 && bitmap.height > 0);
    Check(bitmap.pixels.size() == bitmap.Stride() * static_cast<std::size_t>(bitmap.height));
    if (bitmap.bitsPerPixel == 24) {
        Check(bitmap.palette.empty());
        return;
    }
    Check(bitmap.bitsPerPixel == 8);
    Check(!bitmap.palette.empty() && bitmap.palette.size() <= 256);
    const std::size_t width = static_cast<std::size_t>(bitmap.width);
    for (std::size_t row = 0; row < static_cast<std::size_t>(bitmap.height); ++row) {
        for (std::size_t x = 0; x < width; ++x) {
            Check(bitmap.pixels[row * bitmap.Stride() + x] < bitmap.palette.size());
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    try {
        const scrinst::JpegImage image = scrinst::JpegImage::Load(std::span<const std::uint8_t>(data, size));
        // A 100-byte header can announce a picture of a hundred million pixels
        // that is within the limits and takes seconds to decode: correct, but
        // it stalls the fuzzer. Such sizes are the unit tests' business; above
        // the bitmap limit Decode refuses at once and still runs here.
        const std::uint64_t pixels = std::uint64_t(image.width()) * std::uint64_t(image.height());
        if (pixels > (std::uint64_t{1} << 22) && pixels <= scrinst::kMaxBitmapBytes) {
            return 0;
        }
        CheckBitmap(image, image.Decode());
    } catch (const scrinst::Error&) {
    }
    return 0;
}
