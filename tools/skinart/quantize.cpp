#include "tools/skinart/quantize.h"

#include <algorithm>
#include <array>
#include <stdexcept>
#include <unordered_map>

namespace qm::skinart {
namespace {

struct Entry {
  uint32_t colour;
  uint32_t count;
};

int Channel(uint32_t colour, int c) { return static_cast<int>((colour >> (8 * c)) & 0xFF); }

// A box of the median cut: a run of the histogram.
struct CutBox {
  size_t begin;
  size_t end;
  uint64_t error;  // sum of squared deviations from the mean, all channels
  int widest;      // channel with the largest variance
};

CutBox MakeBox(const std::vector<Entry>& hist, size_t begin, size_t end) {
  std::array<uint64_t, 3> sum{}, sum2{};
  uint64_t n = 0;
  for (size_t i = begin; i < end; ++i) {
    for (int c = 0; c < 3; ++c) {
      const uint64_t v = static_cast<uint64_t>(Channel(hist[i].colour, c));
      sum[static_cast<size_t>(c)] += v * hist[i].count;
      sum2[static_cast<size_t>(c)] += v * v * hist[i].count;
    }
    n += hist[i].count;
  }
  CutBox box{begin, end, 0, 0};
  uint64_t best = 0;
  for (int c = 0; c < 3; ++c) {
    const size_t k = static_cast<size_t>(c);
    // n x variance = sum2 - sum^2 / n, kept integer.
    const uint64_t scaled = n > 0 ? sum2[k] - sum[k] * sum[k] / n : 0;
    box.error += scaled;
    if (c == 0 || scaled > best) {
      best = scaled;
      box.widest = c;
    }
  }
  if (end - begin < 2) box.error = 0;
  return box;
}

uint32_t Mean(const std::vector<Entry>& hist, size_t begin, size_t end) {
  std::array<uint64_t, 3> sum{};
  uint64_t n = 0;
  for (size_t i = begin; i < end; ++i) {
    for (int c = 0; c < 3; ++c) {
      sum[static_cast<size_t>(c)] += static_cast<uint64_t>(Channel(hist[i].colour, c)) * hist[i].count;
    }
    n += hist[i].count;
  }
  if (n == 0) return 0;
  return MakeColour(static_cast<uint32_t>((sum[0] + n / 2) / n), static_cast<uint32_t>((sum[1] + n / 2) / n),
                    static_cast<uint32_t>((sum[2] + n / 2) / n));
}

int Distance(int r, int g, int b, uint32_t colour) {
  const int dr = r - Channel(colour, 0);
  const int dg = g - Channel(colour, 1);
  const int db = b - Channel(colour, 2);
  return 3 * dr * dr + 4 * dg * dg + 2 * db * db;
}

class Matcher {
 public:
  Matcher(const std::vector<uint32_t>& palette, size_t key_index)
      : palette_(palette), key_index_(key_index) {}

  uint8_t Nearest(int r, int g, int b) {
    const uint32_t colour = MakeColour(static_cast<uint32_t>(r), static_cast<uint32_t>(g), static_cast<uint32_t>(b));
    auto it = memo_.find(colour);
    if (it != memo_.end()) return it->second;
    size_t best = 0;
    int best_distance = -1;
    for (size_t i = 0; i < palette_.size(); ++i) {
      if (i == key_index_) continue;
      const int d = Distance(r, g, b, palette_[i]);
      if (best_distance < 0 || d < best_distance) {
        best_distance = d;
        best = i;
      }
    }
    const uint8_t index = static_cast<uint8_t>(best);
    memo_.emplace(colour, index);
    return index;
  }

