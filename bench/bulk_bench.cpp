// qlmk export and import of a catalogue of 998 records (995 heroes, 1,994 faces), run as the
// modder runs them: the tool itself, each step a child process whose time and peak memory are
// measured.
//
//   bulk_bench QLMK WORK_FOLDER
//
// Steps: export; import of the unchanged export (compares every face, saves nothing); import
// after every face picture was replaced by a new 160 x 160 picture (fits 1,994 faces, saves
// once). Prints one line per figure with its target. The files (about 40 MB) are made in
// WORK_FOLDER and removed again. QM_BENCH_QUICK: a small catalogue (bench/bench_util.h).
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "bench/bench_util.h"
#include "bench/child_process.h"
#include "portrait/picture.h"
#include "portrait/picture_file.h"

namespace {

const int kHeroes = bench::Sized(995, 30);  // with the header row and the two pseudo-heroes, 998 records

using bench::Run;
using bench::RunTool;

// A picture unlike any face: a gradient whose direction and colours vary with the seed.
qm::Picture NewPicture(unsigned seed) {
  qm::Picture p(160, 160);
  for (int y = 0; y < p.height(); ++y) {
    for (int x = 0; x < p.width(); ++x) {
      p.at(x, y) = qm::MakeColour((x * 3 + seed * 7) & 0xFF, (y * 5 + seed * 13) & 0xFF, ((x + y) * 2 + seed) & 0xFF);
    }
  }
  return p;
}

void Report(const char* what, const Run& run, double target_seconds, double target_mb) {
  char result[64];
  std::snprintf(result, sizeof result, "%.2f s, %.0f MB", run.seconds, run.peak_mb);
  char target[64];
  std::snprintf(target, sizeof target, "< %.0f s, < %.0f MB", target_seconds, target_mb);
  const bool met = run.seconds < target_seconds && run.peak_mb < target_mb;
  std::printf("  %-44s %20s   target %-18s %s\n", what, result, target, met ? "met" : "MISSED");
}

bool Step(const char* what, const std::string& tool, const std::vector<std::string>& args, const std::string& log,
          double target_seconds, double target_mb) {
  const Run run = RunTool(tool, args, log);
  if (!run.ok) {
    std::fprintf(stderr, "bulk_bench: %s failed (output in %s)\n", what, log.c_str());
    return false;
  }
  Report(what, run, target_seconds, target_mb);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (!bench::CheckArguments(argc, argv, "bulk_bench QLMK WORK_FOLDER")) return 2;
  const std::string tool = argv[1];
  const std::filesystem::path work = argv[2];
  const std::string game = (work / "game").string(), out = (work / "out").string(), log = (work / "log.txt").string();
  const std::vector<std::string> on_game = {"--game", game};
  auto with_game = [&](std::vector<std::string> args) {
    args.insert(args.end(), on_game.begin(), on_game.end());
    return args;
  };
  if (!RunTool(tool, {"demo-game", game, "--heroes", std::to_string(kHeroes)}, log).ok) {
    std::fprintf(stderr, "bulk_bench: cannot make the demo game\n");
    return 1;
  }
  std::printf("  %d records, every hero with two faces:\n", kHeroes + 3);
  // Budgets: about 1 ms per face to export or compare, under 10 ms per face to fit (the
  // editor's Load of one face), 200 MB in all.
  bool ok = Step("export", tool, with_game({"export", out}), log, 3, 200) &&
            Step("import, nothing changed (no save)", tool, with_game({"import", out}), log, 2, 200);
  if (ok) {
    unsigned seed = 0;
    for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::path(out) / "faces")) {
      if (qm::Status s = qm::WritePictureFile(entry.path().string(), NewPicture(++seed)); !s) {
        std::fprintf(stderr, "bulk_bench: %s\n", s.why().c_str());
        ok = false;
        break;
      }
    }
  }
  ok = ok && Step("import, every face replaced (fit, one save)", tool, with_game({"import", out}), log, 20, 200);
  std::error_code ec;
  std::filesystem::remove_all(work, ec);
  return ok ? 0 : 1;
}
