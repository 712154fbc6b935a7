#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace scrinst {

// A growable in-memory array of bytes with a current position. The package,
// its items and the screen saver held by the window all live in one of these.
// Positions are signed so that an offset computed from a lying trailer can sit
// before the start; reading there yields nothing rather than faulting.
class ByteBuffer {
public:
    // The copy moves data in chunks of this size, each read in full before any
    // of it is written.
    static constexpr std::int64_t kCopyChunk = 61440;

    ByteBuffer() = default;
    explicit ByteBuffer(std::vector<std::uint8_t> bytes) noexcept : bytes_(std::move(bytes)) {}

    ByteBuffer(ByteBuffer&&) noexcept = default;
    ByteBuffer& operator=(ByteBuffer&&) noexcept = default;
    ByteBuffer(const ByteBuffer&) = delete;
    ByteBuffer& operator=(const ByteBuffer&) = delete;

    std::int64_t size() const noexcept { return static_cast<std::int64_t>(bytes_.size()); }
    std::int64_t position() const noexcept { return position_; }
    void setPosition(std::int64_t position) noexcept { position_ = position; }

    std::span<const std::uint8_t> bytes() const noexcept { return bytes_; }

    // Reads up to destination.size() bytes from the position and advances past
    // them; returns how many were read (0 before the start or at the end).
    std::size_t read(std::span<std::uint8_t> destination) noexcept;

    // Writes at the position, growing the buffer as needed, and advances.
    // Throws "Out of memory while expanding memory stream" when growth fails.
    void write(std::span<const std::uint8_t> source);

    // Appends exactly count bytes read from source's position, in chunks of
    // kCopyChunk. Throws "Stream read error" as soon as a chunk comes up short;
    // the chunks before it stay written, nothing of the short one does.
    // A count of 0 or below copies nothing.
    void copyFrom(ByteBuffer& source, std::int64_t count);

    void clear() noexcept;

private:
    std::vector<std::uint8_t> bytes_;
    std::int64_t position_ = 0;
};

}  // namespace scrinst
