#include "bmp_header.h"

#include "messages.h"

namespace scrinst::bmp {

namespace {

[[noreturn]] void NotValid()
{
    throw Error(std::string(messages::kBitmapNotValid));
}

InfoHeader ParseCoreHeader(std::span<const std::uint8_t> bytes)
{
    InfoHeader header;
    header.headerSize = kCoreHeaderSize;
    header.core = true;
    header.width = LoadU16(bytes, 4);
    header.height = LoadU16(bytes, 6);
    header.planes = LoadU16(bytes, 8);
    header.bitCount = LoadU16(bytes, 10);
    return header;
}

InfoHeader ParseInfoHeader(std::span<const std::uint8_t> bytes)
{
    InfoHeader header;
    header.headerSize = LoadU32(bytes, 0);
    header.width = LoadI32(bytes, 4);
    header.height = LoadI32(bytes, 8);
    header.planes = LoadU16(bytes, 12);
    header.bitCount = LoadU16(bytes, 14);
    header.compression = LoadU32(bytes, 16);
    header.sizeImage = LoadU32(bytes, 20);
    // Bytes 24 to 31 hold the resolution, which a picture on screen ignores;
    // bytes 36 to 39 the count of important colours, a display hint.
    header.colorsUsed = LoadU32(bytes, 32);
    if (header.headerSize >= kMasksInHeaderSize) {
        header.masksInHeader = true;
        header.headerMasks = {LoadU32(bytes, 40), LoadU32(bytes, 44), LoadU32(bytes, 48)};
    }
    return header;
}

}  // namespace

void ReadFileHeader(ByteCursor& cursor)
{
    const auto bytes = cursor.Take(kFileHeaderSize, messages::kStreamReadError);
    if (bytes[0] != 'B' || bytes[1] != 'M') {
        NotValid();
    }
}

InfoHeader ReadInfoHeader(ByteCursor& cursor)
{
    // A header cut short is a malformed picture rather than a failed read:
    // the bytes it announces are simply not there, so it is refused as not
    // valid, before any field of it is trusted.
    if (!cursor.Has(4)) {
        NotValid();
    }
    const std::uint32_t size = LoadU32(cursor.Rest(), 0);
    // The known variants are 12 (core), 40, 52, 56, 108 and 124 bytes. Later
    // variants only ever appended fields, so any size of 40 or more is read as
    // its first 40 bytes (plus the masks when it is large enough to hold them)
    // and the rest skipped. Sizes between 12 and 40 (the short OS/2 2.x
    // header) use other field meanings and are refused.
    if (size != kCoreHeaderSize && size < kInfoHeaderSize) {
        NotValid();
    }
    const auto bytes = cursor.Take(size, messages::kBitmapNotValid);
    return size == kCoreHeaderSize ? ParseCoreHeader(bytes) : ParseInfoHeader(bytes);
}

}  // namespace scrinst::bmp
