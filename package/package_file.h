#pragma once

#include <string>

#include "byte_buffer.h"

namespace scrinst {

// The full path of the running executable.
std::string RunningExecutablePath();

// Reads a whole file, opened for reading with other readers allowed and
// writers shut out. Throws "Cannot open file "PATH". TEXT" when it cannot be
// opened, and "Stream read error" when it cannot be read in full or is too
// large for a package (2 GiB or more), which is refused before reading.
ByteBuffer ReadWholeFile(const std::string& path);

}  // namespace scrinst
