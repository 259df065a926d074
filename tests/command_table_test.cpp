#include "qlmk/command_table.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace qlmk {
namespace {

using Outcome = CommandLine::Outcome;

constexpr Option kGame[] = {{"--game", "DIR", "the game folder"}, {"--archive", "FILE", "the working archive"}};

int Runs(const Args&) { return kExitOk; }

const Command kSet = {
    .name = "set",
    .summary = "change a hero",
    .positionals = {{"ID"}},
    .options = {{"--name", "TEXT", "the hero's name"}, {"--json", nullptr, "print JSON"}, {"-o", "FILE", "output"}},
    .groups = {kGame},
    .details = "Changes one hero.\n",
    .run = Runs,
};

const Command kStrings = {
    .name = "strings",
    .summary = "show the strings a language file defines",
    .positionals = {{"LANGUAGE_FILE"}, {.name = "ID", .optional = true, .repeats = true}},
    .options = {{.name = "--template", .value = "WHICH", .help = "print a template", .instead_of_positionals = true}},
    .run = Runs,
};

const Command kArchive = {
    .name = "archive",
    .summary = "work on archives",
    .details = "Works on H4R archives.\n",
    .subcommands =
        {
            {.name = "list",
             .summary = "lists the entries",
             .positionals = {{"ARCHIVE"}},
             .options = {{"--json", nullptr, "print JSON"}},
             .groups = {kGame},
             .run = Runs},
            {.name = "put",
             .summary = "puts FILE under NAME",
             .positionals = {{"ARCHIVE"}, {"NAME"}, {"FILE"}},
             .options = {{"-o", "FILE", "output"}},
             .groups = {kGame},
             .run = Runs},
        },
};

CommandLine Parse(const Command& command, std::vector<std::string> words) { return ParseCommandLine(command, words); }

TEST(CommandTable, TakesOptionsWithAndWithoutValues) {
  const CommandLine line =
      Parse(kSet, {"--name", "-Bob", "7", "--game=a=b", "-o", "out", "--json", "--archive", "first", "--archive=last"});
  ASSERT_EQ(line.outcome, Outcome::kRun) << line.error;
  EXPECT_EQ(line.args.positional(), std::vector<std::string>{"7"});
  EXPECT_EQ(line.args.Value("--name"), "-Bob");  // a value may begin with '-'
  EXPECT_EQ(line.args.Value("--game"), "a=b");   // split at the first '='
  EXPECT_EQ(line.args.Value("-o"), "out");
  EXPECT_TRUE(line.args.Has("--json"));
  EXPECT_EQ(line.args.Value("--archive"), "last");
  EXPECT_EQ(Parse(kSet, {"7"}).args.Value("--game", "fallback"), "fallback");

  // "-", negative numbers and every word after "--" are positional.
  for (const char* word : {"-", "-5", "--json"}) {
    const CommandLine positional = Parse(kSet, {"--", word});
    ASSERT_EQ(positional.outcome, Outcome::kRun) << word;
    EXPECT_EQ(positional.args.positional(), std::vector<std::string>{word});
    EXPECT_FALSE(positional.args.Has("--json"));
  }
  EXPECT_EQ(Parse(kSet, {"-5"}).outcome, Outcome::kRun);
}

// Each word's UTF-8 text follows it through the parse: through '=', option values, the
// subcommand's removal and "--".
TEST(CommandTable, KeepsEachWordsTextBesideIt) {
  const CommandLine line = ParseCommandLine(kSet, {"--name=?ric", "?rik", "--game", "G?"},
                                            {"--name=\xC3\x89ric", "\xC3\x89rik", "--game", "G\xC3\xA9"});
  ASSERT_EQ(line.outcome, Outcome::kRun) << line.error;
  EXPECT_EQ(line.args.Value("--name"), "?ric");
  EXPECT_EQ(line.args.Text("--name"), "\xC3\x89ric");
  EXPECT_EQ(line.args.Value("--game"), "G?");
  EXPECT_EQ(line.args.Text("--game"), "G\xC3\xA9");
  EXPECT_EQ(line.args.positional(), std::vector<std::string>{"?rik"});
  EXPECT_EQ(line.args.positional_text(), std::vector<std::string>{"\xC3\x89rik"});
  EXPECT_EQ(line.args.Text("--json"), "");

  const CommandLine put = ParseCommandLine(kArchive, {"-o", "x", "put", "a", "?", "--", "-f"},
                                           {"-o", "x", "put", "a", "\xC3\xA9", "--", "-f"});
  ASSERT_EQ(put.outcome, Outcome::kRun) << put.error;
  EXPECT_EQ(put.args.positional_text(), (std::vector<std::string>{"a", "\xC3\xA9", "-f"}));
  // Without texts, the words are their own texts.
  EXPECT_EQ(Parse(kSet, {"7", "--name", "Bob"}).args.Text("--name"), "Bob");
}

TEST(CommandTable, RefusesUnknownOptionsAndMissingValues) {
  struct Case {
    std::vector<std::string> words;
    const char* error;
  };
  const Case cases[] = {
      {{"7", "--jsno"}, "unknown option --jsno"},
      {{"7", "--name"}, "option --name needs a value"},
      {{"7", "--json=yes"}, "option --json takes no value"},
      {{"7", "-o=x"}, "unknown option -o=x"},  // short options take their value as the next word
      {{"7", "--bad", "--worse"}, "unknown option --bad"},
  };
  for (const Case& c : cases) {
    const CommandLine line = Parse(kSet, c.words);
    EXPECT_EQ(line.outcome, Outcome::kUsageError) << c.error;
    EXPECT_EQ(line.error, c.error);
  }
  // --help wins over every problem, and prints the help.
  EXPECT_EQ(Parse(kSet, {"--bogus", "-h"}).outcome, Outcome::kHelp);
  EXPECT_EQ(Parse(kSet, {"a", "b", "--help"}).outcome, Outcome::kHelp);
}

TEST(CommandTable, CountsPositionals) {
  EXPECT_EQ(Parse(kSet, {}).error, "set needs ID");
  EXPECT_EQ(Parse(kSet, {"7", "8"}).error, "set takes only ID; '8' is one too many");
  EXPECT_EQ(Parse(kArchive, {"put", "a.h4r", "n"}).error, "archive put needs ARCHIVE, NAME and FILE");

  const Command none = {.name = "wipe", .summary = "compact", .run = Runs};
  EXPECT_EQ(Parse(none, {"extra"}).error, "wipe takes no arguments, not 'extra'");

  // A repeating optional argument takes any number of words.
  EXPECT_EQ(Parse(kStrings, {}).error, "strings needs LANGUAGE_FILE");
  const CommandLine many = Parse(kStrings, {"QLMKDEU.INI", "1", "2", "3"});
  ASSERT_EQ(many.outcome, Outcome::kRun);
  EXPECT_EQ(many.args.positional().size(), 4u);

  // An option that stands instead of the positionals takes the command's other form.
  const CommandLine alone = Parse(kStrings, {"--template", "editor"});
  ASSERT_EQ(alone.outcome, Outcome::kRun) << alone.error;
  EXPECT_EQ(alone.args.Value("--template"), "editor");
  EXPECT_EQ(Parse(kStrings, {"--template", "editor", "x.ini"}).error, "strings takes no LANGUAGE_FILE with --template");
}

TEST(CommandTable, SubcommandsTakeTheirOwnOptions) {
  const CommandLine put = Parse(kArchive, {"put", "a.h4r", "name", "file", "-o", "x", "--game", "g"});
  ASSERT_EQ(put.outcome, Outcome::kRun) << put.error;
  ASSERT_NE(put.subcommand, nullptr);
  EXPECT_STREQ(put.subcommand->name, "put");
  EXPECT_EQ(put.Path(), "archive put");
  EXPECT_EQ(put.args.positional(), (std::vector<std::string>{"a.h4r", "name", "file"}));
  EXPECT_EQ(put.args.Value("-o"), "x");

  // An option before the subcommand's name, with a value that is not the name.
  const CommandLine early = Parse(kArchive, {"-o", "list", "put", "a", "n", "f"});
  ASSERT_EQ(early.outcome, Outcome::kRun) << early.error;
  EXPECT_STREQ(early.subcommand->name, "put");
  EXPECT_EQ(early.args.Value("-o"), "list");

  EXPECT_EQ(Parse(kArchive, {"list", "a.h4r", "-o", "x"}).error, "unknown option -o for archive list");
  EXPECT_EQ(Parse(kArchive, {"list", "a.h4r", "--json"}).outcome, Outcome::kRun);
  EXPECT_EQ(Parse(kArchive, {"frobnicate", "a.h4r"}).error, "unknown archive command 'frobnicate'");
  EXPECT_EQ(Parse(kArchive, {"--json"}).error, "archive needs a command: list or put");

  const CommandLine group_help = Parse(kArchive, {"--help"});
  EXPECT_EQ(group_help.outcome, Outcome::kHelp);
  EXPECT_EQ(group_help.subcommand, nullptr);
  const CommandLine put_help = Parse(kArchive, {"put", "-h"});
  EXPECT_EQ(put_help.outcome, Outcome::kHelp);
  ASSERT_NE(put_help.subcommand, nullptr);
  EXPECT_STREQ(put_help.subcommand->name, "put");
}

size_t Occurrences(const std::string& text, const std::string& part) {
  size_t n = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

TEST(CommandTable, WritesUsageAndHelpFromTheDeclaration) {
  EXPECT_EQ(UsageText(kSet), "usage: qlmk set ID [--name TEXT] [--json] [-o FILE] [--game DIR] [--archive FILE]\n");
  EXPECT_EQ(UsageText(kStrings),
            "usage: qlmk strings LANGUAGE_FILE [ID...]\n"
            "       qlmk strings --template WHICH\n");
  EXPECT_EQ(HelpText(kSet), UsageText(kSet) +
                                "\nChanges one hero.\n\noptions:\n"
                                "  --name TEXT      the hero's name\n"
                                "  --json           print JSON\n"
                                "  -o FILE          output\n"
                                "  --game DIR       the game folder\n"
                                "  --archive FILE   the working archive\n");

  // A group: every subcommand's usage, the list of subcommands, each option once.
  const std::string group = HelpText(kArchive);
  EXPECT_EQ(group.rfind("usage: qlmk archive list ARCHIVE [--json] [--game DIR] [--archive FILE]\n"
                        "       qlmk archive put ARCHIVE NAME FILE [-o FILE] [--game DIR] [--archive FILE]\n",
                        0),
            0u)
      << group;
  EXPECT_NE(group.find("commands:\n  list  lists the entries\n  put   puts FILE under NAME\n"), std::string::npos);
  EXPECT_NE(group.find("Works on H4R archives."), std::string::npos);
  EXPECT_EQ(Occurrences(group, "  --game DIR"), 1u);

  // A subcommand: its summary as a sentence, then what the group says of all of them.
  const std::string put = HelpText(kArchive, &kArchive.subcommands[1]);
  EXPECT_NE(put.find("\nPuts FILE under NAME.\n\nWorks on H4R archives.\n"), std::string::npos) << put;
  EXPECT_EQ(put.find("list"), std::string::npos);
}

TEST(CommandTable, WrapsLongLinesBetweenWords) {
  constexpr Option kMany[] = {
      {"--first-option", "VALUE", "one"},
      {"--second-option", "VALUE", "two"},
      {"--third-option", "VALUE", "three"},
      {"--fourth-option", "VALUE", "four"},
      {"--allowed", "yes|no", "whether the hero may be played"},
      {"--a-very-long-option-name", "VALUE", "its help starts on a line of its own"},
  };
  const Command wide = {.name = "wide",
                        .summary = "a command whose usage and help need more than one line",
                        .positionals = {{"ID"}},
                        .groups = {kMany},
                        .run = Runs};
  const std::string help = HelpText(wide);
  std::istringstream lines(help);
  std::string line;
  while (std::getline(lines, line)) EXPECT_LE(line.size(), 92u) << line;
  // Continuation lines start under the first argument; no option is split from its value.
  EXPECT_NE(help.find("\n" + std::string(17, ' ') + "[--fourth-option VALUE]"), std::string::npos) << help;
  EXPECT_NE(help.find("[--allowed yes|no]"), std::string::npos) << help;
  EXPECT_NE(help.find("  --a-very-long-option-name VALUE\n" + std::string(24, ' ') + "its help"), std::string::npos)
      << help;
}

}  // namespace
}  // namespace qlmk
