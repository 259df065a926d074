// Where the open dialog's preview pane draws a picture of w x h inside its inner rectangle of
// bw x bh at (left, top):
//   - smaller on both sides: at its own size, centred;
//   - else, when bh / h < bw / w (floating-point quotients): height-bound, drawn bh high and
//     w * bh / h wide, centred across;
//   - else (equal quotients included): width-bound, drawn bw wide and h * bw / w high,
//     centred down.
// Integer divisions drop the fraction. A picture or pane without area gives an empty rectangle.
#pragma once

#include "portrait/picture.h"

namespace qm {

PixelRect PreviewPlacement(int w, int h, PixelRect inner);

}  // namespace qm
