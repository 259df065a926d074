#include "tests/e2e/driver/scenario_runner_win32.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "base/handles_win32.h"
#include "patcher/patcher_ui.h"
#include "patcher/patcher_window_win32.h"
#include "shell/window_placement.h"
#include "skin/control_ids.h"
#include "tests/e2e/driver/actions_win32.h"
#include "tests/e2e/driver/windows_win32.h"

namespace qm::e2e {
namespace {

constexpr int kMessageBoxTextId = 0xFFFF;  // the static control holding a message box's text

struct Named {
  const char* name;
  long value;
};

// The controls of the system's dialogs and message boxes, in any window.
constexpr Named kDialogControls[] = {
    {"IDOK", IDOK},
    {"IDCANCEL", IDCANCEL},
    {"IDABORT", IDABORT},
    {"IDRETRY", IDRETRY},
    {"IDIGNORE", IDIGNORE},
    {"IDYES", IDYES},
    {"IDNO", IDNO},
    {"MessageBoxText", kMessageBoxTextId},
    // The file name box of an open dialog: a combo box in newer dialogs, an edit box in older.
    {"cmb13", 0x47C},
    {"edt1", 0x480},
};

// The programs' controls by the names their id lists give them ("Save" is kIdSave).
#define QM_NAMED_CONTROL(name, id) {#name, id},
constexpr Named kEditorControls[] = {QM_EDITOR_CONTROLS(QM_NAMED_CONTROL)};
constexpr Named kPatcherControls[] = {QM_PATCHER_CONTROLS(QM_NAMED_CONTROL)};
#undef QM_NAMED_CONTROL

constexpr Named kStyles[] = {
    {"WS_POPUP", static_cast<long>(WS_POPUP)}, {"WS_CHILD", WS_CHILD},
    {"WS_VISIBLE", WS_VISIBLE},                {"WS_DISABLED", WS_DISABLED},
    {"WS_CAPTION", WS_CAPTION},                {"WS_BORDER", WS_BORDER},
    {"WS_DLGFRAME", WS_DLGFRAME},              {"WS_SYSMENU", WS_SYSMENU},
    {"WS_THICKFRAME", WS_THICKFRAME},          {"WS_MINIMIZEBOX", WS_MINIMIZEBOX},
    {"WS_MAXIMIZEBOX", WS_MAXIMIZEBOX},        {"WS_MINIMIZE", WS_MINIMIZE},
    {"WS_MAXIMIZE", WS_MAXIMIZE},              {"WS_CLIPCHILDREN", WS_CLIPCHILDREN},
    {"WS_CLIPSIBLINGS", WS_CLIPSIBLINGS},      {"WS_VSCROLL", WS_VSCROLL},
    {"WS_HSCROLL", WS_HSCROLL},                {"WS_TABSTOP", WS_TABSTOP},
};

constexpr Named kExStyles[] = {
    {"WS_EX_APPWINDOW", WS_EX_APPWINDOW},     {"WS_EX_TOOLWINDOW", WS_EX_TOOLWINDOW},
    {"WS_EX_TOPMOST", WS_EX_TOPMOST},         {"WS_EX_ACCEPTFILES", WS_EX_ACCEPTFILES},
    {"WS_EX_CLIENTEDGE", WS_EX_CLIENTEDGE},   {"WS_EX_DLGMODALFRAME", WS_EX_DLGMODALFRAME},
    {"WS_EX_WINDOWEDGE", WS_EX_WINDOWEDGE},   {"WS_EX_TRANSPARENT", WS_EX_TRANSPARENT},
};

constexpr Named kKeys[] = {
    {"VK_RETURN", VK_RETURN}, {"VK_ESCAPE", VK_ESCAPE}, {"VK_TAB", VK_TAB},
    {"VK_SPACE", VK_SPACE},   {"VK_BACK", VK_BACK},     {"VK_DELETE", VK_DELETE},
    {"VK_PRIOR", VK_PRIOR},   {"VK_NEXT", VK_NEXT},     {"VK_HOME", VK_HOME},
    {"VK_END", VK_END},       {"VK_LEFT", VK_LEFT},     {"VK_RIGHT", VK_RIGHT},
    {"VK_UP", VK_UP},         {"VK_DOWN", VK_DOWN},     {"VK_INSERT", VK_INSERT},
    {"VK_NUMPAD7", VK_NUMPAD7}, {"VK_F1", VK_F1},       {"VK_F4", VK_F4},
};

std::optional<long> ParseNumber(const std::string& text) {
  if (text.empty()) return std::nullopt;
  char* end = nullptr;
  const long value = std::strtol(text.c_str(), &end, 0);
  if (end == nullptr || *end != '\0') return std::nullopt;
  return value;
}

template <size_t N>
std::optional<long> Lookup(const Named (&table)[N], const std::string& name) {
  for (const Named& n : table) {
    if (name == n.name) return n.value;
  }
  return std::nullopt;
}

template <size_t N>
std::optional<long> NumberOrName(const Named (&table)[N], const std::string& text) {
  if (std::optional<long> v = Lookup(table, text)) return v;
  return ParseNumber(text);
}

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

// One argument on a Windows command line; arguments with blanks or quotes are quoted.
std::string CommandLineArgument(const std::string& arg) {
  if (!arg.empty() && arg.find_first_of(" \t\"") == std::string::npos) return arg;
  std::string out = "\"";
  size_t backslashes = 0;
  for (char c : arg) {
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    out.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
    backslashes = 0;
    out += c;
  }
  out.append(backslashes * 2, '\\');
  return out + "\"";
}

std::string Arguments(const Step& s) {
  std::string line;
  for (size_t i = 1; i < s.args.size(); ++i) {
    if (!line.empty()) line += ' ';
    line += CommandLineArgument(s.args[i]);
  }
  return line;
}

bool IsAbsolute(const std::string& path) {
  return (path.size() > 1 && path[1] == ':') || (!path.empty() && (path[0] == '\\' || path[0] == '/'));
}

std::string Backslashed(std::string path) {
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  return path;
}

bool MakeFolders(const std::string& path) {
  for (size_t i = 3; i <= path.size(); ++i) {
    if (i < path.size() && path[i] != '\\') continue;
    const std::string prefix = path.substr(0, i);
    if (!CreateDirectoryA(prefix.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
      return false;
    }
  }
  return true;
}

bool RemoveTree(const std::string& folder) {
  {
    // The search ends before the folder goes: an open search keeps it in use.
    WIN32_FIND_DATAA found;
    const FindHandle search(FindFirstFileA((folder + "\\*").c_str(), &found));
    if (search) {
      do {
        const std::string name = found.cFileName;
        if (name == "." || name == "..") continue;
        const std::string path = folder + "\\" + name;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
          RemoveTree(path);
        } else {
          SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
          DeleteFileA(path.c_str());
        }
      } while (FindNextFileA(search.get(), &found));
    }
  }
  return RemoveDirectoryA(folder.c_str()) != FALSE;
}

std::optional<std::string> MakeFreshFolder() {
  char temp[MAX_PATH];
  const DWORD n = GetTempPathA(sizeof temp, temp);
  if (n == 0 || n >= sizeof temp) return std::nullopt;
  std::string base = temp;
  if (base.back() != '\\') base += '\\';
  for (unsigned attempt = 0; attempt < 1000; ++attempt) {
    const std::string folder = base + "qm_e2e_" + std::to_string(GetCurrentProcessId()) + "_" +
                               std::to_string(GetTickCount() + attempt);
    if (CreateDirectoryA(folder.c_str(), nullptr)) return folder;
    if (GetLastError() != ERROR_ALREADY_EXISTS) return std::nullopt;
  }
  return std::nullopt;
}

bool Expect(bool holds, std::string& why, const std::string& text) {
  if (!holds) why = text;
  return holds;
}

std::string Size(long w, long h) { return std::to_string(w) + "x" + std::to_string(h); }

}  // namespace

ScenarioRunner::ScenarioRunner(RunnerOptions options) : options_(std::move(options)) {}

ScenarioRunner::~ScenarioRunner() = default;

const std::map<std::string, ScenarioRunner::Verb>& ScenarioRunner::Verbs() {
  static const std::map<std::string, Verb> verbs = {
      {"workdir", {1, 1, &ScenarioRunner::WorkDir}},
      {"write-file", {2, 2, &ScenarioRunner::WriteFile}},
      {"run", {1, 64, &ScenarioRunner::RunProgram}},
      {"start", {1, 64, &ScenarioRunner::StartProgram}},
      {"wait-window", {1, 2, &ScenarioRunner::WaitWindow}},
      {"name", {1, 1, &ScenarioRunner::NameWindow}},
      {"use", {1, 1, &ScenarioRunner::UseWindow}},
      {"wait-gone", {0, 0, &ScenarioRunner::WaitGone}},
      {"report", {0, 0, &ScenarioRunner::Report}},
      {"expect-caption", {1, 1, &ScenarioRunner::ExpectCaption}},
      {"expect-window-size", {2, 2, &ScenarioRunner::ExpectWindowSize}},
      {"expect-client-size", {2, 2, &ScenarioRunner::ExpectClientSize}},
      {"expect-position", {2, 2, &ScenarioRunner::ExpectPosition}},
      {"expect-centred", {0, 0, &ScenarioRunner::ExpectCentred}},
      {"expect-style", {1, 32, &ScenarioRunner::ExpectStyle}},
      {"expect-no-style", {1, 32, &ScenarioRunner::ExpectNoStyle}},
      {"expect-exstyle", {1, 32, &ScenarioRunner::ExpectExStyle}},
      {"expect-text", {2, 2, &ScenarioRunner::ExpectText}},
      {"expect-box-text", {1, 1, &ScenarioRunner::ExpectBoxText}},
      {"expect-enabled", {1, 1, &ScenarioRunner::ExpectEnabled}},
      {"expect-disabled", {1, 1, &ScenarioRunner::ExpectDisabled}},
      {"close", {0, 0, &ScenarioRunner::Close}},
      {"command", {1, 1, &ScenarioRunner::Command}},
      {"click", {1, 1, &ScenarioRunner::ClickControl}},
      {"press", {1, 1, &ScenarioRunner::PressControl}},
      {"key", {1, 1, &ScenarioRunner::Key}},
      {"set-text", {2, 2, &ScenarioRunner::SetControlText}},
      {"wait-exit", {1, 1, &ScenarioRunner::WaitExit}},
      {"timeout", {1, 1, &ScenarioRunner::Timeout}},
      {"sleep", {1, 1, &ScenarioRunner::Pause}},
      {"demo-game", {0, 2, &ScenarioRunner::DemoGame}},
      {"copy-file", {2, 2, &ScenarioRunner::CopyAFile}},
      {"write-picture", {4, 4, &ScenarioRunner::WritePicture}},
      {"wait-text", {2, 2, &ScenarioRunner::WaitText}},
      {"wait-text-contains", {2, 2, &ScenarioRunner::WaitTextContains}},
      {"set-path", {2, 2, &ScenarioRunner::SetPath}},
      {"answer-open", {1, 1, &ScenarioRunner::AnswerOpen}},
      {"select-item", {2, 2, &ScenarioRunner::SelectItem}},
      {"hscroll", {3, 3, &ScenarioRunner::HScroll}},
      {"notify", {2, 2, &ScenarioRunner::Notify}},
      {"drop-file", {2, 2, &ScenarioRunner::DropFile}},
      {"expect-window-count", {2, 2, &ScenarioRunner::ExpectWindowCount}},
      {"expect-hero", {3, 3, &ScenarioRunner::ExpectHero}},
      {"expect-hero-not", {3, 3, &ScenarioRunner::ExpectHeroNot}},
      {"wait-hero", {3, 3, &ScenarioRunner::WaitHero}},
      {"remember-face", {3, 3, &ScenarioRunner::RememberFace}},
      {"expect-face-changed", {1, 1, &ScenarioRunner::ExpectFaceChanged}},
      {"expect-face-same", {1, 1, &ScenarioRunner::ExpectFaceSame}},
      {"remember-size", {2, 2, &ScenarioRunner::RememberSize}},
      {"screenshot", {1, 1, &ScenarioRunner::Screenshot}},
      {"elapsed", {1, 1, &ScenarioRunner::Elapsed}},
      {"expect-smaller", {2, 2, &ScenarioRunner::ExpectSmaller}},
      {"set-version", {2, 2, &ScenarioRunner::SetGameVersion}},
      {"set-marker", {1, 1, &ScenarioRunner::SetMarker}},
      {"expect-marker", {1, 1, &ScenarioRunner::ExpectMarker}},
      {"start-here", {1, 64, &ScenarioRunner::StartHere}},
      {"delete-file", {1, 1, &ScenarioRunner::DeleteAFile}},
      {"expect-no-file", {1, 1, &ScenarioRunner::ExpectNoFile}},
      {"remember-file", {2, 2, &ScenarioRunner::RememberFile}},
      {"expect-file-same", {1, 1, &ScenarioRunner::ExpectFileSame}},
      {"expect-file-changed", {1, 1, &ScenarioRunner::ExpectFileChanged}},
      {"expect-file-times", {1, 1, &ScenarioRunner::ExpectFileTimes}},
      {"expect-payload", {2, 101, &ScenarioRunner::ExpectPayload}},
      {"expect-stub-of", {2, 2, &ScenarioRunner::ExpectStubOf}},
      {"expect-payload-blob", {3, 3, &ScenarioRunner::ExpectPayloadBlob}},
      {"expect-entries-same", {3, 3, &ScenarioRunner::ExpectEntriesSame}},
      {"copy-program-files", {1, 1, &ScenarioRunner::CopyProgramFiles}},
      {"expect-language", {1, 1, &ScenarioRunner::ExpectLanguage}},
  };
  return verbs;
}

bool ScenarioRunner::Run(const std::vector<Step>& steps, const std::string& name) {
  for (const Step& s : steps) {
    std::string why;
    const auto verb = Verbs().find(s.verb);
    if (verb == Verbs().end()) {
      why = "unknown verb";
    } else if (s.args.size() < verb->second.min_args || s.args.size() > verb->second.max_args) {
      why = "takes " + std::to_string(verb->second.min_args) + " to " +
            std::to_string(verb->second.max_args) + " arguments, got " + std::to_string(s.args.size());
    } else if ((this->*verb->second.handler)(s, why)) {
      continue;
    }
    std::fprintf(stderr, "%s:%d: %s: %s\n", name.c_str(), s.line, s.verb.c_str(), why.c_str());
    if (!fresh_folder_.empty()) std::fprintf(stderr, "  work folder kept: %s\n", fresh_folder_.c_str());
    return false;
  }
  // A program still running at the end is a fault of the scenario; the process is ended.
  if (process_ && process_->Running()) {
    std::fprintf(stderr, "%s: the started program is still running at the end\n", name.c_str());
    return false;
  }
  if (!fresh_folder_.empty()) RemoveTree(fresh_folder_);
  fresh_folder_.clear();
  return true;
}

bool ScenarioRunner::SystemTextOf(const std::string& utf8, std::string* text, std::string& why) {
  std::optional<std::string> converted = ToSystemText(utf8);
  if (!converted) return Expect(false, why, "the system's code page cannot hold " + Quoted(utf8));
  *text = std::move(*converted);
  return true;
}

bool ScenarioRunner::NeedWindow(std::string& why) const {
  return Expect(window_ != nullptr && IsWindow(window_), why, "no current window");
}

bool ScenarioRunner::NeedProcess(std::string& why) const {
  return Expect(process_.has_value(), why, "no program started");
}

std::optional<long> ScenarioRunner::ControlId(const std::string& name) const {
  if (std::optional<long> dialog = Lookup(kDialogControls, name)) return dialog;
  // The patcher's ids overlap the editor's, so the current window says whose names apply.
  char class_name[64] = "";
  if (window_ != nullptr) GetClassNameA(window_, class_name, sizeof class_name);
  if (std::strcmp(class_name, patcher::kClassName) == 0) return Lookup(kPatcherControls, name);
  return Lookup(kEditorControls, name);
}

HWND ScenarioRunner::Control(const std::string& id_text, std::string& why) const {
  if (!NeedWindow(why)) return nullptr;
  std::optional<long> id = ControlId(id_text);
  if (!id) {
    why = "not a control name: " + id_text;
    return nullptr;
  }
  HWND control = FindControl(window_, static_cast<int>(*id));
  if (control == nullptr) why = "no control " + id_text + " in the current window";
  return control;
}

std::string ScenarioRunner::ProgramPath(const std::string& name) const {
  if (IsAbsolute(name)) return Backslashed(name);
  return options_.program_folder + "\\" + Backslashed(name);
}

std::string ScenarioRunner::WorkPath(const std::string& relative) const {
  if (IsAbsolute(relative)) return Backslashed(relative);
  return options_.work_folder + "\\" + Backslashed(relative);
}

bool ScenarioRunner::WorkDir(const Step& s, std::string& why) {
  if (s.args[0] != "fresh") {
    options_.work_folder = Backslashed(s.args[0]);
    return Expect(GetFileAttributesA(options_.work_folder.c_str()) != INVALID_FILE_ATTRIBUTES, why,
                  "no folder " + options_.work_folder);
  }
  std::optional<std::string> folder = MakeFreshFolder();
  if (!folder) {
    why = "cannot make a folder in the temporary folder: " + LastErrorText();
    return false;
  }
  if (!fresh_folder_.empty()) RemoveTree(fresh_folder_);
  fresh_folder_ = *folder;
  options_.work_folder = *folder;
  std::printf("work folder %s\n", folder->c_str());
  return true;
}

bool ScenarioRunner::WriteFile(const Step& s, std::string& why) {
  const std::string path = WorkPath(s.args[0]);
  const size_t cut = path.find_last_of('\\');
  if (cut != std::string::npos && !MakeFolders(path.substr(0, cut))) {
    why = "cannot make the folders of " + path + ": " + LastErrorText();
    return false;
  }
  KernelHandle file(
      CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) {
    why = "cannot create " + path + ": " + LastErrorText();
    return false;
  }
  DWORD written = 0;
  const bool ok = ::WriteFile(file.get(), s.args[1].data(), static_cast<DWORD>(s.args[1].size()), &written, nullptr) &&
                  written == s.args[1].size();
  const bool closed = CloseHandle(file.release()) != FALSE;
  return Expect(ok && closed, why, "cannot write " + path);
}

bool ScenarioRunner::RunProgram(const Step& s, std::string& why) {
  std::optional<ChildProcess> p =
      ChildProcess::Start(ProgramPath(s.args[0]), Arguments(s), options_.work_folder, &why);
  if (!p) return false;
  std::optional<DWORD> code = p->WaitExit(options_.timeout_ms);
  if (!code) {
    why = "still running after " + std::to_string(options_.timeout_ms) + " ms";
    return false;
  }
  return Expect(*code == 0, why, "exit code " + std::to_string(*code));
}

bool ScenarioRunner::StartProgram(const Step& s, std::string& why) {
  if (process_ && process_->Running()) {
    why = "the program started before is still running";
    return false;
  }
  window_ = nullptr;
  named_.clear();
  start_tick_ = GetTickCount();
  process_ = ChildProcess::Start(ProgramPath(s.args[0]), Arguments(s), options_.work_folder, &why);
  return process_.has_value();
}

bool ScenarioRunner::StartHere(const Step& s, std::string& why) {
  if (process_ && process_->Running()) {
    why = "the program started before is still running";
    return false;
  }
  const std::string program = WorkPath(s.args[0]);
  const size_t cut = program.find_last_of('\\');
  const std::string folder = cut == std::string::npos ? options_.work_folder : program.substr(0, cut);
  window_ = nullptr;
  named_.clear();
  start_tick_ = GetTickCount();
  process_ = ChildProcess::Start(program, Arguments(s), folder, &why);
  return process_.has_value();
}

bool ScenarioRunner::WaitWindow(const Step& s, std::string& why) {
  if (!NeedProcess(why)) return false;
  WindowQuery query{s.args[0], std::nullopt};
  if (s.args.size() > 1) query.caption = s.args[1];
  window_ = WaitForWindow(process_->id(), query, options_.timeout_ms);
  if (window_ == nullptr) {
    why = "no window of class " + Quoted(query.class_name) +
          (query.caption ? " captioned " + Quoted(*query.caption) : "") + " within " +
          std::to_string(options_.timeout_ms) + " ms";
    for (HWND w : TopLevelWindowsOf(process_->id())) why += "\n  there is: " + DescribeLine(Describe(w));
    return false;
  }
  std::printf("window %s\n", DescribeLine(Describe(window_)).c_str());
  return true;
}

bool ScenarioRunner::NameWindow(const Step& s, std::string& why) {
  if (!NeedWindow(why)) return false;
  named_[s.args[0]] = window_;
  return true;
}

bool ScenarioRunner::UseWindow(const Step& s, std::string& why) {
  const auto it = named_.find(s.args[0]);
  if (it == named_.end()) {
    why = "no window named " + s.args[0];
    return false;
  }
  window_ = it->second;
  return NeedWindow(why);
}

bool ScenarioRunner::WaitGone(const Step&, std::string& why) {
  if (window_ == nullptr) return Expect(false, why, "no current window");
  const bool gone = WaitUntilGone(window_, options_.timeout_ms);
  if (gone) window_ = nullptr;
  return Expect(gone, why, "the window is still there");
}

bool ScenarioRunner::Report(const Step&, std::string& why) {
  if (!NeedWindow(why)) return false;
  std::printf("window %s\n", DescribeLine(Describe(window_)).c_str());
  return true;
}

bool ScenarioRunner::ExpectCaption(const Step& s, std::string& why) {
  std::string want;
  if (!NeedWindow(why) || !SystemTextOf(s.args[0], &want, why)) return false;
  const std::string caption = Describe(window_).caption;
  return Expect(caption == want, why, "caption is " + Quoted(FromSystemText(caption)));
}

bool ScenarioRunner::ExpectWindowSize(const Step& s, std::string& why) {
  if (!NeedWindow(why)) return false;
  const RECT r = Describe(window_).window;
  return Expect(Size(r.right - r.left, r.bottom - r.top) == s.args[0] + "x" + s.args[1], why,
                "window is " + Size(r.right - r.left, r.bottom - r.top));
}

bool ScenarioRunner::ExpectClientSize(const Step& s, std::string& why) {
  if (!NeedWindow(why)) return false;
  const RECT r = Describe(window_).client;
  return Expect(Size(r.right - r.left, r.bottom - r.top) == s.args[0] + "x" + s.args[1], why,
                "client area is " + Size(r.right - r.left, r.bottom - r.top));
}

bool ScenarioRunner::ExpectPosition(const Step& s, std::string& why) {
  if (!NeedWindow(why)) return false;
  const RECT r = Describe(window_).window;
  return Expect(std::to_string(r.left) == s.args[0] && std::to_string(r.top) == s.args[1], why,
                "window is at " + std::to_string(r.left) + "," + std::to_string(r.top));
}

bool ScenarioRunner::ExpectCentred(const Step&, std::string& why) {
  if (!NeedWindow(why)) return false;
  const RECT r = Describe(window_).window;
  const WindowOrigin want = CentredOrigin(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                                          r.right - r.left, r.bottom - r.top);
  return Expect(r.left == want.left && r.top == want.top, why,
                "window is at " + std::to_string(r.left) + "," + std::to_string(r.top) +
                    ", centred would be " + std::to_string(want.left) + "," + std::to_string(want.top) +
                    " on a " + Size(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)) +
                    " screen");
}

