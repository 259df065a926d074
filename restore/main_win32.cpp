// restore.exe: the restore stub that the editor writes out with a backup appended.
#include <windows.h>

#include "restore/restore_app_win32.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return qm::restore::Run(); }
