// The font the skinned windows draw their texts with: character height 14, fixed pitch, the
// face by name. The editor's skin font comes from strings 150 and 151, the patcher's button
// font from 2000 and 2001. `charset` is left to the system (its code page's letters) except
// where a check measures another language's texts.
//
// A file of its own so that the patcher, which draws with this font but has no skin engine,
// links only this function.
#pragma once

#include <windows.h>

#include "base/handles_win32.h"

namespace qm::skin {

constexpr int kTextFontHeight = -14;
GdiFont MakeTextFont(const char* face, int weight, BYTE charset = DEFAULT_CHARSET);

}  // namespace qm::skin
