#include "portrait/palette.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace qm {
namespace {

constexpr int kMaxColours = kPaletteSize - 1;  // entries 1 .. 255
constexpr int kLeafLevel = 6;                  // only the top 6 bits of a component count
constexpr int32_t kNoNode = -1;

// Exact collection; false when a 256th distinct colour shows up.
bool CollectExactPalette(const Picture& face, Palette* palette) {
  palette->fill(kColourBlack);
  int next = 1;
  for (const uint32_t colour : face.pixels()) {
    bool known = false;
    for (int i = 1; i < next && !known; ++i) known = (*palette)[i] == colour;
    if (known) continue;
    if (next > kMaxColours) return false;
    (*palette)[next++] = colour;
  }
  return true;
}

// Colour octree with a node pool: released nodes are reused, so memory stays bounded by the
// 255-leaf limit whatever the picture size.
class Octree {
 public:
  void Insert(uint32_t colour);
  int leaf_count() const { return leaf_count_; }
  // Merges the children of the most recently created node of the deepest level that still
  // has one; false when no node is left to merge.
  bool Reduce();
  void ReadOut(Palette* palette) const;

 private:
  struct Node {
    bool leaf = false;
    uint64_t pixel_count = 0;
    uint64_t red_sum = 0, green_sum = 0, blue_sum = 0;
    int32_t child[8] = {kNoNode, kNoNode, kNoNode, kNoNode, kNoNode, kNoNode, kNoNode, kNoNode};
    int32_t next = kNoNode;  // next node of the same level's reducible list
  };

  int32_t NewNode(int level);
  void Release(int32_t node) { free_.push_back(node); }
  void ReadOutFrom(int32_t node, Palette* palette, int* next) const;

  std::vector<Node> nodes_;
  std::vector<int32_t> free_;
  int32_t root_ = kNoNode;
  int leaf_count_ = 0;
  int32_t reducible_[kLeafLevel + 1] = {kNoNode, kNoNode, kNoNode, kNoNode,
                                        kNoNode, kNoNode, kNoNode};
};

int32_t Octree::NewNode(int level) {
  int32_t id;
  if (!free_.empty()) {
    id = free_.back();
    free_.pop_back();
    nodes_[static_cast<size_t>(id)] = Node();
  } else {
    id = static_cast<int32_t>(nodes_.size());
    nodes_.emplace_back();
  }
  Node& node = nodes_[static_cast<size_t>(id)];
  if (level == kLeafLevel) {
    node.leaf = true;
    ++leaf_count_;
  } else {
    node.next = reducible_[level];
    reducible_[level] = id;
  }
  return id;
}

void Octree::Insert(uint32_t colour) {
  const uint32_t r = RedOf(colour), g = GreenOf(colour), b = BlueOf(colour);
  // The slot is named by its parent and child index rather than by address: creating a node
  // may move the pool.
  int32_t parent = kNoNode;
  int child_index = 0;
  for (int level = 0;; ++level) {
    int32_t id = parent == kNoNode ? root_ : nodes_[static_cast<size_t>(parent)].child[child_index];
    if (id == kNoNode) {
      id = NewNode(level);
      if (parent == kNoNode) {
        root_ = id;
      } else {
        nodes_[static_cast<size_t>(parent)].child[child_index] = id;
      }
    }
    Node& node = nodes_[static_cast<size_t>(id)];
    if (node.leaf) {
      ++node.pixel_count;
      node.red_sum += r;
      node.green_sum += g;
      node.blue_sum += b;
      return;
    }
    const int shift = 7 - level;
    child_index = static_cast<int>(((r >> shift) & 1) << 2 | ((g >> shift) & 1) << 1 |
                                   ((b >> shift) & 1));
    parent = id;
  }
}

bool Octree::Reduce() {
  int level = kLeafLevel - 1;
  while (level > 0 && reducible_[level] == kNoNode) --level;
  const int32_t id = reducible_[level];
  if (id == kNoNode) return false;
  Node& node = nodes_[static_cast<size_t>(id)];
  reducible_[level] = node.next;
  node.next = kNoNode;
  int released = 0;
  for (int32_t& child : node.child) {
    if (child == kNoNode) continue;
    const Node& c = nodes_[static_cast<size_t>(child)];
    node.pixel_count += c.pixel_count;
    node.red_sum += c.red_sum;
    node.green_sum += c.green_sum;
    node.blue_sum += c.blue_sum;
    Release(child);
    child = kNoNode;
    ++released;
  }
  node.leaf = true;
  leaf_count_ += 1 - released;
  return true;
}

void Octree::ReadOutFrom(int32_t id, Palette* palette, int* next) const {
  if (id == kNoNode) return;
  const Node& node = nodes_[static_cast<size_t>(id)];
  if (node.leaf) {
    if (*next > kMaxColours || node.pixel_count == 0) return;
    (*palette)[*next] = MakeColour(static_cast<uint32_t>(node.red_sum / node.pixel_count),
                                   static_cast<uint32_t>(node.green_sum / node.pixel_count),
                                   static_cast<uint32_t>(node.blue_sum / node.pixel_count));
    ++*next;
    return;
  }
  for (const int32_t child : node.child) ReadOutFrom(child, palette, next);
}

void Octree::ReadOut(Palette* palette) const {
  palette->fill(kColourBlack);
  int next = 1;
  ReadOutFrom(root_, palette, &next);
}

}  // namespace

Palette BuildPalette(const Picture& face) {
  Palette palette;
  if (CollectExactPalette(face, &palette)) return palette;

  Octree tree;
  for (const uint32_t colour : face.pixels()) {
    tree.Insert(colour);
    while (tree.leaf_count() > kMaxColours && tree.Reduce()) {
    }
  }
  tree.ReadOut(&palette);
  return palette;
}

uint8_t NearestPaletteIndex(const Palette& palette, uint32_t colour) {
  int best = 1;
  int32_t best_distance = INT32_MAX;
  for (int i = 1; i < kPaletteSize; ++i) {
    const int32_t dr = int32_t{RedOf(palette[i])} - RedOf(colour);
    const int32_t dg = int32_t{GreenOf(palette[i])} - GreenOf(colour);
    const int32_t db = int32_t{BlueOf(palette[i])} - BlueOf(colour);
    const int32_t distance = 29 * (dr * dr + 2 * dg * dg) + 14 * db * db;
    if (distance == 0) return static_cast<uint8_t>(i);
    if (distance < best_distance) {
      best_distance = distance;
      best = i;
    }
  }
  return static_cast<uint8_t>(best);
}

}  // namespace qm
