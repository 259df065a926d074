#include "archive/payload_codec.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>

#include "archive/h4r_format.h"

namespace qm {

namespace {

// Owns a zlib inflate stream set up for gzip framing.
class GzipInflater {
 public:
  GzipInflater() { ok_ = inflateInit2(&stream_, 16 + MAX_WBITS) == Z_OK; }
  ~GzipInflater() {
    if (ok_) inflateEnd(&stream_);
  }
  GzipInflater(const GzipInflater&) = delete;
  GzipInflater& operator=(const GzipInflater&) = delete;

  bool ok() const { return ok_; }
  z_stream& stream() { return stream_; }

 private:
  z_stream stream_{};
  bool ok_ = false;
};

// Inflates gzip members from `stored` into `out`; `produced` receives the bytes written.
// Returns false for a corrupt stream.
bool InflateMembers(std::span<const uint8_t> stored, std::span<uint8_t> out, size_t* produced, bool* longer) {
  GzipInflater inflater;
  if (!inflater.ok()) return false;
  z_stream& z = inflater.stream();
  // Both spans are at most 4 GiB - 1 bytes long (32-bit sizes in the formats).
  z.next_in = const_cast<Bytef*>(stored.data());
  z.avail_in = static_cast<uInt>(stored.size());
  // zlib refuses a null output pointer even for zero bytes.
  uint8_t none = 0;
  z.next_out = out.empty() ? &none : out.data();
  z.avail_out = static_cast<uInt>(out.size());
  bool stream_ended = false;
  for (;;) {
    const int rc = inflate(&z, Z_NO_FLUSH);
    if (rc == Z_STREAM_END) {
      // Another gzip member may follow; anything else after a member is ignored.
      if (z.avail_out > 0 && LooksLikeGzip(std::span<const uint8_t>(z.next_in, z.avail_in))) {
        if (inflateReset(&z) != Z_OK) return false;
        continue;
      }
      stream_ended = true;
      break;
    }
    if (rc == Z_OK) {
      if (z.avail_out == 0) break;  // content complete
      continue;
    }
    if (rc == Z_BUF_ERROR) break;  // input used up before the end (a short payload), or no room
    return false;                  // Z_DATA_ERROR, Z_NEED_DICT, Z_MEM_ERROR, Z_STREAM_ERROR
  }
  *produced = out.size() - z.avail_out;
  if (longer && !stream_ended && z.avail_out == 0) {
    // See whether the stream would give more than the content size.
    uint8_t extra = 0;
    z.next_out = &extra;
    z.avail_out = 1;
    const int rc = inflate(&z, Z_NO_FLUSH);
    *longer = (rc == Z_OK || rc == Z_STREAM_END) && z.avail_out == 0;
  }
  return true;
}

}  // namespace

Status DecodeStoredPayload(std::span<const uint8_t> stored, uint32_t content_size, std::vector<uint8_t>* content,
                           DecodeReport* report) {
  DecodeReport local;
  DecodeReport& r = report ? *report : local;
  r = DecodeReport{};
  if (content_size > MaxContentForStored(stored.size())) {
    return Status::Fail("content size " + std::to_string(content_size) + " is more than " +
                        std::to_string(stored.size()) + " payload bytes can hold");
  }
  content->assign(content_size, 0);
  if (!LooksLikeGzip(stored)) {
    // Not gzip: the bytes are the content, as zlib's reader passes them through.
    const size_t n = std::min<size_t>(stored.size(), content_size);
    if (n > 0) std::memcpy(content->data(), stored.data(), n);
    r.produced = n;
    r.longer = stored.size() > content_size;
    return Status::Ok();
  }
  r.gzip = true;
  if (!InflateMembers(stored, *content, &r.produced, &r.longer)) {
    content->clear();
    return Status::Fail("the compressed payload is corrupt");
  }
  return Status::Ok();
}

}  // namespace qm
