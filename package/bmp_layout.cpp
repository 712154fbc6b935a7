#include "bmp_layout.h"

#include <limits>

#include "bitmap.h"
#include "messages.h"
#include "system_error.h"

namespace scrinst::bmp {

namespace {

[[noreturn]] void NotValid()
{
    throw Error(std::string(messages::kBitmapNotValid));
}

bool KnownDepth(const InfoHeader& header)
{
    switch (header.bitCount) {
    case 1:
    case 4:
    case 8:
    case 24:
        return true;
    case 16:
    case 32:
        // The core header predates these depths.
        return !header.core;
    default:
        return false;
    }
}

bool CompressionFitsDepth(std::uint32_t compression, std::uint16_t bitCount)
{
    switch (compression) {
    case kCompressionRgb: return true;
    case kCompressionRle8: return bitCount == 8;
    case kCompressionRle4: return bitCount == 4;
    case kCompressionBitFields: return bitCount == 16 || bitCount == 32;
    default: return false;  // JPEG and PNG payloads are for printers, not screens
    }
}

std::uint64_t StrideOf(std::uint32_t width, std::uint16_t bitCount)
{
    // At most (2^31 - 1) * 32 bits: far inside 64 bits.
    const std::uint64_t bits = std::uint64_t{width} * bitCount;
    return (bits + 31) / 32 * 4;
}

}  // namespace

Layout ValidateHeader(const InfoHeader& header)
{
    if (header.planes != 1) {
        NotValid();
    }
    // A picture without pixels, or with a negative width, is one the system
    // cannot create a bitmap for, so it is refused as not valid rather than
    // shown as an empty picture. The most negative height has no positive
    // counterpart and is no top-down picture either.
    if (header.width <= 0 || header.height == 0 || header.height == std::numeric_limits<std::int32_t>::min()) {
        NotValid();
    }
    if (!KnownDepth(header) || !CompressionFitsDepth(header.compression, header.bitCount)) {
        NotValid();
    }
    Layout layout;
    layout.topDown = header.height < 0;
    // Run-length data is defined bottom-up only: its end-of-line and delta
    // codes move upwards through the picture.
    if (layout.topDown && (header.compression == kCompressionRle8 || header.compression == kCompressionRle4)) {
        NotValid();
    }
    layout.width = static_cast<std::uint32_t>(header.width);
    layout.rows = static_cast<std::uint32_t>(layout.topDown ? -std::int64_t{header.height} : header.height);
    layout.bitCount = header.bitCount;
    layout.compression = header.compression;
    layout.sourceStride = StrideOf(layout.width, layout.bitCount);
    layout.outputBits = layout.bitCount <= 8 ? 8 : 24;
    return layout;
}

std::uint64_t DecodedSize(const Layout& layout)
{
    const std::uint64_t stride = StrideOf(layout.width, layout.outputBits);
    if (layout.rows == 0 || stride > kMaxBitmapBytes / layout.rows) {
        throw Error(messages::SystemErrorWithCode(kErrorNotEnoughMemory, SystemErrorText(kErrorNotEnoughMemory)));
    }
    return stride * layout.rows;
}

}  // namespace scrinst::bmp
