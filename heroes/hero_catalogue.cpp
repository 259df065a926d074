#include "heroes/hero_catalogue.h"

#include <utility>

#include "archive/entry_compressor.h"
#include "archive/h4r_format.h"
#include "archive/h4r_reader.h"
#include "archive/h4r_writer.h"
#include "base/ascii.h"
#include "base/byte_cursor.h"
#include "base/little_endian.h"
#include "heroes/face_loss.h"
#include "heroes/value_tables.h"
#include "portrait/portrait_codec.h"

namespace qm {

namespace {

constexpr size_t kBundleCountSize = 2;
constexpr FaceKind kBundleOrder[] = {FaceKind::kSmall, FaceKind::kLarge};

// The first archive that yields the entry wins; one that cannot be opened counts as not
// holding it.
bool LoadFromEither(const std::string& first, const std::string& second, std::string_view name,
                    std::vector<uint8_t>* content, std::string* source) {
  for (const std::string* path : {&first, &second}) {
    if (path->empty()) continue;
    if (LoadEntry(*path, name, content)) {
      *source = *path;
      return true;
    }
  }
  content->clear();
  source->clear();
  return false;
}

std::string FirstChars(std::string_view text, size_t limit) {
  return std::string(text.substr(0, limit));
}

}  // namespace

std::string BundleEntryName(uint8_t alignment, FaceKind kind) {
  const std::string_view token = TokenOfId(kAlignmentTable, alignment);
  if (token.empty()) return std::string();
  return "layers.icons.hero." + std::string(token) + (kind == FaceKind::kLarge ? ".82.h4d" : ".52.h4d");
}

size_t CatalogueLoad::MissingBundles() const {
  size_t n = 0;
  for (const BundleLoad& b : bundles) n += b.source.empty() ? 1 : 0;
  return n;
}

size_t CatalogueLoad::DamagedBundles() const {
  size_t n = 0;
  for (const BundleLoad& b : bundles) n += b.distribution.damaged ? 1 : 0;
  return n;
}

size_t CatalogueLoad::UnmatchedImages() const {
  size_t n = 0;
  for (const BundleLoad& b : bundles) n += b.distribution.unmatched;
  return n;
}

void HeroCatalogue::Clear() { records_.clear(); }

Status HeroCatalogue::Assign(std::vector<HeroRecord> records) {
  if (records.size() > kMaxHeroRecords) {
    return Status::Fail("a catalogue holds at most " + std::to_string(kMaxHeroRecords) + " records");
  }
  records_ = std::move(records);
  return Status::Ok();
}

void HeroCatalogue::DropLastRecord() {
  if (!records_.empty()) records_.pop_back();
}

Status HeroCatalogue::Load(const GamePaths& paths, CatalogueLoad* report, const OverlongReport& overlong) {
  CatalogueLoad local;
  CatalogueLoad& out = report ? *report : local;
  out = CatalogueLoad{};
  Clear();

  std::vector<uint8_t> content;
  if (!LoadFromEither(paths.working_archive, paths.text_archive, kHeroTableEntryName, &content,
                      &out.table_source)) {
    return Status::Fail(std::string("the hero table \"") + kHeroTableEntryName +
                        "\" is in neither the working nor the text archive");
  }
  out.parse = ParseHeroTable(content, &records_, overlong);
  if (!out.parse.ok()) {
    records_.clear();
    return Status::Fail(out.table_source + ": no row of the hero table could be read");
  }

  std::string missing;
  for (uint8_t alignment = 1; alignment <= kAlignmentCount; ++alignment) {
    for (FaceKind kind : kBundleOrder) {
      BundleLoad bundle;
      bundle.name = BundleEntryName(alignment, kind);
      if (LoadFromEither(paths.working_archive, paths.base_archive, bundle.name, &content, &bundle.source)) {
        bundle.distribution = DistributeBundle(content, kind);
      } else if (missing.empty()) {
        missing = bundle.name;
      }
      out.bundles.push_back(std::move(bundle));
    }
  }
  if (!missing.empty()) {
    return Status::Fail("the portrait bundle \"" + missing + "\" is in neither the working nor the base archive");
  }
  return Status::Ok();
}

int HeroCatalogue::FindByKeyword(std::string_view keyword) const {
  for (size_t i = 0; i < records_.size(); ++i) {
    if (AsciiEqualNoCase(records_[i].keyword, keyword)) return static_cast<int>(i);
  }
  return -1;
}

BundleDistribution HeroCatalogue::DistributeBundle(std::span<const uint8_t> bundle, FaceKind kind) {
  BundleDistribution result;
  ByteReader reader(bundle);
  result.declared = reader.ReadU16();
  if (reader.overrun()) {
    result.damaged = true;
    return result;
  }
  for (size_t i = 0; i < result.declared; ++i) {
    const std::optional<PortraitImageInfo> image = ReadPortraitImageInfo(bundle.subspan(reader.position()));
    if (!image) {
      result.damaged = true;
      break;
    }
    const std::span<const uint8_t> bytes = reader.ReadSpan(image->length);  // lies within the bundle
    ++result.walked;
    const int index = FindByKeyword(image->name);
    if (index >= 0) {
      HeroRecord& record = records_[static_cast<size_t>(index)];
      record.face(kind).assign(bytes.begin(), bytes.end());
      record.flags |= FaceFlag(kind);
      ++result.placed;
    } else {
      ++result.unmatched;
    }
  }
  return result;
}

void HeroCatalogue::CollectBundle(uint8_t alignment, FaceKind kind, std::vector<uint8_t>* out) const {
  out->assign(kBundleCountSize, 0);
  uint16_t taken = 0;  // at most kMaxHeroRecords - 1, so it fits
  for (size_t i = kDeadRecord; i < records_.size(); ++i) {
    const HeroRecord& record = records_[i];
    const std::vector<uint8_t>& face = record.face(kind);
    if (!SavesFace(record, kind) || AlignmentOfClass(record.hero_class) != alignment) continue;
    out->insert(out->end(), face.begin(), face.end());
    ++taken;
  }
  StoreU16(out->data(), taken);
}

Status HeroCatalogue::Save(const std::string& working_archive, CatalogueSave* report) const {
  CatalogueSave local;
  CatalogueSave& out = report ? *report : local;
  out = CatalogueSave{};
  if (records_.empty()) return Status::Fail("the catalogue is empty");
  if (working_archive.empty()) return Status::Fail("there is no working archive");

  // Every part is prepared, also after one failed; then all go into the archive as one commit.
  struct Part {
    std::string name;
    std::vector<uint8_t> payload;
    uint32_t content_size = 0;
  };
  std::vector<Part> parts;
  std::vector<uint8_t> content;
  auto prepare = [&](std::string name, Status made) {
    std::vector<uint8_t> payload;
    if (made) made = CompressEntry(content, &payload);
    if (!made) {
      out.failed.push_back(name + ": " + made.why());
      return;
    }
    parts.push_back(Part{std::move(name), std::move(payload), static_cast<uint32_t>(content.size())});
  };
  prepare(kHeroTableEntryName, SerializeHeroTable(records_, &content));
  const bool table_prepared = out.failed.empty();
  // Every bundle is put on every save, also after a failed table; the archive writes only
  // those whose bytes changed.
  for (uint8_t alignment = 1; alignment <= kAlignmentCount; ++alignment) {
    for (FaceKind kind : kBundleOrder) {
      CollectBundle(alignment, kind, &content);
      prepare(BundleEntryName(alignment, kind), Status::Ok());
    }
  }

  std::vector<StoredEntry> entries;
  for (const Part& part : parts) entries.push_back(StoredEntry{part.name, part.payload, part.content_size});
  std::vector<Status> outcomes;
  (void)PutStoredEntries(working_archive, entries, &outcomes);
  for (size_t i = 0; i < parts.size(); ++i) {
    if (!outcomes[i]) out.failed.push_back(parts[i].name + ": " + outcomes[i].why());
  }
  out.table_written = table_prepared && outcomes[0].ok();

  if (out.failed.empty()) return Status::Ok();
  std::string why = working_archive + ": " + out.failed.front();
  if (out.failed.size() > 1) why += " (and " + std::to_string(out.failed.size() - 1) + " more)";
  return Status::Fail(why);
}

bool HeroCatalogue::IsComplete(size_t index) const {
  if (index >= records_.size()) return false;
  const HeroRecord& r = records_[index];
  return !r.keyword.empty() && !r.name.empty() && r.hero_class != 0 && !r.small_face.empty() &&
         !r.large_face.empty();
}

template <typename Change>
Status HeroCatalogue::Edit(size_t index, Change change) {
  if (index >= records_.size()) return Status::Fail("record " + std::to_string(index) + " does not exist");
  HeroRecord& record = records_[index];
  if (record.read_only()) return Status::Fail("record " + std::to_string(index) + " is read-only");
  change(record);
  return Status::Ok();
}

Status HeroCatalogue::SetKeyword(size_t index, std::string_view text) {
  return Edit(index, [&](HeroRecord& r) { r.keyword = FirstChars(text, kKeywordMaxChars); });
}

Status HeroCatalogue::SetName(size_t index, std::string_view text) {
  return Edit(index, [&](HeroRecord& r) { r.name = FirstChars(text, kNameMaxChars); });
}

Status HeroCatalogue::SetBiography(size_t index, std::string_view text) {
  return Edit(index, [&](HeroRecord& r) { r.biography = FirstChars(text, kBiographyMaxChars); });
}

Status HeroCatalogue::SetSex(size_t index, uint8_t sex_id) {
  return Edit(index, [&](HeroRecord& r) { r.sex = sex_id; });
}

Status HeroCatalogue::SetClass(size_t index, uint8_t class_id) {
  return Edit(index, [&](HeroRecord& r) { r.hero_class = class_id; });
}

Status HeroCatalogue::SetSexByLabel(size_t index, std::string_view label, LabelText text) {
  return SetSex(index, static_cast<uint8_t>(IdOfLabel(kSexTable, label, text)));
}

Status HeroCatalogue::SetClassByLabel(size_t index, std::string_view label, LabelText text) {
  return SetClass(index, static_cast<uint8_t>(IdOfLabel(kClassTable, label, text)));
}

Status HeroCatalogue::SetAllowedBy(size_t index, bool allowed) {
  return Edit(index, [&](HeroRecord& r) { r.allowed_by = allowed ? 1 : 0; });
}

Status HeroCatalogue::ToggleAllowedBy(size_t index) {
  return Edit(index, [](HeroRecord& r) { r.allowed_by = r.allowed_by ? 0 : 1; });
}

Status HeroCatalogue::ReplaceFace(size_t index, FaceKind kind, std::vector<uint8_t> image) {
  if (index >= records_.size()) return Status::Fail("record " + std::to_string(index) + " does not exist");
  records_[index].face(kind) = std::move(image);
  return Status::Ok();
}

}  // namespace qm
