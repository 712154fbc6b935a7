#pragma once

// Makes JPEG files in memory for tests: real ones through libjpeg's
// compressor, and hand-made marker streams that stop right after the scan
// header, so that a test can announce any size without supplying its pixels.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <initializer_list>
#include <vector>

#include "jpeg_lib.h"

namespace scrinst::test {

enum class JpegModel { Rgb, Grey, Cmyk, Ycck };

struct JpegPicture {
    int width = 1;
    int height = 1;
    JpegModel model = JpegModel::Rgb;
    // Interleaved samples, row by row: R G B, a grey level, or C M Y K (for
    // Ycck too: the compressor converts them).
    std::vector<std::uint8_t> samples;
    bool progressive = false;
    bool subsampleChroma = false;  // 2 x 2 chroma; otherwise every component at full size
    bool adobeMarker = true;       // four-component files only
    int quality = 100;
};

inline int ComponentsOf(JpegModel model)
{
    switch (model) {
    case JpegModel::Grey:
        return 1;
    case JpegModel::Cmyk:
    case JpegModel::Ycck:
        return 4;
    case JpegModel::Rgb:
        break;
    }
    return 3;
}

// A picture of one colour: `pixel` holds one sample per component.
inline JpegPicture SolidPicture(int width, int height, JpegModel model, std::initializer_list<std::uint8_t> pixel)
{
    JpegPicture picture;
    picture.width = width;
    picture.height = height;
    picture.model = model;
    for (int i = 0; i < width * height; ++i) {
        picture.samples.insert(picture.samples.end(), pixel);
    }
    return picture;
}

// Compresses with libjpeg; a misuse of the compressor ends the test program
// with libjpeg's message, as its default error handler does.
inline std::vector<std::uint8_t> EncodeJpeg(const JpegPicture& picture)
{
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr errors{};
    cinfo.err = jpeg_std_error(&errors);
    jpeg_CreateCompress(&cinfo, JPEG_LIB_VERSION, sizeof cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);

    const int components = ComponentsOf(picture.model);
    cinfo.image_width = static_cast<JDIMENSION>(picture.width);
    cinfo.image_height = static_cast<JDIMENSION>(picture.height);
    cinfo.input_components = components;
    cinfo.in_color_space = components == 1 ? JCS_GRAYSCALE : components == 3 ? JCS_RGB : JCS_CMYK;
    jpeg_set_defaults(&cinfo);
    if (picture.model == JpegModel::Ycck) {
        jpeg_set_colorspace(&cinfo, JCS_YCCK);
    }
    if (components == 4 && !picture.adobeMarker) {
        cinfo.write_Adobe_marker = FALSE;
    }
    jpeg_set_quality(&cinfo, picture.quality, TRUE);
    for (int c = 0; c < cinfo.num_components; ++c) {
        const bool chroma = c == 1 || c == 2;
        const int factor = chroma || !picture.subsampleChroma ? 1 : 2;
        cinfo.comp_info[c].h_samp_factor = factor;
        cinfo.comp_info[c].v_samp_factor = factor;
    }
    if (picture.progressive) {
        jpeg_simple_progression(&cinfo);
    }

    jpeg_start_compress(&cinfo, TRUE);
    const auto rowBytes = static_cast<std::size_t>(picture.width) * static_cast<std::size_t>(components);
    std::vector<std::uint8_t> row(rowBytes);
    while (cinfo.next_scanline < cinfo.image_height) {
        const std::size_t at = std::size_t{cinfo.next_scanline} * rowBytes;
        for (std::size_t i = 0; i < rowBytes; ++i) {
            row[i] = at + i < picture.samples.size() ? picture.samples[at + i] : 0;
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);

    std::vector<std::uint8_t> bytes(buffer, buffer + size);
    std::free(buffer);
    return bytes;
}

struct JpegHeaderFields {
    std::uint16_t width = 8;
    std::uint16_t height = 8;
    std::uint8_t components = 1;
    bool progressive = false;
    // How many times the scan header is written, with no data between: libjpeg
    // reads each copy as one more scan, empty. More than one needs progressive.
    int scans = 1;
};

// push_back byte by byte: gcc 12 at -O2 misreads vector::insert of a short
// initializer list as an overread.
inline void Append(std::vector<std::uint8_t>& out, std::initializer_list<std::uint8_t> bytes)
{
    for (const std::uint8_t byte : bytes) {
        out.push_back(byte);
    }
}

inline void PutBigEndian16(std::vector<std::uint8_t>& out, std::size_t value)
{
    out.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFF));
    out.push_back(static_cast<std::uint8_t>(value & 0xFF));
}

// SOI, one quantisation table, the frame header, Huffman tables and the
// header of the first scan, and no compressed data: the decoder meets the
// end of the data at once. The first scan of a progressive frame carries the
// DC coefficients of all components.
inline std::vector<std::uint8_t> HandMadeJpegHeader(const JpegHeaderFields& fields)
{
    std::vector<std::uint8_t> out = {0xFF, 0xD8};

    Append(out, {0xFF, 0xDB});
    PutBigEndian16(out, 2 + 1 + 64);
    out.push_back(0x00);
    out.insert(out.end(), 64, 1);

    Append(out, {0xFF, static_cast<std::uint8_t>(fields.progressive ? 0xC2 : 0xC0)});
    PutBigEndian16(out, 8 + 3 * std::size_t{fields.components});
    out.push_back(8);
    PutBigEndian16(out, fields.height);
    PutBigEndian16(out, fields.width);
    out.push_back(fields.components);
    for (std::uint8_t c = 1; c <= fields.components; ++c) {
        Append(out, {c, 0x11, 0x00});
    }

    // One code each: DC category 0, AC end-of-block.
    for (const std::uint8_t tableClass : {0x00, 0x10}) {
        Append(out, {0xFF, 0xC4});
        PutBigEndian16(out, 2 + 1 + 16 + 1);
        out.push_back(tableClass);
        out.push_back(1);
        out.insert(out.end(), 15, 0);
        out.push_back(0);
    }

    for (int scan = 0; scan < fields.scans; ++scan) {
        Append(out, {0xFF, 0xDA});
        PutBigEndian16(out, 6 + 2 * std::size_t{fields.components});
        out.push_back(fields.components);
        for (std::uint8_t c = 1; c <= fields.components; ++c) {
            Append(out, {c, 0x00});
        }
        out.push_back(0);                                                       // Ss
        out.push_back(static_cast<std::uint8_t>(fields.progressive ? 0 : 63));  // Se
        out.push_back(0);                                                       // Ah, Al
    }
    return out;
}

}  // namespace scrinst::test
