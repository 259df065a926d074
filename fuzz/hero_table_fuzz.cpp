// Fuzzes the hero table parser: any bytes must parse without reading out of bounds, never give
// more than the catalogue's records, and whatever parses must serialize and parse back to the
// same records.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "heroes/hero_table.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<qm::HeroRecord> records;
  size_t reports = 0;
  const qm::HeroTableParse parse =
      qm::ParseHeroTable({data, size}, &records, [&](const qm::OverlongValue& v) {
        Check(v.message_id >= qm::kMsgKeywordOverflow && v.message_id <= qm::kMsgExtraOverflow);
        Check(v.length < qm::kHeroColumnBuffer);
        ++reports;
      });
  Check(records.size() <= qm::kMaxHeroRecords);
  Check(parse.ok() == !records.empty());
  if (!parse.ok()) return 0;
  Check(records.size() == parse.rows_read + 2);
  for (const qm::HeroRecord& r : records) {
    Check(r.keyword.size() <= qm::kKeywordMaxChars && r.name.size() <= qm::kNameMaxChars);
    Check(r.biography.size() <= qm::kBiographyMaxChars && r.extra.size() <= qm::kExtraMaxChars);
  }

  std::vector<uint8_t> out;
  Check(qm::SerializeHeroTable(records, &out).ok());
  std::vector<qm::HeroRecord> again;
  const qm::HeroTableParse reparse = qm::ParseHeroTable(out, &again, [](const qm::OverlongValue&) { std::abort(); });
  Check(reparse.ok() && !reparse.truncated && !reparse.capped && reparse.extra_columns == 0);
  Check(again.size() == records.size());
  for (size_t i = qm::kFirstHeroRecord; i < records.size(); ++i) {
    const qm::HeroRecord& a = records[i];
    const qm::HeroRecord& b = again[i];
    Check(a.keyword == b.keyword && a.name == b.name && a.biography == b.biography && a.extra == b.extra);
    Check(a.sex == b.sex && a.hero_class == b.hero_class && (a.allowed_by != 0) == (b.allowed_by != 0));
    Check(a.flags == b.flags);
  }
  (void)reports;
  return 0;
}
