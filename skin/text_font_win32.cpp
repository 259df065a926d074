#include "skin/text_font_win32.h"

namespace qm::skin {

GdiFont MakeTextFont(const char* face, int weight, BYTE charset) {
  return GdiFont(CreateFontA(kTextFontHeight, 0, 0, 0, weight, FALSE, FALSE, FALSE, charset, OUT_DEFAULT_PRECIS,
                             CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH, face));
}

}  // namespace qm::skin
