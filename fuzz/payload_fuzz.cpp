// Fuzzes the appended-payload reader and the append with an executable file holding the input.
// Properties: nothing crashes or reads out of bounds; every slot the reader lists yields its
// blob or a clean failure; compressed blobs decode to exactly their content size; after a
// successful append the reader finds the new blob.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "archive/payload.h"
#include "archive/payload_codec.h"
#include "fuzz/fuzz_files.h"

using qm::fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string path = qm::fuzz::ScratchFile("QLMKSFX.EXE");
  qm::fuzz::WriteScratch(path, data, size);

  {
    qm::PayloadReader reader;
    if (qm::PayloadReader::Open(path, &reader)) {
      Check(reader.records().size() <= qm::kPayloadSlotCount);
      for (const qm::PayloadRecord& record : reader.records()) {
        Check(record.data_offset != 0 && record.name.size() <= qm::kPayloadNameFieldSize);
        std::vector<uint8_t> blob, content;
        if (!reader.ReadBlob(record, &blob)) continue;
        Check(blob.size() == record.stored_size);
        if (record.content_size != 0 && qm::DecodeStoredPayload(blob, record.content_size, &content)) {
          Check(content.size() == record.content_size);
        }
      }
    }
  }

  const std::vector<uint8_t> blob = {'b', 'l', 'o', 'b'};
  if (qm::AppendPayloadEntry(path, "fuzz.entry", blob, 0)) {
    qm::PayloadReader reader;
    Check(qm::PayloadReader::Open(path, &reader).ok());
    bool found = false;
    for (const qm::PayloadRecord& record : reader.records()) {
      std::vector<uint8_t> bytes;
      if (record.name == "fuzz.entry" && reader.ReadBlob(record, &bytes) && bytes == blob) found = true;
    }
    Check(found);
  }
  return 0;
}
