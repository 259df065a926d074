// The runner's editor verbs: game folders and picture files to work on, waits on what the
// editor shows, list, trackbar and drop input, and checks of the game's archives through the
// core library (the same code the editor saves with, read back independently of the editor).
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "base/handles_win32.h"
#include "heroes/game_paths.h"
#include "heroes/hero_catalogue.h"
#include "tests/e2e/driver/actions_win32.h"
#include "tests/e2e/driver/scenario_runner_win32.h"
#include "tests/e2e/driver/windows_win32.h"
#include "tests/win32/win32_fixtures.h"
#include "tools/demo_game/demo_game.h"

namespace qm::e2e {
namespace {

constexpr DWORD kPollMs = 100;

bool Fail(std::string& why, const std::string& text) {
  why = text;
  return false;
}

std::optional<long> Number(const std::string& text) {
  char* end = nullptr;
  const long value = std::strtol(text.c_str(), &end, 0);
  if (text.empty() || *end != '\0') return std::nullopt;
  return value;
}

std::string Shown(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '\r') {
      out += "\\r";
    } else if (c == '\n') {
      out += "\\n";
    } else {
      out += c;
    }
  }
  return out + "\"";
}

bool WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out.flush());
}

std::optional<unsigned long long> FileSize(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
  return (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

}  // namespace

bool ScenarioRunner::DemoGame(const Step& s, std::string& why) {
  DemoGameOptions options;
  if (!s.args.empty()) {
    const std::optional<long> n = Number(s.args[0]);
    if (!n || *n < 1) return Fail(why, "not a hero count: " + s.args[0]);
    options.hero_count = static_cast<size_t>(*n);
  }
  // An optional second argument puts the game into that folder of the work folder.
  const std::string folder = s.args.size() > 1 ? WorkPath(s.args[1]) : options_.work_folder;
  if (s.args.size() > 1 && !CreateDirectoryA(folder.c_str(), nullptr) &&
      GetLastError() != ERROR_ALREADY_EXISTS) {
    return Fail(why, "cannot make " + folder + ": " + LastErrorText());
  }
  const Status made = MakeDemoGame(folder, options);
  return made.ok() || Fail(why, made.why());
}

bool ScenarioRunner::CopyAFile(const Step& s, std::string& why) {
  return CopyFileA(WorkPath(s.args[0]).c_str(), WorkPath(s.args[1]).c_str(), FALSE) ||
         Fail(why, "cannot copy: " + LastErrorText());
}

bool ScenarioRunner::WritePicture(const Step& s, std::string& why) {
  const std::optional<long> w = Number(s.args[2]), h = Number(s.args[3]);
  if (!w || !h || *w < 1 || *h < 1 || *w > 8000 || *h > 8000) return Fail(why, "bad size");
  const int width = static_cast<int>(*w), height = static_cast<int>(*h);
  std::vector<uint8_t> bytes;
  if (s.args[1] == "jpeg") {
    bytes = test::CardJpeg(width, height);
  } else if (s.args[1] == "gif") {
    bytes = test::CardGifWithTransparency(width, height);
  } else if (s.args[1] == "png") {
    bytes = test::CardPngWithAlpha(width, height);
  } else if (s.args[1] == "text") {
    const std::string text = "not a picture, just words\r\n";
    bytes.assign(text.begin(), text.end());
  } else {
    return Fail(why, "unknown picture format " + s.args[1]);
  }
  return WriteBytes(WorkPath(s.args[0]), bytes) || Fail(why, "cannot write " + s.args[0]);
}

bool ScenarioRunner::WaitTextMatching(const Step& s, bool whole, std::string& why) {
  HWND control = Control(s.args[0], why);
  std::string want;
  if (control == nullptr || !SystemTextOf(s.args[1], &want, why)) return false;
  const DWORD start = GetTickCount();
  std::string last;
  for (;;) {
    if (std::optional<std::string> text = ReadText(control)) {
      last = *text;
      if (whole ? last == want : last.find(want) != std::string::npos) return true;
    }
    if (GetTickCount() - start > options_.timeout_ms) break;
    Sleep(kPollMs);
  }
  return Fail(why, "text is " + Shown(FromSystemText(last)));
}

bool ScenarioRunner::WaitText(const Step& s, std::string& why) { return WaitTextMatching(s, true, why); }

bool ScenarioRunner::WaitTextContains(const Step& s, std::string& why) {
  return WaitTextMatching(s, false, why);
}

bool ScenarioRunner::SetPath(const Step& s, std::string& why) {
  HWND control = Control(s.args[0], why);
  if (control == nullptr) return false;
  return SetText(control, WorkPath(s.args[1])) || Fail(why, "the control refused the text");
}

// The file name box of an open dialog: the combo box cmb13 of newer dialogs and the edit box
// edt1 of older ones; whichever exist take the path.
bool ScenarioRunner::AnswerOpen(const Step& s, std::string& why) {
  if (!NeedWindow(why)) return false;
  bool typed = false;
  for (int id : {0x47C, 0x480}) {
    if (HWND box = FindControl(window_, id)) typed = SetText(box, WorkPath(s.args[0])) || typed;
  }
  if (!typed) return Fail(why, "no file name box in the current window took the path");
  HWND ok = FindControl(window_, IDOK);
  if (ok == nullptr) return Fail(why, "no OK button");
  return PostCommand(window_, IDOK, BN_CLICKED, ok) || Fail(why, "cannot press OK: " + LastErrorText());
}

bool ScenarioRunner::SelectItem(const Step& s, std::string& why) {
  HWND control = Control(s.args[0], why);
  if (control == nullptr) return false;
  const std::optional<long> index = Number(s.args[1]);
  if (!index) return Fail(why, "not an item index: " + s.args[1]);
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutA(control, CB_SETCURSEL, static_cast<WPARAM>(*index), 0, SMTO_ABORTIFHUNG,
                           options_.timeout_ms, &result) ||
      static_cast<LRESULT>(result) == CB_ERR) {
    return Fail(why, "no item " + s.args[1]);
  }
  const int id = GetDlgCtrlID(control);
  return PostCommand(GetParent(control), id, CBN_SELCHANGE, control) ||
         Fail(why, "cannot post: " + LastErrorText());
}

