// MakeSFX: the patcher program with the catalogue's hero table and twelve portrait bundles
// appended, to hand to other players.
//
//   qm::Status s = qm::BuildPatcher(&catalogue, patcher_stub_bytes, game_folder + "QLMKSFX.EXE");
//   s ? "Produced QLMKSFX.EXE in your HOMM4 directory." : "Failed to build QLMKSFX.EXE"
//
// First, when the catalogue's last record is not complete (HeroCatalogue::IsComplete), it is
// dropped from the catalogue, as the editor has always done: the record count stays one lower
// until the catalogue is loaded again. Then the stub, with its payload begun
// (archive/stub_file.h), is written to a new temporary file in the folder of `out_path` and
// thirteen compressed entries are appended in this slot order:
//   0 "table.heroes.h4d", then for nature, life, order, death, chaos, might in turn the small
//   bundle "layers.icons.hero.<alignment>.52.h4d" and the large ".82.h4d".
// Only when all thirteen were appended is the file flushed to the disk and put in place of
// `out_path` in one step; any failure (a bundle's included) deletes the temporary file, leaves
// an older patcher as it was and reports why.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "base/status.h"

namespace qm {

class HeroCatalogue;

constexpr size_t kPatcherEntryCount = 13;

Status BuildPatcher(HeroCatalogue* catalogue, std::span<const uint8_t> patcher_stub, const std::string& out_path);

}  // namespace qm
