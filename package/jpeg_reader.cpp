#include "jpeg_reader.h"

#include <array>
#include <new>
#include <string>

#include "error.h"
#include "jpeg_pixels.h"
#include "jpeg_session.h"
#include "messages.h"

namespace scrinst {

namespace {

// Greyscale pictures go through libjpeg's one-pass quantiser to this many
// evenly spaced levels, which leaves room in a 256-entry palette for the
// colours the system reserves.
constexpr int kGreyLevels = 236;

enum class OutputKind { Colour, Grey, Cmyk };

// What the decoding steps share with Decode. Steps run under setjmp, so this
// holds nothing with a destructor; Decode owns the buffers it points to.
struct DecodeState {
    OutputKind kind;
    JDIMENSION width;
    JDIMENSION height;
    int components;
    std::uint8_t* pixels;
    std::size_t stride;
    std::uint8_t* scratch;  // one row of CMYK samples
    std::array<PaletteEntry, 256> palette;
    std::size_t paletteSize;
};

void ChooseOutput(JpegSession& session, void*)
{
    jpeg_decompress_struct& cinfo = session.cinfo();
    cinfo.scale_num = 1;
    cinfo.scale_denom = 1;
    cinfo.do_fancy_upsampling = TRUE;
    cinfo.do_block_smoothing = TRUE;
    cinfo.dct_method = JDCT_FLOAT;
    switch (cinfo.out_color_space) {
    case JCS_GRAYSCALE:
        cinfo.quantize_colors = TRUE;
        cinfo.desired_number_of_colors = kGreyLevels;
        cinfo.two_pass_quantize = FALSE;
        cinfo.dither_mode = JDITHER_FS;
        break;
    case JCS_RGB:
    case JCS_CMYK:
        break;
    default:
        // Pictures of two or of more than four components have no known
        // colour space; asking for RGB lets libjpeg refuse them itself.
        cinfo.out_color_space = JCS_RGB;
        break;
    }
    jpeg_calc_output_dimensions(&cinfo);
}

void StartDecompress(JpegSession& session, void* context)
{
    auto& state = *static_cast<DecodeState*>(context);
    jpeg_decompress_struct& cinfo = session.cinfo();
    // A multi-scan picture is read whole here, before the bitmap exists.
    jpeg_start_decompress(&cinfo);
    // The buffers were sized from the dimensions computed before starting;
    // never let libjpeg write rows of another shape into them.
    if (cinfo.output_width != state.width || cinfo.output_height != state.height ||
        cinfo.output_components != state.components) {
        RaiseJpegError(&cinfo, JERR_CONVERSION_NOTIMPL);
    }
    if (state.kind == OutputKind::Grey) {
        const int count = cinfo.actual_number_of_colors;
        state.paletteSize = count < 0 ? 0 : static_cast<std::size_t>(count);
        if (state.paletteSize > state.palette.size()) {
            state.paletteSize = state.palette.size();
        }
        for (std::size_t i = 0; i < state.paletteSize; ++i) {
            const JSAMPLE level = cinfo.colormap[0][i];
            state.palette[i] = PaletteEntry{level, level, level, 0};
        }
    }
}

void ReadRows(JpegSession& session, void* context)
{
    auto& state = *static_cast<DecodeState*>(context);
    jpeg_decompress_struct& cinfo = session.cinfo();
    while (cinfo.output_scanline < cinfo.output_height) {
        std::uint8_t* row = state.pixels + std::size_t{cinfo.output_scanline} * state.stride;
        JSAMPROW target = state.kind == OutputKind::Cmyk ? state.scratch : row;
        // A memory source never suspends; should no row come anyway,
        // finishing reports the missing rows as an error.
        if (jpeg_read_scanlines(&cinfo, &target, 1) != 1) {
            break;
        }
        if (state.kind == OutputKind::Colour) {
            SwapRedAndBlue(row, state.width);
        } else if (state.kind == OutputKind::Cmyk) {
            CmykToBgr(state.scratch, row, state.width, cinfo.saw_Adobe_marker != 0);
        }
    }
    jpeg_finish_decompress(&cinfo);
}

OutputKind KindOf(const jpeg_decompress_struct& cinfo)
{
    switch (cinfo.out_color_space) {
    case JCS_GRAYSCALE:
        return OutputKind::Grey;
    case JCS_CMYK:
        return OutputKind::Cmyk;
    default:
        return OutputKind::Colour;
    }
}

int ComponentsOf(OutputKind kind)
{
    switch (kind) {
    case OutputKind::Grey:
        return 1;  // palette indexes
    case OutputKind::Cmyk:
        return 4;
    case OutputKind::Colour:
        break;
    }
    return 3;
}

[[noreturn]] void RefuseBitmap(JpegSession& session)
{
    session.Destroy();
    throw Error(std::string(messages::kOutOfSystemResources));
}

}  // namespace

JpegImage JpegImage::Load(std::span<const std::uint8_t> data)
{
    JpegImage image;
    image.data_.assign(data.begin(), data.end());
    JpegSession session(image.data_);
    if (!session.ReadHeader()) {
        session.Fail();
    }
    // libjpeg refuses dimensions of 0 or above 65500, so these fit.
    image.width_ = static_cast<std::int32_t>(session.cinfo().image_width);
    image.height_ = static_cast<std::int32_t>(session.cinfo().image_height);
    return image;
}

Bitmap JpegImage::Decode() const
{
    JpegSession session(data_);
    if (!session.ReadHeader() || !session.Run(ChooseOutput, nullptr)) {
        session.Fail();
    }

    const jpeg_decompress_struct& cinfo = session.cinfo();
    DecodeState state{};
    state.kind = KindOf(cinfo);
    state.width = cinfo.output_width;
    state.height = cinfo.output_height;
    state.components = ComponentsOf(state.kind);

    Bitmap bitmap;
    bitmap.width = static_cast<std::int32_t>(state.width);
    bitmap.height = static_cast<std::int32_t>(state.height);
    bitmap.bitsPerPixel = state.kind == OutputKind::Grey ? 8 : 24;
    state.stride = bitmap.Stride();
    // Checked before libjpeg allocates anything large: a header alone can
    // announce 65500 x 65500 pixels.
    const std::uint64_t bytes = std::uint64_t{state.stride} * std::uint64_t{state.height};
    if (bytes > kMaxBitmapBytes) {
        RefuseBitmap(session);
    }

    if (!session.Run(StartDecompress, &state)) {
        session.Fail();
    }

    std::vector<std::uint8_t> scratch;
    try {
        bitmap.pixels.resize(static_cast<std::size_t>(bytes));
        if (state.kind == OutputKind::Cmyk) {
            scratch.resize(std::size_t{state.width} * 4);
        }
    } catch (const std::bad_alloc&) {
        RefuseBitmap(session);
    }
    state.pixels = bitmap.pixels.data();
    state.scratch = scratch.data();

    if (!session.Run(ReadRows, &state)) {
        session.Fail();
    }
    bitmap.palette.assign(state.palette.begin(),
                          state.palette.begin() + static_cast<std::ptrdiff_t>(state.paletteSize));
    return bitmap;
}

}  // namespace scrinst
