// The option panel's settings, which steer picture import, and the logic of its controls.
//
//   qm::FaceOptions& o = qm::skin::Options();   // read by face fitting; lives for the run
//   FlipOption(&o, kIdAspectLabel);             // a click on a check box or its label
//   RangeTracker x;                             // one per trackbar
//   auto step = x.OnScroll(TB_THUMBTRACK, 80);  // first tracking notification: anchor 80
//   step = x.OnScroll(TB_THUMBPOSITION, 20);    // selection 20..80, range stored as (20, 80)
//
// A range is chosen by dragging a trackbar's thumb from one end of the span to the other: the
// first tracking notification of a drag sets the anchor, the final position closes it. Clicks
// on the channel and keyboard moves select nothing. A drag that ends where it began stores no
// range (0, 0).
#pragma once

#include <cstdint>
#include <string_view>

#include "portrait/face_fit.h"

namespace qm::skin {

FaceOptions& Options();

// Flips the option of a check box or its label; returns the check box's id, or 0 when `id`
// belongs to no option.
int FlipOption(FaceOptions* options, int id);
// Whether the option of a check box id is on (false for other ids).
bool OptionIsOn(const FaceOptions& options, int check_id);

// The resize method whose localized name equals `name` (ASCII case folded); 0 when none.
int ResizeMethodOfName(std::string_view name);

constexpr int kTrackThumbTrack = 5;     // TB_THUMBTRACK
constexpr int kTrackThumbPosition = 4;  // TB_THUMBPOSITION

struct TrackStep {
  bool set_selection = false;  // show the selection start..end
  int start = 0, end = 0;
  bool store = false;  // store low..high as the range
  int low = 0, high = 0;
};

class RangeTracker {
 public:
  TrackStep OnScroll(int code, int position);
  bool tracking() const { return tracking_; }

 private:
  bool tracking_ = false;
  uint16_t anchor_ = 0;
};

// The trackbar selection between positions a and b (16-bit, compared unsigned).
void OrderedSelection(int a, int b, int* start, int* end);

}  // namespace qm::skin
