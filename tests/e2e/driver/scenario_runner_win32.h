// Runs scenario steps (scenario.h) against started programs, one step after the other; the
// first step that fails ends the run.
//
//   ScenarioRunner runner(options);
//   bool ok = runner.Run(steps, "smoke_quillmark.scn");
//
// Verbs (ID: a control by name: IDOK/IDCANCEL/IDYES/IDNO/IDABORT/IDRETRY/IDIGNORE, MessageBoxText
// and an open dialog's file name box cmb13/edt1 in any window, else a name from the id list of
// the current window's program, kId<name> in code: Save, Sex, NumberBox, ...
// (skin/control_ids.h) for the editor's windows, UpdateText, Dir, ... (patcher/patcher_ui.h)
// for the patcher's; TEXT: one argument, quoted when it holds blanks, in UTF-8 like the whole
// scenario, compared with the windows' texts in the system's code page):
//   workdir fresh | workdir PATH   programs start in a new empty folder (removed after a
//                                  passing run) or in PATH; default: the driver's folder
//   write-file PATH TEXT           a file in the work folder (parent folders made)
//   run PROGRAM [ARG...]           a console program, to its end; it must exit with 0
//   start PROGRAM [ARG...]         start a program in the work folder (PROGRAM resolved beside
//                                  the driver unless it is an absolute path)
//   wait-window CLASS [CAPTION]    wait for a visible top-level window of the started program;
//                                  it becomes the current window, and its description is printed
//   name NAME / use NAME           remember the current window / make a remembered one current
//   wait-gone                      wait until the current window is destroyed
//   report                         print the current window's description
//   expect-caption TEXT
//   expect-window-size W H / expect-client-size W H / expect-position X Y
//   expect-centred                 left = (screen width - width) / 2, top likewise
//   expect-style NAME... / expect-no-style NAME... / expect-exstyle NAME...
//                                  WS_POPUP, WS_CAPTION, ... / WS_EX_APPWINDOW, ...
//   expect-language CODE           the driver's (and so the programs') language code from the
//                                  locale, as the programs look it up: RUS, PLK, DEU, ENU...
//   expect-text ID TEXT            text of the current window's control ID
//   expect-box-text TEXT           the message of the current message box
//   expect-enabled ID / expect-disabled ID
//   close                          WM_CLOSE to the current window
//   command ID                     WM_COMMAND ID to the current window
//   click ID                       BM_CLICK to the current window's control ID
//   press ID                       BM_SETSTATE: the button shows itself pressed (and stays so)
//   key VK                         VK_RETURN, VK_NEXT, ..., a letter or digit, or a number
//   set-text ID TEXT               WM_SETTEXT to the current window's control ID
//   wait-exit CODE                 wait for the started program to end with that exit code
//   timeout MS                     how long later waits may take (default 60000)
//   sleep MS                       pause (only where nothing can be waited for)
// Editor verbs (editor_steps_win32.cpp; paths are relative to the work folder):
//   demo-game [HEROES [FOLDER]]    write the demo game into the work folder (or that folder
//                                  of it, made when missing)
//   copy-file FROM TO
//   copy-program-files NAME        a file or a folder's files from beside the driver (the
//                                  programs' folder) into the work folder, e.g. language
//   write-picture PATH jpeg|gif|png|text W H   a test card (GIF and PNG with transparency)
//   wait-text ID TEXT              wait until control ID shows exactly TEXT
//   wait-text-contains ID TEXT     wait until its text contains TEXT
//   set-path ID PATH               WM_SETTEXT of the full path of PATH (dialog file boxes)
//   answer-open PATH               type PATH into the current open dialog's file name box, OK
//   select-item ID INDEX           pick a combo box item and tell its parent (CBN_SELCHANGE)
//   notify ID CODE                 WM_COMMAND CODE from control ID to its parent, as typing
//                                  sends (a multi-line edit box does not notify for WM_SETTEXT)
//   hscroll ID CODE POS            WM_HSCROLL from trackbar ID (TB_THUMBTRACK = 5, ...)
//   drop-file ID PATH              WM_DROPFILES of PATH on control ID (the program can read
//                                  the list only where the system carries it across processes)
//   expect-window-count CLASS N    visible top-level windows of that class
//   expect-hero INDEX FIELD TEXT   the game's catalogue as the core loads it: name,
//                                  keyword, biography, sex, class (ids), allowed (0/1)
//   expect-hero-not INDEX FIELD TEXT   the field holds anything else
//   wait-hero INDEX FIELD TEXT     expect-hero, polled until it holds or the timeout passes (a posted
//                                  save may still run when the message panel already shows its text)
//   remember-face NAME INDEX large|small / expect-face-changed NAME / expect-face-same NAME
//   elapsed LABEL                  print "LABEL: N ms" since the program was started
//   screenshot PATH                the whole screen as a 24-bit BMP (for make screenshots)
//   remember-size NAME PATH / expect-smaller NAME PATH
// Sharing and backup verbs (sharing_steps_win32.cpp; paths relative to the work folder):
//   set-version PATH A.B.C.D       rewrite an executable's file and product version
//   set-marker TEXT|none           the editor's RESTORE marker in the registry (none: deleted)
//   expect-marker TEXT|none
//   start-here PATH [ARG...]       start a program of the work folder, in the program's folder
//   delete-file PATH / expect-no-file PATH   (PATH may hold wildcards: no file matches)
//   remember-file NAME PATH        its bytes and times; expect-file-same / expect-file-changed
//                                  NAME compare the bytes now, expect-file-times NAME the
//                                  creation and last-write times
//   expect-payload EXE COUNT [NAME...]   the used payload slots (and their names, in order)
//   expect-stub-of EXE PROGRAM     EXE begins with PROGRAM's bytes (beside the driver) and its
//                                  payload directory starts right after them
//   expect-payload-blob EXE NAME FILE    the blob equals a remembered file's bytes
//   expect-entries-same A B EXE    archives A and B hold equal contents for every name in
//                                  EXE's payload
#pragma once

