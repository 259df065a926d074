#include "tools/skinart/layout.h"

#include <stdexcept>
#include <string>

#include "skin/control_layout.h"

namespace qm::skinart {

Rect ControlRect(int id) {
  const skin::ControlPlacement* placement = skin::FindControlPlacement(id);
  if (placement == nullptr) throw std::logic_error("no control " + std::to_string(id));
  return {placement->left, placement->top, placement->width, placement->height};
}

}  // namespace qm::skinart
