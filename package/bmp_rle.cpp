#include "bmp_rle.h"

#include <algorithm>

namespace scrinst::bmp {

namespace {

constexpr std::uint8_t kEscape = 0;
constexpr std::uint8_t kEndOfLine = 0;
constexpr std::uint8_t kEndOfBitmap = 1;
constexpr std::uint8_t kDelta = 2;

// The pen of the decoder: a column and a stored row (0 is the bottom row).
// Columns past the right edge are remembered but never written, so a run that
// crosses the edge loses its tail instead of wrapping to the next row.
class RlePen {
public:
    RlePen(const Layout& layout, Bitmap& output) noexcept
        : width_(layout.width), rows_(layout.rows), stride_(output.Stride()), pixels_(output.pixels.data())
    {
    }

    bool InPicture() const noexcept { return row_ < rows_; }

    void Put(std::uint8_t index) noexcept
    {
        if (column_ < width_) {
            pixels_[RowStart() + column_] = index;
        }
        Advance(1);
    }

    void Fill(std::uint8_t index, std::uint32_t count) noexcept
    {
        if (column_ < width_) {
            const std::uint64_t end = std::min<std::uint64_t>(column_ + std::uint64_t{count}, width_);
            std::uint8_t* row = pixels_ + RowStart();
            std::fill(row + column_, row + end, index);
        }
        Advance(count);
    }

    void NextLine() noexcept
    {
        column_ = 0;
        ++row_;
    }

    void Move(std::uint32_t right, std::uint32_t up) noexcept
    {
        Advance(right);
        // A delta above the top leaves the picture: decoding then ends.
        row_ = static_cast<std::uint32_t>(std::min<std::uint64_t>(std::uint64_t{row_} + up, rows_));
    }

private:
    std::size_t RowStart() const noexcept { return std::size_t{rows_ - 1 - row_} * stride_; }

    // Once past the edge the exact column no longer matters; holding it there
    // keeps the count from growing without bound.
    void Advance(std::uint32_t count) noexcept
    {
        column_ = static_cast<std::uint32_t>(std::min<std::uint64_t>(column_ + std::uint64_t{count}, width_));
    }

    std::uint32_t width_;
    std::uint32_t rows_;
    std::size_t stride_;
    std::uint8_t* pixels_;
    std::uint32_t column_ = 0;
    std::uint32_t row_ = 0;
};

// The index of pixel i of a run whose bytes hold two 4-bit indexes each,
// the first in the high half.
std::uint8_t Nibble(std::uint8_t byte, std::size_t i) noexcept
{
    return static_cast<std::uint8_t>(i % 2 == 0 ? byte >> 4 : byte & 0x0F);
}

}  // namespace

void DecodeRle(const Layout& layout, std::span<const std::uint8_t> data, Bitmap& output)
{
    const bool fourBit = layout.compression == kCompressionRle4;
    RlePen pen(layout, output);
    std::size_t pos = 0;
    // Data that ends without an end-of-bitmap code ends the picture there, as
    // pixel data cut short does elsewhere; codes that would carry the pen
    // above the top row end it too, and anything after the end is ignored.
    while (pen.InPicture() && data.size() - pos >= 2) {
        const std::uint8_t count = data[pos];
        const std::uint8_t value = data[pos + 1];
        pos += 2;
        if (count != kEscape) {
            if (!fourBit) {
                pen.Fill(value, count);
            } else if ((value >> 4) == (value & 0x0F)) {
                pen.Fill(Nibble(value, 0), count);
            } else {
                for (std::size_t i = 0; i < count; ++i) {
                    pen.Put(Nibble(value, i));
                }
            }
            continue;
        }
        if (value == kEndOfLine) {
            pen.NextLine();
        } else if (value == kEndOfBitmap) {
            return;
        } else if (value == kDelta) {
            if (data.size() - pos < 2) {
                return;
            }
            pen.Move(data[pos], data[pos + 1]);
            pos += 2;
        } else {
            // An absolute run of value pixels, stored whole bytes padded to
            // an even count. A run the data cuts short shows what is there.
            const std::size_t bytes = fourBit ? (value + 1u) / 2 : value;
            const std::size_t available = std::min(bytes, data.size() - pos);
            const auto run = data.subspan(pos, available);
            const std::size_t pixels = std::min<std::size_t>(value, fourBit ? available * 2 : available);
            for (std::size_t i = 0; i < pixels; ++i) {
                pen.Put(fourBit ? Nibble(run[i / 2], i) : run[i]);
            }
            pos += std::min(bytes + bytes % 2, data.size() - pos);
        }
    }
}

}  // namespace scrinst::bmp
