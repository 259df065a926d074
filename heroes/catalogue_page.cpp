#include "heroes/catalogue_page.h"

#include <algorithm>
#include <memory>
#include <unordered_set>

#include "base/html_text.h"
#include "heroes/catalogue_faces.h"
#include "heroes/page_parts.h"
#include "heroes/value_tables.h"
#include "portrait/picture_file.h"

namespace qm {
namespace {

std::string TokenOrNone(const std::string& token) { return token.empty() ? "none" : token; }

// A <select> of the filter: "any", then each token of the table, then "none".
void AppendSelect(std::string* out, const char* member, const char* label, ValueTable table) {
  *out += "<label>";
  *out += label;
  *out += "<select name=\"";
  *out += member;
  *out += "\"><option value=\"\">any</option>";
  for (const ValueRow& row : table) {
    *out += "<option value=\"";
    AppendHtmlEscaped(out, row.token);
    *out += "\">";
    AppendHtmlEscaped(out, page::DisplayToken(row.token));
    *out += "</option>";
  }
  *out += "<option value=\"none\">none</option></select></label>\n";
}

void AppendFilter(std::string* out, size_t cards) {
  // Hidden until the script shows it: without the script it could not filter.
  *out +=
      "<form id=\"filter\" class=\"filter\" role=\"search\" hidden>\n"
      "<label>Search name, keyword or biography<input type=\"search\" name=\"q\" autocomplete=\"off\" "
      "spellcheck=\"false\"></label>\n";
  AppendSelect(out, "alignment", "Alignment", kAlignmentTable);
  AppendSelect(out, "class", "Class", kClassTable);
  AppendSelect(out, "sex", "Sex", kSexTable);
  *out += "</form>\n<p id=\"shown\" class=\"shown\" role=\"status\" aria-live=\"polite\">";
  *out += std::to_string(cards) + (cards == 1 ? " card" : " cards");
  *out += "</p>\n";
}

void AppendFact(std::string* out, const char* term, std::string_view value, const char* value_class = nullptr) {
  *out += "<dt>";
  *out += term;
  *out += value_class ? std::string("</dt><dd class=\"") + value_class + "\">" : std::string("</dt><dd>");
  AppendHtmlEscaped(out, value);
  *out += "</dd>";
}

void AppendCard(std::string* out, size_t index, const HeroRecord& record, const SheetRow& row,
                const FaceAddress& face) {
  *out += "<article class=\"card\" id=\"r" + std::to_string(index) + "\" data-alignment=\"";
  AppendHtmlEscaped(out, TokenOrNone(row.alignment));
  *out += "\" data-class=\"";
  AppendHtmlEscaped(out, TokenOrNone(row.hero_class));
  *out += "\" data-sex=\"";
  AppendHtmlEscaped(out, TokenOrNone(row.sex));
  *out += "\">\n<div class=\"faces\">";
  const std::string called = page::HeroCalled(row.name, row.keyword, index);
  for (FaceKind kind : {FaceKind::kLarge, FaceKind::kSmall}) {
    const bool held = index != kHeaderRecord && record.holds_face(kind);
    const std::string src = held ? face(index, kind) : std::string();
    const std::string alt = std::string(kind == FaceKind::kLarge ? "Large" : "Small") + " face of " + called;
    page::AppendFace(out, kind, src, held ? alt : "No " + std::string(FaceKindWord(kind)) + " face",
                     held ? "cannot be shown" : std::string("no ") + FaceKindWord(kind) + " face");
  }
  *out += "</div>\n<div class=\"about\">\n<h2><span class=\"record\">" + std::to_string(index) + "</span> ";
  if (row.name.empty()) {
    *out += "<span class=\"name unnamed\">(no name)</span>";
  } else {
    *out += "<span class=\"name\">";
    AppendHtmlEscaped(out, row.name);
    *out += "</span>";
  }
  *out += "</h2>\n";
  std::vector<const char*> marks;
  if (index == kHeaderRecord) marks.push_back("table header row, never saved");
  if (index == kDeadRecord || index == kSleepingRecord) marks.push_back("pseudo-hero");
  if (index != kHeaderRecord && record.read_only()) marks.push_back("read-only");
  if (!marks.empty()) {
    *out += "<p class=\"marks\">";
    for (const char* mark : marks) *out += std::string("<span class=\"mark\">") + mark + "</span>";
    *out += "</p>\n";
  }
  *out += "<dl class=\"facts\">";
  AppendFact(out, "Keyword", row.keyword, "keyword");
  AppendFact(out, "Class", page::DisplayToken(row.hero_class));
  AppendFact(out, "Sex", page::DisplayToken(row.sex));
  AppendFact(out, "Alignment", page::DisplayToken(row.alignment));
  AppendFact(out, "Allowed By", row.allowed == "yes" ? "allowed" : "not allowed");
  *out += "</dl>\n<p class=\"bio\">";
  AppendHtmlEscaped(out, row.biography);
  *out += "</p>\n</div>\n</article>\n";
}

}  // namespace

std::string GalleryHtml(const HeroCatalogue& catalogue, std::span<const SheetRow> rows, const GalleryPage& about,
                        const FaceAddress& face) {
  const size_t cards = std::min(rows.size(), catalogue.count());
  std::string out;
  out.reserve(4096 + cards * 1200);
  page::AppendHead(&out, about.title, true);
  page::AppendTop(&out, about.title, about.notes);
  out += "<main>\n";
  AppendFilter(&out, cards);
  out += "<div class=\"cards\">\n";
  for (size_t i = 0; i < cards; ++i) AppendCard(&out, i, catalogue.record(i), rows[i], face);
  out += "</div>\n</main>\n";
  page::AppendEnd(&out, true);
  return out;
}

FaceAddress ExportedFaceAddress(const HeroCatalogue& catalogue, const FaceExport& exported,
                                const std::string& faces_folder) {
  auto written = std::make_shared<std::unordered_set<std::string>>(exported.files.begin(), exported.files.end());
  return [&catalogue, written, faces_folder](size_t record, FaceKind kind) -> std::string {
    const std::string name = ExportedFaceName(record, catalogue.record(record).keyword, kind);
    return written->count(name) ? faces_folder + "/" + name : std::string();
  };
}

std::string FaceDataAddress(const HeroCatalogue& catalogue, size_t record, FaceKind kind) {
  Picture picture;
  std::vector<uint8_t> png;
  if (record >= catalogue.count() || !DecodeRecordFace(catalogue, record, kind, &picture) ||
      !EncodePicture(picture, PictureFormat::kPng, &png)) {
    return {};
  }
  std::string address = "data:image/png;base64,";
  AppendBase64(&address, png);
  return address;
}

FaceAddress EmbeddedFaceAddress(const HeroCatalogue& catalogue) {
  return [&catalogue](size_t record, FaceKind kind) { return FaceDataAddress(catalogue, record, kind); };
}

}  // namespace qm
