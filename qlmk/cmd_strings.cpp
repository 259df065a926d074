// qlmk strings: what a language file defines, as the Text lookup resolves it, and the
// translators' templates.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "qlmk/command.h"
#include "qlmk/json_text.h"
#include "shell/language.h"
#include "shell/language_template.h"
#include "shell/program_strings.h"

namespace qlmk {
namespace {

bool ParseId(const std::string& word, uint32_t* id) {
  if (word.empty() || word.size() > 10) return false;
  for (char c : word) {
    if (c < '0' || c > '9') return false;
  }
  const unsigned long long value = std::strtoull(word.c_str(), nullptr, 10);
  if (value > 0xFFFFFFFFull) return false;
  *id = static_cast<uint32_t>(value);
  return true;
}

int Run(const Args& args) {
  if (args.Has("--template")) {
    const std::string which = args.Value("--template");
    std::string text;
    if (which == "editor") {
      text = qm::EditorLanguageTemplate();
    } else if (which == "patcher") {
      text = qm::PatcherLanguageTemplate();
    } else {
      return args.Usage("--template takes editor or patcher");
    }
    if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size() || std::fflush(stdout) != 0) {
      return Fail("cannot write the template to standard output");
    }
    return kExitOk;
  }

  const std::string& path = args.positional()[0];
  std::vector<uint32_t> ids;
  for (size_t i = 1; i < args.positional().size(); ++i) {
    uint32_t id;
    if (!ParseId(args.positional()[i], &id)) return args.Usage("not a string id: " + args.positional()[i]);
    ids.push_back(id);
  }

  qm::Language language(args.Has("--patcher") ? qm::LookupPatcherString : qm::LookupEditorString);
  errno = 0;
  if (!language.ParseFile(path)) {
    return Fail(path + ": " + (errno ? std::strerror(errno) : "cannot read the language file"));
  }
  if (ids.empty()) ids = language.DefinedIds();

  const bool json = args.Has("--json");
  if (json) std::printf("[");
  for (size_t i = 0; i < ids.size(); ++i) {
    const char* text = language.Text(ids[i]);
    if (json) {
      std::printf("%s\n  {\"id\": %u, \"defined\": %s, \"text\": %s}", i ? "," : "", ids[i],
                  language.Defines(ids[i]) ? "true" : "false", JsonString(text).c_str());
    } else {
      std::printf("%u=%s\n", ids[i], OneLineText(text).c_str());
    }
  }
  if (json) std::printf("%s]\n", ids.empty() ? "" : "\n");
  return kExitOk;
}

const Command kStrings = {
    .name = "strings",
    .summary = "show the strings a language file defines",
    .positionals = {{"LANGUAGE_FILE"}, {.name = "ID", .optional = true, .repeats = true}},
    .options = {{"--patcher", nullptr, "resolve IDs against the patcher's own strings instead of the editor's"},
                {"--json", nullptr, "print the strings as a JSON array"},
                {.name = "--template",
                 .value = "editor|patcher",
                 .help = "print the English template of every string of the editor or the patcher",
                 .instead_of_positionals = true}},
    .details =
        "Reads a language file (for example language/QLMKDEU.INI) and prints every string id it\n"
        "defines with its text as the program's Text lookup returns it (cut to 511 bytes), one\n"
        "\"ID=TEXT\" per line (line breaks, tabs and backslashes shown as C escapes). With IDs, prints\n"
        "those ids instead, resolved as the program would: language file, then the program's own\n"
        "strings (the editor's; the patcher's with --patcher), else an empty text.\n",
    .run = Run,
};
QLMK_COMMAND(kStrings);

}  // namespace
}  // namespace qlmk
