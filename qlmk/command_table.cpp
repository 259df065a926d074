#include "qlmk/command_table.h"

#include <algorithm>
#include <cstdio>
#include <utility>

namespace qlmk {
namespace {

// Help and usage lines break before this column.
constexpr size_t kWidth = 92;
// Option names in the help's list take at least this many columns, so that short lists line
// up with long ones; the help of a longer name starts on the next line.
constexpr size_t kMinOptionWidth = 15;
constexpr size_t kMaxOptionWidth = 20;

bool IsOptionWord(const std::string& word) {
  return word.size() > 1 && word[0] == '-' && !(word[1] >= '0' && word[1] <= '9');
}

bool IsHelp(std::string_view name) { return name == "--help" || name == "-h"; }

// "--name=value" splits at '='; short options take their value as the next word only.
struct OptionWord {
  std::string name, value;
  bool value_attached = false;
};

OptionWord SplitOption(const std::string& word) {
  const size_t eq = word.find('=');
  if (eq == std::string::npos || word.rfind("--", 0) != 0) return {word, "", false};
  return {word.substr(0, eq), word.substr(eq + 1), true};
}

// The command's own options, then its groups' in order.
std::vector<const Option*> DeclaredOptions(const Command& command) {
  std::vector<const Option*> options;
  for (const Option& o : command.options) options.push_back(&o);
  for (OptionGroup group : command.groups) {
    for (const Option& o : group) options.push_back(&o);
  }
  return options;
}

const Option* FindOption(const std::vector<const Option*>& options, std::string_view name) {
  for (const Option* o : options) {
    if (name == o->name) return o;
  }
  return nullptr;
}

// "A, B and C".
std::string JoinNames(const std::vector<std::string>& names, const char* last_joint) {
  std::string text;
  for (size_t i = 0; i < names.size(); ++i) {
    if (i > 0) text += i + 1 == names.size() ? last_joint : ", ";
    text += names[i];
  }
  return text;
}

std::string PathOf(const Command& command, const Command* subcommand) {
  return subcommand ? std::string(command.name) + " " + subcommand->name : command.name;
}

// Checks the positional words against the declaration; returns the problem, or empty.
std::string CheckPositionals(const Command& leaf, const std::string& path, const std::vector<std::string>& words,
                             const Option* instead) {
  if (instead) {
    if (words.empty()) return "";
    const std::string what = leaf.positionals.empty() ? std::string("arguments") : leaf.positionals[0].name;
    return path + " takes no " + what + " with " + instead->name;
  }
  std::vector<std::string> required, all;
  bool repeats = false;
  for (const Positional& p : leaf.positionals) {
    if (!p.optional) required.push_back(p.name);
    all.push_back(p.name);
    repeats = repeats || p.repeats;
  }
  if (words.size() < required.size()) return path + " needs " + JoinNames(required, " and ");
  if (!repeats && words.size() > all.size()) {
    const std::string& surplus = words[all.size()];
    if (all.empty()) return path + " takes no arguments, not '" + surplus + "'";
    return path + " takes only " + JoinNames(all, " and ") + "; '" + surplus + "' is one too many";
  }
  return "";
}

// The index of the word that names the subcommand, skipping options and the values of those
// that any subcommand declares with a value; words.size() when there is none.
size_t SubcommandWord(const Command& group, const std::vector<std::string>& words) {
  std::vector<const Option*> all;
  for (const Command& s : group.subcommands) {
    const std::vector<const Option*> own = DeclaredOptions(s);
    all.insert(all.end(), own.begin(), own.end());
  }
  for (size_t i = 0; i < words.size(); ++i) {
    if (words[i] == "--") return i + 1;
    if (!IsOptionWord(words[i])) return i;
    const OptionWord w = SplitOption(words[i]);
    const Option* o = FindOption(all, w.name);
    if (o && o->value && !w.value_attached) ++i;
  }
  return words.size();
}

struct LeafParse {
  CommandLine::Outcome outcome = CommandLine::Outcome::kRun;
  std::string error;
  std::vector<std::string> positional;
  std::map<std::string, std::string, std::less<>> options;
};

// Parses the words of a command that has no subcommands.
LeafParse ParseLeaf(const Command& leaf, const std::string& path, bool is_subcommand,
                    const std::vector<std::string>& words) {
  const std::vector<const Option*> declared = DeclaredOptions(leaf);
  const std::string for_whom = is_subcommand ? " for " + path : "";
  LeafParse parse;
  bool help = false, options_ended = false;
  const Option* instead = nullptr;
  auto note = [&](const std::string& problem) {
    if (parse.error.empty()) parse.error = problem + for_whom;
  };
  for (size_t i = 0; i < words.size(); ++i) {
    const std::string& word = words[i];
    if (options_ended || !IsOptionWord(word)) {
      parse.positional.push_back(word);
      continue;
    }
    if (word == "--") {
      options_ended = true;
      continue;
    }
    OptionWord w = SplitOption(word);
    if (IsHelp(w.name)) {
      help = true;
      continue;
    }
    const Option* option = FindOption(declared, w.name);
    if (!option) {
      note("unknown option " + w.name);
      continue;
    }
    if (option->value && !w.value_attached) {
      if (i + 1 >= words.size()) {
        note("option " + w.name + " needs a value");
        continue;
      }
      w.value = words[++i];
    } else if (!option->value && w.value_attached) {
      note("option " + w.name + " takes no value");
      continue;
    }
    if (option->instead_of_positionals) instead = option;
    parse.options[w.name] = w.value;
  }
  if (help) {
    parse.outcome = CommandLine::Outcome::kHelp;
    return parse;
  }
  if (parse.error.empty()) parse.error = CheckPositionals(leaf, path, parse.positional, instead);
  if (!parse.error.empty()) parse.outcome = CommandLine::Outcome::kUsageError;
  return parse;
}

std::vector<std::string> Words(std::string_view text) {
  std::vector<std::string> words;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find(' ', start);
    if (end == std::string_view::npos) end = text.size();
    if (end > start) words.emplace_back(text.substr(start, end - start));
    start = end + 1;
  }
  return words;
}

// Appends `words` to `out`, whose current line has `column` characters, one space apart; lines
// break before kWidth and go on after `indent` spaces.
void AppendWrapped(std::string* out, const std::vector<std::string>& words, size_t column, size_t indent) {
  for (size_t i = 0; i < words.size(); ++i) {
    if (i > 0 && column + 1 + words[i].size() > kWidth) {
      *out += '\n';
      out->append(indent, ' ');
      column = indent;
    } else if (i > 0) {
      *out += ' ';
      ++column;
    }
    *out += words[i];
    column += words[i].size();
  }
  *out += '\n';
}

// Appending piece by piece, as GCC 12 at -O3 warns falsely about "literal" + std::string.
std::string Bracketed(const std::string& text) {
  std::string bracketed(1, '[');
  bracketed += text;
  bracketed += ']';
  return bracketed;
}

std::string PositionalToken(const Positional& p) {
  std::string token = p.name;
  if (p.repeats) token += "...";
  return p.optional ? Bracketed(token) : token;
}

std::string OptionText(const Option& o) {
  std::string text = o.name;
  if (o.value) (text += ' ') += o.value;
  return text;
}

// One usage line per form of the command: with its positionals, and with each option that
// stands instead of them.
void AppendUsageLines(const Command& leaf, const std::string& path, std::string* out) {
  const std::vector<const Option*> options = DeclaredOptions(leaf);
  std::vector<std::string> bracketed;
  std::vector<const Option*> forms = {nullptr};
  for (const Option* o : options) {
    if (o->instead_of_positionals) {
      forms.push_back(o);
    } else {
      bracketed.push_back(Bracketed(OptionText(*o)));
    }
  }
  for (const Option* form : forms) {
    std::vector<std::string> tokens;
    if (form) {
      tokens.push_back(OptionText(*form));
    } else {
      for (const Positional& p : leaf.positionals) tokens.push_back(PositionalToken(p));
    }
    tokens.insert(tokens.end(), bracketed.begin(), bracketed.end());
    std::string head = out->empty() ? "usage: qlmk " : "       qlmk ";
    head += path;
    *out += head;
    if (!tokens.empty()) *out += ' ';
    AppendWrapped(out, tokens, head.size() + 1, head.size() + 1);
  }
}

// The summary as a sentence of its own: capital first letter, full stop.
std::string Sentence(const char* summary) {
  std::string text = summary;
  if (!text.empty() && text[0] >= 'a' && text[0] <= 'z') text[0] = static_cast<char>(text[0] - 'a' + 'A');
  if (!text.empty() && text.back() != '.') text += '.';
  return text;
}

void AppendParagraphs(const char* text, std::string* out) {
  *out += text;
  if (*out->rbegin() != '\n') *out += '\n';
}

// Adds the options of `more` that `merged` lacks, each before the first of its successors in
// `more` that `merged` holds, so that every subcommand's options keep their order.
void MergeOptions(const std::vector<const Option*>& more, std::vector<const Option*>* merged) {
  for (size_t i = 0; i < more.size(); ++i) {
    if (FindOption(*merged, more[i]->name)) continue;
    auto at = merged->end();
    for (size_t j = i + 1; j < more.size() && at == merged->end(); ++j) {
      at = std::find_if(merged->begin(), merged->end(),
                        [&](const Option* o) { return std::string_view(o->name) == more[j]->name; });
    }
    merged->insert(at, more[i]);
  }
}

void AppendOptionList(const std::vector<const Option*>& options, std::string* out) {
  if (options.empty()) return;
  size_t width = kMinOptionWidth;
  for (const Option* o : options) width = std::max(width, std::min(OptionText(*o).size(), kMaxOptionWidth));
  const size_t column = 2 + width + 2;
  *out += "\noptions:\n";
  for (const Option* o : options) {
    const std::string name = OptionText(*o);
    (*out += "  ") += name;
    if (name.size() > width) {
      *out += '\n';
      out->append(column, ' ');
    } else {
      out->append(width + 2 - name.size(), ' ');
    }
    AppendWrapped(out, Words(o->help), column, column);
  }
}

}  // namespace

