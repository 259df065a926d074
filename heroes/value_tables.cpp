#include "heroes/value_tables.h"

#include "base/ascii.h"

namespace qm {
namespace {

const ValueRow* RowOfId(ValueTable table, uint32_t id) {
  for (const ValueRow& row : table) {
    if (row.id == id) return &row;
  }
  return nullptr;
}

}  // namespace

std::string_view TokenOfId(ValueTable table, uint32_t id) {
  const ValueRow* row = RowOfId(table, id);
  return row ? row->token : std::string_view();
}

uint32_t IdOfToken(ValueTable table, std::string_view token) {
  for (const ValueRow& row : table) {
    if (AsciiEqualNoCase(row.token, token)) return row.id;
  }
  return 0;
}

std::optional<std::string> LabelOfId(ValueTable table, uint32_t id, LabelText text) {
  const ValueRow* row = RowOfId(table, id);
  if (!row || row->label_id == 0) return std::nullopt;
  return std::string(text(row->label_id));
}

uint32_t IdOfLabel(ValueTable table, std::string_view label, LabelText text) {
  for (const ValueRow& row : table) {
    if (row.label_id == 0) continue;
    if (AsciiEqualNoCase(text(row.label_id), label)) return row.id;
  }
  return 0;
}

uint8_t AlignmentOfClass(uint32_t class_id) {
  switch (class_id) {
    case kClassNone: return kAlignmentDeath;  // pseudo-heroes and heroes of unknown class
    case kClassArcher:
    case kClassDruid: return kAlignmentNature;
    case kClassKnight:
    case kClassPriest: return kAlignmentLife;
    case kClassMage:
    case kClassLord: return kAlignmentOrder;
    case kClassNecromancer:
    case kClassDeathKnight: return kAlignmentDeath;
    case kClassSorcerer:
    case kClassThief: return kAlignmentChaos;
    case kClassBarbarian: return kAlignmentMight;
    default: return kAlignmentNone;  // generic and anything above 12
  }
}

}  // namespace qm
