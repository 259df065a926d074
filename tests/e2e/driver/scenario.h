// End-to-end scenarios: plain-text scripts of driver steps, one step a line.
//
//   # comment (also after a step)
//   start quillmark.exe
//   wait-window Quillmark
//   expect-caption "Quillmark"
//   set-text 1006 "Sir \"Quill\"\n"
//
// A step is a verb followed by its arguments, separated by blanks or tabs. An argument in
// double quotes may hold blanks and the escapes \" \\ \n \r \t; outside quotes a '#' starts a
// comment. The parser only splits lines; the runner (scenario_runner_win32.h) knows the verbs.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qm::e2e {

struct Step {
  int line = 0;  // 1-based line in the scenario file
  std::string verb;
  std::vector<std::string> args;
};

// The steps of a scenario, or nullopt with `error` naming the line and the fault (an unclosed
// quote, an unknown escape).
std::optional<std::vector<Step>> ParseScenario(std::string_view text, std::string* error);

}  // namespace qm::e2e
