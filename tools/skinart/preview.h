// Preview pictures of the artwork for people to look at: the main window as the user sees it
// on a desktop (outline cut, face views in place), the panels, the patcher, the button sheet
// and the icon, enlarged where small. Written as PNG files into a folder.
#pragma once

#include <string>

#include "base/status.h"
#include "tools/skinart/skin_files.h"

namespace qm::skinart {

Status WritePreviews(const SkinImages& images, const std::string& folder);

}  // namespace qm::skinart
