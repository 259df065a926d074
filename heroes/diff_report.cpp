#include "heroes/diff_report.h"

#include "base/html_text.h"
#include "heroes/catalogue_page.h"
#include "heroes/hero_sheet.h"
#include "heroes/page_parts.h"

namespace qm {
namespace {

bool IsFaceField(DiffField field) { return field == DiffField::kLargeFace || field == DiffField::kSmallFace; }

bool FaceChanged(const HeroChange& h, FaceKind kind) {
  const DiffField wanted = kind == FaceKind::kLarge ? DiffField::kLargeFace : DiffField::kSmallFace;
  for (const FieldChange& f : h.fields) {
    if (f.field == wanted) return true;
  }
  return false;
}

// One side of a hero: its record and its sheet row, or neither when the hero is not on that side.
struct Side {
  const HeroCatalogue* catalogue = nullptr;
  const HeroRecord* record = nullptr;
  const SheetRow* row = nullptr;
  size_t index = 0;
  CodePage page = kDefaultCodePage;

  bool Holds(FaceKind kind) const { return record && record->holds_face(kind); }
  std::string Text(DiffField field) const {
    if (!row) return {};
    switch (field) {
      case DiffField::kKeyword: return row->keyword;
      case DiffField::kName: return row->name;
      case DiffField::kBiography: return row->biography;
      case DiffField::kSex: return row->sex.empty() ? "none" : row->sex;
      case DiffField::kClass: return row->hero_class.empty() ? "none" : row->hero_class;
      case DiffField::kAllowedBy: return row->allowed;
      case DiffField::kExtra: return CodePageToUtf8(record->extra, page);
      default: return {};
    }
  }
};

const char* FieldTitle(DiffField field) {
  switch (field) {
    case DiffField::kKeyword: return "Keyword";
    case DiffField::kName: return "Name";
    case DiffField::kBiography: return "Biography";
    case DiffField::kSex: return "Sex";
    case DiffField::kClass: return "Class";
    case DiffField::kAllowedBy: return "Allowed By";
    case DiffField::kExtra: return "Extra text";
    case DiffField::kLargeFace: return "Large face";
    case DiffField::kSmallFace: return "Small face";
    default: return DiffFieldName(field);
  }
}

// "In the game now" -> "in the game now", to follow "Large face, ".
std::string AfterComma(std::string label) {
  if (!label.empty() && label[0] >= 'A' && label[0] <= 'Z') label[0] = static_cast<char>(label[0] - 'A' + 'a');
  return label;
}

void AppendSideFace(std::string* out, const Side& side, FaceKind kind, const std::string& called,
                    const std::string& side_label) {
  const std::string when = AfterComma(side_label);
  const std::string kind_title = kind == FaceKind::kLarge ? "Large face" : "Small face";
  const std::string src = side.Holds(kind) ? FaceDataAddress(*side.catalogue, side.index, kind) : std::string();
  *out += "<figure>";
  page::AppendFace(out, kind, src,
                   side.Holds(kind) ? kind_title + " of " + called + ", " + when
                                    : "No " + std::string(FaceKindWord(kind)) + " face, " + when,
                   side.Holds(kind) ? "cannot be shown" : std::string("no ") + FaceKindWord(kind) + " face");
  *out += "<figcaption>";
  AppendHtmlEscaped(out, kind_title + ", " + when);
  *out += "</figcaption></figure>";
}

void AppendFaces(std::string* out, const HeroChange& h, const Side& before, const Side& after,
                 const std::string& called, const DiffReportPage& about) {
  *out += "<div class=\"compare\">";
  for (FaceKind kind : {FaceKind::kLarge, FaceKind::kSmall}) {
    const bool changed = h.kind != HeroChangeKind::kChanged ? true : FaceChanged(h, kind);
    const Side& only = before.record ? before : after;
    if (!changed && !only.Holds(kind)) continue;
    *out += "<div class=\"pair\">";
    if (!changed) {
      AppendSideFace(out, only, kind, called, "unchanged");
    } else {
      if (h.kind != HeroChangeKind::kAdded) AppendSideFace(out, before, kind, called, about.before_label);
      if (h.kind == HeroChangeKind::kChanged) *out += "<span class=\"arrow\" aria-hidden=\"true\">&#8594;</span>";
      if (h.kind != HeroChangeKind::kDropped) AppendSideFace(out, after, kind, called, about.after_label);
    }
    *out += "</div>";
  }
  *out += "</div>\n";
}

void AppendValue(std::string* out, const char* side_class, const std::string& side_label, const std::string& value,
                 bool present) {
  *out += "<td class=\"";
  *out += side_class;
  if (!present || value.empty()) *out += " empty";
  *out += "\" data-side=\"";
  AppendHtmlEscaped(out, side_label);
  *out += "\">";
  if (!present) {
    *out += "(no such hero)";
  } else if (value.empty()) {
    *out += "(empty)";
  } else {
    AppendHtmlEscaped(out, value);
  }
  *out += "</td>";
}

void AppendFields(std::string* out, const HeroChange& h, const Side& before, const Side& after,
                  const DiffReportPage& about) {
  std::vector<DiffField> fields;
  if (h.kind == HeroChangeKind::kChanged) {
    for (const FieldChange& f : h.fields) {
      if (!IsFaceField(f.field)) fields.push_back(f.field);
    }
  } else {
    fields = {DiffField::kKeyword, DiffField::kName,      DiffField::kBiography, DiffField::kSex,
              DiffField::kClass,   DiffField::kAllowedBy, DiffField::kExtra};
  }
  if (fields.empty()) return;
  *out += "<table class=\"fields\"><thead><tr><th scope=\"col\">Field</th><th scope=\"col\">";
  AppendHtmlEscaped(out, about.before_label);
  *out += "</th><th scope=\"col\">";
  AppendHtmlEscaped(out, about.after_label);
  *out += "</th></tr></thead><tbody>\n";
  for (DiffField field : fields) {
    *out += "<tr><th scope=\"row\">";
    *out += FieldTitle(field);
    *out += "</th>";
    AppendValue(out, "before", about.before_label, before.Text(field), before.row != nullptr);
    AppendValue(out, "after", about.after_label, after.Text(field), after.row != nullptr);
    *out += "</tr>\n";
  }
  *out += "</tbody></table>\n";
}

Side SideOf(const HeroCatalogue& catalogue, const std::vector<SheetRow>& rows, size_t index, CodePage page) {
  Side side;
  side.catalogue = &catalogue;
  side.index = index;
  side.page = page;
  if (index < catalogue.count() && index < rows.size()) {
    side.record = &catalogue.record(index);
    side.row = &rows[index];
  }
  return side;
}

std::string Counted(size_t n, const char* one, const char* many) {
  return std::to_string(n) + " " + (n == 1 ? one : many);
}

}  // namespace

DiffSummary SummarizeDiff(const CatalogueDiff& diff, const HeroCatalogue& before, const HeroCatalogue& after) {
  DiffSummary s;
  for (const HeroChange& h : diff.heroes) {
    ++s.heroes;
    if (h.kind != HeroChangeKind::kChanged) {
      const HeroCatalogue& side = h.kind == HeroChangeKind::kAdded ? after : before;
      ++(h.kind == HeroChangeKind::kAdded ? s.added : s.dropped);
      if (h.record < side.count()) {
        s.large_faces += side.record(h.record).holds_face(FaceKind::kLarge) ? 1 : 0;
        s.small_faces += side.record(h.record).holds_face(FaceKind::kSmall) ? 1 : 0;
      }
      continue;
    }
    for (const FieldChange& f : h.fields) {
      ++(f.field == DiffField::kLargeFace   ? s.large_faces
         : f.field == DiffField::kSmallFace ? s.small_faces
                                            : s.fields);
    }
  }
  return s;
}

std::string DiffReportHtml(const CatalogueDiff& diff, const HeroCatalogue& before, const HeroCatalogue& after,
                           CodePage page, const DiffReportPage& about) {
  const std::vector<SheetRow> before_rows = SheetRowsOf(before, page);
  const std::vector<SheetRow> after_rows = SheetRowsOf(after, page);
  const DiffSummary summary = SummarizeDiff(diff, before, after);

  std::string out;
  page::AppendHead(&out, about.title, false);
  page::AppendTop(&out, about.title, about.notes);
  out += "<main>\n<ul class=\"summary\" aria-label=\"Summary\">";
  std::string heroes = Counted(summary.heroes, "hero changed", "heroes changed");
  if (summary.added || summary.dropped) {
    heroes += " (" + std::to_string(summary.added) + " added, " + std::to_string(summary.dropped) + " dropped)";
  }
  for (const std::string& item :
       {heroes,
        Counted(summary.large_faces + summary.small_faces, "face changed", "faces changed") + " (" +
            std::to_string(summary.large_faces) + " large, " + std::to_string(summary.small_faces) + " small)",
        Counted(summary.fields, "other field changed", "other fields changed")}) {
    out += "<li>";
    AppendHtmlEscaped(&out, item);
    out += "</li>";
  }
  out += "</ul>\n";
  if (diff.empty()) out += "<p>Nothing would change.</p>\n";

  for (const HeroChange& h : diff.heroes) {
    const Side b = SideOf(before, before_rows, h.record, page);
    const Side a = SideOf(after, after_rows, h.record, page);
    const Side& named = a.row ? a : b;
    const std::string keyword = named.row ? named.row->keyword : std::string();
    const std::string name = named.row ? named.row->name : std::string();
    const std::string called = page::HeroCalled(name, keyword, h.record);
    out += "<section class=\"change\" id=\"r" + std::to_string(h.record) + "\">\n<h2><span class=\"record\">" +
           std::to_string(h.record) + "</span> ";
    AppendHtmlEscaped(&out, called);
    if (!keyword.empty() && keyword != called) {
      out += " <span class=\"record\">(";
      AppendHtmlEscaped(&out, keyword);
      out += ")</span>";
    }
    out += "</h2>\n<p class=\"kind\">";
    if (h.kind == HeroChangeKind::kAdded) {
      out += "Added";
    } else if (h.kind == HeroChangeKind::kDropped) {
      out += "Dropped";
    } else {
      out += "Changed: ";
      bool first = true;
      for (const FieldChange& f : h.fields) {
        out += first ? "" : ", ";
        first = false;
        out += FieldTitle(f.field);
      }
    }
    out += "</p>\n";
    AppendFaces(&out, h, b, a, called, about);
    AppendFields(&out, h, b, a, about);
    out += "</section>\n";
  }
  out += "</main>\n";
  page::AppendEnd(&out, false);
  return out;
}

}  // namespace qm
