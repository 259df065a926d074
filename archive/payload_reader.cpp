// Reading the appended payload. Needs no zlib, so the restore tool can link it alone.
#include <cstring>
#include <new>

#include "archive/payload.h"
#include "base/ascii.h"
#include "base/byte_cursor.h"

namespace qm {

namespace {

// Data offset, stored size and content size, then the name field.
static_assert(3 * 4 + kPayloadNameFieldSize == kPayloadSlotSize);

// Reads directory slot number `slot` of the whole directory `slots`; a data offset of 0 marks
// the slot free.
PayloadRecord ReadSlot(std::span<const uint8_t> slots, size_t slot) {
  ByteReader reader(slots.subspan(slot * kPayloadSlotSize, kPayloadSlotSize));
  PayloadRecord rec;
  rec.slot = slot;
  rec.data_offset = reader.ReadU32();
  rec.stored_size = reader.ReadU32();
  rec.content_size = reader.ReadU32();
  const std::string_view name = reader.ReadChars(kPayloadNameFieldSize);
  rec.name.assign(name.substr(0, name.find('\0')));
  return rec;
}

}  // namespace

bool HasPayloadTrailer(std::span<const uint8_t> program) {
  return program.size() >= kPayloadTrailerSize && DecodePayloadTrailer(program.last<kPayloadTrailerSize>());
}

std::optional<uint32_t> DecodePayloadTrailer(std::span<const uint8_t, kPayloadTrailerSize> trailer) {
  ByteReader r(trailer);
  const std::span<const uint8_t> magic = r.ReadSpan(sizeof kPayloadTrailerMagic);
  const uint32_t directory = r.ReadU32();
  if (std::memcmp(magic.data(), kPayloadTrailerMagic, sizeof kPayloadTrailerMagic) != 0) return std::nullopt;
  return directory;
}

Status PayloadReader::Open(const std::string& path, PayloadReader* out) {
  PayloadReader r;
  r.file_ = File::Open(path, File::Mode::kRead);
  if (!r.file_.is_open()) return Status::Fail("cannot open the file");
  const std::optional<uint64_t> size = r.file_.Size();
  if (!size) return Status::Fail("cannot read the file");
  r.size_ = *size;
  uint8_t trailer[kPayloadTrailerSize];
  std::optional<uint32_t> directory;
  if (r.size_ >= kPayloadTrailerSize && r.file_.Seek(r.size_ - kPayloadTrailerSize) &&
      r.file_.Read(trailer, sizeof trailer)) {
    directory = DecodePayloadTrailer(trailer);
  }
  if (!directory) return Status::Fail("the file carries no payload");
  r.directory_offset_ = *directory;
  if (static_cast<uint64_t>(r.directory_offset_) + kPayloadDirectorySize > r.size_ - kPayloadTrailerSize) {
    return Status::Fail("the payload directory does not fit the file");
  }
  std::vector<uint8_t> slots(kPayloadDirectorySize);
  if (!r.file_.Seek(r.directory_offset_) || !r.file_.Read(slots.data(), slots.size())) {
    return Status::Fail("cannot read the payload directory");
  }
  for (size_t i = 0; i < kPayloadSlotCount; ++i) {
    PayloadRecord rec = ReadSlot(slots, i);
    if (rec.data_offset != 0) r.records_.push_back(std::move(rec));
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