namespace {

template <size_t N>
bool CheckBits(const Named (&table)[N], const std::vector<std::string>& names, LONG bits, bool set,
               std::string& why) {
  for (const std::string& name : names) {
    std::optional<long> bit = NumberOrName(table, name);
    if (!bit) {
      why = "unknown style " + name;
      return false;
    }
    const bool is_set = (static_cast<unsigned long>(bits) & static_cast<unsigned long>(*bit)) ==
                        static_cast<unsigned long>(*bit);
    if (is_set != set) {
      char hex[16];
      std::snprintf(hex, sizeof hex, "0x%08lX", static_cast<unsigned long>(bits));
      why = name + (set ? " is not set" : " is set") + " (styles " + hex + ")";
      return false;
    }
  }
  return true;
}

}  // namespace

bool ScenarioRunner::ExpectStyle(const Step& s, std::string& why) {
  return NeedWindow(why) && CheckBits(kStyles, s.args, Describe(window_).style, true, why);
}

bool ScenarioRunner::ExpectNoStyle(const Step& s, std::string& why) {
  return NeedWindow(why) && CheckBits(kStyles, s.args, Describe(window_).style, false, why);
}

bool ScenarioRunner::ExpectExStyle(const Step& s, std::string& why) {
  return NeedWindow(why) && CheckBits(kExStyles, s.args, Describe(window_).ex_style, true, why);
}