bool Args::Has(std::string_view option) const { return options_.find(option) != options_.end(); }

std::string Args::Value(std::string_view option, std::string fallback) const {
  auto it = options_.find(option);
  return it == options_.end() ? fallback : it->second;
}

int Args::Usage(const std::string& message) const {
  if (!message.empty()) std::fprintf(stderr, "qlmk: %s\n", message.c_str());
  if (command_) {
    std::fprintf(stderr, "%s(qlmk %s --help for details)\n", UsageText(*command_, subcommand_).c_str(),
                 PathOf(*command_, subcommand_).c_str());
  }
  return kExitUsage;
}

std::string CommandLine::Path() const { return command ? PathOf(*command, subcommand) : ""; }

CommandLine ParseCommandLine(const Command& command, const std::vector<std::string>& words) {
  CommandLine line;
  line.command = &command;
  line.args.command_ = &command;
  std::vector<std::string> leaf_words = words;
  if (!command.subcommands.empty()) {
    const bool help =
        std::any_of(words.begin(), words.end(), [](const std::string& w) { return IsHelp(SplitOption(w).name); });
    const size_t at = SubcommandWord(command, words);
    if (at < words.size()) {
      for (const Command& s : command.subcommands) {
        if (words[at] == s.name) line.subcommand = &s;
      }
    }
    if (!line.subcommand) {
      line.outcome = help ? CommandLine::Outcome::kHelp : CommandLine::Outcome::kUsageError;
      if (at < words.size()) {
        line.error = std::string("unknown ") + command.name + " command '" + words[at] + "'";
      } else {
        std::vector<std::string> names;
        for (const Command& s : command.subcommands) names.push_back(s.name);
        line.error = std::string(command.name) + " needs a command: " + JoinNames(names, " or ");
      }
      return line;
    }
    line.args.subcommand_ = line.subcommand;
    leaf_words.erase(leaf_words.begin() + static_cast<std::ptrdiff_t>(at));
  }
  LeafParse parse =
      ParseLeaf(line.subcommand ? *line.subcommand : command, line.Path(), line.subcommand != nullptr, leaf_words);
  line.outcome = parse.outcome;
  line.error = std::move(parse.error);
  line.args.positional_ = std::move(parse.positional);
  line.args.options_ = std::move(parse.options);
  return line;
}

