#include "tools/language_fit/language_fit_win32.h"

#include <array>
#include <span>
#include <utility>

#include "base/ascii.h"
#include "base/handles_win32.h"
#include "patcher/patcher_ui.h"
#include "resources/string_ids.h"
#include "shell/display_name.h"
#include "shell/language.h"
#include "shell/program_strings.h"
#include "shell/status_text.h"
#include "skin/control_layout.h"
#include "skin/controls_win32.h"
#include "skin/skin_text.h"
#include "skin/skin_win32.h"
#include "skin/text_font_win32.h"
#include "web/web_addresses.h"

namespace qm::fit {
namespace {

// A text button's label keeps four pixels clear of each side: the face's two-pixel rim and as
// much air again, so that a label never reads as squeezed against the rim. A label keeps as
// much air (eight pixels) before what follows it.
constexpr int kButtonLabelMargin = 4;
constexpr int kLabelAir = 2 * kButtonLabelMargin;
// Sample values for the messages that take a name or a version: the longest login name the
// greeting takes, and a version as the update check prints it.
constexpr size_t kSampleNameLength = kLoginNameMax;
constexpr const char* kSampleVersion = "0.96";

std::wstring Wide(std::string_view bytes, UINT code_page) {
  if (bytes.empty()) return {};
  const int n = MultiByteToWideChar(code_page, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(n > 0 ? n : 0), L'\0');
  if (n > 0) MultiByteToWideChar(code_page, 0, bytes.data(), static_cast<int>(bytes.size()), wide.data(), n);
  return wide;
}

std::string Utf8(std::wstring_view wide) {
  if (wide.empty()) return {};
  const int n =
      WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n > 0 ? n : 0), '\0');
  if (n > 0)
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), out.data(), n, nullptr, nullptr);
  return out;
}

BYTE CharsetOf(UINT code_page) {
  CHARSETINFO info{};
  if (TranslateCharsetInfo(reinterpret_cast<DWORD*>(static_cast<UINT_PTR>(code_page)), &info, TCI_SRCCODEPAGE)) {
    return static_cast<BYTE>(info.ciCharset);
  }
  return DEFAULT_CHARSET;
}

// The code page the file's bytes are in, for the message panel's double-byte rule.
UINT g_file_code_page = CP_ACP;
bool LeadByteOfFile(unsigned char byte) { return IsDBCSLeadByteEx(g_file_code_page, byte) != FALSE; }

std::string CodePoint(wchar_t c) {
  char text[16];
  wsprintfA(text, "U+%04X", static_cast<unsigned>(c));
  return text;
}

// Replaces each "%s" in turn by the next value (as the programs fill their messages).
std::string FillIn(std::string_view pattern, std::span<const std::string> values) {
  std::string out;
  size_t next = 0;
  for (size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] == '%' && i + 1 < pattern.size() && pattern[i + 1] == 's' && next < values.size()) {
      out += values[next++];
      ++i;
    } else {
      out += pattern[i];
    }
  }
  return out;
}

// Measures texts in one font on a memory DC, and a hidden window for the list boxes.
class Ruler {
 public:
  Ruler(UINT code_page, const std::string& face, int weight)
      : code_page_(code_page), dc_(nullptr), font_(skin::MakeTextFont(face.c_str(), weight, CharsetOf(code_page))) {
    if (font_) keep_.emplace(dc_.get(), font_.get());
  }

  bool ok() const { return dc_ && font_ && keep_ && keep_->ok(); }
  HFONT font() const { return font_.get(); }

  std::string ChosenFace() const {
    wchar_t face[LF_FACESIZE] = L"";
    GetTextFaceW(dc_.get(), LF_FACESIZE, face);
    return Utf8(face);
  }

  // Width in pixels of `bytes` (in the file's code page).
  int Width(std::string_view bytes) const {
    const std::wstring wide = Wide(bytes, code_page_);
    SIZE size{};
    if (wide.empty() || !GetTextExtentPoint32W(dc_.get(), wide.data(), static_cast<int>(wide.size()), &size)) return 0;
    return size.cx;
  }

