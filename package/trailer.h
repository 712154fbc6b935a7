#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace scrinst {

inline constexpr std::size_t kTrailerSize = 72;
inline constexpr std::size_t kSaverNameFieldSize = 52;
inline constexpr std::size_t kMaxSaverNameLength = kSaverNameFieldSize - 1;
inline constexpr std::size_t kPictureTypeFieldSize = 8;
inline constexpr std::size_t kMaxPictureTypeLength = kPictureTypeFieldSize - 1;
// Positions and counts in a package are signed 32-bit.
inline constexpr std::int64_t kMaxPackageSize = std::int64_t{1} << 31;

// The record in the last 72 bytes of every package. The string fields keep
// their raw bytes (length byte first) because bytes past the length carry no
// meaning yet must round-trip unchanged.
struct TPackageTrailer {
    std::array<std::uint8_t, kSaverNameFieldSize> saverName{};
    std::int32_t pictureSize = 0;
    std::array<std::uint8_t, kPictureTypeFieldSize> pictureType{};
    std::int32_t textSize = 0;
    std::int32_t saverSize = 0;

    bool operator==(const TPackageTrailer&) const = default;
};

// Field by field, little-endian; nothing is validated.
TPackageTrailer ReadTrailer(std::span<const std::uint8_t, kTrailerSize> bytes) noexcept;
std::array<std::uint8_t, kTrailerSize> WriteTrailer(const TPackageTrailer& trailer) noexcept;

// The trailer in the last 72 bytes of a package, or nothing when it is shorter.
std::optional<TPackageTrailer> ReadTrailerAtEnd(std::span<const std::uint8_t> package) noexcept;

// The length byte as stored; above 51 the name field is broken.
std::size_t SaverNameLength(const TPackageTrailer& trailer) noexcept;
// The name's characters, never more than the field holds.
std::string SaverName(const TPackageTrailer& trailer);
// The picture type's characters, never more than the field holds.
std::string PictureType(const TPackageTrailer& trailer);

// Fills a length-prefixed field; text longer than the field allows is cut.
void SetSaverName(TPackageTrailer& trailer, std::string_view name) noexcept;
void SetPictureType(TPackageTrailer& trailer, std::string_view type) noexcept;

// Exact, case-sensitive: only ".jpg" and ".jpeg" select the JPEG reader.
bool PictureIsJpeg(const TPackageTrailer& trailer) noexcept;

// Where the items start, counted back from the end of a file of fileLength
// bytes. Computed in 64 bits, so a lying trailer yields offsets outside the
// file (even negative ones) instead of wrapping.
struct ItemOffsets {
    std::int64_t saver = 0;
    std::int64_t picture = 0;
    std::int64_t text = 0;
    std::int64_t trailer = 0;
};
ItemOffsets ItemOffsetsOf(std::int64_t fileLength, const TPackageTrailer& trailer) noexcept;

// Sound-package checks the reader makes before trusting the counts.
// Counts that are in range and add up without overflowing 32 bits.
bool CountsAreSane(const TPackageTrailer& trailer) noexcept;

// The window title: name + " Installation", cut at 63 characters.
inline constexpr std::size_t kMaxTitleLength = 63;
std::string InstallationTitle(const TPackageTrailer& trailer);

}  // namespace scrinst
