// Sharing and backup benchmarks: MakeSFX of the 998-record demo catalogue and its apply into a
// fresh game; the backup of a 200 MB UPDATES.H4R into the restore tool and its restore, against
// a plain copy of the same file, with the peak memory of the backup and restore.
//
//   sharing_bench WORK_FOLDER
//
// Prints one line per figure with its target. The files (about 600 MB at the peak) are made in
// WORK_FOLDER and removed again. QM_BENCH_QUICK: one round on small sizes (bench/bench_util.h).
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "base/file.h"
#include "base/path.h"
#include "bench/bench_util.h"
#include "heroes/game_paths.h"
#include "heroes/hero_catalogue.h"
#include "patcher/patch_apply.h"
#include "restore/restore_walk.h"
#include "shell/backup.h"
#include "shell/make_sfx.h"
#include "tools/demo_game/demo_game.h"

namespace {

using namespace bench;  // the benchmarks' shared helpers (bench/bench_util.h)

const size_t kDemoHeroes = Sized<size_t>(995, 30);                              // 998 records with the three fixed ones
const uint64_t kArchiveBytes = Sized<uint64_t>(200ull * 1000 * 1000, 2000000);  // the backed-up UPDATES.H4R
const int kRounds = Sized(3, 1);
constexpr double kMemoryTargetMb = 64;

std::vector<uint8_t> FakeStub() {
  std::vector<uint8_t> stub(200000, 0x90);
  stub[0] = 'M';
  stub[1] = 'Z';
  return stub;
}

bool WriteBigFile(const std::string& path) {
  qm::File file = qm::File::Open(path, qm::File::Mode::kCreate);
  if (!file.is_open()) return false;
  std::vector<uint8_t> block(1 << 20);
  for (uint64_t written = 0; written < kArchiveBytes; written += block.size()) {
    for (size_t i = 0; i < block.size(); i += 4096) block[i] = static_cast<uint8_t>(written >> 20);
    const size_t n = static_cast<size_t>(std::min<uint64_t>(block.size(), kArchiveBytes - written));
    if (!file.Write(block.data(), n)) return false;
  }
  return file.Close();
}

// Times in seconds of one round, written by the child through a pipe.
struct BackupRound {
  double backup = 0, restore = 0;
};

// Backs up and restores the game's UPDATES.H4R kRounds times in a child process, so that its
// peak memory is its own. Returns false on any failure.
bool RunBackupRounds(const std::string& game, std::vector<BackupRound>* rounds, double* peak_mb) {
  int fds[2];
  if (pipe(fds) != 0) return false;
  const pid_t child = fork();
  if (child < 0) return false;
  if (child == 0) {
    close(fds[0]);
    const std::string updates = game + "DATA/UPDATES.H4R";
    const std::string tool = game + "DATA/RESTORE.EXE";
    const std::vector<uint8_t> stub = FakeStub();
    for (int round = 0; round < kRounds; ++round) {
      BackupRound r;
      sync();
      auto start = Clock::now();
      if (!qm::WriteBackup(stub, tool, updates)) _exit(1);
      r.backup = Seconds(Clock::now() - start);
      sync();
      start = Clock::now();
      if (!qm::RestoreFromPayload(tool, game)) _exit(1);
      r.restore = Seconds(Clock::now() - start);
      if (write(fds[1], &r, sizeof r) != static_cast<ssize_t>(sizeof r)) _exit(1);
    }
    _exit(0);
  }
  close(fds[1]);
  BackupRound r;
  while (read(fds[0], &r, sizeof r) == static_cast<ssize_t>(sizeof r)) rounds->push_back(r);
  close(fds[0]);
  int status = 0;
  struct rusage usage {};
  if (wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0) return false;
  *peak_mb = static_cast<double>(usage.ru_maxrss) / 1024.0;  // kilobytes on Linux
  return rounds->size() == static_cast<size_t>(kRounds);
}

bool BenchBackup(const std::filesystem::path& folder) {
  const std::string game = (folder / "backup-game").string() + "/";
  std::filesystem::create_directories(game + "DATA");
  const std::string updates = game + "DATA/UPDATES.H4R";
  const std::string copy = (folder / "copy.h4r").string();
  if (!WriteBigFile(updates)) {
    std::fprintf(stderr, "sharing_bench: cannot write %s\n", updates.c_str());
    return false;
  }
  // The plain copy replaces an earlier copy, as each backup replaces the earlier RESTORE.EXE
  // and each restore the archive: letting go of the old file's blocks is part of both.
  std::vector<double> cp_times;
  const std::string cp_command = "cp '" + updates + "' '" + copy + "' && sync '" + copy + "'";
  if (std::system(cp_command.c_str()) != 0) {
    std::fprintf(stderr, "sharing_bench: cp failed\n");
    return false;
  }
  for (int round = 0; round < kRounds; ++round) {
    sync();
    const auto start = Clock::now();
    if (std::system(cp_command.c_str()) != 0) {
      std::fprintf(stderr, "sharing_bench: cp failed\n");
      return false;
    }
    cp_times.push_back(Seconds(Clock::now() - start));
  }
  std::filesystem::remove(copy);
  std::vector<BackupRound> rounds;
  double peak_mb = 0;
  if (!RunBackupRounds(game, &rounds, &peak_mb)) {
    std::fprintf(stderr, "sharing_bench: backup or restore failed\n");
    return false;
  }
  std::vector<double> backups, restores;
  for (const BackupRound& r : rounds) {
    backups.push_back(r.backup);
    restores.push_back(r.restore);
  }
  const double cp = Median(cp_times), backup = Median(backups), restore = Median(restores);
  std::printf("  backup and restore of a %.0f MB UPDATES.H4R against cp of the same file over an earlier\n"
              "  copy and a sync of it (each ends with the data on the disk; median of %d):\n",
              static_cast<double>(kArchiveBytes) / 1e6, kRounds);
  Figure("cp over a copy + sync", Format("%.3f s", cp));
  Figure("backup into RESTORE.EXE", Format("%.3f s", backup));
  Figure("restore of UPDATES.H4R", Format("%.3f s", restore));
  Report("backup / cp", Format("%.2fx", backup / cp), "<= 2x", backup <= 2 * cp);
  Report("restore / cp", Format("%.2fx", restore / cp), "<= 2x", restore <= 2 * cp);
  Report("peak memory of backup and restore", Format("%.1f MB", peak_mb), "< 64 MB", peak_mb < kMemoryTargetMb);
  std::filesystem::remove_all(game);
  return true;
}

bool BenchMakeSfx(const std::filesystem::path& folder) {
  const std::string source = (folder / "source-game").string();
  const std::string fresh = (folder / "fresh-game").string();
  qm::DemoGameOptions options;
  options.hero_count = kDemoHeroes;
  if (!qm::MakeDemoGame(source, options) || !qm::MakeDemoGame(fresh)) {
    std::fprintf(stderr, "sharing_bench: cannot make the demo games\n");
    return false;
  }
  qm::HeroCatalogue catalogue;
  if (!catalogue.Load(qm::GamePathsForFolder(source))) {
    std::fprintf(stderr, "sharing_bench: cannot load the demo catalogue\n");
    return false;
  }
  const std::string patcher = (folder / "QLMKSFX.EXE").string();
  const std::vector<uint8_t> stub = FakeStub();
  std::vector<double> build_times, apply_times;
  for (int round = 0; round < kRounds; ++round) {
    auto start = Clock::now();
    if (!qm::BuildPatcher(&catalogue, stub, patcher)) {
      std::fprintf(stderr, "sharing_bench: MakeSFX failed\n");
      return false;
    }
    build_times.push_back(Seconds(Clock::now() - start));
    const std::string game = qm::WithTrailingSeparator(fresh);
    const std::string target = qm::TargetArchiveForGame(game);
    qm::ApplyReport text, portraits;
    start = Clock::now();
    const bool applied = qm::ApplyPatch(patcher, game, target, qm::UpdateKind::kText, &text) &&
                         qm::ApplyPatch(patcher, game, target, qm::UpdateKind::kPortraits, &portraits);
    apply_times.push_back(Seconds(Clock::now() - start));
    if (!applied || text.entries_put.size() + portraits.entries_put.size() != qm::kPatcherEntryCount) {
      std::fprintf(stderr, "sharing_bench: apply failed\n");
      return false;
    }
  }
  std::printf("  MakeSFX of the %zu-record demo catalogue (%.1f MB patcher) and its apply, text and\n"
              "  portraits, into a fresh demo game (median of %d):\n",
              catalogue.count(), static_cast<double>(std::filesystem::file_size(patcher)) / 1e6, kRounds);
  Figure("MakeSFX (13 entries compressed and appended)", Format("%.3f s", Median(build_times)));
  Figure("apply (1 + 12 entries put)", Format("%.1f ms", Median(apply_times) * 1000));
  std::filesystem::remove_all(source);
  std::filesystem::remove_all(fresh);
  std::filesystem::remove(patcher);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  // The backup runs first, while this process is still small (its child inherits it).
  return bench::RunSteps(argc, argv, "sharing_bench WORK_FOLDER", {BenchBackup, BenchMakeSfx});
}
