#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/html_text.h"
#include "heroes/catalogue_diff.h"
#include "heroes/catalogue_faces.h"
#include "heroes/catalogue_page.h"
#include "heroes/diff_report.h"
#include "heroes/hero_sheet.h"
#include "portrait/picture_file.h"
#include "tools/demo_game/demo_game.h"

namespace qm {
namespace {

constexpr const char* kHostile[] = {"<script>alert(1)</script>", "\"onerror=alert(1) x=\"", "'><b>x</b>&amp;"};

size_t Count(const std::string& text, const std::string& what) {
  size_t n = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

HeroCatalogue Demo(size_t heroes) {
  std::vector<HeroRecord> records;
  EXPECT_TRUE(MakeDemoRecords(demo::DemoHeroes(heroes), &records).ok());
  HeroCatalogue catalogue;
  EXPECT_TRUE(catalogue.Assign(std::move(records)).ok());
  return catalogue;
}

void SetTexts(HeroCatalogue* catalogue, size_t index, const std::string& name, const std::string& bio) {
  ASSERT_TRUE(catalogue->SetName(index, name).ok());
  ASSERT_TRUE(catalogue->SetBiography(index, bio).ok());
}

std::vector<uint8_t> FromBase64(std::string_view text) {
  const std::string digits = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::vector<uint8_t> out;
  uint32_t bits = 0;
  int count = 0;
  for (char c : text) {
    if (c == '=') break;
    bits = (bits << 6) | static_cast<uint32_t>(digits.find(c));
    if ((count += 6) >= 8) out.push_back(static_cast<uint8_t>(bits >> (count -= 8)));
  }
  return out;
}

TEST(HtmlTextTest, EscapesEveryCharacterThatEndsTextOrAnAttribute) {
  EXPECT_EQ(HtmlEscaped("a&b<c>d\"e'f"), "a&amp;b&lt;c&gt;d&quot;e&#39;f");
  EXPECT_EQ(HtmlEscaped("Грускъ\nWolf"), "Грускъ\nWolf");  // UTF-8 and line breaks stay
  for (const char* text : kHostile) {
    const std::string escaped = HtmlEscaped(text);
    EXPECT_EQ(escaped.find_first_of("<>\"'"), std::string::npos) << escaped;
  }
}

TEST(HtmlTextTest, Base64AsDataAddressesTakeIt) {
  const std::pair<const char*, const char*> vectors[] = {{"", ""},
                                                         {"f", "Zg=="},
                                                         {"fo", "Zm8="},
                                                         {"foo", "Zm9v"},
                                                         {"foob", "Zm9vYg=="},
                                                         {"fooba", "Zm9vYmE="},
                                                         {"foobar", "Zm9vYmFy"}};
  for (const auto& [plain, encoded] : vectors) {
    const std::string_view p(plain);
    EXPECT_EQ(Base64(std::vector<uint8_t>(p.begin(), p.end())), encoded);
  }
  const std::vector<uint8_t> all_bytes = {0x00, 0xFF, 0xFE, 0x80, 0x7F, 0x3E, 0x3F};
  EXPECT_EQ(Base64(all_bytes), "AP/+gH8+Pw==");
}

TEST(GalleryPageTest, OneCardPerRecordWithEveryTextEscapedAndTheRolesMarked) {
  HeroCatalogue catalogue = Demo(3);
  SetTexts(&catalogue, 3, kHostile[0], std::string(kHostile[1]) + "\nsecond line");
  SetTexts(&catalogue, 4, kHostile[2], "");
  const std::vector<SheetRow> rows = SheetRowsOf(catalogue, CodePage::k1252);
  FaceExport exported;
  exported.files = {ExportedFaceName(3, "Sylwen", FaceKind::kLarge), ExportedFaceName(3, "Sylwen", FaceKind::kSmall),
                    ExportedFaceName(4, "Corin", FaceKind::kLarge)};
  const std::string html =
      GalleryHtml(catalogue, rows, {"Heroes <&>", {"note \"1\""}}, ExportedFaceAddress(catalogue, exported, "faces"));

  EXPECT_EQ(Count(html, "<article class=\"card\""), catalogue.count());
  EXPECT_EQ(Count(html, "<script>"), 1u);  // the page's own
  for (const char* text : kHostile) EXPECT_NE(html.find(HtmlEscaped(text)), std::string::npos) << text;
  EXPECT_EQ(html.find("<b>"), std::string::npos);
  EXPECT_EQ(html.find("\"onerror"), std::string::npos);
  EXPECT_NE(html.find("<title>Heroes &lt;&amp;&gt;</title>"), std::string::npos);
  EXPECT_NE(html.find("&quot;onerror=alert(1) x=&quot;\nsecond line</p>"), std::string::npos);  // line break kept

  EXPECT_NE(html.find("table header row, never saved"), std::string::npos);
  EXPECT_EQ(Count(html, ">pseudo-hero<"), 2u);
  EXPECT_EQ(Count(html, ">read-only<"), 2u);  // dead and sleeping
  EXPECT_NE(html.find("id=\"r3\" data-alignment=\"nature\" data-class=\"archer\" data-sex=\"female\""),
            std::string::npos);
  EXPECT_NE(html.find("id=\"r0\" data-alignment=\"none\" data-class=\"none\" data-sex=\"none\""), std::string::npos);

  // Faces link to the files the export wrote; one it did not write cannot be shown.
  EXPECT_NE(html.find("<img src=\"faces/3-Sylwen-large.png\" width=\"82\" height=\"82\" alt=\"Large face of "
                      "&lt;script&gt;"),
            std::string::npos);
  EXPECT_NE(html.find("<img src=\"faces/3-Sylwen-small.png\" width=\"52\" height=\"52\""), std::string::npos);
  EXPECT_EQ(Count(html, "<img "), 3u);
  EXPECT_NE(html.find("aria-label=\"Small face of &#39;&gt;&lt;b&gt;x&lt;/b&gt;&amp;amp;\">cannot be shown"),
            std::string::npos);
  EXPECT_NE(html.find("aria-label=\"No large face\">no large face"), std::string::npos);  // record 0

  const size_t policy = html.find(
      "Content-Security-Policy\" content=\"default-src &#39;none&#39;; img-src "
      "&#39;self&#39; data:; style-src &#39;sha256-");
  EXPECT_NE(policy, std::string::npos);
  EXPECT_NE(html.find("script-src &#39;sha256-", policy), std::string::npos);
}

TEST(GalleryPageTest, EmbeddedFacesAreTheFacesAsPng) {
  const HeroCatalogue catalogue = Demo(1);
  for (FaceKind kind : {FaceKind::kLarge, FaceKind::kSmall}) {
    const std::string address = FaceDataAddress(catalogue, 3, kind);
    const std::string prefix = "data:image/png;base64,";
    ASSERT_EQ(address.rfind(prefix, 0), 0u);
    Picture shown, expected;
    ASSERT_TRUE(DecodePictureBytes(FromBase64(std::string_view(address).substr(prefix.size())), false, 0, &shown).ok());
    ASSERT_TRUE(DecodeRecordFace(catalogue, 3, kind, &expected));
    EXPECT_EQ(shown, expected);
  }
  EXPECT_EQ(FaceDataAddress(catalogue, 0, FaceKind::kLarge), "");   // the header row holds none
  EXPECT_EQ(FaceDataAddress(catalogue, 99, FaceKind::kLarge), "");  // no such record
  HeroCatalogue broken = catalogue;
  ASSERT_TRUE(broken.ReplaceFace(3, FaceKind::kLarge, {1, 2, 3}).ok());
  EXPECT_EQ(FaceDataAddress(broken, 3, FaceKind::kLarge), "");
  const std::string html = GalleryHtml(broken, SheetRowsOf(broken, CodePage::k1252), {}, EmbeddedFaceAddress(broken));
  EXPECT_NE(html.find(">cannot be shown</span>"), std::string::npos);
  EXPECT_EQ(Count(html, "src=\"data:image/png;base64,"), 2u * broken.count() - 2 - 1);  // record 0 and the broken one
}

TEST(DiffReportTest, ChangedHeroesOnlyWithFacesSideBySideAndTextsThroughTheCodePage) {
  const HeroCatalogue before = Demo(4);
  HeroCatalogue after = before;
  SetTexts(&after, 3, "\xC3\xF0\xF3\xF1\xEA\xFA", before.record(3).biography);  // "Грускъ" in code page 1251
  ASSERT_TRUE(after.ReplaceFace(4, FaceKind::kLarge, before.record(5).large_face).ok());
  ASSERT_TRUE(after.SetName(6, kHostile[0]).ok());
  const CatalogueDiff diff = DiffCatalogues(before.records(), after.records());

  const DiffSummary summary = SummarizeDiff(diff, before, after);
  EXPECT_EQ(summary.heroes, 3u);
  EXPECT_EQ(summary.large_faces, 1u);
  EXPECT_EQ(summary.small_faces, 0u);
  EXPECT_EQ(summary.fields, 2u);

  const std::string html = DiffReportHtml(diff, before, after, CodePage::k1251, {"Report", {}, "Now", "Then"});
  EXPECT_EQ(Count(html, "<section class=\"change\""), 3u);
  EXPECT_EQ(html.find("id=\"r5\""), std::string::npos);  // unchanged heroes are left out
  EXPECT_EQ(Count(html, "<script"), 0u);
  EXPECT_NE(html.find("script-src &#39;none&#39;"), std::string::npos);
  EXPECT_NE(html.find("<li>3 heroes changed</li><li>1 face changed (1 large, 0 small)</li><li>2 other fields "
                      "changed</li>"),
            std::string::npos);
  EXPECT_NE(html.find("data-side=\"Then\">Грускъ</td>"), std::string::npos);
  EXPECT_NE(html.find("data-side=\"Then\">" + HtmlEscaped(kHostile[0]) + "</td>"), std::string::npos);
  EXPECT_EQ(html.find(kHostile[0]), std::string::npos);

  // Record 4: its large face as the pair now -> then, its small face once; record 3 both once.
  const std::string four = html.substr(html.find("id=\"r4\""), html.find("id=\"r6\"") - html.find("id=\"r4\""));
  EXPECT_EQ(Count(four, "<img "), 3u);
  EXPECT_NE(four.find("Large face, now"), std::string::npos);
  EXPECT_NE(four.find("Large face, then"), std::string::npos);
  EXPECT_NE(four.find("Small face, unchanged"), std::string::npos);
  const std::string three = html.substr(html.find("id=\"r3\""), html.find("id=\"r4\"") - html.find("id=\"r3\""));
  EXPECT_EQ(Count(three, "<img "), 2u);
  EXPECT_EQ(Count(three, ", unchanged</figcaption>"), 2u);
}

TEST(DiffReportTest, AddedAndDroppedHeroesShowOneSide) {
  const HeroCatalogue small = Demo(1), large = Demo(2);
  const CatalogueDiff added = DiffCatalogues(small.records(), large.records());
  const DiffSummary summary = SummarizeDiff(added, small, large);
  EXPECT_EQ(summary.heroes, 1u);
  EXPECT_EQ(summary.added, 1u);
  EXPECT_EQ(summary.large_faces + summary.small_faces, 2u);
  const std::string html = DiffReportHtml(added, small, large, CodePage::k1252, {"Report", {}, "Now", "Then"});
  EXPECT_NE(html.find("<p class=\"kind\">Added</p>"), std::string::npos);
  EXPECT_EQ(Count(html, "(no such hero)"), 7u);  // every field, on the side of now
  EXPECT_EQ(Count(html, "<img "), 2u);
  EXPECT_EQ(html.find("&#8594;"), std::string::npos);  // no pair: nothing to compare with

  const std::string dropped = DiffReportHtml(DiffCatalogues(large.records(), small.records()), large, small,
                                             CodePage::k1252, {"Report", {}, "Now", "Then"});
  EXPECT_NE(dropped.find("<p class=\"kind\">Dropped</p>"), std::string::npos);
  EXPECT_NE(dropped.find("Large face, now"), std::string::npos);

  const std::string nothing = DiffReportHtml({}, small, small, CodePage::k1252, {"Report", {}, "Now", "Then"});
  EXPECT_NE(nothing.find("<li>0 heroes changed</li>"), std::string::npos);
  EXPECT_NE(nothing.find("Nothing would change."), std::string::npos);
}

}  // namespace
}  // namespace qm
