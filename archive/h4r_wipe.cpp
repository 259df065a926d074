#include "archive/h4r_wipe.h"

#include <algorithm>
#include <vector>

#include "archive/h4r_reader.h"
#include "base/ascii.h"
#include "base/file.h"
#include "base/os.h"
#include "base/path.h"

namespace qm {

namespace {

// Copies the payloads in directory order. Payloads that lie back to back in the source (as in
// every archive the game ships or this system wipes) are copied as one range, in the kernel
// where the system allows it, else in working-buffer pieces.
Status CopyPayloads(Archive& source, const std::vector<FoundEntry>& entries, File& target) {
  std::vector<uint8_t> scratch;  // grown only when the copy goes through the program
  uint64_t run_start = 0, run_length = 0;
  auto flush_run = [&]() {
    const bool ok = target.CopyRangeFrom(source.file(), run_start, run_length, &scratch, kWorkingBufferSize);
    run_length = 0;
    return ok;
  };
  for (const FoundEntry& e : entries) {
    const uint64_t length = e.record.PayloadLength();
    if (length == 0) continue;
    if (run_length > 0 && e.record.data_offset == run_start + run_length) {
      run_length += length;
      continue;
    }
    if (!flush_run()) return Status::Fail("cannot copy the payloads into the compact copy");
    run_start = e.record.data_offset;
    run_length = length;
  }
  if (!flush_run()) return Status::Fail("cannot copy the payloads into the compact copy");
  return Status::Ok();
}

}  // namespace

Status RebuildArchive(const std::string& source_path, const std::string& target_path) {
  if (source_path.empty() || target_path.empty()) return Status::Fail("no archive path given");
  Archive source;
  if (Status s = Archive::Open(source_path, Archive::Access::kRead, &source); !s) return s;
  Directory directory;
  if (Status s = source.ReadDirectory(&directory); !s) return s;
  if (directory.count >= kEntryCountLimit) {
    return Status::Fail("the directory count " + std::to_string(directory.count) + " is out of range");
  }
  // Lay out the compact copy; every payload must lie inside the source.
  const uint32_t directory_size = std::max<uint32_t>(directory.Size(), kDirectoryCountSize);
  uint64_t next = kH4rHeaderSize + static_cast<uint64_t>(directory_size);
  std::vector<uint8_t> head(kH4rMagic, kH4rMagic + 4);
  AppendU32(&head, kH4rHeaderSize);
  AppendU32(&head, static_cast<uint32_t>(directory.entries.size()));
  for (const FoundEntry& e : directory.entries) {
    const uint64_t length = e.record.PayloadLength();
    if (static_cast<uint64_t>(e.record.data_offset) + length > source.size()) {
      return Status::Fail("the payload of '" + e.record.name + "' lies past the end of the file");
    }
    if (next + length > UINT32_MAX) return Status::Fail("the compact copy would be larger than 4 GiB");
    EntryRecord moved = e.record;
    moved.data_offset = static_cast<uint32_t>(next);
    EncodeRecord(moved, &head);
    next += length;
  }

  File target = File::Open(target_path, File::Mode::kCreate);
  if (!target.is_open()) return Status::Fail("cannot create " + target_path);
  Status written = Status::Ok();
  if (!os::ReserveFileSpace(target.stream(), next)) {
    written = Status::Fail("not enough disk space for the compact copy");
  } else if (!target.Write(head.data(), head.size())) {
    written = Status::Fail("cannot write the compact copy");
  } else {
    written = CopyPayloads(source, directory.entries, target);
  }
  // The copy is on the disk before it can take the archive's place.
  if (written && !target.Sync()) written = Status::Fail("cannot flush the compact copy to the disk");
  const bool closed = target.Close();
  if (written && !closed) written = Status::Fail("cannot finish writing the compact copy");
  if (!written) os::RemoveFile(target_path);  // no partial copy stays behind
  return written;
}

Status WipeArchive(const std::string& path) {
  if (path.empty()) return Status::Fail("no archive path given");
  const std::string holding = PathBeside(path, kWipeHoldingName);
  if (AsciiEqualNoCase(holding, path)) return Status::Fail("an archive named H4R.$$$ cannot be wiped");
  if (os::FileExists(holding)) {
    os::ClearReadOnly(holding);
    if (!os::RemoveFile(holding)) return Status::Fail("cannot delete the leftover " + holding);
  }
  Status rebuilt = RebuildArchive(path, holding);
  if (!rebuilt) {
    os::RemoveFile(holding);
    return rebuilt;
  }
  // A read-only file cannot be replaced on Windows; the compact copy keeps the archive's
  // permissions elsewhere.
  os::ClearReadOnly(path);
  if (!os::MatchFileMode(holding, path) || !os::ReplaceFileWith(path, holding)) {
    os::RemoveFile(holding);
    return Status::Fail("cannot put the compact copy in place of the archive");
  }
  // The rename itself must survive a power cut too; the compact copy is in place either way.
  if (!os::SyncFolderOf(path)) return Status::Fail("cannot flush the archive's folder to the disk");
  return Status::Ok();
}

}  // namespace qm
