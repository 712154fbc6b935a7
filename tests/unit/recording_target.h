#pragma once

#include <string>
#include <vector>

#include "bitmap.h"
#include "byte_buffer.h"
#include "load_target.h"
#include "trailer.h"

namespace scrinst::test {

// A window stand-in that records every effect loading makes, in order, and
// starts in the state the real window starts in: the layout's caption, the
// banner, an empty text box, an empty screen saver buffer, a zero trailer.
class RecordingTarget final : public LoadTarget {
public:
    static constexpr const char* kLayoutCaption = "Installation";

    void StoreTrailer(const TPackageTrailer& stored) override { log.push_back("trailer"); trailer = stored; }
    void SetCaption(const std::string& text) override { log.push_back("caption"); caption = text; }
    ByteBuffer& SaverBuffer() override { log.push_back("saver"); return saver; }
    void DropPicture() override { log.push_back("drop"); showsBanner = false; picture = Bitmap{}; }
    void FillPicture(Bitmap bitmap) override { log.push_back("fill"); picture = std::move(bitmap); }
    void SetLines(std::vector<std::string> text) override { log.push_back("lines"); lines = std::move(text); }

    std::vector<std::string> log;
    TPackageTrailer trailer{};
    std::string caption = kLayoutCaption;
    ByteBuffer saver;
    bool showsBanner = true;
    Bitmap picture;
    std::vector<std::string> lines;
};

}  // namespace scrinst::test
