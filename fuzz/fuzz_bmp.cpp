// Arbitrary bytes as a picture item read as a Windows bitmap file. Every input
// must either decode into a well-formed Bitmap or fail with scrinst::Error;
// anything else (a crash, a sanitizer report, another exception, a malformed
// result) is a finding.

#include <cstddef>
#include <cstdint>
#include <span>

#include "bitmap.h"
#include "bmp_reader.h"
#include "error.h"

namespace {

std::uint32_t Load32(const std::uint8_t* at)
{
    std::uint32_t value = 0;
    for (std::size_t i = 4; i-- > 0;) {
        value = (value << 8) | at[i];
    }
    return value;
}

std::uint16_t Load16(const std::uint8_t* at)
{
    return static_cast<std::uint16_t>(at[0] | (at[1] << 8));
}

// The reader accepts pictures of up to 256 MiB. Allocating and clearing that
// much takes seconds, and a few header bytes ask for it, so such inputs would
// starve the fuzzer without reaching any code that smaller pictures do not.
// They are skipped; larger ones still run, since the reader refuses them
// before it allocates. A rough look at the header is enough: it only decides
// which inputs are worth the time.
bool SlowToAllocate(const std::uint8_t* data, std::size_t size)
{
    constexpr std::uint64_t kFuzzBytes = std::uint64_t{1} << 20;
    if (size < 30) {
        return false;
    }
    const std::uint32_t headerSize = Load32(data + 14);
    std::int64_t width = 0;
    std::int64_t height = 0;
    std::uint16_t bits = 0;
    if (headerSize == 12) {
        width = Load16(data + 18);
        height = Load16(data + 20);
        bits = Load16(data + 24);
    } else {
        width = static_cast<std::int32_t>(Load32(data + 18));
        height = static_cast<std::int32_t>(Load32(data + 22));
        bits = Load16(data + 28);
    }
    if (width <= 0) {
        return false;
    }
    const std::uint64_t rows = static_cast<std::uint64_t>(height < 0 ? -height : height);
    const std::uint64_t outBits = bits <= 8 ? 8 : 24;
    const std::uint64_t stride = (static_cast<std::uint64_t>(width) * outBits + 31) / 32 * 4;
    const std::uint64_t bytes = stride * rows;  // under 6.5e9 times 2^31: no overflow
    return bytes > kFuzzBytes && bytes <= scrinst::kMaxBitmapBytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (SlowToAllocate(data, size)) {
        return 0;
    }
    try {
        const scrinst::Bitmap bitmap = scrinst::ReadBitmapFile(std::span<const std::uint8_t>(data, size));
        const bool paletted = bitmap.bitsPerPixel == 8;
        const bool wellFormed = !bitmap.empty() && (paletted || bitmap.bitsPerPixel == 24) &&
                                bitmap.pixels.size() == bitmap.Stride() * static_cast<std::size_t>(bitmap.height) &&
                                bitmap.palette.size() <= 256 && (paletted ? !bitmap.palette.empty() : bitmap.palette.empty()) &&
                                bitmap.pixels.size() <= scrinst::kMaxBitmapBytes;
        if (!wellFormed) {
            __builtin_trap();
        }
        // Every index must name a palette entry, or the window would read
        // past the palette when it shows the picture.
        if (paletted) {
            for (const std::uint8_t index : bitmap.pixels) {
                if (index >= bitmap.palette.size()) {
                    __builtin_trap();
                }
            }
        }
    } catch (const scrinst::Error&) {
    }
    return 0;
}
