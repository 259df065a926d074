#include "heroes/catalogue_diff.h"

#include <algorithm>

#include "base/json_string.h"
#include "base/quoted_text.h"
#include "heroes/face_loss.h"
#include "heroes/value_tables.h"

namespace qm {
namespace {

std::string TokenOrNone(ValueTable table, uint32_t id) {
  const std::string_view token = TokenOfId(table, id);
  return token.empty() ? "none" : std::string(token);
}

const char* Presence(const std::vector<uint8_t>& face) { return face.empty() ? "none" : "present"; }

// The face as a save writes it: none when the record's class puts it in no bundle.
const std::vector<uint8_t>& SavedFace(const HeroRecord& record, FaceKind kind) {
  static const std::vector<uint8_t> kNone;
  return SavesFace(record, kind) ? record.face(kind) : kNone;
}

bool IsText(DiffField field) {
  return field == DiffField::kKeyword || field == DiffField::kName || field == DiffField::kBiography ||
         field == DiffField::kExtra;
}

bool IsFace(DiffField field) { return field == DiffField::kLargeFace || field == DiffField::kSmallFace; }

void CompareRecords(const HeroRecord& a, const HeroRecord& b, std::vector<FieldChange>* out) {
  auto text = [&](DiffField f, const std::string& x, const std::string& y) {
    if (x != y) out->push_back({f, x, y});
  };
  text(DiffField::kKeyword, a.keyword, b.keyword);
  text(DiffField::kName, a.name, b.name);
  text(DiffField::kBiography, a.biography, b.biography);
  if (a.sex != b.sex) out->push_back({DiffField::kSex, TokenOrNone(kSexTable, a.sex), TokenOrNone(kSexTable, b.sex)});
  if (a.hero_class != b.hero_class) {
    out->push_back({DiffField::kClass, TokenOrNone(kClassTable, a.hero_class), TokenOrNone(kClassTable, b.hero_class)});
  }
  if ((a.allowed_by != 0) != (b.allowed_by != 0)) {
    out->push_back({DiffField::kAllowedBy, a.allowed_by ? "yes" : "no", b.allowed_by ? "yes" : "no"});
  }
  text(DiffField::kExtra, a.extra, b.extra);
  for (const FaceKind kind : {FaceKind::kLarge, FaceKind::kSmall}) {
    const std::vector<uint8_t>& x = SavedFace(a, kind);
    const std::vector<uint8_t>& y = SavedFace(b, kind);
    const DiffField field = kind == FaceKind::kLarge ? DiffField::kLargeFace : DiffField::kSmallFace;
    if (x != y) out->push_back({field, Presence(x), Presence(y)});
  }
}

std::string QuotedLine(std::string_view text, CodePage page) { return QuotedText(CodePageToUtf8(text, page)); }

const char* FaceLabel(DiffField field) { return field == DiffField::kLargeFace ? "large face" : "small face"; }

const char* FieldLabel(DiffField field) {
  switch (field) {
    case DiffField::kAllowedBy: return "Allowed By";
    case DiffField::kLargeFace:
    case DiffField::kSmallFace: return FaceLabel(field);
    default: return DiffFieldName(field);
  }
}

const char* KindName(HeroChangeKind kind) {
  switch (kind) {
    case HeroChangeKind::kAdded: return "added";
    case HeroChangeKind::kDropped: return "dropped";
    default: return "changed";
  }
}

}  // namespace

const char* DiffFieldName(DiffField field) {
  switch (field) {
    case DiffField::kKeyword: return "keyword";
    case DiffField::kName: return "name";
    case DiffField::kBiography: return "biography";
    case DiffField::kSex: return "sex";
    case DiffField::kClass: return "class";
    case DiffField::kAllowedBy: return "allowed";
    case DiffField::kExtra: return "extra";
    case DiffField::kLargeFace: return "large_face";
    case DiffField::kSmallFace: return "small_face";
  }
  return "?";
}

size_t CatalogueDiff::LineCount() const {
  size_t n = 0;
  for (const HeroChange& h : heroes) n += h.kind == HeroChangeKind::kChanged ? h.fields.size() : 1;
  return n;
}

CatalogueDiff DiffCatalogues(std::span<const HeroRecord> current, std::span<const HeroRecord> proposed) {
  CatalogueDiff diff;
  const size_t end = std::max(current.size(), proposed.size());
  for (size_t i = kDeadRecord; i < end; ++i) {
    HeroChange change;
    change.record = i;
    if (i >= current.size()) {
      change.kind = HeroChangeKind::kAdded;
      change.keyword = proposed[i].keyword;
    } else if (i >= proposed.size()) {
      change.kind = HeroChangeKind::kDropped;
      change.keyword = current[i].keyword;
    } else {
      change.keyword = current[i].keyword;
      CompareRecords(current[i], proposed[i], &change.fields);
      if (change.fields.empty()) continue;
    }
    diff.heroes.push_back(std::move(change));
  }
  return diff;
}

std::string CatalogueDiffText(const CatalogueDiff& diff, CodePage page) {
  std::string out;
  for (const HeroChange& h : diff.heroes) {
    const std::string heading = std::to_string(h.record) + " " + EscapedText(CodePageToUtf8(h.keyword, page)) + ": ";
    if (h.kind != HeroChangeKind::kChanged) {
      out += heading + KindName(h.kind) + "\n";
      continue;
    }
    for (const FieldChange& f : h.fields) {
      out += heading + FieldLabel(f.field);
      if (IsFace(f.field)) {
        if (f.before == f.after) {
          out += " changed";
        } else {
          out += f.before == "none" ? " added" : " removed";
        }
      } else if (IsText(f.field)) {
        // Appended piece by piece: GCC 12's -Wrestrict misreads `" " + std::string&&` at -O3.
        out += ' ';
        out += QuotedLine(f.before, page);
        out += " -> ";
        out += QuotedLine(f.after, page);
      } else {
        out += ' ';
        out += f.before;
        out += " -> ";
        out += f.after;
      }
      out += "\n";
    }
  }
  return out;
}

std::string CatalogueDiffJson(const CatalogueDiff& diff, CodePage page) {
  std::string out = "{\"changes\": [";
  bool first_hero = true;
  for (const HeroChange& h : diff.heroes) {
    out += first_hero ? "\n" : ",\n";
    first_hero = false;
    out += " {\"record\": ";
    out += std::to_string(h.record);
    out += ", \"keyword\": ";
    AppendJsonString(&out, CodePageToUtf8(h.keyword, page));
    out += std::string(", \"change\": \"") + KindName(h.kind) + "\", \"fields\": [";
    bool first_field = true;
    for (const FieldChange& f : h.fields) {
      out += first_field ? "" : ", ";
      first_field = false;
      out += std::string("{\"field\": \"") + DiffFieldName(f.field) + "\", \"before\": ";
      AppendJsonString(&out, IsText(f.field) ? CodePageToUtf8(f.before, page) : f.before);
      out += ", \"after\": ";
      AppendJsonString(&out, IsText(f.field) ? CodePageToUtf8(f.after, page) : f.after);
      out += "}";
    }
    out += "]}";
  }
  out += first_hero ? "]}\n" : "\n]}\n";
  return out;
}

}  // namespace qm
