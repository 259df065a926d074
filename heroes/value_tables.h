// Value tables: the small fixed lists that turn the hero table's text tokens (sex, class,
// Allowed By), the portrait alignments and the resize methods into small numbers, back into
// tokens, and into localized labels for the combo boxes.
//
//   TokenOfId(kClassTable, 12)          -> "death_knight"   (empty view: no row has the id)
//   IdOfToken(kSexTable, "MALE")        -> 1                (ASCII case folded; 0: no match)
//   LabelOfId(kSexTable, 2, text)       -> "Female"         (text(401); nullopt: no label)
//   IdOfLabel(kClassTable, "mage", text) -> 7               (ASCII case folded; 0: no match)
//   AlignmentOfClass(kClassMage)        -> kAlignmentOrder
//
// Id 0 means "none" in every table, so IdOfToken cannot tell a row with id 0 from no match.
// Rows name their labels by string id; the caller passes the lookup that turns an id into its
// text (the program's language, usually qm::ProgramText), so the tables need no language.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "resources/string_ids.h"

namespace qm {

struct ValueRow {
  uint32_t id;
  std::string_view token;  // at most 63 characters
  uint32_t label_id;       // localized string id; 0 = no label
};
using ValueTable = std::span<const ValueRow>;

// The text of a label string id. The view need only stay valid until the next lookup.
using LabelText = std::string_view (*)(uint32_t label_id);

enum SexId : uint8_t { kSexNone = 0, kSexMale = 1, kSexFemale = 2 };

enum ClassId : uint8_t {
  kClassNone = 0,
  kClassGeneric = 1,
  kClassArcher = 2,
  kClassBarbarian = 3,
  kClassKnight = 4,
  kClassPriest = 5,
  kClassDruid = 6,
  kClassMage = 7,
  kClassLord = 8,
  kClassNecromancer = 9,
  kClassSorcerer = 10,
  kClassThief = 11,
  kClassDeathKnight = 12,
};

enum AlignmentId : uint8_t {
  kAlignmentNone = 0,
  kAlignmentNature = 1,
  kAlignmentLife = 2,
  kAlignmentOrder = 3,
  kAlignmentDeath = 4,
  kAlignmentChaos = 5,
  kAlignmentMight = 6,
};
constexpr int kAlignmentCount = 6;  // ids 1..6, one pair of portrait bundles each

enum ResizeMethodId : uint8_t {
  kResizeSmart = 3,
  kResizeHalftone = 4,
  kResizeSmoothBresenham = 5,
  kResizeBilinear = 6,
  kResizeBicubic = 7,
};

inline constexpr ValueRow kSexRows[] = {
    {kSexFemale, "female", kLabelFemale},
    {kSexMale, "male", kLabelMale},
};

inline constexpr ValueRow kClassRows[] = {
    {kClassGeneric, "generic", kLabelGeneric},
    {kClassArcher, "archer", kLabelArcher},
    {kClassBarbarian, "barbarian", kLabelBarbarian},
    {kClassKnight, "knight", kLabelKnight},
    {kClassPriest, "priest", kLabelPriest},
    {kClassDruid, "druid", kLabelDruid},
    {kClassMage, "mage", kLabelMage},
    {kClassLord, "lord", kLabelLord},
    {kClassNecromancer, "necromancer", kLabelNecromancer},
    {kClassSorcerer, "sorcerer", kLabelSorcerer},
    {kClassThief, "thief", kLabelThief},
    {kClassDeathKnight, "death_knight", kLabelDeathKnight},
};

inline constexpr ValueRow kAlignmentRows[] = {
    {kAlignmentNature, "nature", 0}, {kAlignmentLife, "life", 0},   {kAlignmentOrder, "order", 0},
    {kAlignmentDeath, "death", 0},   {kAlignmentChaos, "chaos", 0}, {kAlignmentMight, "might", 0},
};

inline constexpr ValueRow kAllowedByRows[] = {
    {1, "X", 0},
    {0, "O", 0},
};

inline constexpr ValueRow kResizeMethodRows[] = {
    {kResizeSmart, "smart", kLabelPixelResize},
    {kResizeHalftone, "halftone", kLabelHalftone},
    {kResizeSmoothBresenham, "s-bresenham", kLabelSmoothBresenham},
    {kResizeBilinear, "blinear", kLabelBilinear},
    {kResizeBicubic, "bcubic", kLabelBicubic},
};

inline constexpr ValueTable kSexTable{kSexRows};
inline constexpr ValueTable kClassTable{kClassRows};
inline constexpr ValueTable kAlignmentTable{kAlignmentRows};
inline constexpr ValueTable kAllowedByTable{kAllowedByRows};
inline constexpr ValueTable kResizeMethodTable{kResizeMethodRows};

// The token of the first row with `id`; an empty view when no row has it.
std::string_view TokenOfId(ValueTable table, uint32_t id);

// The id of the first row whose token equals `token` (ASCII case folded); 0 when none does.
uint32_t IdOfToken(ValueTable table, std::string_view token);

// The label text of the first row with `id`; nullopt when no row has it or the row has no
// label.
std::optional<std::string> LabelOfId(ValueTable table, uint32_t id, LabelText text);

// The id of the first row whose label text equals `label` (ASCII case folded); 0 when none.
uint32_t IdOfLabel(ValueTable table, std::string_view label, LabelText text);

// Which portrait bundles hold a class's faces (and which ring colour it gets). Class 0 goes to
// death; generic and unknown classes go nowhere (kAlignmentNone).
uint8_t AlignmentOfClass(uint32_t class_id);

}  // namespace qm