bool ScenarioRunner::HScroll(const Step& s, std::string& why) {
  HWND control = Control(s.args[0], why);
  if (control == nullptr) return false;
  const std::optional<long> code = Number(s.args[1]), pos = Number(s.args[2]);
  if (!code || !pos) return Fail(why, "bad code or position");
  return PostMessageA(GetParent(control), WM_HSCROLL,
                      MAKEWPARAM(static_cast<WORD>(*code), static_cast<WORD>(*pos)),
                      reinterpret_cast<LPARAM>(control)) ||
         Fail(why, "cannot post: " + LastErrorText());
}

bool ScenarioRunner::Notify(const Step& s, std::string& why) {
  HWND control = Control(s.args[0], why);
  if (control == nullptr) return false;
  const std::optional<long> code = Number(s.args[1]);
  if (!code) return Fail(why, "bad notification code");
  return PostCommand(GetParent(control), GetDlgCtrlID(control), static_cast<int>(*code), control) ||
         Fail(why, "cannot post: " + LastErrorText());
}

// The drop's file list goes over as the shell hands it to a window: a DROPFILES block in
// global memory, posted with WM_DROPFILES (Wine carries the block across processes).
bool ScenarioRunner::DropFile(const Step& s, std::string& why) {
  if (!NeedProcess(why)) return false;
  HWND control = Control(s.args[0], why);
  if (control == nullptr) return false;
  const std::string path = WorkPath(s.args[1]);
  const size_t bytes = sizeof(DROPFILES) + path.size() + 2;
  GlobalMemory block(GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes));
  if (!block) return Fail(why, "no memory for the file list");
  {
    GlobalLockScope lock(block.get());
    auto* header = reinterpret_cast<DROPFILES*>(lock.data());
    if (header == nullptr) return Fail(why, "no memory for the file list");
    header->pFiles = sizeof(DROPFILES);
    header->fWide = FALSE;
    std::copy(path.begin(), path.end(), reinterpret_cast<char*>(header) + sizeof(DROPFILES));
  }
  if (!PostMessageA(control, WM_DROPFILES, reinterpret_cast<WPARAM>(block.get()), 0)) {
    return Fail(why, "cannot post: " + LastErrorText());
  }
  block.release();  // the receiving window frees the list
  return true;
}