std::string UsageText(const Command& command, const Command* subcommand) {
  std::string text;
  if (subcommand) {
    AppendUsageLines(*subcommand, PathOf(command, subcommand), &text);
  } else if (command.subcommands.empty()) {
    AppendUsageLines(command, command.name, &text);
  } else {
    for (const Command& s : command.subcommands) AppendUsageLines(s, PathOf(command, &s), &text);
  }
  return text;
}

std::string HelpText(const Command& command, const Command* subcommand) {
  std::string text = UsageText(command, subcommand) + "\n";
  if (subcommand || command.subcommands.empty()) {
    const Command& leaf = subcommand ? *subcommand : command;
    if (leaf.details) {
      AppendParagraphs(leaf.details, &text);
    } else {
      AppendWrapped(&text, Words(Sentence(leaf.summary)), 0, 0);
    }
    if (subcommand && command.details) {
      text += '\n';
      AppendParagraphs(command.details, &text);
    }
    AppendOptionList(DeclaredOptions(leaf), &text);
    return text;
  }
  text += "commands:\n";
  size_t width = 0;
  for (const Command& s : command.subcommands) width = std::max(width, std::string_view(s.name).size());
  // The subcommands' own options first, then the shared ones.
  std::vector<const Option*> own, shared;
  for (const Command& s : command.subcommands) {
    (text += "  ") += s.name;
    text.append(width + 2 - std::string_view(s.name).size(), ' ');
    AppendWrapped(&text, Words(s.summary), 2 + width + 2, 2 + width + 2);
    std::vector<const Option*> its_own;
    for (const Option& o : s.options) its_own.push_back(&o);
    MergeOptions(its_own, &own);
    const std::vector<const Option*> all = DeclaredOptions(s);
    MergeOptions(std::vector<const Option*>(all.begin() + static_cast<std::ptrdiff_t>(its_own.size()), all.end()),
                 &shared);
  }
  MergeOptions(shared, &own);
  if (command.details) {
    text += '\n';
    AppendParagraphs(command.details, &text);
  }
  AppendOptionList(own, &text);
  return text;
}

int RunCommand(const Command& command, const std::vector<std::string>& words) {
  const CommandLine line = ParseCommandLine(command, words);
  switch (line.outcome) {
    case CommandLine::Outcome::kHelp: {
      const std::string help = HelpText(command, line.subcommand);
      if (std::fputs(help.c_str(), stdout) >= 0 && std::fflush(stdout) == 0) return kExitOk;
      std::fprintf(stderr, "qlmk: cannot write the help to standard output\n");
      return kExitFailed;
    }
    case CommandLine::Outcome::kUsageError: return line.args.Usage(line.error);
    case CommandLine::Outcome::kRun: break;
  }
  const Command& leaf = line.subcommand ? *line.subcommand : command;
  return leaf.run(line.args);
}

}  // namespace qlmk
