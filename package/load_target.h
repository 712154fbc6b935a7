#pragma once

#include <string>
#include <vector>

#include "bitmap.h"
#include "byte_buffer.h"
#include "trailer.h"

namespace scrinst {

// What loading may do to the installer window, and nothing more. Loading uses
// the effects in this order; when it fails, the effects already made stay.
class LoadTarget {
public:
    virtual ~LoadTarget() = default;

    virtual void StoreTrailer(const TPackageTrailer& trailer) = 0;
    virtual void SetCaption(const std::string& caption) = 0;
    virtual ByteBuffer& SaverBuffer() = 0;
    // Replaces the default banner by an empty bitmap.
    virtual void DropPicture() = 0;
    virtual void FillPicture(Bitmap picture) = 0;
    virtual void SetLines(std::vector<std::string> lines) = 0;
};

}  // namespace scrinst
