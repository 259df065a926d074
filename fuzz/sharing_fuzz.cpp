// Fuzzes the restore walk and the patch apply with the input as the stub program's file, on a
// scratch game folder. Properties: nothing crashes or reads out of bounds; nothing is written
// outside the game folder; no temporary file is left behind.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <set>
#include <string>

#include "archive/h4r_writer.h"
#include "archive/payload.h"
#include "fuzz/fuzz_files.h"
#include "patcher/patch_apply.h"
#include "restore/restore_walk.h"

using qm::fuzz::Check;

namespace {

// The last parts of the payload's names: files the walks may make.
std::set<std::string> PayloadFileNames(const std::string& exe) {
  std::set<std::string> names;
  qm::PayloadReader reader;
  if (!qm::PayloadReader::Open(exe, &reader)) return names;
  for (const qm::PayloadRecord& rec : reader.records()) {
    const size_t at = rec.name.find_last_of("\\/");
    names.insert(at == std::string::npos ? rec.name : rec.name.substr(at + 1));
  }
  return names;
}

// Only the game folder and the program may be in the scratch folder, and no temporary "QLM"
// file anywhere below it.
void CheckNothingEscaped(const std::filesystem::path& scratch, const std::set<std::string>& payload_names) {
  for (const auto& entry : std::filesystem::directory_iterator(scratch)) {
    const std::string name = entry.path().filename().string();
    Check(name == "game" || name == "STUB.EXE");
  }
  for (const auto& entry : std::filesystem::recursive_directory_iterator(scratch / "game")) {
    const std::string name = entry.path().filename().string();
    Check(name.rfind("QLM", 0) != 0 || payload_names.count(name) > 0);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string exe = qm::fuzz::ScratchFile("STUB.EXE");
  static const std::filesystem::path scratch = qm::fuzz::ScratchFolder();
  const std::filesystem::path game = scratch / "game";
  std::filesystem::remove_all(game);
  std::filesystem::create_directories(game / "DATA");
  const std::string folder = game.string() + "/";
  const std::string updates = folder + "DATA/UPDATES.H4R";
  Check(qm::CreateArchive(updates).ok());
  qm::fuzz::WriteScratch(exe, data, size);

  const std::set<std::string> names = PayloadFileNames(exe);
  (void)qm::RestoreFromPayload(exe, folder);
  CheckNothingEscaped(scratch, names);
  if (!std::filesystem::exists(updates)) Check(qm::CreateArchive(updates).ok());
  for (qm::UpdateKind kind : {qm::UpdateKind::kText, qm::UpdateKind::kPortraits}) {
    (void)qm::ApplyPatch(exe, folder, qm::TargetArchiveForGame(folder), kind);
    CheckNothingEscaped(scratch, names);
  }
  return 0;
}
