// Loading a package end to end: the copy of a multi-megabyte screen saver,
// the picture and the text, as at every start of the installer.

#include <benchmark/benchmark.h>

#include "bmp_fixture.h"
#include "load_target.h"
#include "loader.h"
#include "package_fixture.h"

namespace {

class DiscardingTarget final : public scrinst::LoadTarget {
public:
    void StoreTrailer(const scrinst::TPackageTrailer&) override {}
    void SetCaption(const std::string&) override {}
    scrinst::ByteBuffer& SaverBuffer() override { return saver; }
    void DropPicture() override {}
    void FillPicture(scrinst::Bitmap picture) override { benchmark::DoNotOptimize(picture.pixels.data()); }
    void SetLines(std::vector<std::string> lines) override { benchmark::DoNotOptimize(lines.data()); }
    scrinst::ByteBuffer saver;
};

void LoadPackage(benchmark::State& state)
{
    using namespace scrinst::test;
    const auto saver = Filled(static_cast<std::size_t>(state.range(0)));
    const auto picture = SolidBmp24(298, 157, 200, 100, 50);
    std::string text;
    for (int i = 0; i < 200; ++i) {
        text += "A line of information about the screen saver.\r\n";
    }
    const auto trailer = MakeTrailer("Bench", static_cast<std::int32_t>(saver.size()),
                                     static_cast<std::int32_t>(picture.size()), ".bmp",
                                     static_cast<std::int32_t>(text.size()));
    const auto package = RawPackage(Concat({Filled(100000), saver, picture, Bytes(text)}), trailer);
    for (auto _ : state) {
        DiscardingTarget target;
        scrinst::LoadPackageBytes(target, scrinst::ByteBuffer(std::vector<std::uint8_t>(package)));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(package.size()));
}
BENCHMARK(LoadPackage)->Arg(64 << 10)->Arg(4 << 20)->Unit(benchmark::kMicrosecond);

}  // namespace
