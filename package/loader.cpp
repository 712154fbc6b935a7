#include "loader.h"

#include <optional>

#include "bmp_reader.h"
#include "error.h"
#include "jpeg_reader.h"
#include "messages.h"
#include "package_file.h"
#include "text_lines.h"
#include "trailer.h"

namespace scrinst {

namespace {

[[noreturn]] void FailRead()
{
    throw Error(std::string(messages::kStreamReadError));
}

void LoadPicture(LoadTarget& target, ByteBuffer& package, const TPackageTrailer& trailer)
{
    ByteBuffer picture;
    picture.copyFrom(package, trailer.pictureSize);
    picture.setPosition(0);
    if (PictureIsJpeg(trailer)) {
        // Header errors must surface while the banner is still in place.
        const JpegImage image = JpegImage::Load(picture.bytes());
        target.DropPicture();
        target.FillPicture(image.Decode());
    } else {
        target.DropPicture();
        target.FillPicture(ReadBitmapFile(picture.bytes()));
    }
}

void LoadText(LoadTarget& target, ByteBuffer& package, const TPackageTrailer& trailer)
{
    ByteBuffer text;
    text.copyFrom(package, trailer.textSize);
    text.setPosition(0);
    target.SetLines(SplitLines(text.bytes()));
}

}  // namespace

void LoadPackage(LoadTarget& target)
{
    LoadPackageFile(target, RunningExecutablePath());
}

void LoadPackageFile(LoadTarget& target, const std::string& path)
{
    LoadPackageBytes(target, ReadWholeFile(path));
}

void LoadPackageBytes(LoadTarget& target, ByteBuffer package)
{
    if (package.size() >= kMaxPackageSize) {
        FailRead();
    }
    const std::optional<TPackageTrailer> found = ReadTrailerAtEnd(package.bytes());
    if (!found) {
        FailRead();
    }
    const TPackageTrailer& trailer = *found;
    target.StoreTrailer(trailer);

    // A longer name would run into the picture size; no title is made from it.
    if (SaverNameLength(trailer) > kMaxSaverNameLength) {
        FailRead();
    }
    target.SetCaption(InstallationTitle(trailer));

    // Counts that break the layout's rules would otherwise make the screen
    // saver copy take the whole file or read outside it; refuse them before
    // anything reaches the screen saver buffer.
    if (!CountsAreSane(trailer)) {
        FailRead();
    }
    const ItemOffsets offsets = ItemOffsetsOf(package.size(), trailer);
    if (offsets.saver < 0) {
        // The copy would read from before the start and so read nothing.
        FailRead();
    }
    package.setPosition(offsets.saver);
    target.SaverBuffer().copyFrom(package, trailer.saverSize);

    if (trailer.pictureSize != 0) {
        LoadPicture(target, package, trailer);
    }
    if (trailer.textSize != 0) {
        LoadText(target, package, trailer);
    }
}

}  // namespace scrinst
