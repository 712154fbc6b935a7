#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "trailer.h"

namespace scrinst::test {

inline std::vector<std::uint8_t> Bytes(std::string_view text)
{
    return std::vector<std::uint8_t>(text.begin(), text.end());
}

inline std::vector<std::uint8_t> Filled(std::size_t count, std::uint8_t seed = 1)
{
    std::vector<std::uint8_t> bytes(count);
    for (std::size_t i = 0; i < count; ++i) {
        bytes[i] = static_cast<std::uint8_t>(seed + i * 31);
    }
    return bytes;
}

// Appends items and a trailer written field by field, whatever the counts
// say: this is how damaged and hostile packages are made.
inline std::vector<std::uint8_t> RawPackage(const std::vector<std::uint8_t>& body, const TPackageTrailer& trailer)
{
    std::vector<std::uint8_t> package = body;
    const auto bytes = WriteTrailer(trailer);
    package.insert(package.end(), bytes.begin(), bytes.end());
    return package;
}

inline TPackageTrailer MakeTrailer(std::string_view name, std::int32_t saver, std::int32_t picture = 0,
                                   std::string_view type = "", std::int32_t text = 0)
{
    TPackageTrailer trailer;
    SetSaverName(trailer, name);
    trailer.saverSize = saver;
    trailer.pictureSize = picture;
    SetPictureType(trailer, type);
    trailer.textSize = text;
    return trailer;
}

inline std::vector<std::uint8_t> Concat(std::initializer_list<std::vector<std::uint8_t>> parts)
{
    std::vector<std::uint8_t> out;
    for (const auto& part : parts) {
        out.insert(out.end(), part.begin(), part.end());
    }
    return out;
}

}  // namespace scrinst::test
