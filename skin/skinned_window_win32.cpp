#include "skin/skinned_window_win32.h"

#include "skin/skin_win32.h"

namespace qm::skin {

bool AnswerSkinnedWindowMessage(HWND window, UINT message, WPARAM wparam, LPARAM lparam,
                                const MainItemState& items, LRESULT* result) {
  switch (message) {
    case WM_LBUTTONDOWN:
      StartWindowDrag(window, lparam);
      *result = 0;
      return true;
    case WM_DRAWITEM:
      // 1 even when the skin left the item to the system: the item is answered either way.
      DrawItem(window, reinterpret_cast<const DRAWITEMSTRUCT*>(lparam), items);
      *result = 1;
      return true;
    case WM_MEASUREITEM:
      MeasureItem(reinterpret_cast<MEASUREITEMSTRUCT*>(lparam));
      *result = 1;
      return true;
    default:
      return AnswerColourMessage(message, wparam, lparam, result);
  }
}

}  // namespace qm::skin
