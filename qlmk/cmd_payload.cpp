// qlmk payload: the entries appended to the patcher and restore programs.
#include <cstdio>
#include <string>
#include <vector>

#include "archive/entry_compressor.h"
#include "archive/h4r_format.h"
#include "archive/payload.h"
#include "archive/payload_codec.h"
#include "qlmk/byte_io.h"
#include "qlmk/command.h"
#include "qlmk/entry_name.h"
#include "qlmk/json_text.h"

namespace qlmk {
namespace {

int List(const Args& args) {
  const std::string& path = args.positional()[0];
  qm::PayloadReader reader;
  if (qm::Status s = qm::PayloadReader::Open(path, &reader); !s) return Fail(path, s);
  if (args.Has("--json")) {
    std::printf("{\"directory_offset\": %u, \"entries\": [", reader.directory_offset());
    bool first = true;
    for (const qm::PayloadRecord& r : reader.records()) {
      std::printf("%s\n  {\"slot\": %zu, \"name\": %s, \"data_offset\": %u, \"stored_size\": %u, \"content_size\": %u}",
                  first ? "" : ",", r.slot, JsonString(r.name).c_str(), r.data_offset, r.stored_size, r.content_size);
      first = false;
    }
    std::printf("\n]}\n");
    return kExitOk;
  }
  std::printf("slot\tname\toffset\tstored\tcontent\n");
  for (const qm::PayloadRecord& r : reader.records()) {
    std::printf("%zu\t%s\t%u\t%u\t%u\n", r.slot, PlainName(r.name).c_str(), r.data_offset, r.stored_size,
                r.content_size);
  }
  return kExitOk;
}

int Add(const Args& args) {
  const std::string& path = args.positional()[0];
  const std::string& name = args.positional()[1];
  const std::string& input = args.positional()[2];
  std::vector<uint8_t> bytes;
  if (int rc = ReadInput(input, &bytes); rc != kExitOk) return rc;
  uint32_t content_size = 0;
  if (args.Has("--compress")) {
    std::vector<uint8_t> compressed;
    if (qm::Status s = qm::CompressEntry(bytes, &compressed); !s) return Fail(input, s);
    content_size = static_cast<uint32_t>(bytes.size());
    bytes = std::move(compressed);
  }
  if (qm::Status s = qm::AppendPayloadEntryByCopy(path, name, bytes, content_size); !s) return Fail(path, s);
  return kExitOk;
}

int Get(const Args& args) {
  const std::string& path = args.positional()[0];
  const std::string& name = args.positional()[1];
  qm::PayloadReader reader;
  if (qm::Status s = qm::PayloadReader::Open(path, &reader); !s) return Fail(path, s);
  const qm::PayloadRecord* record = reader.Find(name);
  if (!record) return Fail(path + ": no payload entry named '" + name + "'");
  std::vector<uint8_t> blob;
  if (qm::Status s = reader.ReadBlob(*record, &blob); !s) return Fail(path, s);
  std::vector<uint8_t> out;
  if (args.Has("--raw") || record->content_size == 0) {
    out = std::move(blob);
  } else if (qm::Status s = qm::DecodeStoredPayload(blob, record->content_size, &out); !s) {
    return Fail(path + ": '" + name + "': " + s.why());
  }
  return WriteCommandOutput(args.Value("-o"), out);
}

const Command kPayload = {
    .name = "payload",
    .summary = "list, add and extract the payload appended to the stub programs",
    .details =
        "Works on the payload appended to QLMKSFX.EXE and RESTORE.EXE: a directory of 100 slots\n"
        "after the program, the blobs, and a \"ZVRT\" trailer at the end.\n",
    .subcommands =
        {
            {.name = "list",
             .summary = "the used slots in slot order: slot, name, data offset, stored size, content size (0 for "
                        "a blob stored as it is)",
             .positionals = {{"EXE"}},
             .options = {{"--json", nullptr, "print the directory as one JSON object"}},
             .run = List},
            {.name = "add",
             .summary =
                 "appends FILE under NAME (at most 83 characters), as it is or compressed; EXE is replaced in one step "
                 "once the new copy is complete",
             .positionals = {{"EXE"}, {"NAME"}, {"FILE"}},
             .options = {{"--compress", nullptr, "store FILE as a gzip stream with the file's length as content size"}},
             .run = Add},
            {.name = "get",
             .summary = "the first slot named NAME (ASCII case ignored): its content, decompressed when the slot "
                        "has a content size",
             .positionals = {{"EXE"}, {"NAME"}},
             .options = {{"-o", "FILE", "write the content to FILE instead of standard output"},
                         {"--raw", nullptr, "the blob as stored, without decompressing it"}},
             .run = Get},
        },
};
QLMK_COMMAND(kPayload);

}  // namespace
}  // namespace qlmk
