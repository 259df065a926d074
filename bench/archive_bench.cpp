// Archive benchmarks: wiping a large archive against copying it with cp, saving the 998-record
// catalogue, and loading the last entry of a full directory. The wipe and the save are timed
// with the flushes to the disk that make them safe from a power cut and, side by side, without
// them (a switch only this benchmark sets), so the figures show what the flushes cost.
//
//   archive_bench WORK_FOLDER
//
// Prints one line per figure with its target. The files (about 600 MB at the peak) are made in
// WORK_FOLDER and removed again.
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "archive/h4r_format.h"
#include "archive/h4r_reader.h"
#include "archive/h4r_wipe.h"
#include "archive/entry_compressor.h"
#include "archive/h4r_writer.h"
#include "base/file.h"
#include "heroes/game_paths.h"
#include "heroes/hero_catalogue.h"
#include "tools/demo_game/demo_game.h"

namespace {

using Clock = std::chrono::steady_clock;

// A count of 20,000 means "no entries" to the game, so the largest archive holds 19,999.
constexpr uint32_t kWipeEntries = qm::kMaxEntryCount;
constexpr uint32_t kWipePayloadBytes = 10001;  // 19,999 x 10,001 bytes = 200 MB
constexpr uint32_t kLoadEntries = qm::kMaxEntryCount;
constexpr int kRounds = 5;
constexpr int kLoadRuns = 25;
constexpr size_t kSaveHeroes = 995;  // with the header row and the two pseudo-heroes, 998 records
constexpr int kSaveRuns = 9;

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

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

void Report(const char* what, const std::string& result, const std::string& target, bool met) {
  std::printf("  %-46s %14s   target %-10s %s\n", what, result.c_str(), target.c_str(), met ? "met" : "MISSED");
}

std::string Format(const char* format, double value) {
  char text[64];
  std::snprintf(text, sizeof text, format, value);
  return text;
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
  std::printf("  %-46s %14s\n", "cp", Format("%.3f s", cp).c_str());
  std::printf("  %-46s %14s\n", "wipe without the flushes (measurement only)", Format("%.3f s", unflushed).c_str());
  Report("wipe without the flushes / cp", Format("%.2fx", unflushed / cp), "<= 2x", unflushed <= 2 * cp);
  std::printf("  %-46s %14s\n", "cp, then sync of the copy", Format("%.3f s", cp_sync).c_str());
  std::printf("  %-46s %14s\n", "wipe (copy and folder flushed)", Format("%.3f s", wipe).c_str());
  Report("wipe / (cp + sync)", Format("%.2fx", wipe / cp_sync), "<= 2x", wipe <= 2 * cp_sync);
  std::filesystem::remove(copy);
  std::filesystem::remove(archive);
  return true;
}

// Saves of the 998-record demo catalogue over its own entries (replaced in place, as a save
// without changes is): as the editor saves (one batch, two flushes), without any flush, and as
// thirteen separate puts with two flushes each, to show what the batch saves.
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
  // The thirteen entries as the save writes them, for the separate puts.
  struct Entry {
    std::string name;
    std::vector<uint8_t> stored;
    uint32_t content_size;
  };
  std::vector<Entry> entries;
  qm::Archive archive;
  qm::Directory directory;
  if (!qm::Archive::Open(paths.working_archive, qm::Archive::Access::kRead, &archive) ||
      !archive.ReadDirectory(&directory)) {
    return false;
  }
  uint64_t bytes = 0;
  for (const qm::FoundEntry& e : directory.entries) {
    if (e.record.name.find("table.heroes") != 0 && e.record.name.find("layers.icons.hero.") != 0) continue;
    std::vector<uint8_t> stored;
    if (!archive.ReadStoredBytes(e.record, &stored)) return false;
    bytes += stored.size();
    entries.push_back({e.record.name, std::move(stored), e.record.content_size});
  }
  if (!archive.Close()) return false;

  std::vector<qm::StoredEntry> batch;
  for (const Entry& e : entries) batch.push_back({e.name, e.stored, e.content_size});
  // 0, 1: the editor's save (serialize, compress, put) with and without the flushes;
  // 2, 3: its puts alone, one batch, with and without; 4: thirteen separate puts with flushes.
  constexpr int kWays = 5;
  std::vector<double> times[kWays];
  for (int run = 0; run < kSaveRuns; ++run) {
    for (int way = 0; way < kWays; ++way) {
      sync();
      qm::durability::SkipDiskFlushesForMeasurement(way == 1 || way == 3);
      const auto start = Clock::now();
      bool ok = true;
      if (way < 2) {
        ok = catalogue.Save(paths.working_archive).ok();
      } else if (way < 4) {
        ok = qm::PutStoredEntries(paths.working_archive, batch).ok();
      } else {
        for (const qm::StoredEntry& e : batch) {
          ok = ok && qm::PutStoredEntry(paths.working_archive, e.name, e.payload, e.content_size).ok();
        }
      }
      times[way].push_back(Seconds(Clock::now() - start) * 1000);
      qm::durability::SkipDiskFlushesForMeasurement(false);
      if (!ok) {
        std::fprintf(stderr, "archive_bench: save failed\n");
        return false;
      }
    }
  }
  std::printf("  save of the 998-record catalogue, %zu entries, %.1f MB compressed (median of %d):\n",
              entries.size(), static_cast<double>(bytes) / 1e6, kSaveRuns);
  const char* labels[kWays] = {"save", "save without the flushes (measurement only)",
                               "its puts alone: one batch, two flushes", "its puts alone, without the flushes",
                               "as 13 separate puts, two flushes each"};
  for (int way = 0; way < kWays; ++way) {
    std::printf("  %-46s %14s\n", labels[way], Format("%.1f ms", Median(times[way])).c_str());
  }
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
  if (argc != 2) {
    std::fprintf(stderr, "usage: archive_bench WORK_FOLDER\n");
    return 2;
  }
  const std::filesystem::path folder = argv[1];
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  const bool ok = BenchWipe(folder) && BenchSave(folder) && BenchLoadLast(folder);
  return ok ? 0 : 1;
}
