// qlmk picture resize against ImageMagick's convert, side by side in one run: a 24-megapixel
// JPEG, a 24-megapixel PNG and an animated GIF, each resized to 82 x 82 (bilinear, as the
// editor starts; convert's default filter), with the wall time and peak memory of each tool.
// Then the decoders alone at full size, which shows the memory of one full-size picture.
//
//   picture_bench QLMK CONVERT WORK_FOLDER
//
// The pictures are made by convert with fixed seeds, so every run measures the same files:
// the JPEG as the photograph-like file of the issue (gradient under heavy noise, quality 90),
// the PNG with light noise (8 bits, about 35 MB), the GIF four 1000 x 1000 frames. Each tool
// runs three times, alternating, and the fastest run counts; the peak is the largest seen.
// Targets: qlmk at most 0.6x convert's time on the JPEG; at most about 110 MB for a full-size
// 24-megapixel picture.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "bench/bench_util.h"
#include "bench/child_process.h"
#include "portrait/picture.h"
#include "portrait/picture_file.h"
#include "portrait/resample.h"

namespace {

constexpr double kJpegTimeRatio = 0.6;
constexpr double kFullSizeMb = 110;

struct Best {
  bool ok = true;
  double seconds = 1e9;
  double peak_mb = 0;
  void Add(const bench::Run& run) {
    ok = ok && run.ok;
    seconds = std::min(seconds, run.seconds);
    peak_mb = std::max(peak_mb, run.peak_mb);
  }
};

struct Sample {
  const char* what;
  std::string file;
  std::vector<std::string> make;  // convert's arguments that make it
  std::string first_frame;        // what convert reads: the first frame only, as qlmk
};

}  // namespace