 private:
  const std::vector<uint32_t>& palette_;
  size_t key_index_;
  std::unordered_map<uint32_t, uint8_t> memo_;
};

std::vector<Entry> Histogram(const Picture& picture, const Canvas& canvas) {
  std::vector<uint32_t> colours;
  for (int y = 0; y < canvas.height(); ++y) {
    for (int x = 0; x < canvas.width(); ++x) {
      if (!canvas.IsKey(x, y)) colours.push_back(picture.at(x, y));
    }
  }
  std::sort(colours.begin(), colours.end());
  std::vector<Entry> hist;
  for (uint32_t c : colours) {
    if (!hist.empty() && hist.back().colour == c) {
      ++hist.back().count;
    } else {
      hist.push_back({c, 1});
    }
  }
  return hist;
}

std::vector<uint32_t> MedianCut(std::vector<Entry> hist, size_t wanted) {
  std::vector<CutBox> boxes;
  if (!hist.empty()) boxes.push_back(MakeBox(hist, 0, hist.size()));
  while (boxes.size() < wanted) {
    size_t pick = boxes.size();
    for (size_t i = 0; i < boxes.size(); ++i) {
      if (boxes[i].error > 0 && (pick == boxes.size() || boxes[i].error > boxes[pick].error)) pick = i;
    }
    if (pick == boxes.size()) break;
    const CutBox box = boxes[pick];
    const int c = box.widest;
    std::stable_sort(hist.begin() + static_cast<ptrdiff_t>(box.begin), hist.begin() + static_cast<ptrdiff_t>(box.end),
                     [c](const Entry& a, const Entry& b) { return Channel(a.colour, c) < Channel(b.colour, c); });
    uint64_t total = 0;
    for (size_t i = box.begin; i < box.end; ++i) total += hist[i].count;
    uint64_t running = 0;
    size_t split = box.begin + 1;
    for (size_t i = box.begin; i + 1 < box.end; ++i) {
      running += hist[i].count;
      split = i + 1;
      if (2 * running >= total) break;
    }
    boxes[pick] = MakeBox(hist, box.begin, split);
    boxes.push_back(MakeBox(hist, split, box.end));
  }
  std::vector<uint32_t> palette;
  for (const CutBox& box : boxes) palette.push_back(Mean(hist, box.begin, box.end));
  return palette;
}

// Lloyd rounds: every free entry moves to the mean of the colours nearest to it.
void Refine(const std::vector<Entry>& hist, std::vector<uint32_t>& palette, size_t first_free, size_t key_index) {
  for (int round = 0; round < 2; ++round) {
    std::vector<std::array<uint64_t, 4>> sums(palette.size(), std::array<uint64_t, 4>{});
    Matcher matcher(palette, key_index);
    for (const Entry& e : hist) {
      const uint8_t i = matcher.Nearest(Channel(e.colour, 0), Channel(e.colour, 1), Channel(e.colour, 2));
      for (int c = 0; c < 3; ++c) sums[i][static_cast<size_t>(c)] += static_cast<uint64_t>(Channel(e.colour, c)) * e.count;
      sums[i][3] += e.count;
    }
    for (size_t i = first_free; i < palette.size(); ++i) {
      const uint64_t n = sums[i][3];
      if (n == 0) continue;
      palette[i] = MakeColour(static_cast<uint32_t>((sums[i][0] + n / 2) / n), static_cast<uint32_t>((sums[i][1] + n / 2) / n),
                              static_cast<uint32_t>((sums[i][2] + n / 2) / n));
    }
  }
}

}  // namespace

Picture ToPicture(const Canvas& canvas) {
  Picture picture(canvas.width(), canvas.height());
  for (int y = 0; y < canvas.height(); ++y) {
    for (int x = 0; x < canvas.width(); ++x) {
      const Rgb p = canvas.Get(x, y);
      picture.at(x, y) = canvas.IsKey(x, y) ? kKeyColour : MakeColour(ToByte(p.r), ToByte(p.g), ToByte(p.b));
    }
  }
  return picture;
}

Picture Expand(const IndexedImage& image) {
  Picture picture(image.width, image.height);
  for (size_t i = 0; i < image.indices.size(); ++i) picture.pixels()[i] = image.palette[image.indices[i]];
  return picture;
}

IndexedImage Quantize(const Canvas& canvas, const std::vector<uint32_t>& reserved, double dither) {
  const auto key_it = std::find(reserved.begin(), reserved.end(), kKeyColour);
  if (key_it == reserved.end() || reserved.size() >= 256) throw std::invalid_argument("bad reserved colours");
  const size_t key_index = static_cast<size_t>(key_it - reserved.begin());

  const Picture picture = ToPicture(canvas);
  const std::vector<Entry> hist = Histogram(picture, canvas);
  std::vector<uint32_t> palette = reserved;
  for (uint32_t c : MedianCut(hist, 256 - reserved.size())) palette.push_back(c);
  Refine(hist, palette, reserved.size(), key_index);
  while (palette.size() < 256) palette.push_back(kColourBlack);

  IndexedImage out;
  out.width = canvas.width();
  out.height = canvas.height();
  out.palette = palette;
  out.indices.assign(static_cast<size_t>(out.width) * static_cast<size_t>(out.height), 0);

  // Errors in 1/16 units, two rows; serpentine scan.
  const int strength = static_cast<int>(Clamp(dither, 0, 1) * 256 + 0.5);
  const int w = out.width;
  std::vector<std::array<int, 3>> current(static_cast<size_t>(w) + 2), next(static_cast<size_t>(w) + 2);
  Matcher matcher(palette, key_index);
  for (int y = 0; y < out.height; ++y) {
    std::fill(next.begin(), next.end(), std::array<int, 3>{});
    const bool forward = (y % 2) == 0;
    for (int step = 0; step < w; ++step) {
      const int x = forward ? step : w - 1 - step;
      const size_t at = static_cast<size_t>(y) * static_cast<size_t>(w) + static_cast<size_t>(x);
      if (canvas.IsKey(x, y)) {
        out.indices[at] = static_cast<uint8_t>(key_index);
        continue;
      }
      const uint32_t colour = picture.at(x, y);
      std::array<int, 3> want{};
      for (int c = 0; c < 3; ++c) {
        const size_t k = static_cast<size_t>(c);
        want[k] = std::clamp(Channel(colour, c) + current[static_cast<size_t>(x) + 1][k] / 16, 0, 255);
      }
      const uint8_t index = matcher.Nearest(want[0], want[1], want[2]);
      out.indices[at] = index;
      const int dir = forward ? 1 : -1;
      for (int c = 0; c < 3; ++c) {
        const size_t k = static_cast<size_t>(c);
        const int error = (want[k] - Channel(palette[index], c)) * strength / 256;
        current[static_cast<size_t>(x + dir) + 1][k] += error * 7;
        next[static_cast<size_t>(x - dir) + 1][k] += error * 3;
        next[static_cast<size_t>(x) + 1][k] += error * 5;
        next[static_cast<size_t>(x + dir) + 1][k] += error * 1;
      }
    }
    std::swap(current, next);
  }
  return out;
}

}  // namespace qm::skinart