bool ScenarioRunner::ExpectText(const Step& s, std::string& why) {
  HWND control = Control(s.args[0], why);
  std::string want;
  if (control == nullptr || !SystemTextOf(s.args[1], &want, why)) return false;
  std::optional<std::string> text = ReadText(control);
  if (!text) return Expect(false, why, "the control does not answer");
  return Expect(*text == want, why, "text is " + Quoted(FromSystemText(*text)));
}

bool ScenarioRunner::ExpectBoxText(const Step& s, std::string& why) {
  Step text_step = s;
  text_step.args = {"MessageBoxText", s.args[0]};
  return ExpectText(text_step, why);
}

bool ScenarioRunner::ExpectControlEnabled(const Step& s, bool enabled, std::string& why) {
  HWND control = Control(s.args[0], why);
  if (control == nullptr) return false;
  return Expect((IsWindowEnabled(control) != FALSE) == enabled, why,
                enabled ? "the control is disabled" : "the control is enabled");
}

bool ScenarioRunner::ExpectEnabled(const Step& s, std::string& why) {
  return ExpectControlEnabled(s, true, why);
}

bool ScenarioRunner::ExpectDisabled(const Step& s, std::string& why) {
  return ExpectControlEnabled(s, false, why);
}

bool ScenarioRunner::Close(const Step&, std::string& why) {
  return NeedWindow(why) && Expect(PostClose(window_), why, "cannot post: " + LastErrorText());
}

