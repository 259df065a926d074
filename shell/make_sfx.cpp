#include "shell/make_sfx.h"

#include <vector>

#include "archive/payload.h"
#include "archive/stub_file.h"
#include "base/replacement_file.h"
#include "heroes/hero_catalogue.h"
#include "heroes/hero_table.h"
#include "heroes/value_tables.h"

namespace qm {

namespace {

// The thirteen entries in their slot order, each appended as soon as it is made so that only
// one entry's bytes are held at a time.
Status AppendEntries(const HeroCatalogue& catalogue, const std::string& path) {
  std::vector<uint8_t> content;
  if (Status s = SerializeHeroTable(catalogue.records(), &content); !s) return s;
  if (Status s = AppendCompressedPayloadEntry(path, kHeroTableEntryName, content); !s) {
    return Status::Fail(std::string(kHeroTableEntryName) + ": " + s.why());
  }
  for (uint8_t alignment = 1; alignment <= kAlignmentCount; ++alignment) {
    for (FaceKind kind : {FaceKind::kSmall, FaceKind::kLarge}) {
      const std::string name = BundleEntryName(alignment, kind);
      catalogue.CollectBundle(alignment, kind, &content);
      if (Status s = AppendCompressedPayloadEntry(path, name, content); !s) return Status::Fail(name + ": " + s.why());
    }
  }
  return Status::Ok();
}

}  // namespace

Status BuildPatcher(HeroCatalogue* catalogue, std::span<const uint8_t> patcher_stub, const std::string& out_path) {
  // The editor has always left out a last record it cannot hand on whole.
  if (!catalogue->empty() && !catalogue->IsComplete(catalogue->count() - 1)) catalogue->DropLastRecord();
  ReplacementFile out;
  if (Status s = StartStubFile(patcher_stub, out_path, "patcher", &out); !s) return s;
  if (Status s = AppendEntries(*catalogue, out.temp_path()); !s) return s;
  return out.Commit();
}

}  // namespace qm
