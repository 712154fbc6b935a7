#include "install_sequence.h"

namespace scrinst {

// Placeholder until the sequence lands.
void InstallScreenSaver(const ByteBuffer&, const TPackageTrailer&, bool, ProgressIndicator&, InstallPlatform&) {}
void ActivateScreenSaver(const std::string&, InstallPlatform&) {}

}  // namespace scrinst