  // The first letter of `bytes` the font has no glyph for.
  std::optional<wchar_t> MissingGlyph(std::string_view bytes) const {
    const std::wstring wide = Wide(bytes, code_page_);
    if (wide.empty()) return std::nullopt;
    std::vector<WORD> glyphs(wide.size());
    if (GetGlyphIndicesW(dc_.get(), wide.data(), static_cast<int>(wide.size()), glyphs.data(),
                         GGI_MARK_NONEXISTING_GLYPHS) == GDI_ERROR) {
      return std::nullopt;  // a raster font answers nothing; it draws what it has
    }
    for (size_t i = 0; i < wide.size(); ++i) {
      if (glyphs[i] == 0xFFFF && wide[i] >= L' ') return wide[i];
    }
    return std::nullopt;
  }

  std::string Shown(std::string_view bytes) const { return Utf8(Wide(bytes, code_page_)); }

  UINT code_page() const { return code_page_; }

 private:
  UINT code_page_;
  MemoryDc dc_;
  GdiFont font_;
  std::optional<SelectInDc> keep_;
};

class Checker {
 public:
  Checker(const Ruler& ruler, FitReport* report) : ruler_(ruler), report_(report) {}

  // One text shown in a space `room` pixels wide.
  void Fits(uint32_t id, std::string_view text, int room, const char* where) {
    ++report_->texts;
    const int width = ruler_.Width(text);
    if (width > room) {
      Problem(id, text, std::to_string(width) + " pixels wide, " + where + " has room for " + std::to_string(room));
    }
    if (std::optional<wchar_t> missing = ruler_.MissingGlyph(text)) {
      Problem(id, text, "the font has no letter " + Utf8(std::wstring(1, *missing)) + " (" + CodePoint(*missing) + ")");
    }
  }

  // A message of the message panel: each of its lines within the panel, and no line that the
  // panel would have to break (or drop) by itself.
  void FitsPanel(uint32_t id, std::string_view text, int room) {
    const StatusLines lines = BreakStatusText(text, LeadByteOfFile);
    std::vector<std::string_view> written;
    for (size_t start = 0;;) {
      size_t end = text.find("\\n", start);
      const size_t newline = text.find('\n', start);
      size_t skip = 2;
      if (newline < end) end = newline, skip = 1;
      written.push_back(text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
      if (end == std::string_view::npos) break;
      start = end + skip;
    }
    bool broken = written.size() > kStatusLines;
    for (size_t i = 0; i < written.size() && i < kStatusLines; ++i) broken = broken || lines[i] != written[i];
    if (broken) {
      ++report_->texts;
      Problem(id, text,
              "the message panel holds six lines of at most " + std::to_string(kStatusLineBytes) +
                  " letters; break the text with \\n where a line should end");
      return;
    }
    for (size_t i = 0; i < written.size(); ++i) Fits(id, written[i], room, "the message panel");
  }

  // A message that start-up puts on one line of the panel, cut to the line's bytes.
  void FitsPanelLine(uint32_t id, std::string_view text, int room) {
    if (text.find('\n') != std::string_view::npos || text.find("\\n") != std::string_view::npos ||
        text.size() > kStatusLineBytes) {
      ++report_->texts;
      Problem(id, text, "start-up shows this on one line of at most " + std::to_string(kStatusLineBytes) + " letters");
      return;
    }
    Fits(id, text, room, "the message panel");
  }

 private:
  void Problem(uint32_t id, std::string_view text, std::string why) {
    report_->problems.push_back({id, ruler_.Shown(text), std::move(why)});
  }

  const Ruler& ruler_;
  FitReport* report_;
};

void CheckEditor(Language& lang, Checker& check, HWND parent, HFONT font) {
  auto text = [&](uint32_t id) { return std::string(lang.Text(id)); };
  for (std::span<const skin::ControlPlacement> table :
       {std::span<const skin::ControlPlacement>(skin::kMainControls),
        std::span<const skin::ControlPlacement>(skin::kOptionControls),
        std::span<const skin::ControlPlacement>(skin::kAboutControls)}) {
    for (const skin::ControlPlacement& c : table) {
      if (c.label == 0) continue;
      if (c.kind == skin::ControlKind::kButton)
        check.Fits(c.label, text(c.label), c.width - 2 * kButtonLabelMargin, "the button");
      if (c.kind == skin::ControlKind::kLabel) check.Fits(c.label, text(c.label), c.width - kLabelAir, "the label");
    }
  }
  for (const skin::PaintedText& p : {skin::kLargeFaceCaption, skin::kSmallFaceCaption, skin::kResizeMethodCaption}) {
    check.Fits(p.label, text(p.label), p.max_width, "the window");
  }

  // The lists: their entries against the closed list's field.
  struct ListEntries {
    int control;
    uint32_t first, last;
  };
  for (const ListEntries& list : {ListEntries{skin::kIdSex, kLabelMale, kLabelFemale},
                                  ListEntries{skin::kIdClass, kLabelGeneric, kLabelDeathKnight},
                                  ListEntries{skin::kIdResizeMethod, kLabelPixelResize, kLabelBicubic}}) {
    const int room = skin::ComboFieldWidth(parent, skin::FindControlPlacement(list.control)->width, font);
    for (uint32_t id = list.first; id <= list.last; ++id) check.Fits(id, text(id), room, "the list");
  }

  const skin::ControlPlacement* panel = skin::FindControlPlacement(skin::kIdMessagePanel);
  const std::string name(kSampleNameLength, 'W');
  for (const StringEntry& entry : EditorStrings()) {
    const uint32_t id = entry.id;
    if (id >= kMsgThanksTamsel && id <= kMsgBackupFailed) {
      std::string shown = text(id);
      if (id == kMsgNewerVersion) {
        const std::string values[] = {kSampleVersion, kProgramHomePage};
        shown = FillIn(shown, values);
      }
      check.FitsPanel(id, shown, panel->width);
    } else if (id == kMsgGreeting) {
      // The greeting is cut to one line whatever the name; the sample name must still fit.
      const std::string greeting = text(id);
      const std::string values[] = {name};
      check.FitsPanelLine(id, FillIn(greeting, values), panel->width);
    } else if (id == kMsgNoGameData || id == kMsgSelectFolder) {
      check.FitsPanelLine(id, text(id), panel->width);
    }
  }

  if (lang.Defines(skin::kLanguageNameString)) {
    check.Fits(skin::kLanguageNameString, skin::TranslationHeading(text(skin::kLanguageNameString)),
               skin::kTranslationHeadingLine.max_width, "the about panel");
    if (lang.Defines(skin::kTranslatorCreditString)) {
      check.Fits(skin::kTranslatorCreditString, text(skin::kTranslatorCreditString),
                 skin::kTranslatorCreditLine.max_width, "the about panel");
    }
  }
}

void CheckPatcher(Language& lang, Checker& check) {
  for (const patcher::ControlPlacement& c : patcher::kControls) {
    if (c.kind == patcher::ControlKind::kButton) {
      check.Fits(c.label, lang.Text(c.label), c.width - 2 * kButtonLabelMargin, "the button");
    }
  }
}

}  // namespace

