#include "default_banner.h"

#include <cstdint>
#include <span>

#include "error.h"
#include "jpeg_reader.h"
#include "resource_ids.h"
#include "system_error.h"

namespace scrinst {

Bitmap LoadDefaultBanner(HINSTANCE instance)
{
    const HRSRC resource = FindResourceA(instance, MAKEINTRESOURCEA(IDR_DEFAULT_BANNER), MAKEINTRESOURCEA(10));  // RT_RCDATA
    const HGLOBAL loaded = resource != nullptr ? LoadResource(instance, resource) : nullptr;
    const void* bytes = loaded != nullptr ? LockResource(loaded) : nullptr;
    if (bytes == nullptr) {
        throw Error(SystemErrorText(GetLastError()));
    }
    const std::span<const std::uint8_t> data(static_cast<const std::uint8_t*>(bytes), SizeofResource(instance, resource));
    return JpegImage::Load(data).Decode();
}

}  // namespace scrinst
