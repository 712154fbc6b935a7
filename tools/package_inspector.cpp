#include "package_inspector.h"

#include <cstdio>

#include "bitmap.h"
#include "byte_buffer.h"
#include "error.h"
#include "load_target.h"
#include "loader.h"
#include "saver_name.h"

namespace scrinst::pack {

namespace {

// A load target that only remembers what loading handed it.
class RecordingTarget final : public LoadTarget {
public:
    void StoreTrailer(const TPackageTrailer& stored) override { trailer = stored; }
    void SetCaption(const std::string& text) override { caption = text; }
    ByteBuffer& SaverBuffer() override { return saver; }
    void DropPicture() override { picture = Bitmap{}; }
    void FillPicture(Bitmap bitmap) override { picture = std::move(bitmap); }
    void SetLines(std::vector<std::string> text) override { lines = std::move(text); }

    std::optional<TPackageTrailer> trailer;
    std::string caption;
    ByteBuffer saver;
    Bitmap picture;
    std::vector<std::string> lines;
};

std::string JsonString(std::string_view text)
{
    std::string out = "\"";
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (c < 0x20 || c >= 0x7F) {
                // Names are in a Windows code page, not UTF-8: keep bytes recognisable.
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
                out += escaped;
            } else {
                out += ch;
            }
        }
    }
    return out + "\"";
}

std::string Printable(std::string_view text)
{
    std::string out;
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 0x20 || c == 0x7F) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02x", c);
            out += escaped;
        } else {
            out += ch;
        }
    }
    return out;
}

}  // namespace

PackageReport InspectPackage(std::span<const std::uint8_t> package)
{
    PackageReport report;
    report.fileSize = static_cast<std::int64_t>(package.size());
    RecordingTarget target;
    try {
        LoadPackageBytes(target, ByteBuffer(std::vector<std::uint8_t>(package.begin(), package.end())));
    } catch (const Error& error) {
        report.problem = error.message();
    } catch (const std::bad_alloc&) {
        report.problem = "Out of memory";
    }
    report.trailer = target.trailer;
    report.caption = target.caption;
    report.textLines = target.lines.size();
    report.pictureWidth = target.picture.width;
    report.pictureHeight = target.picture.height;
    if (report.trailer) {
        const TPackageTrailer& trailer = *report.trailer;
        report.offsets = ItemOffsetsOf(report.fileSize, trailer);
        report.pictureReadAsJpeg = PictureIsJpeg(trailer);
        if (trailer.pictureSize > 0 && report.offsets.picture >= 0 && CountsAreSane(trailer) &&
            report.offsets.saver >= 0) {
            report.pictureKind = DetectPictureKind(
                package.subspan(static_cast<std::size_t>(report.offsets.picture),
                                static_cast<std::size_t>(trailer.pictureSize)));
        }
    }
    return report;
}

std::string FormatReportText(const PackageReport& report)
{
    std::string out;
    auto line = [&out](std::string_view label, const std::string& value) {
        out.append(label).append(value).append("\n");
    };
    line("file size:     ", std::to_string(report.fileSize) + " bytes");
    if (!report.trailer) {
        line("status:        ", "INVALID: " + report.problem);
        return out;
    }
    const TPackageTrailer& t = *report.trailer;
    const bool namedOk = SaverNameLength(t) <= kMaxSaverNameLength;
    line("name:          ", namedOk ? "\"" + Printable(SaverName(t)) + "\"" :
                                      "(length byte " + std::to_string(SaverNameLength(t)) + ", above 51)");
    line("window title:  ", report.caption.empty() ? "(not set)" : "\"" + Printable(report.caption) + "\"");
    line("screen saver:  ", std::to_string(t.saverSize) + " bytes at offset " + std::to_string(report.offsets.saver));
    if (t.pictureSize != 0) {
        std::string picture = std::to_string(t.pictureSize) + " bytes at offset " + std::to_string(report.offsets.picture) +
                              ", type \"" + Printable(PictureType(t)) + "\" (read as " +
                              (report.pictureReadAsJpeg ? "JPEG" : "Windows bitmap") + "), content " +
                              std::string(PictureKindName(report.pictureKind));
        if (report.pictureWidth > 0) {
            picture += ", " + std::to_string(report.pictureWidth) + " x " + std::to_string(report.pictureHeight) + " pixels";
        }
        line("picture:       ", picture);
    } else {
        line("picture:       ", "none (the built-in banner shows)");
    }
    if (t.textSize != 0) {
        line("text:          ", std::to_string(t.textSize) + " bytes at offset " + std::to_string(report.offsets.text) +
                                 ", " + std::to_string(report.textLines) + " lines");
    } else {
        line("text:          ", "none");
    }
    line("installer:     ", std::to_string(report.offsets.saver < 0 ? 0 : report.offsets.saver) + " bytes");
    line("status:        ", report.valid() ? "valid" : "INVALID: " + report.problem);
    return out;
}

