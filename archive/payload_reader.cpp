// Reading the appended payload. Needs no zlib, so the restore tool can link it alone.
#include <algorithm>
#include <cstring>
#include <new>

#include "archive/payload.h"
#include "base/ascii.h"
#include "base/little_endian.h"

namespace qm {

bool HasPayloadTrailer(std::span<const uint8_t> program) {
  return program.size() >= kPayloadTrailerSize &&
         std::memcmp(program.data() + program.size() - kPayloadTrailerSize, kPayloadTrailerMagic, 4) == 0;
}

Status PayloadReader::Open(const std::string& path, PayloadReader* out) {
  PayloadReader r;
  r.file_ = File::Open(path, File::Mode::kRead);
  if (!r.file_.is_open()) return Status::Fail("cannot open the file");
  const std::optional<uint64_t> size = r.file_.Size();
  if (!size) return Status::Fail("cannot read the file");
  r.size_ = *size;
  uint8_t trailer[kPayloadTrailerSize];
  if (r.size_ < kPayloadTrailerSize || !r.file_.Seek(r.size_ - kPayloadTrailerSize) ||
      !r.file_.Read(trailer, sizeof trailer) || std::memcmp(trailer, kPayloadTrailerMagic, 4) != 0) {
    return Status::Fail("the file carries no payload");
  }
  r.directory_offset_ = LoadU32(trailer + 4);
  if (static_cast<uint64_t>(r.directory_offset_) + kPayloadDirectorySize > r.size_ - kPayloadTrailerSize) {
    return Status::Fail("the payload directory does not fit the file");
  }
  std::vector<uint8_t> slots(kPayloadDirectorySize);
  if (!r.file_.Seek(r.directory_offset_) || !r.file_.Read(slots.data(), slots.size())) {
    return Status::Fail("cannot read the payload directory");
  }
  for (size_t i = 0; i < kPayloadSlotCount; ++i) {
    const uint8_t* slot = slots.data() + i * kPayloadSlotSize;
    PayloadRecord rec;
    rec.slot = i;
    rec.data_offset = LoadU32(slot);
    if (rec.data_offset == 0) continue;
    rec.stored_size = LoadU32(slot + 4);
    rec.content_size = LoadU32(slot + 8);
    const char* name = reinterpret_cast<const char*>(slot + 12);
    rec.name.assign(name, std::find(name, name + kPayloadNameFieldSize, '\0'));
    r.records_.push_back(std::move(rec));
  }
  *out = std::move(r);
  return Status::Ok();
}

const PayloadRecord* PayloadReader::Find(std::string_view name) const {
  for (const PayloadRecord& rec : records_) {
    if (AsciiEqualNoCase(rec.name, name)) return &rec;
  }
  return nullptr;
}

Status PayloadReader::CheckBlob(const PayloadRecord& record) const {
  // Blobs live between the directory's end and the trailer; anything else would read the
  // directory, the trailer or bytes that are not there.
  const uint64_t begin = static_cast<uint64_t>(directory_offset_) + kPayloadDirectorySize;
  const uint64_t end = size_ - kPayloadTrailerSize;
  if (record.data_offset < begin || static_cast<uint64_t>(record.data_offset) + record.stored_size > end) {
    return Status::Fail("the blob of '" + record.name + "' does not lie inside the payload");
  }
  return Status::Ok();
}

Status PayloadReader::ReadBlob(const PayloadRecord& record, std::vector<uint8_t>* blob) {
  if (Status s = CheckBlob(record); !s) return s;
  try {
    blob->resize(record.stored_size);
  } catch (const std::bad_alloc&) {
    blob->clear();
    return Status::Fail("not enough memory for the blob of '" + record.name + "'");
  }
  if (!file_.Seek(record.data_offset) || !file_.Read(blob->data(), blob->size())) {
    blob->clear();
    return Status::Fail("cannot read the blob of '" + record.name + "'");
  }
  return Status::Ok();
}

Status PayloadReader::CopyBlobTo(const PayloadRecord& record, File& out, std::vector<uint8_t>* scratch,
                                 size_t piece_size) {
  if (Status s = CheckBlob(record); !s) return s;
  if (!out.CopyRangeFrom(file_, record.data_offset, record.stored_size, scratch, piece_size)) {
    return Status::Fail("cannot copy the blob of '" + record.name + "'");
  }
  return Status::Ok();
}

}  // namespace qm
