// Portable reader for the version block of a Windows executable (PE32 or PE32+).
//
//   std::optional<qm::PeProductVersion> v = qm::ReadPeProductVersion(bytes);
//   if (v) { major = v->ms >> 16; minor = v->ms & 0xFFFF; build = v->ls >> 16; ... }
//
// Finds the version resource (type 16, name 1, the first language stored) through the
// resource tree (shell/pe_resources.h, which treats its input as hostile) and reads the product
// version of its fixed file information, the same numbers Windows' VerQueryValueA(block, "\\")
// gives. Reads no more than the version block's head, never maps or runs anything. Anything
// malformed gives std::nullopt.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "shell/pe_resources.h"

namespace qm {

// dwProductVersionMS / dwProductVersionLS of VS_FIXEDFILEINFO.
struct PeProductVersion {
  uint32_t ms = 0;  // major << 16 | minor
  uint32_t ls = 0;  // build << 16 | revision
};

std::optional<PeProductVersion> ReadPeProductVersion(const PeByteSource& source);
std::optional<PeProductVersion> ReadPeProductVersion(std::span<const uint8_t> image);
// Reads only the few pieces of the file the walk needs; nullopt when the file cannot be read.
std::optional<PeProductVersion> ReadPeProductVersionOfFile(const std::string& path);

}  // namespace qm
