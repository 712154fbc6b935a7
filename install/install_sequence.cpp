#include "install_sequence.h"

namespace scrinst {

void InstallScreenSaver(const ByteBuffer&, const TPackageTrailer&, ProgressIndicator&, InstallPlatform&) {}
void ActivateScreenSaver(const std::string&, InstallPlatform&) {}

}  // namespace scrinst
