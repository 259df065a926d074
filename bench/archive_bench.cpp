// Archive benchmarks: wiping a large archive against copying it with cp; saving the 998-record
// catalogue a hundred times, each save after one changed face, as the editor saves now (one
// commit, unchanged entries not written again) and, side by side, as it saved before (every
// entry written, in place where it fit), with the time of each save and the growth of the
// archive; and loading the last entry of a full directory. The wipe and the saves are timed
// with the flushes to the disk that make them safe from a power cut and, side by side, without
// them (a switch only this benchmark sets), so the figures show what the flushes cost.
//
//   archive_bench WORK_FOLDER
//
// Prints one line per figure with its target. The files (about 600 MB at the peak) are made in
// WORK_FOLDER and removed again. QM_BENCH_QUICK: one round on small sizes (bench/bench_util.h).
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "archive/entry_compressor.h"
#include "archive/h4r_format.h"
#include "archive/h4r_reader.h"
#include "archive/h4r_wipe.h"
#include "archive/h4r_writer.h"
#include "base/file.h"
#include "bench/bench_util.h"
#include "heroes/game_paths.h"
#include "heroes/hero_catalogue.h"
#include "heroes/hero_table.h"
#include "heroes/value_tables.h"
#include "tools/demo_game/demo_game.h"

