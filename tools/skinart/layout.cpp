#include "tools/skinart/layout.h"

#include <stdexcept>
#include <string>

#include "skin/control_layout.h"

namespace qm::skinart {

Rect ControlRect(int id) {
  const skin::ControlSpec* control_spec = skin::FindControlSpec(id);
  if (control_spec == nullptr) throw std::logic_error("no control " + std::to_string(id));
  return {control_spec->left, control_spec->top, control_spec->width, control_spec->height};
}

}  // namespace qm::skinart
