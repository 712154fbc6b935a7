#include "bmp_reader.h"

#include "error.h"
#include "messages.h"

namespace scrinst {

Bitmap ReadBitmapFile(std::span<const std::uint8_t> file)
{
    (void)file;
    throw Error(std::string(messages::kBitmapNotValid));  // placeholder until the reader lands
}

}  // namespace scrinst
