#include "tools/skinart/layout.h"

#include <stdexcept>
#include <string>

#include "skin/control_layout.h"

namespace qm::skinart {

Rect ControlRect(int id) {
  const skin::ControlSpec* spec = skin::FindControlSpec(id);
  if (spec == nullptr) throw std::logic_error("no control " + std::to_string(id));
  return {spec->left, spec->top, spec->width, spec->height};
}

}  // namespace qm::skinart
