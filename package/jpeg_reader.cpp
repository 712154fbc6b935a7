#include "jpeg_reader.h"

#include "error.h"
#include "messages.h"

namespace scrinst {

JpegImage JpegImage::Load(std::span<const std::uint8_t> data)
{
    (void)data;
    throw Error(messages::JpegError(53));  // placeholder until the decoder lands
}

Bitmap JpegImage::Decode() const
{
    return {};
}

}  // namespace scrinst
