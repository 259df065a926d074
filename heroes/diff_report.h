// Before and after as one HTML page: every hero that a patch or an import would change, with
// its faces side by side (the game's now, the incoming one) and every changed value old and new.
// qlmk patch diff --html and qlmk import --dry-run --html write it; the faces are inside the
// page as PNG data, so the report is one file that can be attached to a message.
//
//   qm::CatalogueDiff diff = qm::DiffCatalogues(now.records(), incoming.records());
//   qm::DiffReportPage about{"What QLMKSFX.EXE would change", {...}, "In the game now", "From the patch"};
//   std::string html = qm::DiffReportHtml(diff, now, incoming, page, about);
//
// The summary at the top counts the heroes changed (added and dropped ones among them), the
// faces and the other fields. Unchanged heroes are left out. For each hero, in record order:
// its number, keyword and name; both faces, a changed one as the pair now -> incoming, an
// unchanged one once; then a row per changed field with both values. An added hero shows its
// values on the incoming side only, a dropped one on the side of now only. Texts are UTF-8
// through `page` (as heroes.json shows them: name, keyword, biography, and the table's unnamed
// extra column); sex and class as tokens; Allowed By as yes or no. The page has no script.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "heroes/catalogue_diff.h"
#include "heroes/code_page.h"
#include "heroes/hero_catalogue.h"

namespace qm {

struct DiffReportPage {
  std::string title;
  std::vector<std::string> notes;  // lines under the heading
  std::string before_label = "Now";
  std::string after_label = "Incoming";
};

struct DiffSummary {
  size_t heroes = 0;  // changed, added or dropped
  size_t added = 0;
  size_t dropped = 0;
  size_t large_faces = 0;  // faces changed (added and dropped heroes' faces included)
  size_t small_faces = 0;
  size_t fields = 0;  // other fields changed (an added or dropped hero counts none)
};

DiffSummary SummarizeDiff(const CatalogueDiff& diff, const HeroCatalogue& before, const HeroCatalogue& after);

std::string DiffReportHtml(const CatalogueDiff& diff, const HeroCatalogue& before, const HeroCatalogue& after,
                           CodePage page, const DiffReportPage& about);

}  // namespace qm
