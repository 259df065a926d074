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

namespace {

// The option panel's check boxes: each box's id, the id of the label beside it, and the option
// both of them switch.
struct OptionSwitch {
  int check;
  int label;
  bool FaceOptions::*option;
};
constexpr OptionSwitch kOptionSwitches[] = {
    {kIdAspectCheck, kIdAspectLabel, &FaceOptions::aspect_lock},
    {kIdXRangeCheck, kIdXRangeLabel, &FaceOptions::use_x_range},
    {kIdYRangeCheck, kIdYRangeLabel, &FaceOptions::use_y_range},
    {kIdAutoRingCheck, kIdAutoRingLabel, &FaceOptions::auto_ring},
    {kIdSmallCopyCheck, kIdSmallCopyLabel, &FaceOptions::small_face_copy},
};

}  // namespace

int FlipOption(FaceOptions* o, int id) {
  for (const OptionSwitch& s : kOptionSwitches) {
    if (id == s.check || id == s.label) {
      o->*s.option = !(o->*s.option);
      return s.check;
    }
  }
  return 0;
}

bool OptionIsOn(const FaceOptions& o, int check_id) {
  for (const OptionSwitch& s : kOptionSwitches) {
    if (check_id == s.check) return o.*s.option;
  }
  return false;
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
