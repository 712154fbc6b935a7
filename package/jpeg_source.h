#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "jpeg_lib.h"

namespace scrinst {

// A libjpeg data source over bytes already in memory. Once they are used up
// it supplies end-of-image markers, so data that ends early decodes as far as
// it goes (libjpeg warns, and warnings are ignored); input that is empty from
// its first byte is libjpeg's "empty input" error. libjpeg keeps a pointer to
// `pub`, so the source must outlive the decompressor's use of it.
struct JpegMemorySource {
    jpeg_source_mgr pub;
    const std::uint8_t* data;
    std::size_t size;
    bool delivered;
};

void AttachMemorySource(jpeg_decompress_struct& cinfo, JpegMemorySource& source,
                        std::span<const std::uint8_t> data) noexcept;

}  // namespace scrinst
