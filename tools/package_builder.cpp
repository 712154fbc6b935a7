#include "package_builder.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <system_error>

#include "bmp_reader.h"
#include "error.h"
#include "jpeg_reader.h"
#include "saver_name.h"

namespace scrinst::pack {

PictureKind DetectPictureKind(std::span<const std::uint8_t> bytes) noexcept
{
    if (bytes.empty()) {
        return PictureKind::None;
    }
    if (bytes.size() >= 3 && bytes[0] == 0xFF && bytes[1] == 0xD8 && bytes[2] == 0xFF) {
        return PictureKind::Jpeg;
    }
    if (bytes.size() >= 2 && bytes[0] == 'B' && bytes[1] == 'M') {
        return PictureKind::Bitmap;
    }
    return PictureKind::Unknown;
}

std::string_view PictureKindName(PictureKind kind) noexcept
{
    switch (kind) {
    case PictureKind::None: return "none";
    case PictureKind::Jpeg: return "JPEG";
    case PictureKind::Bitmap: return "Windows bitmap";
    case PictureKind::Unknown: break;
    }
    return "unknown";
}

std::string_view PictureTypeFor(PictureKind kind) noexcept
{
    switch (kind) {
    case PictureKind::Jpeg: return ".jpg";
    case PictureKind::Bitmap: return ".bmp";
    default: return "";
    }
}

namespace {

void ValidateName(const std::string& name)
{
    if (name.size() > kMaxSaverNameLength) {
        throw BuildError("name \"" + name + "\" is " + std::to_string(name.size()) + " bytes long; at most " +
                         std::to_string(kMaxSaverNameLength) + " fit in a package");
    }
    if (!IsPlainFileName(name)) {
        throw BuildError("name \"" + name +
                         "\" cannot be a Windows file name (it holds \\ / : * ? \" < > | or a control "
                         "character, or is a device name such as CON or NUL)");
    }
}

}  // namespace

void ValidatePicture(std::span<const std::uint8_t> picture)
{
    const PictureKind kind = DetectPictureKind(picture);
    if (kind == PictureKind::None) {
        return;
    }
    if (kind == PictureKind::Unknown) {
        throw BuildError("picture is neither a JPEG nor a Windows bitmap (BMP) file");
    }
    // Refuse what the installer would show as an error box instead of a picture.
    try {
        if (kind == PictureKind::Jpeg) {
            (void)JpegImage::Load(picture).Decode();
        } else {
            (void)ReadBitmapFile(picture);
        }
    } catch (const Error& error) {
        throw BuildError("picture cannot be shown by the installer: " + error.message());
    }
}

void ValidateInputs(const PackageInputs& inputs)
{
    ValidateName(inputs.name);
    if (inputs.saver.empty()) {
        throw BuildError("screen saver is empty");
    }
    ValidatePicture(inputs.picture);
    const std::uint64_t total = std::uint64_t{inputs.stub.size()} + inputs.saver.size() + inputs.picture.size() +
                                inputs.text.size() + kTrailerSize;
    if (total >= static_cast<std::uint64_t>(kMaxPackageSize)) {
        throw BuildError("package would be " + std::to_string(total) + " bytes; it must stay below 2 GiB");
    }
}

TPackageTrailer TrailerFor(const PackageInputs& inputs)
{
    TPackageTrailer trailer;
    SetSaverName(trailer, inputs.name);
    trailer.saverSize = static_cast<std::int32_t>(inputs.saver.size());
    trailer.pictureSize = static_cast<std::int32_t>(inputs.picture.size());
    if (!inputs.picture.empty()) {
        SetPictureType(trailer, PictureTypeFor(DetectPictureKind(inputs.picture)));
    }
    trailer.textSize = static_cast<std::int32_t>(inputs.text.size());
    return trailer;
}

std::vector<std::uint8_t> BuildPackage(const PackageInputs& inputs)
{
    ValidateInputs(inputs);
    const auto trailer = WriteTrailer(TrailerFor(inputs));
    std::vector<std::uint8_t> package;
    package.reserve(inputs.stub.size() + inputs.saver.size() + inputs.picture.size() + inputs.text.size() +
                    trailer.size());
    for (const auto* part : {&inputs.stub, &inputs.saver, &inputs.picture, &inputs.text}) {
        package.insert(package.end(), part->begin(), part->end());
    }
    package.insert(package.end(), trailer.begin(), trailer.end());
    return package;
}

std::string DefaultSaverName(const std::filesystem::path& saverPath)
{
    return saverPath.stem().string();
}

std::vector<std::uint8_t> ReadFileBytes(const std::filesystem::path& path)
{
    std::error_code code;
    if (std::filesystem::is_directory(path, code)) {
        throw BuildError(path.string() + ": is a directory");
    }
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        throw BuildError(path.string() + ": " + std::strerror(errno));
    }
    std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    if (file.bad()) {
        throw BuildError(path.string() + ": read failed");
    }
    return bytes;
}

void WriteFileAtomically(const std::filesystem::path& path, std::span<const std::uint8_t> bytes)
{
    std::filesystem::path temporary = path;
    temporary += ".partial";
    {
        std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
        if (!file) {
            throw BuildError(temporary.string() + ": " + std::strerror(errno));
        }
        file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        file.flush();
        if (!file) {
            file.close();
            std::error_code ignored;
            std::filesystem::remove(temporary, ignored);
            throw BuildError(path.string() + ": write failed");
        }
    }
    std::error_code code;
    std::filesystem::rename(temporary, path, code);
    if (code) {
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
        throw BuildError(path.string() + ": " + code.message());
    }
}

}  // namespace scrinst::pack
