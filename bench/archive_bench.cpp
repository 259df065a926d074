// Archive benchmarks: wiping a large archive against copying it with cp, and loading the last
// entry of a full directory.
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
#include "base/file.h"

namespace {

using Clock = std::chrono::steady_clock;

// A count of 20,000 means "no entries" to the game, so the largest archive holds 19,999.
constexpr uint32_t kWipeEntries = qm::kMaxEntryCount;
constexpr uint32_t kWipePayloadBytes = 10001;  // 19,999 x 10,001 bytes = 200 MB
constexpr uint32_t kLoadEntries = qm::kMaxEntryCount;
constexpr int kRounds = 5;
constexpr int kLoadRuns = 25;

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
  const std::string cp_command = "cp '" + archive + "' '" + copy + "'";
  std::vector<double> wipe_times, cp_times;
  for (int round = 0; round < kRounds; ++round) {
    std::filesystem::remove(copy);
    // Each run starts with no dirty pages left by the one before.
    sync();
    auto start = Clock::now();
    if (std::system(cp_command.c_str()) != 0) {
      std::fprintf(stderr, "archive_bench: cp failed\n");
      return false;
    }
    cp_times.push_back(Seconds(Clock::now() - start));
    sync();
    start = Clock::now();
    if (qm::Status s = qm::WipeArchive(archive); !s) {
      std::fprintf(stderr, "archive_bench: wipe failed: %s\n", s.why().c_str());
      return false;
    }
    wipe_times.push_back(Seconds(Clock::now() - start));
  }
  const double wipe = Median(wipe_times), cp = Median(cp_times);
  std::printf("  wipe of a %.0f MB archive of %u entries against cp of the same file (median of %d):\n", megabytes,
              kWipeEntries, kRounds);
  std::printf("  %-46s %14s\n", "cp", Format("%.3f s", cp).c_str());
  std::printf("  %-46s %14s\n", "wipe", Format("%.3f s", wipe).c_str());
  Report("wipe / cp", Format("%.2fx", wipe / cp), "<= 2x", wipe <= 2 * cp);
  std::filesystem::remove(copy);
  std::filesystem::remove(archive);
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
  const bool ok = BenchWipe(folder) && BenchLoadLast(folder);
  return ok ? 0 : 1;
}
