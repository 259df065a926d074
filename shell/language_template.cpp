#include "shell/language_template.h"

#include <string>

#include "shell/program_strings.h"

namespace qm {
namespace {

bool FitsOnALine(std::string_view text) {
  if (text.find_first_of("\r\n") != std::string_view::npos) return false;
  return text.empty() || (text.back() != ' ' && text.back() != '\t');
}

// The text on one line: each run of line breaks becomes one blank.
std::string OneLine(std::string_view text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' || text[i] == '\n') {
      while (i + 1 < text.size() && (text[i + 1] == '\r' || text[i + 1] == '\n')) ++i;
      out += ' ';
    } else {
      out += text[i];
    }
  }
  return out;
}

}  // namespace

std::string LanguageTemplate(std::string_view program, std::string_view prefix,
                             std::span<const StringEntry> strings) {
  const std::string p(prefix);
  const std::string prog(program);
  std::string out;
  auto line = [&out](const std::string& text) { out += text + "\r\n"; };
  line("; " + prog + " language file template: every text of the program in English.");
  line(";");
  line("; Copy this file into the folder \"language\" beside the program as " + p + "<code>.INI,");
  line("; where <code> is the three-letter language abbreviation Windows uses for your");
  line("; language (for example " + p + "DEU.INI for German, " + p + "KOR.INI for Korean), and");
  line("; translate the texts after the '='. " + p + "ENG.INI is used when no file matches.");
  line("; Save the file in the Windows code page of the language or as UTF-8 (the program");
  line("; converts it). A text cannot hold line breaks, and blanks at its end are dropped;");
  line("; in the editor's message panel \\n starts a new line. Lines you leave out or comment");
  line("; out with ';' keep the program's own English text.");
  line(";");
  line("; Before the [STRING] section, the first two lines without a number name the");
  line("; language and the translator in the About box. Remove the ';' to use them.");
  line(";Language=English");
  line(";Translator=Your name (your@mail)");
  line("");
  line("[STRING]");
  for (const StringEntry& entry : strings) {
    const std::string id = std::to_string(entry.id);
    if (FitsOnALine(entry.text)) {
      line(id + "=" + entry.text);
    } else {
      line("; " + id + ": the program's text has line breaks (or ends in blanks), which a");
      line("; language file cannot hold; it stays in use unless you remove the ';' below.");
      line(";" + id + "=" + OneLine(entry.text));
    }
  }
  return out;
}

std::string EditorLanguageTemplate() {
  return LanguageTemplate("Quillmark", kEditorLanguagePrefix, EditorStrings());
}

std::string PatcherLanguageTemplate() {
  return LanguageTemplate("Quillmark SFX", kPatcherLanguagePrefix, PatcherStrings());
}

}  // namespace qm
