#pragma once

#include <windows.h>

#include "bitmap.h"

namespace scrinst {

// The banner carried in the program's resources, decoded. Throws Error.
Bitmap LoadDefaultBanner(HINSTANCE instance);

}  // namespace scrinst
