// The patcher's window: a 480 x 240 popup without a caption bar, class and caption
// "Quillmark SFX". Its skin and controls (folder box, DIR, Update and Quit buttons) live here.
#pragma once

#include <windows.h>

namespace qm::patcher {

constexpr char kClassName[] = "Quillmark SFX";  // also every caption of the patcher
constexpr int kWindowWidth = 480;
constexpr int kWindowHeight = 240;
constexpr WORD kIconId = 101;

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

}  // namespace qm::patcher
