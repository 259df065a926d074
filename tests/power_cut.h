// Simulated power cuts, after SQLite's crash tests. A recorder at the OS seam
// (recording::Observer in base/file.h) notes every change an operation asks of the files under
// one folder. Afterwards, for every step of the operation, the states a power cut at that step
// could leave on the disk are rebuilt from the record:
//   - a file's writes reach the disk for certain once its stream is synced; writes since then
//     are each dropped, kept whole, or torn at 512-byte sectors (each sector kept or not);
//   - name changes (new files, renames, deletions) reach the disk for certain once a folder is
//     synced; of those since, an oldest-first run is kept, as a file system's journal does.
//
//   PowerCut cut(game_folder);                          // takes the files as they are now
//   cut.TreatAsArchive("DATA/UPDATES.H4R");            // compared by entries, not bytes
//   cut.Record([&] { return catalogue.Save(archive); });
//   const PowerCut::Tally t = cut.CheckEveryStep(6);   // 6 random states per step and more
//   EXPECT_EQ(t.failures, 0u) << t.first_failure;
//
// Every state must hold, for each file, what it held before the operation or what it holds
// after it (missing counts as a content): bytes for plain files, entries for archives (every
// record's fields but its data offset, and every entry's content). Temporary files ("QLM*",
// "H4R.$$$") are scratch and may be in any state.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "base/status.h"

namespace qm::test {

class PowerCut {
 public:
  explicit PowerCut(const std::filesystem::path& folder);
  ~PowerCut();
  PowerCut(const PowerCut&) = delete;
  PowerCut& operator=(const PowerCut&) = delete;

  // `relative` (forward slashes) is an H4R archive: its states are compared by their entries.
  void TreatAsArchive(const std::string& relative);

  // Runs the operation with the recorder installed; the files after it are the new state.
  Status Record(const std::function<Status()>& operation);

  struct Tally {
    size_t steps = 0;   // points at which the power was cut
    size_t states = 0;  // states checked
    size_t failures = 0;
    std::string first_failure;
  };
  // At each step: the state with nothing unsynced kept, the one with everything kept, and
  // `random_states` random ones (QM_POWER_CUT_STATES in the environment overrides the number).
  Tally CheckEveryStep(size_t random_states, uint32_t seed = 1);

  // The number of recorded changes (writes, syncs, name changes).
  size_t events() const;

 private:
  struct Model;
  std::unique_ptr<Model> model_;
};

// Prints "power cut: <operation>: N states checked at S steps" (and how many failed, if any).
void PrintTally(const std::string& operation, const PowerCut::Tally& tally);

}  // namespace qm::test
