// Face sizes: every hero has a large face of 82 x 82 pixels and a small one of 52 x 52. The
// size kind always travels with a portrait image; the image itself does not state it.
#pragma once

#include <cstdint>

namespace qm {

enum class FaceKind : uint8_t { kLarge, kSmall };

constexpr int kLargeFaceSize = 82;
constexpr int kSmallFaceSize = 52;

constexpr int FaceSize(FaceKind kind) { return kind == FaceKind::kLarge ? kLargeFaceSize : kSmallFaceSize; }
// "large" or "small", as file names and messages name the kinds.
constexpr const char* FaceKindWord(FaceKind kind) { return kind == FaceKind::kLarge ? "large" : "small"; }

}  // namespace qm
