// The artwork: every skin image, the program icon and the patcher's background, drawn in true
// colour. skin_files.cpp turns them into the files the resource scripts include.
#pragma once

#include <vector>

#include "tools/skinart/bitmap_files.h"
#include "tools/skinart/canvas.h"

namespace qm::skinart {

// Main window backdrop, 540 x 440; key pixels form the window's outline.
Canvas DrawMainBackdrop();
// Button sheet, 48 x 82: check boxes, arrows, close and minimize buttons (key-coloured around).
Canvas DrawButtonSheet();
// Backdrop of the about and option panels, 480 x 240.
Canvas DrawPanelBackdrop();
// Background of the patcher's window, 480 x 240.
Canvas DrawPatcherBackground();
// The face views' picture before any face is shown: an empty round well, 82 or 52 wide.
Canvas DrawEmptyFace(int size);
// A program's icon at 16, 32 and 48 pixels.
enum class Program { kEditor, kPatcher, kRestore };
std::vector<IconImage> DrawIcon(Program program);

}  // namespace qm::skinart
