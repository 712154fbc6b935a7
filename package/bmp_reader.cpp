#include "bmp_reader.h"

#include <algorithm>

#include "bmp_colours.h"
#include "bmp_cursor.h"
#include "bmp_header.h"
#include "bmp_layout.h"
#include "bmp_pixels.h"
#include "bmp_rle.h"

namespace scrinst {

namespace {

// The stored pixels: the count the header gives, or the whole uncompressed
// picture when it gives 0, and never more than the file still holds.
std::span<const std::uint8_t> PixelData(const bmp::ByteCursor& cursor, const bmp::InfoHeader& header,
                                        const bmp::Layout& layout)
{
    const auto rest = cursor.Rest();
    std::uint64_t count = header.sizeImage;
    if (count == 0) {
        // Run-length data has no size of its own to fall back on, and may
        // legitimately be longer than the picture it encodes; its end code
        // (or the end of the file) bounds it instead.
        const bool runLength =
            layout.compression == bmp::kCompressionRle8 || layout.compression == bmp::kCompressionRle4;
        count = runLength ? rest.size() : layout.sourceStride * layout.rows;
    }
    return rest.first(static_cast<std::size_t>(std::min<std::uint64_t>(count, rest.size())));
}

}  // namespace

Bitmap ReadBitmapFile(std::span<const std::uint8_t> file)
{
    bmp::ByteCursor cursor(file);
    bmp::ReadFileHeader(cursor);
    const bmp::InfoHeader header = bmp::ReadInfoHeader(cursor);
    const bmp::Layout layout = bmp::ValidateHeader(header);
    const bmp::ChannelMasks masks = bmp::ReadChannelMasks(cursor, header, layout);
    std::vector<PaletteEntry> palette = bmp::ReadColourTable(cursor, header, layout);
    // The size limit comes after the table, where the system would create
    // the bitmap: a table cut short is reported before a picture too large.
    const std::uint64_t decodedBytes = bmp::DecodedSize(layout);

    Bitmap bitmap;
    bitmap.width = static_cast<std::int32_t>(layout.width);
    bitmap.height = static_cast<std::int32_t>(layout.rows);
    bitmap.bitsPerPixel = layout.outputBits;
    bitmap.palette = std::move(palette);
    bitmap.pixels.assign(static_cast<std::size_t>(decodedBytes), 0);

    const auto data = PixelData(cursor, header, layout);
    if (layout.compression == bmp::kCompressionRle8 || layout.compression == bmp::kCompressionRle4) {
        bmp::DecodeRle(layout, data, bitmap);
    } else {
        bmp::DecodeUncompressed(layout, masks, data, bitmap);
    }
    return bitmap;
}

}  // namespace scrinst
