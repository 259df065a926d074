// Fuzzes the H4R reader, the writer and the wipe with an archive file holding the input.
// Properties: nothing crashes or reads out of bounds; every entry the directory lists is found
// and loads (or fails) the same way through every path; a rebuilt copy loads every entry the
// original loads with the same content; a batch of puts leaves the same records as the same puts
// one after another, every entry it put loads as put, and an entry it did not touch loads as
// before; after a successful put (and wipe) the entry loads as put.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "archive/h4r_reader.h"
#include "archive/h4r_wipe.h"
#include "archive/h4r_writer.h"
#include "base/file.h"
#include "fuzz/fuzz_files.h"

namespace {

using qm::fuzz::Check;

// "fuzz" compressed by zlib at level 6: a fixed gzip payload for the put.
const std::vector<uint8_t> kPutPayload = {0x1f, 0x8b, 0x08, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x03, 0x4b, 0x2b,
                                          0xad, 0xaa, 0x02, 0x00, 0x26, 0xd4, 0x33, 0x08, 0x04, 0x00, 0x00, 0x00};
const std::vector<uint8_t> kPutContent = {'f', 'u', 'z', 'z'};
// A longer gzip stream (the 44 bytes "Quillmark puts this longer entry over others"), so that
// a batch replaces payloads by both smaller and larger ones.
const std::vector<uint8_t> kLongPayload = {
    0x1f, 0x8b, 0x08, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x03, 0x0b, 0x2c, 0xcd, 0xcc, 0xc9, 0xc9,
    0x4d, 0x2c, 0xca, 0x56, 0x28, 0x28, 0x2d, 0x29, 0x56, 0x28, 0xc9, 0xc8, 0x2c, 0x56, 0xc8, 0xc9,
    0xcf, 0x4b, 0x4f, 0x2d, 0x52, 0x48, 0xcd, 0x2b, 0x29, 0xaa, 0x54, 0xc8, 0x2f, 0x03, 0x32, 0xf3,
    0x4b, 0x32, 0x52, 0x8b, 0x8a, 0x01, 0x04, 0x9f, 0xc1, 0x88, 0x2c, 0x00, 0x00, 0x00};
constexpr uint32_t kLongContentSize = 44;

constexpr uint64_t kMaxArchiveBytes = 1u << 30;  // far above what an input and its puts make

// The records of an archive, data offsets and time stamps aside (they differ between a batch
// and separate puts); empty when it cannot be read.
std::vector<std::string> Records(const std::string& path, qm::Directory* directory) {
  std::vector<std::string> out;
  qm::Archive archive;
  if (!qm::Archive::Open(path, qm::Archive::Access::kRead, &archive) || !archive.ReadDirectory(directory)) return out;
  for (const qm::FoundEntry& e : directory->entries) {
    const qm::EntryRecord& r = e.record;
    out.push_back(r.name + "|" + r.second + "|" + r.third + "|" + std::to_string(r.stored_size) + "|" +
                  std::to_string(r.content_size) + "|" + std::to_string(r.trailing_word));
  }
  return out;
}

// The batch and the same puts one by one on two copies of the input must list the same records
// when every put succeeds.
// In the batch's archive, every record a put reached (the first whose name begins with the put's
// name, as lookups go) loads as the last put into it; and since new bytes go only where nothing
// lives, every record the batch did not reach whose payload lies inside the input after the
// header loads exactly as before.
void CheckBatch(const uint8_t* data, size_t size, const std::vector<qm::FoundEntry>& entries,
                const std::vector<std::vector<uint8_t>>& contents, const std::vector<bool>& loaded) {
  static const std::string batched = qm::fuzz::ScratchFile("BATCH.H4R");
  static const std::string separate = qm::fuzz::ScratchFile("SEPARATE.H4R");
  std::vector<std::string> names = {"fuzz"};
  for (size_t i = 0; i < entries.size() && names.size() < 4; ++i) {
    if (!entries[i].record.name.empty()) names.push_back(entries[i].record.name);
  }
  names.push_back("fuzz");
  std::vector<qm::StoredEntry> batch;
  for (size_t i = 0; i < names.size(); ++i) {
    batch.push_back({names[i], i % 2 ? kLongPayload : kPutPayload, i % 2 ? kLongContentSize : 4u});
  }
  qm::fuzz::WriteScratch(separate, data, size);
  bool all_put = true;
  for (const qm::StoredEntry& e : batch)
    all_put = qm::PutStoredEntry(separate, e.name, e.payload, e.content_size).ok() && all_put;
  qm::fuzz::WriteScratch(batched, data, size);
  std::vector<qm::Status> outcomes;
  all_put = qm::PutStoredEntries(batched, batch, &outcomes).ok() && all_put;
  qm::Directory after, after_separate;
  const std::vector<std::string> records = Records(batched, &after);
  // Where space runs out (an archive near 4 GiB), the two may fail at different puts.
  Check(!all_put || records == Records(separate, &after_separate));

  std::vector<int> last_put(after.entries.size(), -1);
  for (size_t i = 0; i < batch.size(); ++i) {
    if (!outcomes[i]) continue;
    const qm::FoundEntry* hit = qm::FindInDirectory(after, batch[i].name);
    Check(hit != nullptr);
    last_put[static_cast<size_t>(hit - after.entries.data())] = static_cast<int>(i);
  }
  qm::Archive archive;
  Check(records.empty() || qm::Archive::Open(batched, qm::Archive::Access::kRead, &archive).ok());
  for (size_t i = 0; i < after.entries.size(); ++i) {
    const qm::EntryRecord& r = after.entries[i].record;
    std::vector<uint8_t> content;
    if (last_put[i] >= 0) {
      Check(archive.ReadPayload(r, &content).ok());
      const bool long_one = last_put[i] % 2 == 1;
      Check(content.size() == (long_one ? kLongContentSize : kPutContent.size()));
      Check(long_one || content == kPutContent);
      continue;
    }
    const uint64_t end = r.data_offset + static_cast<uint64_t>(r.PayloadLength());
    if (i >= entries.size() || r.data_offset < qm::kH4rHeaderSize || end > size) continue;
    const bool ok = archive.ReadPayload(r, &content).ok();
    Check(ok == loaded[i] && (!ok || content == contents[i]));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string path = qm::fuzz::ScratchFile("UPDATES.H4R");
  static const std::string copy = qm::fuzz::ScratchFile("COPY.H4R");
  qm::fuzz::WriteScratch(path, data, size);

  std::vector<qm::FoundEntry> entries;
  std::vector<std::vector<uint8_t>> contents;
  std::vector<bool> loaded;
  {
    qm::Archive archive;
    if (!qm::Archive::Open(path, qm::Archive::Access::kRead, &archive)) return 0;
    qm::Directory directory;
    const bool readable = archive.ReadDirectory(&directory).ok();
    const uint32_t directory_size = archive.DirectorySize();
    Check(readable ? directory_size == directory.Size() : directory_size == 0);
    entries = directory.entries;
    for (const qm::FoundEntry& e : entries) {
      qm::FoundEntry found;
      if (!e.record.name.empty()) {
        Check(archive.FindEntry(e.record.name, &found).ok());
        Check(found.record_position <= e.record_position);
      }
      std::vector<uint8_t> content;
      const bool ok = archive.ReadPayload(e.record, &content).ok();
      Check(!ok || content.size() == e.record.content_size);
      contents.push_back(std::move(content));
      loaded.push_back(ok);
    }
  }
  for (size_t i = 0; i < entries.size() && i < 8; ++i) {
    std::vector<uint8_t> content;
    (void)qm::LoadEntry(path, entries[i].record.name, &content);
  }

  // A compact copy holds every entry with the same content.
  if (qm::RebuildArchive(path, copy)) {
    qm::Archive rebuilt;
    qm::Directory directory;
    Check(qm::Archive::Open(copy, qm::Archive::Access::kRead, &rebuilt).ok());
    Check(rebuilt.ReadDirectory(&directory).ok());
    Check(directory.entries.size() == entries.size());
    for (size_t i = 0; i < entries.size(); ++i) {
      std::vector<uint8_t> content;
      const bool ok = rebuilt.ReadPayload(directory.entries[i].record, &content).ok();
      Check(ok == loaded[i]);
      Check(!ok || content == contents[i]);
    }
  }

  CheckBatch(data, size, entries, contents, loaded);

  // A put either fails or leaves the entry loadable as put.
  if (qm::PutStoredEntry(path, "fuzz", kPutPayload, static_cast<uint32_t>(kPutContent.size()))) {
    std::vector<uint8_t> content;
    Check(qm::LoadEntry(path, "fuzz", &content).ok());
    Check(content == kPutContent);
    // The wipe may refuse an archive whose other entries are damaged, never lose this one.
    if (qm::WipeArchive(path)) {
      Check(qm::LoadEntry(path, "fuzz", &content).ok());
      Check(content == kPutContent);
    }
  }
  return 0;
}