#include <windows.h>

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "tests/e2e/driver/process_win32.h"
#include "tests/e2e/driver/scenario.h"

namespace qm::e2e {

struct RunnerOptions {
  std::string program_folder;  // where programs named without a folder are found
  std::string work_folder;     // where programs start unless a step says otherwise
  DWORD timeout_ms = 60000;
};

class ScenarioRunner {
 public:
  explicit ScenarioRunner(RunnerOptions options);
  ~ScenarioRunner();
  ScenarioRunner(const ScenarioRunner&) = delete;
  ScenarioRunner& operator=(const ScenarioRunner&) = delete;

  // Prints each failure as "<name>:<line>: <verb>: <why>" on stderr.
  bool Run(const std::vector<Step>& steps, const std::string& name);

 private:
  using Handler = bool (ScenarioRunner::*)(const Step&, std::string&);
  struct Verb {
    size_t min_args;
    size_t max_args;
    Handler handler;
  };
  static const std::map<std::string, Verb>& Verbs();

  bool WorkDir(const Step& s, std::string& why);
  bool WriteFile(const Step& s, std::string& why);
  bool RunProgram(const Step& s, std::string& why);
  bool StartProgram(const Step& s, std::string& why);
  bool WaitWindow(const Step& s, std::string& why);
  bool NameWindow(const Step& s, std::string& why);
  bool UseWindow(const Step& s, std::string& why);
  bool WaitGone(const Step& s, std::string& why);
  bool Report(const Step& s, std::string& why);
  bool ExpectCaption(const Step& s, std::string& why);
  bool ExpectWindowSize(const Step& s, std::string& why);
  bool ExpectClientSize(const Step& s, std::string& why);
  bool ExpectPosition(const Step& s, std::string& why);
  bool ExpectCentred(const Step& s, std::string& why);
  bool ExpectStyle(const Step& s, std::string& why);
  bool ExpectNoStyle(const Step& s, std::string& why);
  bool ExpectExStyle(const Step& s, std::string& why);
  bool ExpectText(const Step& s, std::string& why);
  bool ExpectBoxText(const Step& s, std::string& why);
  bool ExpectEnabled(const Step& s, std::string& why);
  bool ExpectDisabled(const Step& s, std::string& why);
  bool Close(const Step& s, std::string& why);
  bool Command(const Step& s, std::string& why);
  bool ClickControl(const Step& s, std::string& why);
  bool PressControl(const Step& s, std::string& why);
  bool Key(const Step& s, std::string& why);
  bool SetControlText(const Step& s, std::string& why);
  bool WaitExit(const Step& s, std::string& why);
  bool Timeout(const Step& s, std::string& why);
  bool Pause(const Step& s, std::string& why);