namespace {

using namespace bench;  // the benchmarks' shared helpers (bench/bench_util.h)

// A count of 20,000 means "no entries" to the game, so the largest archive holds 19,999.
const uint32_t kWipeEntries = Sized<uint32_t>(qm::kMaxEntryCount, 500);
constexpr uint32_t kWipePayloadBytes = 10001;  // 19,999 x 10,001 bytes = 200 MB
const uint32_t kLoadEntries = Sized<uint32_t>(qm::kMaxEntryCount, 500);
const int kRounds = Sized(5, 1);
const int kLoadRuns = Sized(25, 1);
const size_t kSaveHeroes = Sized<size_t>(995, 30);  // with the header row and the two pseudo-heroes, 998 records
const int kSaves = Sized(100, 3);

std::string EntryName(uint32_t i) {
  char name[64];
  std::snprintf(name, sizeof name, "layers.icons.hero.%05u.h4d", i);
  return name;
}

// Writes an archive as the game ships one: payloads first, the directory at the end.
bool WriteArchive(const std::string& path, uint32_t entries, const std::vector<uint8_t>& payload,
                  uint32_t content_size) {
  qm::File file = qm::File::Open(path, qm::File::Mode::kCreate);
  if (!file.is_open()) return false;
  const uint64_t directory_offset = qm::kH4rHeaderSize + static_cast<uint64_t>(entries) * payload.size();
  std::vector<uint8_t> head(qm::kH4rMagic, qm::kH4rMagic + 4);
  qm::AppendU32(&head, static_cast<uint32_t>(directory_offset));
  if (!file.Write(head.data(), head.size())) return false;
  // Vary each payload a little so no layer below can take shortcuts on identical blocks.
  std::vector<uint8_t> block = payload;
  std::vector<uint8_t> directory;
  qm::AppendU32(&directory, entries);
  for (uint32_t i = 0; i < entries; ++i) {
    if (block.size() >= 4 && payload[0] != 0x1F) qm::StoreU32(block.data(), i);
    if (!file.Write(block.data(), block.size())) return false;
    qm::EntryRecord r;
    r.data_offset = static_cast<uint32_t>(qm::kH4rHeaderSize + static_cast<uint64_t>(i) * payload.size());
    r.stored_size = static_cast<uint32_t>(payload.size());
    r.content_size = content_size;
    r.time_stamp = 1000000000;
    r.name = EntryName(i);
    r.trailing_word = payload[0] == 0x1F ? qm::kTrailingWordGzip : qm::kTrailingWordRaw;
    qm::EncodeRecord(r, &directory);
  }
  return file.Write(directory.data(), directory.size()) && file.Close();
}

bool BenchWipe(const std::filesystem::path& folder) {
  const std::string archive = (folder / "UPDATES.H4R").string();
  const std::string copy = (folder / "copy.h4r").string();
  std::vector<uint8_t> payload(kWipePayloadBytes);
  for (size_t i = 0; i < payload.size(); ++i) payload[i] = static_cast<uint8_t>((i * 131) ^ (i >> 7));
  payload[0] = 0;
  if (!WriteArchive(archive, kWipeEntries, payload, kWipePayloadBytes)) {
    std::fprintf(stderr, "archive_bench: cannot write %s\n", archive.c_str());
    return false;
  }
  const double megabytes = static_cast<double>(std::filesystem::file_size(archive)) / 1e6;
  // cp leaves the copy in the cache; cp and a flush of the copy is as safe as the wipe.
  const std::string cp_command = "cp '" + archive + "' '" + copy + "'";
  const std::string cp_sync_command = cp_command + " && sync '" + copy + "'";
  std::vector<double> wipe_times, unflushed_times, cp_times, cp_sync_times;
  for (int round = 0; round < kRounds; ++round) {
    for (const bool flushed : {false, true}) {
      std::filesystem::remove(copy);
      // Each run starts with no dirty pages left by the one before.
      sync();
      const auto start = Clock::now();
      if (std::system((flushed ? cp_sync_command : cp_command).c_str()) != 0) {
        std::fprintf(stderr, "archive_bench: cp failed\n");
        return false;
      }
      (flushed ? cp_sync_times : cp_times).push_back(Seconds(Clock::now() - start));
    }
    for (const bool flushed : {false, true}) {
      sync();
      qm::durability::SkipDiskFlushesForMeasurement(!flushed);
      const auto start = Clock::now();
      const qm::Status s = qm::WipeArchive(archive);
      (flushed ? wipe_times : unflushed_times).push_back(Seconds(Clock::now() - start));
      qm::durability::SkipDiskFlushesForMeasurement(false);
      if (!s) {
        std::fprintf(stderr, "archive_bench: wipe failed: %s\n", s.why().c_str());
        return false;
      }
    }
  }
  const double wipe = Median(wipe_times), unflushed = Median(unflushed_times);
  const double cp = Median(cp_times), cp_sync = Median(cp_sync_times);
  std::printf("  wipe of a %.0f MB archive of %u entries against cp of the same file (median of %d):\n", megabytes,
              kWipeEntries, kRounds);
  Figure("cp", Format("%.3f s", cp));
  Figure("wipe without the flushes (measurement only)", Format("%.3f s", unflushed));
  Report("wipe without the flushes / cp", Format("%.2fx", unflushed / cp), "<= 2x", unflushed <= 2 * cp);
  Figure("cp, then sync of the copy", Format("%.3f s", cp_sync));
  Figure("wipe (copy and folder flushed)", Format("%.3f s", wipe));
  Report("wipe / (cp + sync)", Format("%.2fx", wipe / cp_sync), "<= 2x", wipe <= 2 * cp_sync);
  std::filesystem::remove(copy);
  std::filesystem::remove(archive);
  return true;
}

// The put as it was before a save committed at one point, kept here only to compare with: a
// payload no larger than the old one overwrote it in place, a larger one went to the end of the
// file, and each record was rewritten in place; payloads flushed first, records after. A power
// cut while the payloads were written could leave an entry half old, half new. Replaces only:
// every entry of a save is there after the first save.
qm::Status InPlacePut(const std::string& path, std::span<const qm::StoredEntry> entries) {
  qm::Archive archive;
  qm::Directory directory;
  if (qm::Status s = qm::Archive::Open(path, qm::Archive::Access::kReadWrite, &archive); !s) return s;
  if (qm::Status s = archive.ReadDirectory(&directory); !s) return s;
  uint64_t end = archive.size();
  const uint32_t now = static_cast<uint32_t>(std::time(nullptr));
  std::vector<std::pair<uint64_t, std::vector<uint8_t>>> records;
  qm::File& file = archive.file();
  for (const qm::StoredEntry& e : entries) {
    const qm::FoundEntry* found = qm::FindInDirectory(directory, e.name);
    if (!found) return qm::Status::Fail("the in-place put only replaces");
    qm::EntryRecord r = found->record;
    if (e.payload.size() > r.stored_size) {
      r.data_offset = static_cast<uint32_t>(end);
      end += e.payload.size();
    }
    r.stored_size = static_cast<uint32_t>(e.payload.size());
    r.content_size = e.content_size;
    r.time_stamp = now;
    if (!file.Seek(r.data_offset) || !file.Write(e.payload.data(), e.payload.size())) {
      return qm::Status::Fail("cannot write");
    }
    records.emplace_back(found->record_position, std::vector<uint8_t>());
    qm::EncodeRecord(r, &records.back().second);
  }
  if (!file.Sync()) return qm::Status::Fail("cannot flush");
  for (const auto& [at, bytes] : records) {
    if (!file.Seek(at) || !file.Write(bytes.data(), bytes.size())) return qm::Status::Fail("cannot write");
  }
  if (!file.Sync()) return qm::Status::Fail("cannot flush");
  return archive.Close();
}

// The thirteen entries of a save, compressed, as the catalogue's save makes them.
struct SaveEntries {
  std::vector<std::string> names;
  std::vector<std::vector<uint8_t>> payloads;
  std::vector<uint32_t> content_sizes;
  std::vector<qm::StoredEntry> Entries() const {
    std::vector<qm::StoredEntry> out;
    for (size_t i = 0; i < names.size(); ++i) out.push_back({names[i], payloads[i], content_sizes[i]});
    return out;
  }
};

bool Prepare(const qm::HeroCatalogue& catalogue, SaveEntries* out) {
  *out = SaveEntries{};
  std::vector<uint8_t> content;
  auto add = [&](std::string name) {
    out->names.push_back(std::move(name));
    out->payloads.emplace_back();
    out->content_sizes.push_back(static_cast<uint32_t>(content.size()));
    return qm::CompressEntry(content, &out->payloads.back()).ok();
  };
  if (!qm::SerializeHeroTable(catalogue.records(), &content) || !add(qm::kHeroTableEntryName)) return false;
  for (uint8_t alignment = 1; alignment <= qm::kAlignmentCount; ++alignment) {
    for (const qm::FaceKind kind : {qm::FaceKind::kSmall, qm::FaceKind::kLarge}) {
      catalogue.CollectBundle(alignment, kind, &content);
      if (!add(qm::BundleEntryName(alignment, kind))) return false;
    }
  }
  return true;
}

// Saves of the demo catalogue, each after one changed face (a different hero each time): the
// entries are made once per save, then put into four copies of the working archive, now and as
// before, each with and without the flushes. Time per save and the growth of each copy.
bool BenchSave(const std::filesystem::path& folder) {
  const std::string game = (folder / "game").string();
  qm::DemoGameOptions options;
  options.hero_count = kSaveHeroes;
  qm::HeroCatalogue catalogue;
  if (qm::Status made = qm::MakeDemoGame(game, options); !made) {
    std::fprintf(stderr, "archive_bench: demo game: %s\n", made.why().c_str());
    return false;
  }
  const qm::GamePaths paths = qm::GamePathsForFolder(game);  // after the files exist
  qm::Status s = catalogue.Load(paths);
  if (s) s = catalogue.Save(paths.working_archive);
  if (!s) {
    std::fprintf(stderr, "archive_bench: demo catalogue: %s\n", s.why().c_str());
    return false;
  }
  // 0 now, 1 now without the flushes, 2 before, 3 before without the flushes.
  constexpr int kWays = 4;
  std::string archives[kWays];
  for (int way = 0; way < kWays; ++way) {
    archives[way] = (folder / ("save-" + std::to_string(way) + ".h4r")).string();
    std::filesystem::copy_file(paths.working_archive, archives[way], std::filesystem::copy_options::overwrite_existing);
  }
  const double start_mb = static_cast<double>(std::filesystem::file_size(archives[0])) / 1e6;
  std::vector<double> prepare_times, put_times[kWays], save_times[kWays];
  std::vector<size_t> faces;
  for (size_t i = 3; i < catalogue.count(); ++i) {
    if (!catalogue.record(i).large_face.empty()) faces.push_back(i);
  }
  if (faces.empty()) return false;
  SaveEntries entries;
  for (int save = 0; save < kSaves; ++save) {
    const size_t hero = faces[(static_cast<size_t>(save) * 37) % faces.size()];
    std::vector<uint8_t> face = catalogue.record(hero).large_face;
    if (!face.empty()) face.back() ^= 1;
    if (!catalogue.ReplaceFace(hero, qm::FaceKind::kLarge, std::move(face))) return false;
    auto start = Clock::now();
    if (!Prepare(catalogue, &entries)) {
      std::fprintf(stderr, "archive_bench: cannot make the save's entries\n");
      return false;
    }
    const double prepare = Seconds(Clock::now() - start);
    prepare_times.push_back(prepare);
    const std::vector<qm::StoredEntry> batch = entries.Entries();
    for (int way = 0; way < kWays; ++way) {
      sync();
      qm::durability::SkipDiskFlushesForMeasurement(way % 2 == 1);
      start = Clock::now();
      const bool ok = (way < 2 ? qm::PutStoredEntries(archives[way], batch) : InPlacePut(archives[way], batch)).ok();
      const double put = Seconds(Clock::now() - start);
      qm::durability::SkipDiskFlushesForMeasurement(false);
      if (!ok) {
        std::fprintf(stderr, "archive_bench: save failed\n");
        return false;
      }
      put_times[way].push_back(put * 1000);
      save_times[way].push_back((prepare + put) * 1000);
    }
  }
  std::printf(
      "  %d saves of the %zu-record catalogue (%.1f MB archive), each after one changed face\n"
      "  (median; a save is making the 13 entries, %.0f ms, and putting them):\n",
      kSaves, catalogue.count(), start_mb, Median(prepare_times) * 1000);
  const char* labels[kWays] = {"save now: one commit, changed entries only", "save now, without the flushes",
                               "save before: every entry, in place", "save before, without the flushes"};
  for (int way = 0; way < kWays; ++way) Figure(labels[way], Format("%.1f ms", Median(save_times[way])));
  Figure("its put now", Format("%.1f ms", Median(put_times[0])));
  Figure("its put before", Format("%.1f ms", Median(put_times[2])));
  Report("save now / save before", Format("%.2fx", Median(save_times[0]) / Median(save_times[2])), "<= 1.2x",
         Median(save_times[0]) <= 1.2 * Median(save_times[2]));
  const double grown = static_cast<double>(std::filesystem::file_size(archives[0])) / 1e6 - start_mb;
  const double grown_before = static_cast<double>(std::filesystem::file_size(archives[2])) / 1e6 - start_mb;
  Figure("archive growth over the saves, now", Format("%.2f MB", grown));
  Figure("archive growth over the saves, before", Format("%.2f MB", grown_before));
  Figure("growth now, per save", Format("%.1f KB", grown * 1000 / kSaves));
  if (!qm::WipeArchive(archives[0])) return false;
  Figure("archive after a wipe", Format("%.2f MB", static_cast<double>(std::filesystem::file_size(archives[0])) / 1e6));
  for (const std::string& a : archives) std::filesystem::remove(a);
  std::filesystem::remove_all(game);
  return true;
}

bool BenchLoadLast(const std::filesystem::path& folder) {
  const std::string archive = (folder / "FULL.H4R").string();
  std::vector<uint8_t> content(4000);
  for (size_t i = 0; i < content.size(); ++i) content[i] = static_cast<uint8_t>(i % 97);
  std::vector<uint8_t> payload;
  if (!qm::CompressEntry(content, &payload) ||
      !WriteArchive(archive, kLoadEntries, payload, static_cast<uint32_t>(content.size()))) {
    std::fprintf(stderr, "archive_bench: cannot write %s\n", archive.c_str());
    return false;
  }
  const std::string last = EntryName(kLoadEntries - 1);
  std::vector<double> times;
  for (int run = 0; run < kLoadRuns; ++run) {
    std::vector<uint8_t> loaded;
    const auto start = Clock::now();
    const qm::Status s = qm::LoadEntry(archive, last, &loaded);
    times.push_back(Seconds(Clock::now() - start) * 1000);
    if (!s || loaded != content) {
      std::fprintf(stderr, "archive_bench: loading %s failed\n", last.c_str());
      return false;
    }
  }
  const double median = Median(times);
  const double worst = *std::max_element(times.begin(), times.end());
  Report("load entry, last of 19,999 (median)", Format("%.2f ms", median), "< 20 ms", median < 20);
  Report("load entry, last of 19,999 (slowest)", Format("%.2f ms", worst), "< 20 ms", worst < 20);
  std::filesystem::remove(archive);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  return bench::RunSteps(argc, argv, "archive_bench WORK_FOLDER", {BenchWipe, BenchSave, BenchLoadLast});
}
