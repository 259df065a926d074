// The fit check of a language file: whether every text fits where the program shows it, drawn
// with the font the file names, measured by GDI as the program draws it.
//
//   qm::fit::FitReport r = qm::fit::CheckLanguageFit(qm::fit::Program::kEditor, bytes, 1251);
//   for (const qm::fit::FitProblem& p : r.problems) ... p.id, p.text (UTF-8), p.why
//
// The editor's texts: every text button's and label's text against its control (a button's
// label keeps four pixels clear of each side, a label eight pixels before what follows it), the
// texts the windows paint against the room before the next control, the list entries (sex,
// class, resize method) against the closed list's field, each line of the message panel's
// messages against the panel (448 pixels, 56 bytes: a line the panel would have to break by
// itself, or text beyond its six lines, is a fault; messages with a name or version in them are
// measured with sample values), and the about panel's translation lines. The patcher's: its
// buttons. Every one of these texts must also have a glyph in the font for each letter (a
// missing one would show as a box).
//
// Texts the file leaves out are measured as the program would show them, from its own English
// strings. The bytes are read in `code_page`, and the font is made with that code page's
// character set, as it comes out on a system of that language. Message boxes size themselves
// and are not measured.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qm::fit {

enum class Program { kEditor, kPatcher };

// The program a language file is for, by its name's prefix (QLMK... or QLSX..., any case, any
// folder before it).
std::optional<Program> ProgramOfFile(std::string_view path);

struct FitProblem {
  uint32_t id;       // string id; 65536 / 65537 for the about panel's translation lines
  std::string text;  // as shown, in UTF-8
  std::string why;
};

struct FitReport {
  std::string requested_font;  // the face the file names, in UTF-8
  std::string font;            // the face GDI chose for it
  size_t texts = 0;            // how many texts were measured
  std::vector<FitProblem> problems;
  bool ok() const { return problems.empty(); }
};

// When the font or the measuring surface cannot be made, the report holds one problem saying so.
FitReport CheckLanguageFit(Program program, std::string_view content, UINT code_page);

}  // namespace qm::fit
