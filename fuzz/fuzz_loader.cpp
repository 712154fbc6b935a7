// Arbitrary bytes as a whole package, loaded into a window stand-in.

#include <cstddef>
#include <cstdint>
#include <new>
#include <vector>

#include "error.h"
#include "load_target.h"
#include "loader.h"

namespace {

class NullTarget final : public scrinst::LoadTarget {
public:
    void StoreTrailer(const scrinst::TPackageTrailer&) override {}
    void SetCaption(const std::string&) override {}
    scrinst::ByteBuffer& SaverBuffer() override { return saver; }
    void DropPicture() override {}
    void FillPicture(scrinst::Bitmap) override {}
    void SetLines(std::vector<std::string>) override {}

    scrinst::ByteBuffer saver;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    NullTarget target;
    try {
        scrinst::LoadPackageBytes(target, scrinst::ByteBuffer(std::vector<std::uint8_t>(data, data + size)));
    } catch (const scrinst::Error&) {
    }
    return 0;
}
