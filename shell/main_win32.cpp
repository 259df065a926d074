// quillmark.exe: the hero editor.
#include <windows.h>

#include "shell/editor_app_win32.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) { return qm::RunEditor(instance); }
