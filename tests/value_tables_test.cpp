#include "heroes/value_tables.h"

#include <gtest/gtest.h>

#include "shell/language.h"
#include "shell/program_strings.h"

namespace qm {
namespace {

// The language the label lookups below read.
Language* g_labels = nullptr;
std::string_view LabelsOfTestLanguage(uint32_t id) { return g_labels->Text(id); }

TEST(ValueTables, TokenAndIdLookups) {
  EXPECT_EQ(TokenOfId(kClassTable, kClassDeathKnight), "death_knight");
  EXPECT_EQ(TokenOfId(kSexTable, 0), "");
  EXPECT_EQ(TokenOfId(kResizeMethodTable, kResizeBilinear), "blinear");
  EXPECT_EQ(IdOfToken(kSexTable, "MALE"), kSexMale);
  EXPECT_EQ(IdOfToken(kSexTable, "Female"), kSexFemale);
  EXPECT_EQ(IdOfToken(kSexTable, "femal"), 0u);
  EXPECT_EQ(IdOfToken(kSexTable, ""), 0u);
  EXPECT_EQ(IdOfToken(kAllowedByTable, "x"), 1u);
  EXPECT_EQ(IdOfToken(kAllowedByTable, "O"), 0u);
  EXPECT_EQ(IdOfToken(ValueTable{}, "male"), 0u);
  // Only A..Z fold: a Latin-1 capital is not the same letter as its small form.
  EXPECT_EQ(IdOfToken(kAlignmentTable, "NATURE"), kAlignmentNature);
  EXPECT_EQ(IdOfToken(kAlignmentTable, "n\xC1ture"), 0u);
}

TEST(ValueTables, LabelsComeFromTheLanguage) {
  Language language(LookupEditorString);
  g_labels = &language;
  const LabelText text = LabelsOfTestLanguage;
  EXPECT_EQ(LabelOfId(kSexTable, kSexFemale, text), "Female");
  EXPECT_EQ(LabelOfId(kClassTable, kClassDeathKnight, text), "DeathKnight");
  EXPECT_EQ(LabelOfId(kResizeMethodTable, kResizeSmart, text), "Pixel resize");
  EXPECT_EQ(LabelOfId(kAlignmentTable, kAlignmentLife, text), std::nullopt);  // no label
  EXPECT_EQ(LabelOfId(kClassTable, 13, text), std::nullopt);
  EXPECT_EQ(IdOfLabel(kClassTable, "deathknight", text), kClassDeathKnight);
  EXPECT_EQ(IdOfLabel(kClassTable, "death_knight", text), 0u);

  language.ParseText("[String]\n401=Weiblich\n");
  EXPECT_EQ(LabelOfId(kSexTable, kSexFemale, text), "Weiblich");
  EXPECT_EQ(IdOfLabel(kSexTable, "WEIBLICH", text), kSexFemale);
  EXPECT_EQ(IdOfLabel(kSexTable, "Female", text), 0u);
}

TEST(ValueTables, ClassToAlignment) {
  const uint8_t expected[] = {kAlignmentDeath,  kAlignmentNone,  kAlignmentNature, kAlignmentMight,
                              kAlignmentLife,   kAlignmentLife,  kAlignmentNature, kAlignmentOrder,
                              kAlignmentOrder,  kAlignmentDeath, kAlignmentChaos,  kAlignmentChaos,
                              kAlignmentDeath,  kAlignmentNone,  kAlignmentNone};
  for (uint32_t id = 0; id < std::size(expected); ++id) {
    EXPECT_EQ(AlignmentOfClass(id), expected[id]) << "class " << id;
  }
  EXPECT_EQ(AlignmentOfClass(255), kAlignmentNone);
}

}  // namespace
}  // namespace qm
