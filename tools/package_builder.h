#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "trailer.h"

namespace scrinst::pack {

// A package that cannot be built, with a message meant for the person
// running the tool.
class BuildError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

enum class PictureKind { None, Jpeg, Bitmap, Unknown };

// Decided by content, never by file name: a JPEG starts with its SOI marker
// and a frame marker, a Windows bitmap with "BM".
PictureKind DetectPictureKind(std::span<const std::uint8_t> bytes) noexcept;
std::string_view PictureKindName(PictureKind kind) noexcept;
// The type string stored in the trailer for a kind: ".jpg" or ".bmp".
std::string_view PictureTypeFor(PictureKind kind) noexcept;

struct PackageInputs {
    std::vector<std::uint8_t> stub;
    std::vector<std::uint8_t> saver;
    std::vector<std::uint8_t> picture;  // empty: no picture
    std::vector<std::uint8_t> text;     // empty: no text
    std::string name;
};

// Throws BuildError when the picture is neither JPEG nor bitmap, or the
// installer's own readers cannot show it.
void ValidatePicture(std::span<const std::uint8_t> picture);

// Throws BuildError when the name is too long or not a plain file name,
// the saver is empty, the picture is neither JPEG nor bitmap or does not
// decode with the installer's own readers, or the package would reach 2 GiB.
void ValidateInputs(const PackageInputs& inputs);

// The trailer that describes the inputs' items.
TPackageTrailer TrailerFor(const PackageInputs& inputs);

// Stub, saver, picture, text and trailer, in that order. Validates first.
std::vector<std::uint8_t> BuildPackage(const PackageInputs& inputs);

// The file name without folder and without its last extension.
std::string DefaultSaverName(const std::filesystem::path& saverPath);

std::vector<std::uint8_t> ReadFileBytes(const std::filesystem::path& path);

// Writes to a temporary file beside the target and renames it into place, so
// a failure never leaves half a package behind.
void WriteFileAtomically(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);

}  // namespace scrinst::pack
