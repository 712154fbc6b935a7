#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "error.h"

namespace scrinst::bmp {

// Little-endian loads at a fixed offset of bytes the caller has already
// checked to be long enough. Each byte is widened on its own line: the order
// of evaluation inside one shifted expression is not something to lean on.
inline std::uint16_t LoadU16(std::span<const std::uint8_t> bytes, std::size_t offset) noexcept
{
    const auto low = static_cast<std::uint32_t>(bytes[offset]);
    const auto high = static_cast<std::uint32_t>(bytes[offset + 1]);
    return static_cast<std::uint16_t>(low | (high << 8));
}

inline std::uint32_t LoadU32(std::span<const std::uint8_t> bytes, std::size_t offset) noexcept
{
    std::uint32_t value = 0;
    for (std::size_t i = 4; i-- > 0;) {
        value = (value << 8) | bytes[offset + i];
    }
    return value;
}

inline std::int32_t LoadI32(std::span<const std::uint8_t> bytes, std::size_t offset) noexcept
{
    return static_cast<std::int32_t>(LoadU32(bytes, offset));
}

// The read position in a bitmap file. Each step of the reader takes whole
// pieces from it; a piece the file cannot supply in full fails with the
// message that step gives for data cut short, and nothing is read past the end.
class ByteCursor {
public:
    explicit ByteCursor(std::span<const std::uint8_t> data) noexcept : data_(data) {}

    std::size_t remaining() const noexcept { return data_.size() - position_; }
    bool Has(std::uint64_t count) const noexcept { return count <= remaining(); }

    std::span<const std::uint8_t> Take(std::uint64_t count, std::string_view messageIfShort)
    {
        if (!Has(count)) {
            throw Error(std::string(messageIfShort));
        }
        const auto piece = data_.subspan(position_, static_cast<std::size_t>(count));
        position_ += piece.size();
        return piece;
    }

    std::span<const std::uint8_t> Rest() const noexcept { return data_.subspan(position_); }

private:
    std::span<const std::uint8_t> data_;
    std::size_t position_ = 0;
};

}  // namespace scrinst::bmp