std::optional<Program> ProgramOfFile(std::string_view path) {
  const size_t slash = path.find_last_of("/\\");
  const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
  if (name.size() < 4) return std::nullopt;
  if (AsciiEqualNoCase(name.substr(0, 4), kEditorLanguagePrefix)) return Program::kEditor;
  if (AsciiEqualNoCase(name.substr(0, 4), kPatcherLanguagePrefix)) return Program::kPatcher;
  return std::nullopt;
}

FitReport CheckLanguageFit(Program program, std::string_view content, UINT code_page) {
  const bool editor = program == Program::kEditor;
  Language lang(editor ? LookupEditorString : LookupPatcherString);
  lang.ParseText(content);
  const std::string face = lang.Text(editor ? kSkinFontFace : kPatcherFontFace);
  const char* weight = lang.Text(editor ? kSkinFontWeight : kPatcherFontWeight);

  g_file_code_page = code_page;
  FitReport report;
  Ruler ruler(code_page, face, editor ? skin::ParseFontWeight(weight) : patcher::FontWeight(weight));
  report.requested_font = ruler.Shown(face);
  OwnedWindow parent(
      CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr));
  if (!ruler.ok() || !parent) {
    report.problems.push_back({0, report.requested_font, "cannot make the font or the measuring surface"});
    return report;
  }
  report.font = ruler.ChosenFace();
  Checker check(ruler, &report);
  if (editor) {
    CheckEditor(lang, check, parent.get(), ruler.font());
  } else {
    CheckPatcher(lang, check);
  }
  return report;
}

}  // namespace qm::fit
