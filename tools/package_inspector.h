#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "package_builder.h"
#include "trailer.h"

namespace scrinst::pack {

// What a package holds and whether the installer would load it cleanly.
struct PackageReport {
    std::int64_t fileSize = 0;
    std::optional<TPackageTrailer> trailer;  // absent when the file is shorter than a trailer
    ItemOffsets offsets;
    PictureKind pictureKind = PictureKind::None;  // by content
    bool pictureReadAsJpeg = false;                // by the stored type, as the installer decides
    std::int32_t pictureWidth = 0;
    std::int32_t pictureHeight = 0;
    std::size_t textLines = 0;
    std::string caption;   // the window caption loading sets
    std::string problem;   // the installer's error message; empty when the package is valid

    bool valid() const noexcept { return problem.empty(); }
};

// Runs the installer's own loader over the bytes.
PackageReport InspectPackage(std::span<const std::uint8_t> package);

std::string FormatReportText(const PackageReport& report);
std::string FormatReportJson(const PackageReport& report);

// Writes the screen saver as NAME.scr, the picture as NAME plus its stored
// type, and the text as NAME.txt into directory. Returns the files written.
// Throws BuildError for an invalid package or a name that is not a plain
// file name, so nothing lands outside the directory.
std::vector<std::filesystem::path> ExtractPackage(std::span<const std::uint8_t> package,
                                                  const std::filesystem::path& directory);

}  // namespace scrinst::pack