  bool DemoGame(const Step& s, std::string& why);
  bool CopyAFile(const Step& s, std::string& why);
  bool WritePicture(const Step& s, std::string& why);
  bool WaitText(const Step& s, std::string& why);
  bool WaitTextContains(const Step& s, std::string& why);
  bool WaitTextMatching(const Step& s, bool whole, std::string& why);
  bool SetPath(const Step& s, std::string& why);
  bool AnswerOpen(const Step& s, std::string& why);
  bool SelectItem(const Step& s, std::string& why);
  bool HScroll(const Step& s, std::string& why);
  bool Notify(const Step& s, std::string& why);
  bool DropFile(const Step& s, std::string& why);
  bool ExpectWindowCount(const Step& s, std::string& why);
  bool ExpectHero(const Step& s, std::string& why);
  bool ExpectHeroNot(const Step& s, std::string& why);
  bool WaitHero(const Step& s, std::string& why);
  bool CheckHero(const Step& s, bool equal, std::string& why);
  bool RememberFace(const Step& s, std::string& why);
  bool ExpectFaceChanged(const Step& s, std::string& why);
  bool ExpectFaceSame(const Step& s, std::string& why);
  bool CompareFace(const Step& s, bool changed, std::string& why);
  bool RememberSize(const Step& s, std::string& why);
  bool Screenshot(const Step& s, std::string& why);
  bool Elapsed(const Step& s, std::string& why);
  bool ExpectSmaller(const Step& s, std::string& why);

  bool SetGameVersion(const Step& s, std::string& why);
  bool SetMarker(const Step& s, std::string& why);
  bool ExpectMarker(const Step& s, std::string& why);
  bool StartHere(const Step& s, std::string& why);
  bool DeleteAFile(const Step& s, std::string& why);
  bool ExpectNoFile(const Step& s, std::string& why);
  bool RememberFile(const Step& s, std::string& why);
  bool ExpectFileSame(const Step& s, std::string& why);
  bool ExpectFileChanged(const Step& s, std::string& why);
  bool ExpectFileTimes(const Step& s, std::string& why);
  bool ExpectPayload(const Step& s, std::string& why);
  bool ExpectStubOf(const Step& s, std::string& why);
  bool ExpectPayloadBlob(const Step& s, std::string& why);
  bool ExpectEntriesSame(const Step& s, std::string& why);
  bool CopyProgramFiles(const Step& s, std::string& why);
  bool ExpectLanguage(const Step& s, std::string& why);

  // The scenario's (UTF-8) text as the programs' windows hold it; false when the system's code
  // page cannot hold one of its letters.
  static bool SystemTextOf(const std::string& utf8, std::string* text, std::string& why);
  bool NeedWindow(std::string& why) const;
  bool NeedProcess(std::string& why) const;
  // The id of a control named in a scenario (IDOK..., or a name from the program's id list).
  std::optional<long> ControlId(const std::string& name) const;
  HWND Control(const std::string& id_text, std::string& why) const;
  bool ExpectControlEnabled(const Step& s, bool enabled, std::string& why);
  std::string ProgramPath(const std::string& name) const;
  std::string WorkPath(const std::string& relative) const;

  RunnerOptions options_;
  std::optional<ChildProcess> process_;
  HWND window_ = nullptr;
  std::map<std::string, HWND> named_;
  struct RememberedFace {
    int index = 0;
    bool large = true;
    std::vector<uint8_t> bytes;
  };
  std::map<std::string, RememberedFace> faces_;
  std::map<std::string, unsigned long long> sizes_;
  struct RememberedFile {
    std::vector<uint8_t> bytes;
    FILETIME creation{};
    FILETIME last_write{};
  };
  std::map<std::string, RememberedFile> files_;
  std::map<std::string, std::string> paths_;  // where each remembered file lives
  DWORD start_tick_ = 0;
  std::string fresh_folder_;  // made by "workdir fresh"; removed after a passing run
};

}  // namespace qm::e2e