bool ScenarioRunner::Command(const Step& s, std::string& why) {
  if (!NeedWindow(why)) return false;
  std::optional<long> id = ControlId(s.args[0]);
  if (!id) return Expect(false, why, "not a command name: " + s.args[0]);
  return Expect(PostCommand(window_, static_cast<int>(*id)), why, "cannot post: " + LastErrorText());
}

bool ScenarioRunner::ClickControl(const Step& s, std::string& why) {
  HWND control = Control(s.args[0], why);
  return control != nullptr && Expect(Click(control), why, "cannot post: " + LastErrorText());
}

bool ScenarioRunner::PressControl(const Step& s, std::string& why) {
  HWND control = Control(s.args[0], why);
  if (control == nullptr) return false;
  SendMessageA(control, BM_SETSTATE, TRUE, 0);
  return true;
}

bool ScenarioRunner::Key(const Step& s, std::string& why) {
  if (!NeedWindow(why)) return false;
  std::optional<long> vk = Lookup(kKeys, s.args[0]);
  if (!vk && s.args[0].size() == 1) {
    const char c = s.args[0][0];
    if ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z')) vk = c;
  }
  if (!vk) vk = ParseNumber(s.args[0]);
  if (!vk || *vk <= 0 || *vk > 0xFE) return Expect(false, why, "not a key: " + s.args[0]);
  return Expect(PressKey(window_, static_cast<UINT>(*vk)), why, "cannot post: " + LastErrorText());
}

