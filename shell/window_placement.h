// Where a top-level window of a given size sits when centred on the screen.
//
//   qm::WindowOrigin at = qm::CentredOrigin(screen_w, screen_h, 540, 440);
//
// left = (screen width - width) / 2 and top = (screen height - height) / 2, each division
// truncating toward zero; on a screen smaller than the window they are negative and the
// window is still placed there.
#pragma once

namespace qm {

struct WindowOrigin {
  int left;
  int top;
};

constexpr WindowOrigin CentredOrigin(int screen_width, int screen_height, int width, int height) {
  return WindowOrigin{(screen_width - width) / 2, (screen_height - height) / 2};
}

}  // namespace qm
