#include "skin/option_state.h"

#include <algorithm>

#include "heroes/value_tables.h"
#include "shell/language.h"
#include "skin/control_ids.h"

namespace qm::skin {

FaceOptions& Options() {
  static FaceOptions options;
  return options;
}

int FlipOption(FaceOptions* o, int id) {
  switch (id) {
    case kIdAspectCheck:
    case kIdAspectLabel:
      o->aspect_lock = !o->aspect_lock;
      return kIdAspectCheck;
    case kIdXRangeCheck:
    case kIdXRangeLabel:
      o->use_x_range = !o->use_x_range;
      return kIdXRangeCheck;
    case kIdYRangeCheck:
    case kIdYRangeLabel:
      o->use_y_range = !o->use_y_range;
      return kIdYRangeCheck;
    case kIdAutoRingCheck:
    case kIdAutoRingLabel:
      o->auto_ring = !o->auto_ring;
      return kIdAutoRingCheck;
    case kIdSmallCopyCheck:
    case kIdSmallCopyLabel:
      o->small_face_copy = !o->small_face_copy;
      return kIdSmallCopyCheck;
    default:
      return 0;
  }
}

bool OptionIsOn(const FaceOptions& o, int check_id) {
  switch (check_id) {
    case kIdAspectCheck:
      return o.aspect_lock;
    case kIdXRangeCheck:
      return o.use_x_range;
    case kIdYRangeCheck:
      return o.use_y_range;
    case kIdAutoRingCheck:
      return o.auto_ring;
    case kIdSmallCopyCheck:
      return o.small_face_copy;
    default:
      return false;
  }
}

int ResizeMethodOfName(std::string_view name) {
  return static_cast<int>(IdOfLabel(kResizeMethodTable, name, ProgramText));
}

void OrderedSelection(int a, int b, int* start, int* end) {
  const uint16_t ua = static_cast<uint16_t>(a), ub = static_cast<uint16_t>(b);
  *start = std::min(ua, ub);
  *end = std::max(ua, ub);
}

TrackStep RangeTracker::OnScroll(int code, int position) {
  TrackStep step;
  const uint16_t pos = static_cast<uint16_t>(position);
  if (!tracking_) {
    if (code == kTrackThumbTrack) {
      anchor_ = pos;
      tracking_ = true;
    }
    return step;
  }
  if (code != kTrackThumbTrack && code != kTrackThumbPosition) return step;
  step.set_selection = true;
  OrderedSelection(anchor_, pos, &step.start, &step.end);
  if (code == kTrackThumbPosition) {
    step.store = true;
    if (anchor_ != pos) {
      step.low = step.start;
      step.high = step.end;
    }
    tracking_ = false;
  }
  return step;
}

}  // namespace qm::skin