bool ScenarioRunner::ExpectWindowCount(const Step& s, std::string& why) {
  if (!NeedProcess(why)) return false;
  const std::optional<long> want = Number(s.args[1]);
  if (!want) return Fail(why, "not a count: " + s.args[1]);
  long count = 0;
  for (HWND w : TopLevelWindowsOf(process_->id())) count += ClassNameOf(w) == s.args[0];
  return count == *want || Fail(why, std::to_string(count) + " windows of class " + s.args[0]);
}

namespace {

bool LoadGame(const std::string& folder, HeroCatalogue* catalogue, std::string& why) {
  const Status loaded = catalogue->Load(GamePathsForFolder(folder));
  return loaded.ok() || Fail(why, "the game does not load: " + loaded.why());
}

}  // namespace

bool ScenarioRunner::ExpectHero(const Step& s, std::string& why) { return CheckHero(s, true, why); }

bool ScenarioRunner::ExpectHeroNot(const Step& s, std::string& why) {
  return CheckHero(s, false, why);
}

// Commands are posted, so a save may still be on its way when the message panel already shows
// the same text from an earlier save; this waits for the stored hero itself.
bool ScenarioRunner::WaitHero(const Step& s, std::string& why) {
  const DWORD start = GetTickCount();
  while (!CheckHero(s, true, why)) {
    if (GetTickCount() - start >= options_.timeout_ms) return false;
    Sleep(50);
  }
  return true;
}

bool ScenarioRunner::CheckHero(const Step& s, bool equal, std::string& why) {
  HeroCatalogue catalogue;
  if (!LoadGame(options_.work_folder, &catalogue, why)) return false;
  const std::optional<long> index = Number(s.args[0]);
  if (!index || *index < 0 || static_cast<size_t>(*index) >= catalogue.count()) {
    return Fail(why, "no record " + s.args[0]);
  }
  const HeroRecord& r = catalogue.record(static_cast<size_t>(*index));
  const std::string& field = s.args[1];
  std::string value;
  if (field == "name") {
    value = r.name;
  } else if (field == "keyword") {
    value = r.keyword;
  } else if (field == "biography") {
    value = r.biography;
  } else if (field == "sex") {
    value = std::to_string(r.sex);
  } else if (field == "class") {
    value = std::to_string(r.hero_class);
  } else if (field == "allowed") {
    value.assign(1, r.allowed_by != 0 ? '1' : '0');
  } else {
    return Fail(why, "unknown field " + field);
  }
  return (value == s.args[2]) == equal || Fail(why, field + " is " + Shown(value));
}

bool ScenarioRunner::RememberFace(const Step& s, std::string& why) {
  HeroCatalogue catalogue;
  if (!LoadGame(options_.work_folder, &catalogue, why)) return false;
  const std::optional<long> index = Number(s.args[1]);
  if (!index || *index < 0 || static_cast<size_t>(*index) >= catalogue.count()) {
    return Fail(why, "no record " + s.args[1]);
  }
  RememberedFace face;
  face.index = static_cast<int>(*index);
  face.large = s.args[2] == "large";
  const HeroRecord& r = catalogue.record(static_cast<size_t>(*index));
  face.bytes = face.large ? r.large_face : r.small_face;
  faces_[s.args[0]] = std::move(face);
  return true;
}