std::string FormatReportJson(const PackageReport& report)
{
    std::string out = "{\n";
    auto field = [&out](std::string_view key, const std::string& value, bool last = false) {
        out.append("  \"").append(key).append("\": ").append(value).append(last ? "\n" : ",\n");
    };
    field("fileSize", std::to_string(report.fileSize));
    field("valid", report.valid() ? "true" : "false");
    field("problem", report.valid() ? "null" : JsonString(report.problem));
    if (report.trailer) {
        const TPackageTrailer& t = *report.trailer;
        field("name", JsonString(SaverName(t)));
        field("nameLength", std::to_string(SaverNameLength(t)));
        field("caption", JsonString(report.caption));
        field("saver", "{\"offset\": " + std::to_string(report.offsets.saver) + ", \"size\": " + std::to_string(t.saverSize) + "}");
        std::string picture = "{\"offset\": " + std::to_string(report.offsets.picture) + ", \"size\": " +
                              std::to_string(t.pictureSize) + ", \"type\": " + JsonString(PictureType(t)) +
                              ", \"readAs\": " + (report.pictureReadAsJpeg ? "\"jpeg\"" : "\"bitmap\"") +
                              ", \"content\": " + JsonString(PictureKindName(report.pictureKind)) +
                              ", \"width\": " + std::to_string(report.pictureWidth) +
                              ", \"height\": " + std::to_string(report.pictureHeight) + "}";
        field("picture", t.pictureSize != 0 ? picture : "null");
        field("text", t.textSize != 0 ? "{\"offset\": " + std::to_string(report.offsets.text) + ", \"size\": " +
                                            std::to_string(t.textSize) + ", \"lines\": " + std::to_string(report.textLines) + "}"
                                      : "null");
        field("trailerOffset", std::to_string(report.offsets.trailer), true);
    } else {
        field("trailer", "null", true);
    }
    return out + "}\n";
}

std::vector<std::filesystem::path> ExtractPackage(std::span<const std::uint8_t> package,
                                                  const std::filesystem::path& directory)
{
    const PackageReport report = InspectPackage(package);
    if (!report.valid()) {
        throw BuildError("package is not valid: " + report.problem);
    }
    const TPackageTrailer& t = *report.trailer;
    const std::string name = SaverName(t);
    if (name.empty() || !IsPlainFileName(name)) {
        throw BuildError("the package's name \"" + Printable(name) + "\" is not a usable file name");
    }
    std::vector<std::filesystem::path> written;
    auto put = [&](const std::string& fileName, std::int64_t offset, std::int32_t size) {
        const auto path = directory / fileName;
        WriteFileAtomically(path, package.subspan(static_cast<std::size_t>(offset), static_cast<std::size_t>(size)));
        written.push_back(path);
    };
    std::filesystem::create_directories(directory);
    put(name + ".scr", report.offsets.saver, t.saverSize);
    if (t.pictureSize != 0) {
        std::string type = PictureType(t);
        if (!IsPlainFileName(name + type)) {
            type = std::string(PictureTypeFor(report.pictureKind));
        }
        put(name + type, report.offsets.picture, t.pictureSize);
    }
    if (t.textSize != 0) {
        put(name + ".txt", report.offsets.text, t.textSize);
    }
    return written;
}

}  // namespace scrinst::pack
