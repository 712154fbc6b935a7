// JPEG decoding as the installer does it: float IDCT, fancy upsampling,
// block smoothing, and the one-pass quantiser for greyscale pictures. The
// pictures are made once with libjpeg's compressor.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "error.h"
#include "jpeg_fixture.h"
#include "jpeg_reader.h"

namespace {

using scrinst::JpegImage;
using scrinst::test::EncodeJpeg;
using scrinst::test::JpegModel;
using scrinst::test::JpegPicture;

// A smooth picture with some detail, so the compressed data is not trivial.
JpegPicture Scene(int width, int height, JpegModel model)
{
    JpegPicture picture;
    picture.width = width;
    picture.height = height;
    picture.model = model;
    picture.quality = 85;
    const int components = scrinst::test::ComponentsOf(model);
    picture.samples.reserve(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) *
                            static_cast<std::size_t>(components));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            for (int c = 0; c < components; ++c) {
                const int value = (x * (c + 1) + y * (3 - c) + ((x ^ y) & 15)) & 255;
                picture.samples.push_back(static_cast<std::uint8_t>(value));
            }
        }
    }
    return picture;
}

const std::vector<std::uint8_t>& Baseline()
{
    static const std::vector<std::uint8_t> bytes = [] {
        JpegPicture picture = Scene(1024, 768, JpegModel::Rgb);
        picture.subsampleChroma = true;
        return EncodeJpeg(picture);
    }();
    return bytes;
}

const std::vector<std::uint8_t>& Progressive()
{
    static const std::vector<std::uint8_t> bytes = [] {
        JpegPicture picture = Scene(1024, 768, JpegModel::Rgb);
        picture.subsampleChroma = true;
        picture.progressive = true;
        return EncodeJpeg(picture);
    }();
    return bytes;
}

const std::vector<std::uint8_t>& Greyscale()
{
    static const std::vector<std::uint8_t> bytes = EncodeJpeg(Scene(1024, 768, JpegModel::Grey));
    return bytes;
}

const std::vector<std::uint8_t>& Cmyk()
{
    static const std::vector<std::uint8_t> bytes = EncodeJpeg(Scene(1024, 768, JpegModel::Cmyk));
    return bytes;
}

void Decode(benchmark::State& state, const std::vector<std::uint8_t>& bytes)
{
    for (auto _ : state) {
        const JpegImage image = JpegImage::Load(bytes);
        benchmark::DoNotOptimize(image.Decode());
    }
    state.SetItemsProcessed(state.iterations() * 1024 * 768);
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes.size()));
}

void BM_JpegDecodeBaseline(benchmark::State& state) { Decode(state, Baseline()); }
void BM_JpegDecodeProgressive(benchmark::State& state) { Decode(state, Progressive()); }
void BM_JpegDecodeGreyscale(benchmark::State& state) { Decode(state, Greyscale()); }
void BM_JpegDecodeCmyk(benchmark::State& state) { Decode(state, Cmyk()); }

// Load alone: the copy of the bytes and the markers up to the first scan.
void BM_JpegLoadHeaders(benchmark::State& state)
{
    for (auto _ : state) {
        benchmark::DoNotOptimize(JpegImage::Load(Baseline()));
    }
}

// A header announcing 65500 x 65500 pixels must be turned away at once.
void BM_JpegRefuseHugeHeader(benchmark::State& state)
{
    const std::vector<std::uint8_t> bytes = scrinst::test::HandMadeJpegHeader({65500, 65500, 3, false});
    for (auto _ : state) {
        const JpegImage image = JpegImage::Load(bytes);
        try {
            benchmark::DoNotOptimize(image.Decode());
            state.SkipWithError("the huge picture was decoded");
        } catch (const scrinst::Error&) {
        }
    }
}

}  // namespace

BENCHMARK(BM_JpegDecodeBaseline)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_JpegDecodeProgressive)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_JpegDecodeGreyscale)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_JpegDecodeCmyk)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_JpegLoadHeaders)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_JpegRefuseHugeHeader)->Unit(benchmark::kMicrosecond);
