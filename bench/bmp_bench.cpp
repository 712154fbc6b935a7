// Decoding bitmap files of a typical picture size, one benchmark per pixel
// path: plain 24-bit rows, 16-bit bit fields (a mask per channel and pixel),
// 1-bit indexes and an RLE8 stream.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "bmp_fixture.h"
#include "bmp_reader.h"

namespace {

using scrinst::test::BmpFields;
using scrinst::test::BuildBmp;

constexpr std::int32_t kWidth = 1024;
constexpr std::int32_t kHeight = 768;

std::vector<scrinst::PaletteEntry> GreyRamp(std::size_t count)
{
    std::vector<scrinst::PaletteEntry> palette;
    for (std::size_t i = 0; i < count; ++i) {
        const auto level = static_cast<std::uint8_t>(i * 255 / (count - 1));
        palette.push_back({level, level, level, 0});
    }
    return palette;
}

// A changing pattern, so that no decoder path meets only zeros.
std::vector<std::uint8_t> Pattern(std::size_t size)
{
    std::vector<std::uint8_t> bytes(size);
    for (std::size_t i = 0; i < size; ++i) {
        bytes[i] = static_cast<std::uint8_t>((i * 7 + i / 4096) & 0xFF);
    }
    return bytes;
}

BmpFields Uncompressed(std::uint16_t bitCount)
{
    BmpFields fields;
    fields.width = kWidth;
    fields.height = kHeight;
    fields.bitCount = bitCount;
    const std::size_t stride = (static_cast<std::size_t>(kWidth) * bitCount + 31) / 32 * 4;
    fields.pixels = Pattern(stride * kHeight);
    return fields;
}

// Each row: runs of 16 pixels alternating with absolute runs of 15 (odd, so
// each carries a pad byte), then an end of line; an end of bitmap closes it.
std::vector<std::uint8_t> Rle8Stream()
{
    std::vector<std::uint8_t> stream;
    for (std::int32_t row = 0; row < kHeight; ++row) {
        for (std::int32_t x = 0; x + 31 <= kWidth; x += 31) {
            stream.insert(stream.end(), {16, static_cast<std::uint8_t>(row & 0xFF)});
            stream.insert(stream.end(), {0, 15});
            for (std::uint8_t i = 0; i < 15; ++i) {
                stream.push_back(static_cast<std::uint8_t>(x + i));
            }
            stream.push_back(0);
        }
        stream.insert(stream.end(), {0, 0});
    }
    stream.insert(stream.end(), {0, 1});
    return stream;
}

void Decode(benchmark::State& state, const std::vector<std::uint8_t>& file)
{
    for (auto _ : state) {
        scrinst::Bitmap bitmap = scrinst::ReadBitmapFile(file);
        benchmark::DoNotOptimize(bitmap.pixels.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(file.size()));
}

void Bmp24Bit(benchmark::State& state)
{
    Decode(state, BuildBmp(Uncompressed(24)));
}
BENCHMARK(Bmp24Bit)->Unit(benchmark::kMicrosecond);

void Bmp16BitFields(benchmark::State& state)
{
    BmpFields fields = Uncompressed(16);
    fields.compression = 3;
    fields.masks = {0xF800, 0x07E0, 0x001F};
    Decode(state, BuildBmp(fields));
}
BENCHMARK(Bmp16BitFields)->Unit(benchmark::kMicrosecond);

void Bmp1Bit(benchmark::State& state)
{
    BmpFields fields = Uncompressed(1);
    fields.palette = GreyRamp(2);
    Decode(state, BuildBmp(fields));
}
BENCHMARK(Bmp1Bit)->Unit(benchmark::kMicrosecond);

void BmpRle8(benchmark::State& state)
{
    BmpFields fields;
    fields.width = kWidth;
    fields.height = kHeight;
    fields.bitCount = 8;
    fields.compression = 1;
    fields.palette = GreyRamp(256);
    fields.pixels = Rle8Stream();
    fields.sizeImage = static_cast<std::uint32_t>(fields.pixels.size());
    Decode(state, BuildBmp(fields));
}
BENCHMARK(BmpRle8)->Unit(benchmark::kMicrosecond);

}  // namespace