bool ScenarioRunner::CompareFace(const Step& s, bool changed, std::string& why) {
  const auto it = faces_.find(s.args[0]);
  if (it == faces_.end()) return Fail(why, "no face remembered as " + s.args[0]);
  HeroCatalogue catalogue;
  if (!LoadGame(options_.work_folder, &catalogue, why)) return false;
  const RememberedFace& old = it->second;
  if (static_cast<size_t>(old.index) >= catalogue.count()) return Fail(why, "the record is gone");
  const HeroRecord& r = catalogue.record(static_cast<size_t>(old.index));
  const std::vector<uint8_t>& now = old.large ? r.large_face : r.small_face;
  if (now.empty()) return Fail(why, "the record holds no such face");
  return (now != old.bytes) == changed ||
         Fail(why, changed ? "the face is unchanged" : "the face changed");
}

bool ScenarioRunner::ExpectFaceChanged(const Step& s, std::string& why) {
  return CompareFace(s, true, why);
}

bool ScenarioRunner::ExpectFaceSame(const Step& s, std::string& why) {
  return CompareFace(s, false, why);
}

bool ScenarioRunner::RememberSize(const Step& s, std::string& why) {
  const std::optional<unsigned long long> size = FileSize(WorkPath(s.args[1]));
  if (!size) return Fail(why, "no file " + s.args[1]);
  sizes_[s.args[0]] = *size;
  return true;
}

bool ScenarioRunner::ExpectSmaller(const Step& s, std::string& why) {
  const auto it = sizes_.find(s.args[0]);
  if (it == sizes_.end()) return Fail(why, "no size remembered as " + s.args[0]);
  const std::optional<unsigned long long> size = FileSize(WorkPath(s.args[1]));
  if (!size) return Fail(why, "no file " + s.args[1]);
  return *size < it->second ||
         Fail(why, std::to_string(*size) + " bytes, was " + std::to_string(it->second));
}

bool ScenarioRunner::Elapsed(const Step& s, std::string& why) {
  if (!NeedProcess(why)) return false;
  std::printf("%s: %lu ms\n", s.args[0].c_str(), static_cast<unsigned long>(GetTickCount() - start_tick_));
  std::fflush(stdout);
  return true;
}

bool ScenarioRunner::Screenshot(const Step& s, std::string& why) {
  const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
  const WindowDc screen(nullptr);
  if (!screen) return Fail(why, "no screen");
  const MemoryDc memory(screen.get());
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  void* bits = nullptr;
  const GdiBitmap shot(CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  bool ok = memory && shot;
  if (ok) {
    const SelectInDc keep(memory.get(), shot.get());
    ok = BitBlt(memory.get(), 0, 0, width, height, screen.get(), 0, 0, SRCCOPY) != FALSE;
    GdiFlush();
  }
  const size_t stride = (static_cast<size_t>(width) * 3 + 3) & ~size_t{3};
  const size_t image_bytes = stride * static_cast<size_t>(height);
  std::vector<uint8_t> file;
  if (ok) {
    BITMAPFILEHEADER header{};
    header.bfType = 0x4D42;
    header.bfOffBits = sizeof header + sizeof info.bmiHeader;
    header.bfSize = static_cast<DWORD>(header.bfOffBits + image_bytes);
    info.bmiHeader.biSizeImage = static_cast<DWORD>(image_bytes);
    const auto* h = reinterpret_cast<const uint8_t*>(&header);
    const auto* ih = reinterpret_cast<const uint8_t*>(&info.bmiHeader);
    file.insert(file.end(), h, h + sizeof header);
    file.insert(file.end(), ih, ih + sizeof info.bmiHeader);
    const auto* pixels = static_cast<const uint8_t*>(bits);
    file.insert(file.end(), pixels, pixels + image_bytes);
  }
  if (!ok) return Fail(why, "cannot copy the screen");
  return WriteBytes(WorkPath(s.args[0]), file) || Fail(why, "cannot write " + s.args[0]);
}

}  // namespace qm::e2e
