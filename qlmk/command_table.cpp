#include "qlmk/command_table.h"

#include <algorithm>
#include <cstdio>
#include <utility>

namespace qlmk {
namespace {

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
  std::vector<std::string> positional, positional_text;
  std::map<std::string, std::string, std::less<>> options, option_texts;
};

// Parses the words of a command that has no subcommands; texts[i] is words[i] as UTF-8.
LeafParse ParseLeaf(const Command& leaf, const std::string& path, bool is_subcommand,
                    const std::vector<std::string>& words, const std::vector<std::string>& texts) {
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
      parse.positional_text.push_back(texts[i]);
      continue;
    }
    if (word == "--") {
      options_ended = true;
      continue;
    }
    OptionWord w = SplitOption(word);
    std::string text = SplitOption(texts[i]).value;
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
      text = texts[i];
    } else if (!option->value && w.value_attached) {
      note("option " + w.name + " takes no value");
      continue;
    }
    if (option->instead_of_positionals) instead = option;
    parse.options[w.name] = w.value;
    parse.option_texts[w.name] = text;
  }
  if (help) {
    parse.outcome = CommandLine::Outcome::kHelp;
    return parse;
  }
  if (parse.error.empty()) parse.error = CheckPositionals(leaf, path, parse.positional, instead);
  if (!parse.error.empty()) parse.outcome = CommandLine::Outcome::kUsageError;
  return parse;
}

}  // namespace

std::vector<const Option*> DeclaredOptions(const Command& command) {
  std::vector<const Option*> options;
  for (const Option& o : command.options) options.push_back(&o);
  for (OptionGroup group : command.groups) {
    for (const Option& o : group) options.push_back(&o);
  }
  return options;
}

std::string CommandPath(const Command& command, const Command* subcommand) {
  std::string path = command.name;
  if (subcommand) (path += ' ') += subcommand->name;
  return path;
}

bool Args::Has(std::string_view option) const { return options_.find(option) != options_.end(); }

std::string Args::Value(std::string_view option, std::string fallback) const {
  auto it = options_.find(option);
  return it == options_.end() ? fallback : it->second;
}

std::string Args::Text(std::string_view option) const {
  auto it = option_texts_.find(option);
  return it == option_texts_.end() ? "" : it->second;
}

int Args::Usage(const std::string& message) const {
  if (!message.empty()) std::fprintf(stderr, "qlmk: %s\n", message.c_str());
  if (command_) {
    std::fprintf(stderr, "%s(qlmk %s --help for details)\n", UsageText(*command_, subcommand_).c_str(),
                 CommandPath(*command_, subcommand_).c_str());
  }
  return kExitUsage;
}

std::string CommandLine::Path() const { return command ? CommandPath(*command, subcommand) : ""; }

CommandLine ParseCommandLine(const Command& command, const std::vector<std::string>& words,
                             const std::vector<std::string>& texts) {
  CommandLine line;
  line.command = &command;
  line.args.command_ = &command;
  std::vector<std::string> leaf_words = words;
  std::vector<std::string> leaf_texts = texts.size() == words.size() ? texts : words;
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
    leaf_texts.erase(leaf_texts.begin() + static_cast<std::ptrdiff_t>(at));
  }
  LeafParse parse = ParseLeaf(line.subcommand ? *line.subcommand : command, line.Path(), line.subcommand != nullptr,
                              leaf_words, leaf_texts);
  line.outcome = parse.outcome;
  line.error = std::move(parse.error);
  line.args.positional_ = std::move(parse.positional);
  line.args.positional_text_ = std::move(parse.positional_text);
  line.args.options_ = std::move(parse.options);
  line.args.option_texts_ = std::move(parse.option_texts);
  return line;
}

int RunCommand(const Command& command, const std::vector<std::string>& words, const std::vector<std::string>& texts) {
  const CommandLine line = ParseCommandLine(command, words, texts);
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