int main(int argc, char** argv) {
  if (!bench::CheckArguments(argc, argv, "picture_bench QLMK CONVERT WORK_FOLDER")) return 2;
  const std::string qlmk = argv[1], convert = argv[2];
  const std::filesystem::path work = argv[3];
  const std::string log = (work / "log.txt").string();
  auto in_work = [&](const char* name) { return (work / name).string(); };

  // The quick mode (CI) makes small pictures and runs each tool once.
  const int runs = bench::Sized(3, 1);
  const std::string large = bench::Sized<std::string>("6000x4000", "600x400");
  const std::string frame = bench::Sized<std::string>("1000x1000", "100x100");
  const std::vector<Sample> samples = {
      {"JPEG 6000 x 4000, quality 90",
       in_work("photo.jpg"),
       {"-seed", "1", "-size", large, "gradient:#c08040-#2040a0", "-attenuate", "0.4", "+noise", "Gaussian",
        "-quality", "90"},
       ""},
      {"PNG 6000 x 4000, 8 bits",
       in_work("large.png"),
       {"-seed", "2", "-size", large, "gradient:#204080-#e0c060", "-attenuate", "0.1", "+noise", "Gaussian",
        "-depth", "8", "-define", "png:compression-level=3"},
       ""},
      {"GIF 1000 x 1000, 4 frames",
       in_work("animated.gif"),
       {"-seed",      "3",      "-size",   frame, "gradient:#ff4000-#0040ff",
        "(",          "+clone", "-rotate", "90",        ")",
        "(",          "+clone", "-rotate", "90",        ")",
        "(",          "+clone", "-rotate", "90",        ")",
        "-attenuate", "0.3",    "+noise",  "Uniform",   "-set",
        "delay",      "10",     "-loop",   "0"},
       "[0]"},
  };
  for (const Sample& s : samples) {
    std::vector<std::string> args = s.make;
    args.push_back(s.file);
    if (!bench::RunTool(convert, args, log).ok) {
      std::fprintf(stderr, "picture_bench: convert cannot make %s\n", s.file.c_str());
      return 1;
    }
  }

  bool ok = true;
  const std::string out = in_work("out.png");
  std::printf("  resized to 82 x 82          %26s %26s %8s\n", "qlmk", "convert", "ratio");
  for (const Sample& s : samples) {
    Best ours, theirs;
    for (int i = 0; i < runs; ++i) {
      ours.Add(bench::RunTool(qlmk, {"picture", "resize", s.file, out, "82x82", "--method", "blinear"}, log));
      theirs.Add(bench::RunTool(convert, {s.file + s.first_frame, "-resize", "82x82!", out}, log));
    }
    if (!ours.ok || !theirs.ok) {
      std::fprintf(stderr, "picture_bench: %s: a tool failed (output in %s)\n", s.what, log.c_str());
      ok = false;
      continue;
    }
    const double ratio = ours.seconds / theirs.seconds;
    std::printf("  %-27s %9.2f s, %6.0f MB %12.2f s, %6.0f MB %7.2fx", s.what, ours.seconds, ours.peak_mb,
                theirs.seconds, theirs.peak_mb, ratio);
    if (&s == &samples.front())
      std::printf("   target <= %.1fx %s", kJpegTimeRatio, ratio <= kJpegTimeRatio ? "met" : "MISSED");
    std::printf("\n");
  }

  std::printf("  decoded at full size (no reduction), this process's decoders alone:\n");
  for (const Sample& s : samples) {
    const bench::Run run = bench::RunInChild([&] {
      qm::Picture picture;
      return qm::LoadPictureFile(s.file, false, qm::kColourWhite, &picture) ? 0 : 1;
    });
    if (!run.ok) {
      std::fprintf(stderr, "picture_bench: cannot decode %s\n", s.file.c_str());
      ok = false;
      continue;
    }
    std::printf("  %-27s %9.2f s, %6.0f MB", s.what, run.seconds, run.peak_mb);
    if (&s != &samples.back()) {
      std::printf("   target <= about %.0f MB %s", kFullSizeMb, run.peak_mb <= kFullSizeMb ? "met" : "MISSED");
    }
    std::printf("\n");
  }

  // What the reduced decode changes: the JPEG's 82 x 82 face (whole picture, bilinear) from the
  // reduced and from the full decode, each against the picture's true area average (halftone
  // over the full decode).
  qm::Picture full, reduced;
  qm::ReducedDecode reduce = qm::ReducedForSize(82, 82);
  if (qm::LoadPictureFile(samples.front().file, false, qm::kColourWhite, &full) &&
      qm::LoadPictureFile(samples.front().file, false, qm::kColourWhite, &reduced, &reduce)) {
    auto face = [](const qm::Picture& p, int method) {
      qm::Picture f(82, 82);
      if (!qm::StretchWithMethod(p, {0, 0, p.width(), p.height()}, &f, {0, 0, 82, 82}, method)) f = qm::Picture();
      return f;
    };
    const qm::Picture average = face(full, qm::kResizeHalftone);
    const qm::Picture from_full = face(full, qm::kResizeBilinear), from_reduced = face(reduced, qm::kResizeBilinear);
    auto mean_difference = [&](const qm::Picture& a) {
      double total = 0;
      for (size_t i = 0; i < a.pixels().size() && a.pixels().size() == average.pixels().size(); ++i) {
        for (int shift = 0; shift <= 16; shift += 8) {
          total += std::abs(static_cast<int>((a.pixels()[i] >> shift) & 0xFF) -
                            static_cast<int>((average.pixels()[i] >> shift) & 0xFF));
        }
      }
      return total / (3.0 * 82 * 82);
    };
    std::printf(
        "  JPEG 82 x 82 bilinear against the picture's area average: %.1f levels apart from the full\n"
        "  decode, %.1f from the decode at 1/%d size (mean per channel)\n",
        mean_difference(from_full), mean_difference(from_reduced), reduce.divisor);
  }
  std::error_code ec;
  std::filesystem::remove_all(work, ec);
  return ok ? 0 : 1;
}
