// qlmksfx.exe: the patcher stub that the editor writes out with its edits appended.
#include <windows.h>

#include "patcher/patcher_app_win32.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) { return qm::patcher::Run(instance); }
