// The about panel: name and version, the credits, and a translator's credit when the language
// file names one.
#include <string>

#include "shell/language.h"
#include "skin/control_ids.h"
#include "skin/control_layout.h"
#include "skin/skin_internal_win32.h"
#include "skin/skin_text.h"
#include "skin/skin_win32.h"

namespace qm::skin::internal {
namespace {

constexpr int kRuleLeft = 10, kRuleRight = 470;
constexpr int kRuleRows[] = {25, 55, 200};
constexpr COLORREF kHeadingColour = RGB(255, 0, 0);

void Line(HDC dc, int x, int y, COLORREF colour, const std::string& text) {
  SetTextColor(dc, colour);
  DrawString(dc, x, y, text.c_str());
}

}  // namespace

void PaintAboutPanel(HWND panel) {
  PaintDc paint(panel);
  if (paint.dc() == nullptr) return;
  // Composed off screen and shown in one blit: the rules shade the backdrop itself, never
  // what happens to be on the screen.
  MemoryDc dc(paint.dc());
  GdiBitmap surface(CreateCompatibleBitmap(paint.dc(), kPanelWidth, kPanelHeight));
  if (!dc || !surface) return;
  SelectInDc keep_surface(dc.get(), surface.get());
  if (!keep_surface.ok()) return;
  if (!CopyFromBitmap(dc.get(), 0, 0, kPanelWidth, kPanelHeight, Image(SkinImage::kPanelBackdrop),
                      0, 0)) {
    return;
  }
  for (int row : kRuleRows) {
    BrightenHLine(dc.get(), kRuleLeft, kRuleRight, row, -30);
    BrightenHLine(dc.get(), kRuleLeft, kRuleRight, row + 1, 30);
  }
  SetBkMode(dc.get(), TRANSPARENT);
  SelectInDc keep_font(dc.get(), SkinFont());
  const COLORREF black = RGB(0, 0, 0);
  Line(dc.get(), 20, 34, black, VersionLine());
  Line(dc.get(), 20, 69, kHeadingColour, kProgrammingHeading);
  Line(dc.get(), 40, 87, black, kProgrammerCredit);
  Line(dc.get(), 20, 111, kHeadingColour, kDesignHeading);
  Line(dc.get(), 40, 129, black, kDesignerCredit);
  Language& language = ProgramLanguage();
  if (language.Defines(kLanguageNameString)) {
    Line(dc.get(), kTranslationHeadingLine.left, kTranslationHeadingLine.top, kHeadingColour,
         TranslationHeading(Text(kLanguageNameString)));
    if (language.Defines(kTranslatorCreditString)) {
      Line(dc.get(), kTranslatorCreditLine.left, kTranslatorCreditLine.top, black, Text(kTranslatorCreditString));
    }
  }
  BitBlt(paint.dc(), 0, 0, kPanelWidth, kPanelHeight, dc.get(), 0, 0, SRCCOPY);
}

}  // namespace qm::skin::internal
