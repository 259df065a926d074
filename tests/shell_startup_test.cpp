// Start-up's game search and state, the selection, and the main window's input rules.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "base/path.h"
#include "resources/string_ids.h"
#include "shell/command_rules.h"
#include "shell/editor_state.h"
#include "shell/game_search.h"
#include "shell/language.h"
#include "skin/control_ids.h"
#include "tests/sharing_util.h"

namespace qm {
namespace {

// A pretend machine: folders holding executables with versions, registry values.
struct FakeMachine {
  std::string current = "C:\\Start";
  std::string program = "C:\\Tools\\quillmark.exe";
  std::set<std::string> folders = {"C:\\Start", "C:\\Tools\\"};
  std::map<std::string, std::map<std::string, float>> executables;  // folder -> name -> version
  std::map<std::string, std::string> registry;                       // key + "|" + value
  std::vector<std::string> visited;

  GameSearchHost Host() {
    GameSearchHost h;
    h.current_directory = [this] { return current; };
    h.program_path = [this] { return program; };
    h.set_current_directory = [this](const std::string& f) {
      std::string bare = f;
      if (bare.size() > 3 && bare.back() == '\\') bare.pop_back();
      if (!folders.count(f) && !folders.count(bare)) return false;
      current = f;
      visited.push_back(f);
      return true;
    };
    h.exists = [this](const std::string& name) {
      auto it = executables.find(current);
      return it != executables.end() && it->second.count(name) > 0;
    };
    h.read_version = [this](const std::string& name) { return executables[current][name]; };
    h.read_machine_value = [this](const char* key, const char* value) -> std::optional<std::string> {
      auto it = registry.find(std::string(key) + "|" + value);
      if (it == registry.end()) return std::nullopt;
      return it->second;
    };
    return h;
  }
  void SetKey(int index, const char* value, std::string text) {
    registry[std::string(kGameRegistryKeys[static_cast<size_t>(index)]) + "|" + value] = std::move(text);
  }
};

TEST(GameSearch, CurrentDirectoryWinsWithoutTouchingAnythingElse) {
  FakeMachine m;
  m.executables["C:\\Start"]["HEROES4.EXE"] = 1.3f;
  m.SetKey(0, kAppPathValue, "C:\\Elsewhere\\");
  const GameSearch found = LocateGame(m.Host());
  EXPECT_TRUE(found.found);
  EXPECT_EQ(found.folder, "C:\\Start");
  EXPECT_FLOAT_EQ(found.version, 1.3f);
  EXPECT_TRUE(m.visited.empty());  // the current directory was not changed
}

TEST(GameSearch, KoreanExecutableAloneIsFoundAndItsVersionWinsOverThePlainOne) {
  FakeMachine m;
  m.executables["C:\\Start"]["HEROES4K.EXE"] = 1.2f;
  EXPECT_FLOAT_EQ(LocateGame(m.Host()).version, 1.2f);
  m.executables["C:\\Start"]["HEROES4.EXE"] = 1.3f;
  EXPECT_FLOAT_EQ(LocateGame(m.Host()).version, 1.2f);
}

TEST(StubGameSearch, PatcherTakesOnlyHeroes4AndNotThe13Key) {
  FakeMachine m;
  m.executables["C:\\Start"]["HEROES4K.EXE"] = 1.3f;  // the Korean executable alone is not enough
  m.folders.insert("C:\\New");
  m.executables["C:\\New"]["HEROES4.EXE"] = 1.3f;
  m.SetKey(0, kAppPathValue, "C:\\New\\");
  EXPECT_FALSE(LocateStubGame(m.Host(), kPatcherRegistryKeys, false).found);
  m.folders.insert("C:\\Old");
  m.executables["C:\\Old\\"]["HEROES4.EXE"] = 1.2f;
  m.SetKey(2, kAppPathValue, "C:\\Old\\");  // the 1.1 key, with a trailing backslash
  const GameSearch found = LocateStubGame(m.Host(), kPatcherRegistryKeys, false);
  EXPECT_TRUE(found.found);
  EXPECT_EQ(found.folder, "C:\\Old\\");  // exactly one backslash
}

TEST(StubGameSearch, RestoreToolLooksAboveItsDataFolderBeforeTheRegistry) {
  FakeMachine m;
  m.program = "C:\\Game\\DATA\\RESTORE.EXE";
  m.folders = {"C:\\Start", "C:\\Game\\DATA\\", "C:\\Game\\", "C:\\Other"};
  m.executables["C:\\Game\\"]["HEROES4.EXE"] = 1.3f;
  m.executables["C:\\Other"]["HEROES4.EXE"] = 1.3f;
  m.SetKey(0, kAppPathValue, "C:\\Other");
  const GameSearch found = LocateStubGame(m.Host(), kGameRegistryKeys, true);
  EXPECT_TRUE(found.found);
  EXPECT_EQ(found.folder, "C:\\Game\\");
  EXPECT_EQ(m.current, "C:\\Game\\");
  // Without the parent step the registry decides.
  m.current = "C:\\Start";
  EXPECT_EQ(LocateStubGame(m.Host(), kGameRegistryKeys, false).folder, "C:\\Other\\");
}

TEST(StubGameSearch, NothingFoundLeavesTheFolderEmpty) {
  FakeMachine m;
  m.program = "C:\\RESTORE.EXE";  // a root folder has no parent to try
  m.SetKey(1, kAppPathValue, "C:\\Missing");
  const GameSearch found = LocateStubGame(m.Host(), kGameRegistryKeys, true);
  EXPECT_FALSE(found.found);
  EXPECT_TRUE(found.folder.empty());
}

TEST(GameSearch, ProgramFolderComesBeforeTheRegistry) {
  FakeMachine m;
  m.executables["C:\\Tools\\"]["HEROES4.EXE"] = 1.0f;
  m.SetKey(0, kAppPathValue, "C:\\Start");
  const GameSearch found = LocateGame(m.Host());
  EXPECT_TRUE(found.found);
  EXPECT_EQ(found.folder, "C:\\Tools\\");
  EXPECT_EQ(m.current, "C:\\Tools\\");
}

TEST(GameSearch, RegistryKeysInOrderOldestLastAndOneBackslashDropped) {
  FakeMachine m;
  m.folders.insert("D:\\Games\\H4");
  m.executables["D:\\Games\\H4\\"]["HEROES4.EXE"] = 1.0f;  // reached only with the slash
  m.SetKey(3, kAppPathValue, "D:\\Games\\H4\\");
  m.SetKey(1, kAppPathValue, "E:\\Missing\\");                // cannot become current
  GameSearch found = LocateGame(m.Host());
  EXPECT_TRUE(found.found);
  EXPECT_EQ(found.folder, "D:\\Games\\H4");
  const std::string folder = WithTrailingSeparator(found.folder, '\\');
  EXPECT_EQ(folder, "D:\\Games\\H4\\");
  EXPECT_EQ(WithTrailingSeparator(folder, '\\'), "D:\\Games\\H4\\");       // exactly one
  EXPECT_EQ(WithTrailingSeparator("D:/Games/H4/", '\\'), "D:/Games/H4/");  // either separator ends it
  EXPECT_EQ(WithTrailingSeparator("", '\\'), "");
}

TEST(GameSearch, NothingFoundKeepsTheLastAppPathReadAndNoVersion) {
  FakeMachine m;
  m.SetKey(2, kAppPathValue, "F:\\Nowhere\\");
  const GameSearch found = LocateGame(m.Host());
  EXPECT_FALSE(found.found);
  EXPECT_EQ(found.folder, "F:\\Nowhere\\");
  EXPECT_EQ(found.version, 0.0f);

  FakeMachine bare;
  EXPECT_EQ(LocateGame(bare.Host()).folder, "C:\\Tools\\");  // the program's folder
}

TEST(GameSearch, OverlongRegistryPathsAreCutToThePathBuffer) {
  FakeMachine m;
  m.SetKey(0, kAppPathValue, std::string(400, 'x'));
  EXPECT_EQ(LocateGame(m.Host()).folder.size(), kGamePathMaxChars);
}

TEST(GameSearch, NetworkNamesNewestKeyFirst) {
  FakeMachine m;
  m.SetKey(3, kNetworkNameValue, "Old");
  m.SetKey(0, kNetworkNameValue, "player");
  m.SetKey(2, kNetworkNameValue, std::string(300, 'n'));
  const std::vector<std::string> names = NetworkNames(m.Host());
  ASSERT_EQ(names.size(), 3u);
  EXPECT_EQ(names[0], "player");
  EXPECT_EQ(names[1].size(), kDisplayNameMaxChars);
  EXPECT_EQ(names[2], "Old");
}

TEST(EditorState, StartUpSelectsTheFirstShownRecordOrNoneWithoutAGame) {
  test::TempDir dir;
  FakeMachine m;
  m.current = test::MakeGame(dir, "game", 3);
  m.folders.insert(m.current);
  m.executables[m.current]["HEROES4.EXE"] = 1.3f;
  EditorState state;
  state.selected = 77;
  InitialiseEditorState(&state, m.Host(), "Tester");
  EXPECT_EQ(state.selected, 1);  // "dead": record 0 is the table's header row
  EXPECT_EQ(state.catalogue.count(), 6u);
  EXPECT_TRUE(state.status[2].empty());

  FakeMachine nowhere;
  EditorState empty;
  empty.selected = 77;
  InitialiseEditorState(&empty, nowhere.Host(), "Tester");
  EXPECT_EQ(empty.selected, 0);
  EXPECT_EQ(SelectedRecord(empty), nullptr);
  EXPECT_EQ(empty.status[2], Text(kMsgNoGameData));
  EXPECT_EQ(empty.status[5], kBanner);
}

TEST(EditorState, ClampSelection) {
  EditorState s;
  s.selected = 5000;
  EXPECT_TRUE(ClampSelection(&s));
  EXPECT_EQ(s.selected, 0);  // empty catalogue

  ASSERT_TRUE(s.catalogue.Assign(std::vector<HeroRecord>(4)).ok());  // header, dead, sleeping, one hero
  s.selected = 5000;
  EXPECT_TRUE(ClampSelection(&s));
  EXPECT_EQ(s.selected, 3);
  for (int low : {0, -7}) {
    s.selected = low;
    EXPECT_TRUE(ClampSelection(&s));
    EXPECT_EQ(s.selected, 1);
  }
  EXPECT_FALSE(ClampSelection(&s));

  ASSERT_TRUE(s.catalogue.Assign(std::vector<HeroRecord>(kMaxHeroRecords)).ok());
  s.selected = 5000;
  ClampSelection(&s);
  EXPECT_EQ(s.selected, 999);
}

TEST(EditorState, SelectionOutsideTheCatalogueNamesNoRecordAndTakesNoEdit) {
  EditorState s;
  ASSERT_TRUE(s.catalogue.Assign(std::vector<HeroRecord>(5)).ok());
  s.selected = 4;
  ASSERT_EQ(SelectedRecord(s), &s.catalogue.record(4));
  s.catalogue.DropLastRecord();  // MakeSFX dropped the shown record
  EXPECT_EQ(SelectedRecord(s), nullptr);
  EXPECT_FALSE(s.catalogue.SetName(SelectedIndex(s), "x").ok());
  s.selected = -1;
  EXPECT_EQ(SelectedRecord(s), nullptr);
  EXPECT_FALSE(s.catalogue.ToggleAllowedBy(SelectedIndex(s)).ok());
}

TEST(CommandRules, FilterLetsOnlyTheRightNotificationsThrough) {
  using namespace qm::skin;
  EXPECT_FALSE(CommandGoesOn(kIdMessagePanel, 0, true));
  for (int id : {kIdNumberBox, kIdName, kIdKeyword, kIdBiography}) {
    EXPECT_TRUE(CommandGoesOn(id, kNotifyEditChange, true)) << id;
    EXPECT_FALSE(CommandGoesOn(id, kNotifyEditChange, false)) << id;
    EXPECT_FALSE(CommandGoesOn(id, 0x0100 /* EN_SETFOCUS */, true)) << id;
  }
  EXPECT_TRUE(RepaintsBiography(kIdBiography, 0x0100, true));
  EXPECT_FALSE(RepaintsBiography(kIdBiography, kNotifyEditChange, true));
  EXPECT_FALSE(RepaintsBiography(kIdName, 0x0100, true));
  for (int id : {kIdSex, kIdClass}) {
    EXPECT_TRUE(CommandGoesOn(id, kNotifyListSelChange, true));
    EXPECT_FALSE(CommandGoesOn(id, kNotifyListSelChange, false));
    EXPECT_FALSE(CommandGoesOn(id, 3 /* CBN_SETFOCUS */, true));
  }
  for (int id : {kIdAllowedCheck, kIdAllowedLabel}) {
    EXPECT_TRUE(CommandGoesOn(id, kNotifyStaticClicked, false));
    EXPECT_TRUE(CommandGoesOn(id, kNotifyStaticDblClick, true));
    EXPECT_FALSE(CommandGoesOn(id, 2 /* STN_ENABLE */, true));
  }
  EXPECT_TRUE(CommandGoesOn(kIdSave, 0, false));  // reports its own failure
}

TEST(CommandRules, KeyboardTable) {
  using namespace qm::skin;
  auto check = [](unsigned key, bool set, int value, int command) {
    const std::optional<KeyAction> a = KeyboardAction(key);
    ASSERT_TRUE(a) << key;
    EXPECT_EQ(a->set_selection, set) << key;
    EXPECT_EQ(a->value, value) << key;
    EXPECT_EQ(a->command, command) << key;
  };
  check(0x21, false, 9, kIdUpArrow);     // Page Up
  check(0x69, false, 9, kIdUpArrow);     // keypad 9
  check(0x22, false, -9, kIdDownArrow);  // Page Down
  check(0x63, false, -9, kIdDownArrow);  // keypad 3
  check(0x23, true, 0, kIdDownArrow);    // End
  check(0x61, true, 0, kIdDownArrow);    // keypad 1
  check(0x24, true, 0, kIdUpArrow);      // Home
  check(0x67, true, 0, kIdUpArrow);      // keypad 7
  check(0x26, false, 0, kIdUpArrow);
  check(0x28, false, 0, kIdDownArrow);
  EXPECT_FALSE(KeyboardAction(0x25));  // left arrow
  EXPECT_FALSE(KeyboardAction('A'));
}

TEST(CommandRules, NumberBoxReadsLikeAtoiAndSaturates) {
  EXPECT_EQ(ParseNumberBoxText(""), 0);
  EXPECT_EQ(ParseNumberBoxText("999"), 999);
  EXPECT_EQ(ParseNumberBoxText("  +12abc"), 12);
  EXPECT_EQ(ParseNumberBoxText("\t-7"), -7);
  EXPECT_EQ(ParseNumberBoxText("x12"), 0);
  EXPECT_EQ(ParseNumberBoxText("99999999999999999999"), 2147483647);
  EXPECT_EQ(ParseNumberBoxText("-99999999999999999999"), -2147483647 - 1);
}

}  // namespace
}  // namespace qm