bool ScenarioRunner::SetControlText(const Step& s, std::string& why) {
  HWND control = Control(s.args[0], why);
  std::string text;
  return control != nullptr && SystemTextOf(s.args[1], &text, why) &&
         Expect(SetText(control, text), why, "the control refused the text");
}

bool ScenarioRunner::WaitExit(const Step& s, std::string& why) {
  if (!NeedProcess(why)) return false;
  std::optional<long> want = ParseNumber(s.args[0]);
  if (!want) return Expect(false, why, "not an exit code: " + s.args[0]);
  std::optional<DWORD> code = process_->WaitExit(options_.timeout_ms);
  if (!code) {
    why = "still running after " + std::to_string(options_.timeout_ms) + " ms";
    return false;
  }
  std::printf("exit code %ld\n", static_cast<long>(*code));
  window_ = nullptr;
  return Expect(static_cast<long>(*code) == *want, why, "exit code " + std::to_string(static_cast<long>(*code)));
}

bool ScenarioRunner::Timeout(const Step& s, std::string& why) {
  std::optional<long> ms = ParseNumber(s.args[0]);
  if (!ms || *ms <= 0) return Expect(false, why, "not a timeout: " + s.args[0]);
  options_.timeout_ms = static_cast<DWORD>(*ms);
  return true;
}

