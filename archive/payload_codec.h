// Turns a stored payload back into its content, the way zlib's gzip file reader does.
//
//   std::vector<uint8_t> content;
//   DecodeReport report;
//   Status s = DecodeStoredPayload(stored_bytes, content_size, &content, &report);
//
// A payload that begins with the gzip signature is inflated, member after member, until
// content-size bytes have come out; bytes after the last member are ignored. Any other payload
// is copied as it is (the game's raw entries carry their length in the stored size). A stream
// that ends early leaves the rest of the content zero-filled; a corrupt stream is a failure.
// The content always has exactly content-size bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "base/status.h"

namespace qm {

// Deflate expands at most 1032 to 1; a content size beyond that cannot come from the payload,
// so the reader refuses it before allocating anything.
constexpr uint64_t kMaxInflateRatio = 1032;
constexpr uint64_t kInflateSlack = 1024;

// Largest content size that `stored_size` payload bytes can produce.
constexpr uint64_t MaxContentForStored(uint64_t stored_size) { return stored_size * kMaxInflateRatio + kInflateSlack; }

struct DecodeReport {
  size_t produced = 0;    // content bytes the payload actually yielded
  bool gzip = false;      // the payload was a gzip stream (not a plain copy)
  bool longer = false;    // the payload holds more than content-size bytes
};

Status DecodeStoredPayload(std::span<const uint8_t> stored, uint32_t content_size, std::vector<uint8_t>* content,
                           DecodeReport* report = nullptr);

}  // namespace qm
