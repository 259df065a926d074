// The HTML pages on a catalogue of 998 records (995 heroes, 1,994 faces), in process:
//   - the export's writing (heroes.csv, heroes.json, faces/*.png) without and with the gallery
//     (index.html), side by side, the median of three runs each; target: the gallery adds under
//     10 %;
//   - the before/after report of a patch that changes every hero (its name and both faces):
//     the time to compare and write it, and its size.
// It leaves WORK_FOLDER/gallery/ (an export with its gallery) for bench/gallery_draw.py, which
// times the gallery in headless Chromium.
//
//   pages_bench WORK_FOLDER
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "base/replacement_file.h"
#include "bench/bench_util.h"
#include "heroes/catalogue_diff.h"
#include "heroes/catalogue_page.h"
#include "heroes/diff_report.h"
#include "heroes/face_folder.h"
#include "heroes/hero_sheet.h"
#include "tools/demo_game/demo_game.h"

namespace {

using bench::Clock;

// With the header row and the two pseudo-heroes, 998 records (33 in the quick mode).
const size_t kHeroes = bench::Sized<size_t>(995, 30);
const int kRuns = bench::Sized(3, 1);

bool WriteText(const std::string& path, const std::string& text) { return qm::WriteWholeFile(path, text).ok(); }

double Seconds(Clock::time_point since) { return bench::Seconds(Clock::now() - since); }

// What qlmk export writes after loading the game; true when every file was written. With the
// gallery, *gallery_seconds gets the time its own step took.
bool Export(const qm::HeroCatalogue& catalogue, const std::filesystem::path& folder, bool gallery,
            double* gallery_seconds = nullptr) {
  std::error_code ec;
  std::filesystem::remove_all(folder, ec);
  std::filesystem::create_directories(folder / "faces", ec);
  const std::vector<qm::SheetRow> rows = qm::SheetRowsOf(catalogue, qm::CodePage::k1252);
  qm::FaceExport exported;
  bool ok = WriteText((folder / "heroes.csv").string(), qm::SheetCsv(rows)) &&
            WriteText((folder / "heroes.json").string(), qm::SheetJson(rows)) &&
            qm::ExportFaces(catalogue, (folder / "faces").string(), &exported).ok();
  if (ok && gallery) {
    const Clock::time_point start = Clock::now();
    const std::string html =
        qm::GalleryHtml(catalogue, rows, {"Hero catalogue", {}}, qm::ExportedFaceAddress(catalogue, exported, "faces"));
    ok = WriteText((folder / "index.html").string(), html);
    *gallery_seconds = Seconds(start);
  }
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (!bench::CheckArguments(argc, argv, "pages_bench WORK_FOLDER")) return 2;
  const std::filesystem::path work = argv[1];
  std::vector<qm::HeroRecord> records;
  qm::HeroCatalogue catalogue;
  if (!qm::MakeDemoRecords(qm::demo::DemoHeroes(kHeroes), &records).ok() || !catalogue.Assign(records).ok()) {
    std::fprintf(stderr, "pages_bench: cannot make the demo catalogue\n");
    return 1;
  }

  std::vector<double> without, with, gallery;
  for (int run = 0; run < kRuns; ++run) {
    Clock::time_point start = Clock::now();
    if (!Export(catalogue, work / "plain", false)) return std::fprintf(stderr, "pages_bench: export failed\n"), 1;
    without.push_back(Seconds(start));
    start = Clock::now();
    double gallery_seconds = 0;
    if (!Export(catalogue, work / "gallery", true, &gallery_seconds)) {
      return std::fprintf(stderr, "pages_bench: export failed\n"), 1;
    }
    with.push_back(Seconds(start));
    gallery.push_back(gallery_seconds);
  }
  const double without_median = bench::Median(without), with_median = bench::Median(with);
  const double gallery_median = bench::Median(gallery);
  // The gallery's own step against the whole export: the difference of the two exports alone
  // drowns in the noise of writing 1,994 files to the disk.
  const double added = gallery_median / without_median;
  std::error_code ec;
  const auto gallery_size = std::filesystem::file_size(work / "gallery" / "index.html", ec);
  std::printf("  %zu records, %zu faces (median of %d):\n", catalogue.count(), 2 * kHeroes, kRuns);
  std::printf("  %-44s %8.2f s\n", "export without the gallery", without_median);
  std::printf("  %-44s %8.2f s\n", "export with the gallery", with_median);
  std::printf("  %-44s %8.3f s   +%.2f %% of the export, target under +10 %%   %s\n", "the gallery's own step",
              gallery_median, added * 100, added < 0.10 ? "met" : "MISSED");
  std::printf("  %-44s %8.0f KB\n", "index.html", static_cast<double>(gallery_size) / 1024);

  // A patch that changes every hero: a new name, and the faces of the next hero.
  qm::HeroCatalogue patched = catalogue;
  for (size_t i = qm::kFirstHeroRecord; i < catalogue.count(); ++i) {
    const size_t next = i + 1 < catalogue.count() ? i + 1 : qm::kFirstHeroRecord;
    if (!patched.SetName(i, "Renamed " + catalogue.record(i).name.substr(0, 40)).ok() ||
        !patched.ReplaceFace(i, qm::FaceKind::kLarge, catalogue.record(next).large_face).ok() ||
        !patched.ReplaceFace(i, qm::FaceKind::kSmall, catalogue.record(next).small_face).ok()) {
      return std::fprintf(stderr, "pages_bench: cannot change record %zu\n", i), 1;
    }
  }
  const Clock::time_point start = Clock::now();
  const qm::CatalogueDiff diff = qm::DiffCatalogues(catalogue.records(), patched.records());
  const std::string report = qm::DiffReportHtml(diff, catalogue, patched, qm::CodePage::k1252,
                                                {"What the patch would change", {}, "Now", "Incoming"});
  const std::string report_path = (work / "diff.html").string();
  if (!WriteText(report_path, report)) return std::fprintf(stderr, "pages_bench: cannot write the report\n"), 1;
  const double report_seconds = Seconds(start);
  std::printf("  %-44s %8.2f s   %zu heroes, %.1f MB\n", "report of a patch changing every hero", report_seconds,
              diff.heroes.size(), static_cast<double>(report.size()) / (1024 * 1024));
  std::filesystem::remove_all(work / "plain", ec);
  return 0;
}
