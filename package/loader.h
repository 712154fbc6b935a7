#pragma once

#include <string>

#include "byte_buffer.h"
#include "load_target.h"

namespace scrinst {

// Reads the running executable as a package and hands its contents to the
// target. Throws Error; the target keeps whatever effects came before.
void LoadPackage(LoadTarget& target);

// The same, from a given file or from bytes already in memory.
void LoadPackageFile(LoadTarget& target, const std::string& path);
void LoadPackageBytes(LoadTarget& target, ByteBuffer package);

}  // namespace scrinst
