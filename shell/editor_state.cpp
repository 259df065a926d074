#include "shell/editor_state.h"

#include "base/path.h"
#include "resources/string_ids.h"
#include "shell/display_name.h"
#include "shell/language.h"

namespace qm {

EditorState& Editor() {
  static EditorState state;
  return state;
}

bool ClampSelection(EditorState* state) {
  int& selected = state->selected;
  const int before = selected;
  const int last_slot = static_cast<int>(kMaxHeroRecords) - 1;
  if (selected > last_slot) selected = last_slot;
  if (!state->catalogue.empty()) {
    const int count = static_cast<int>(state->catalogue.count());
    if (selected < 1) selected = 1;
    if (selected >= count) selected = count - 1;
  } else {
    selected = 0;
  }
  return selected != before;
}

size_t SelectedIndex(const EditorState& state) {
  return state.selected >= 0 ? static_cast<size_t>(state.selected) : state.catalogue.count();
}

const HeroRecord* SelectedRecord(const EditorState& state) {
  const size_t index = SelectedIndex(state);
  return index < state.catalogue.count() ? &state.catalogue.record(index) : nullptr;
}

void SetGameFolder(EditorState* state, const std::string& folder) {
  const std::string game_folder = WithTrailingSeparator(folder);
  state->paths = GamePathsForFolder(game_folder);
  // An empty folder stands for the current directory in GamePathsForFolder; keep it empty here,
  // as the search left it.
  state->paths.game_folder = game_folder;
}

void InitialiseEditorState(EditorState* state, const GameSearchHost& host,
                           const std::optional<std::string>& login_name,
                           const OverlongReport& overlong) {
  state->status = StatusLines{};
  state->selected = 0;
  const GameSearch search = LocateGame(host);
  state->game_version = search.found ? search.version : 0.0f;
  SetGameFolder(state, search.folder);

  state->display_name = ChooseDisplayName(NetworkNames(host), login_name);
  state->status[0] = FormatGreeting(Text(kMsgGreeting), state->display_name);

  if (!state->catalogue.Load(state->paths, nullptr, overlong).ok()) {
    state->status[2] = CutToBytes(Text(kMsgNoGameData), kStatusLineBytes);
    state->status[3] = CutToBytes(Text(kMsgSelectFolder), kStatusLineBytes);
  }
  ClampSelection(state);
  state->status[5] = kBanner;
}

}  // namespace qm
