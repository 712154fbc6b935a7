#include "trailer.h"

#include <algorithm>
#include <cstring>

namespace scrinst {

namespace {

constexpr std::size_t kPictureSizeOffset = 52;
constexpr std::size_t kPictureTypeOffset = 56;
constexpr std::size_t kTextSizeOffset = 64;
constexpr std::size_t kSaverSizeOffset = 68;

std::int32_t ReadInt32(std::span<const std::uint8_t, kTrailerSize> bytes, std::size_t offset) noexcept
{
    std::uint32_t value = bytes[offset];
    value |= std::uint32_t{bytes[offset + 1]} << 8;
    value |= std::uint32_t{bytes[offset + 2]} << 16;
    value |= std::uint32_t{bytes[offset + 3]} << 24;
    return static_cast<std::int32_t>(value);
}

void WriteInt32(std::array<std::uint8_t, kTrailerSize>& bytes, std::size_t offset, std::int32_t signedValue) noexcept
{
    const auto value = static_cast<std::uint32_t>(signedValue);
    bytes[offset] = static_cast<std::uint8_t>(value);
    bytes[offset + 1] = static_cast<std::uint8_t>(value >> 8);
    bytes[offset + 2] = static_cast<std::uint8_t>(value >> 16);
    bytes[offset + 3] = static_cast<std::uint8_t>(value >> 24);
}

template <std::size_t N>
std::string FieldText(const std::array<std::uint8_t, N>& field)
{
    const std::size_t length = std::min<std::size_t>(field[0], N - 1);
    return std::string(reinterpret_cast<const char*>(field.data() + 1), length);
}

template <std::size_t N>
void SetField(std::array<std::uint8_t, N>& field, std::string_view text) noexcept
{
    const std::size_t length = std::min(text.size(), N - 1);
    field.fill(0);
    field[0] = static_cast<std::uint8_t>(length);
    std::memcpy(field.data() + 1, text.data(), length);
}

template <std::size_t N>
bool FieldEquals(const std::array<std::uint8_t, N>& field, std::string_view text) noexcept
{
    return field[0] == text.size() && std::memcmp(field.data() + 1, text.data(), text.size()) == 0;
}

}  // namespace

TPackageTrailer ReadTrailer(std::span<const std::uint8_t, kTrailerSize> bytes) noexcept
{
    TPackageTrailer trailer;
    std::copy_n(bytes.begin(), kSaverNameFieldSize, trailer.saverName.begin());
    trailer.pictureSize = ReadInt32(bytes, kPictureSizeOffset);
    std::copy_n(bytes.begin() + kPictureTypeOffset, kPictureTypeFieldSize, trailer.pictureType.begin());
    trailer.textSize = ReadInt32(bytes, kTextSizeOffset);
    trailer.saverSize = ReadInt32(bytes, kSaverSizeOffset);
    return trailer;
}

std::array<std::uint8_t, kTrailerSize> WriteTrailer(const TPackageTrailer& trailer) noexcept
{
    std::array<std::uint8_t, kTrailerSize> bytes{};
    std::copy(trailer.saverName.begin(), trailer.saverName.end(), bytes.begin());
    WriteInt32(bytes, kPictureSizeOffset, trailer.pictureSize);
    std::copy(trailer.pictureType.begin(), trailer.pictureType.end(), bytes.begin() + kPictureTypeOffset);
    WriteInt32(bytes, kTextSizeOffset, trailer.textSize);
    WriteInt32(bytes, kSaverSizeOffset, trailer.saverSize);
    return bytes;
}

std::optional<TPackageTrailer> ReadTrailerAtEnd(std::span<const std::uint8_t> package) noexcept
{
    if (package.size() < kTrailerSize) {
        return std::nullopt;
    }
    return ReadTrailer(package.last<kTrailerSize>());
}

std::size_t SaverNameLength(const TPackageTrailer& trailer) noexcept
{
    return trailer.saverName[0];
}

std::string SaverName(const TPackageTrailer& trailer)
{
    return FieldText(trailer.saverName);
}

std::string PictureType(const TPackageTrailer& trailer)
{
    return FieldText(trailer.pictureType);
}

void SetSaverName(TPackageTrailer& trailer, std::string_view name) noexcept
{
    SetField(trailer.saverName, name);
}

void SetPictureType(TPackageTrailer& trailer, std::string_view type) noexcept
{
    SetField(trailer.pictureType, type);
}

bool PictureIsJpeg(const TPackageTrailer& trailer) noexcept
{
    return FieldEquals(trailer.pictureType, ".jpg") || FieldEquals(trailer.pictureType, ".jpeg");
}

ItemOffsets ItemOffsetsOf(std::int64_t fileLength, const TPackageTrailer& trailer) noexcept
{
    ItemOffsets offsets;
    offsets.trailer = fileLength - static_cast<std::int64_t>(kTrailerSize);
    offsets.text = offsets.trailer - trailer.textSize;
    offsets.picture = offsets.text - trailer.pictureSize;
    offsets.saver = offsets.picture - trailer.saverSize;
    return offsets;
}

bool CountsAreSane(const TPackageTrailer& trailer) noexcept
{
    if (trailer.saverSize <= 0 || trailer.pictureSize < 0 || trailer.textSize < 0) {
        return false;
    }
    const std::int64_t sum = std::int64_t{trailer.saverSize} + trailer.pictureSize + trailer.textSize +
                             static_cast<std::int64_t>(kTrailerSize);
    return sum < kMaxPackageSize;
}

std::string InstallationTitle(const TPackageTrailer& trailer)
{
    std::string title = SaverName(trailer) + " Installation";
    if (title.size() > kMaxTitleLength) {
        title.resize(kMaxTitleLength);
    }
    return title;
}

}  // namespace scrinst
