#include "jpeg_source.h"

namespace scrinst {

namespace {

const JOCTET kFakeEndOfImage[2] = {0xFF, JPEG_EOI};

JpegMemorySource& SourceOf(j_decompress_ptr cinfo)
{
    // `pub` is the first member of a standard-layout struct, so the pointer
    // libjpeg holds is also a pointer to the whole source.
    return *reinterpret_cast<JpegMemorySource*>(cinfo->src);
}

void InitSource(j_decompress_ptr) {}

void TermSource(j_decompress_ptr) {}

// The first call hands over all the bytes; any later call means the data is
// used up, and an end-of-image marker stands in for what is missing, as the
// library's own file source does.
boolean FillInputBuffer(j_decompress_ptr cinfo)
{
    JpegMemorySource& source = SourceOf(cinfo);
    if (!source.delivered && source.size > 0) {
        source.delivered = true;
        source.pub.next_input_byte = source.data;
        source.pub.bytes_in_buffer = source.size;
        return TRUE;
    }
    if (!source.delivered) {
        RaiseJpegError(cinfo, JERR_INPUT_EMPTY);
    }
    EmitJpegWarning(cinfo, JWRN_JPEG_EOF);
    source.pub.next_input_byte = kFakeEndOfImage;
    source.pub.bytes_in_buffer = sizeof kFakeEndOfImage;
    return TRUE;
}

void SkipInputData(j_decompress_ptr cinfo, long count)
{
    if (count <= 0) {
        return;
    }
    JpegMemorySource& source = SourceOf(cinfo);
    auto remaining = static_cast<unsigned long>(count);
    while (remaining > source.pub.bytes_in_buffer) {
        if (source.delivered) {
            // Skipping past the end of the data leaves only the stand-in
            // marker; refilling once is enough, however far the skip reaches.
            source.pub.bytes_in_buffer = 0;
            FillInputBuffer(cinfo);
            return;
        }
        remaining -= static_cast<unsigned long>(source.pub.bytes_in_buffer);
        FillInputBuffer(cinfo);
    }
    source.pub.next_input_byte += remaining;
    source.pub.bytes_in_buffer -= remaining;
}

}  // namespace

void AttachMemorySource(jpeg_decompress_struct& cinfo, JpegMemorySource& source,
                        std::span<const std::uint8_t> data) noexcept
{
    source.pub.next_input_byte = nullptr;
    source.pub.bytes_in_buffer = 0;
    source.pub.init_source = InitSource;
    source.pub.fill_input_buffer = FillInputBuffer;
    source.pub.skip_input_data = SkipInputData;
    source.pub.resync_to_restart = jpeg_resync_to_restart;
    source.pub.term_source = TermSource;
    source.data = data.data();
    source.size = data.size();
    source.delivered = false;
    cinfo.src = &source.pub;
}

}  // namespace scrinst