bool ScenarioRunner::Pause(const Step& s, std::string& why) {
  std::optional<long> ms = ParseNumber(s.args[0]);
  if (!ms || *ms < 0) return Expect(false, why, "not a pause: " + s.args[0]);
  Sleep(static_cast<DWORD>(*ms));
  return true;
}

bool ScenarioRunner::CopyProgramFiles(const Step& s, std::string& why) {
  const std::string from = ProgramPath(s.args[0]);
  const std::string to = WorkPath(s.args[0]);
  const DWORD attributes = GetFileAttributesA(from.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return Expect(false, why, "no " + from);
  if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    return Expect(CopyFileA(from.c_str(), to.c_str(), FALSE) != FALSE, why,
                  "cannot copy " + from + ": " + LastErrorText());
  }
  if (!MakeFolders(to)) return Expect(false, why, "cannot make " + to + ": " + LastErrorText());
  WIN32_FIND_DATAA found;
  const FindHandle search(FindFirstFileA((from + "\\*").c_str(), &found));
  if (!search) return Expect(false, why, "cannot list " + from + ": " + LastErrorText());
  do {
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    const std::string file = found.cFileName;
    if (!CopyFileA((from + "\\" + file).c_str(), (to + "\\" + file).c_str(), FALSE)) {
      return Expect(false, why, "cannot copy " + file + ": " + LastErrorText());
    }
  } while (FindNextFileA(search.get(), &found));
  return true;
}

bool ScenarioRunner::ExpectLanguage(const Step& s, std::string& why) {
  char code[32] = "";
  GetLocaleInfoA(GetThreadLocale(), LOCALE_SABBREVLANGNAME, code, sizeof code);
  return Expect(s.args[0] == code, why,
                std::string("the locale gives ") + code +
                    " (is the scenario's locale generated? scripts/install-deps.sh makes it)");
}

}  // namespace qm::e2e
