#include "byte_buffer.h"

#include <algorithm>
#include <new>
#include <stdexcept>
#include <string>

#include "error.h"
#include "messages.h"

namespace scrinst {

std::size_t ByteBuffer::read(std::span<std::uint8_t> destination) noexcept
{
    const std::int64_t available = size() - position_;
    if (position_ < 0 || available <= 0 || destination.empty()) {
        return 0;
    }
    const auto count = static_cast<std::size_t>(
        std::min<std::int64_t>(available, static_cast<std::int64_t>(destination.size())));
    std::copy_n(bytes_.begin() + static_cast<std::ptrdiff_t>(position_), count, destination.begin());
    position_ += static_cast<std::int64_t>(count);
    return count;
}

void ByteBuffer::write(std::span<const std::uint8_t> source)
{
    if (source.empty()) {
        return;
    }
    if (position_ < 0) {
        position_ = 0;
    }
    const auto start = static_cast<std::size_t>(position_);
    const std::size_t end = start + source.size();
    try {
        if (end > bytes_.size()) {
            if (end > bytes_.capacity()) {
                // Grow geometrically so that appending chunk after chunk stays linear.
                bytes_.reserve(std::max(end, bytes_.capacity() + bytes_.capacity() / 2));
            }
            bytes_.resize(end);
        }
    } catch (const std::bad_alloc&) {
        throw Error(std::string(messages::kOutOfMemoryExpanding));
    } catch (const std::length_error&) {
        throw Error(std::string(messages::kOutOfMemoryExpanding));
    }
    std::copy(source.begin(), source.end(), bytes_.begin() + static_cast<std::ptrdiff_t>(start));
    position_ = static_cast<std::int64_t>(end);
}

void ByteBuffer::copyFrom(ByteBuffer& source, std::int64_t count)
{
    if (count <= 0) {
        return;
    }
    std::vector<std::uint8_t> chunk;
    try {
        chunk.resize(static_cast<std::size_t>(std::min(count, kCopyChunk)));
    } catch (const std::bad_alloc&) {
        throw Error(std::string(messages::kOutOfMemory));
    }
    while (count > 0) {
        const auto want = static_cast<std::size_t>(std::min(count, kCopyChunk));
        const std::span<std::uint8_t> piece(chunk.data(), want);
        if (source.read(piece) != want) {
            throw Error(std::string(messages::kStreamReadError));
        }
        write(piece);
        count -= static_cast<std::int64_t>(want);
    }
}

void ByteBuffer::clear() noexcept
{
    bytes_.clear();
    bytes_.shrink_to_fit();
    position_ = 0;
}

}  // namespace scrinst
