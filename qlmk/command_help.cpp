// The command table's usage and --help texts, written from the commands' declarations.
#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "qlmk/command_table.h"

namespace qlmk {
namespace {

// Help and usage lines break before this column.
constexpr size_t kWidth = 92;
// Option names in the help's list take at least this many columns, so that short lists line
// up with long ones; the help of a longer name starts on the next line.
constexpr size_t kMinOptionWidth = 15;
constexpr size_t kMaxOptionWidth = 20;

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
    auto named = [&](const Option* wanted) {
      return [wanted](const Option* o) { return std::string_view(o->name) == wanted->name; };
    };
    if (std::any_of(merged->begin(), merged->end(), named(more[i]))) continue;
    auto at = merged->end();
    for (size_t j = i + 1; j < more.size() && at == merged->end(); ++j) {
      at = std::find_if(merged->begin(), merged->end(), named(more[j]));
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

std::string UsageText(const Command& command, const Command* subcommand) {
  std::string text;
  if (subcommand) {
    AppendUsageLines(*subcommand, CommandPath(command, subcommand), &text);
  } else if (command.subcommands.empty()) {
    AppendUsageLines(command, command.name, &text);
  } else {
    for (const Command& s : command.subcommands) AppendUsageLines(s, CommandPath(command, &s), &text);
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

}  // namespace qlmk
