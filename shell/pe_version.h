// Portable reader for the version block of a Windows executable (PE32 or PE32+).
//
//   std::optional<qm::PeProductVersion> v = qm::ReadPeProductVersion(bytes);
//   if (v) { major = v->ms >> 16; minor = v->ms & 0xFFFF; build = v->ls >> 16; ... }
//
// Finds the version resource (type 16, name 1, the first language stored) through the
// resource directory of the image's .rsrc data and reads the product version of its fixed
// file information, the same numbers Windows' VerQueryValueA(block, "\\") gives. Works on the
// file as stored on disk (raw section offsets), never maps or runs anything.
//
// Input is untrusted: every offset and size is checked against the data before it is used,
// directory walks have a fixed depth, images of more than 96 sections are refused, and no
// single read is larger than a hundred bytes whatever the headers claim. Anything malformed
// gives std::nullopt.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>

namespace qm {

// dwProductVersionMS / dwProductVersionLS of VS_FIXEDFILEINFO.
struct PeProductVersion {
  uint32_t ms = 0;  // major << 16 | minor
  uint32_t ls = 0;  // build << 16 | revision
};

// Random access to the bytes of an image: fills `out` with `size` bytes from `offset`, or
// returns false when they are not all there.
using PeByteSource = std::function<bool(uint64_t offset, void* out, size_t size)>;

std::optional<PeProductVersion> ReadPeProductVersion(const PeByteSource& source);
std::optional<PeProductVersion> ReadPeProductVersion(std::span<const uint8_t> image);
// Reads only the few pieces of the file the walk needs; nullopt when the file cannot be read.
std::optional<PeProductVersion> ReadPeProductVersionOfFile(const std::string& path);

}  // namespace qm
