#include "skin/key_region.h"

namespace qm::skin {
namespace {

// Rectangles of the runs whose pixels satisfy `wanted`, row by row; a run still open at the
// end of a row closes at the area's width.
template <typename Pred>
std::vector<SpanRect> Runs(const Picture& area, Pred wanted) {
  std::vector<SpanRect> runs;
  for (int y = 0; y < area.height(); ++y) {
    const uint32_t* row = area.row(y);
    int start = -1;
    for (int x = 0; x < area.width(); ++x) {
      if (wanted(row[x])) {
        if (start < 0) start = x;
      } else if (start >= 0) {
        runs.push_back({start, y, x, y + 1});
        start = -1;
      }
    }
    if (start >= 0) runs.push_back({start, y, area.width(), y + 1});
  }
  return runs;
}

}  // namespace

std::vector<SpanRect> KeyRuns(const Picture& area, uint32_t key) {
  return Runs(area, [key](uint32_t c) { return c == key; });
}

std::vector<SpanRect> OpaqueRuns(const Picture& area, uint32_t key) {
  return Runs(area, [key](uint32_t c) { return c != key; });
}

}  // namespace qm::skin
