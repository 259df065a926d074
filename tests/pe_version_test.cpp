// The version reader for executables and the game version made from it.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cstring>

#include "shell/game_version.h"
#include "shell/pe_version.h"
#include "base/little_endian.h"
#include "tests/test_util.h"
#include "tools/demo_heroes4/demo_executable.h"
#include "tools/pe_image/pe_image_builder.h"

namespace qm {
namespace {

namespace pe = pe_image;

std::vector<uint8_t> DemoBytes() {
  std::span<const uint8_t> exe = DemoGameExecutable();
  return {exe.begin(), exe.end()};
}

// Offset of the fixed file information inside an image (its signature).
size_t FixedInfoOffset(const std::vector<uint8_t>& image) {
  const uint8_t signature[] = {0xBD, 0x04, 0xEF, 0xFE};
  for (size_t i = 0; i + sizeof signature <= image.size(); ++i) {
    if (std::memcmp(&image[i], signature, sizeof signature) == 0) return i;
  }
  return 0;
}

TEST(GameVersion, ProductVersionsOfTheGameGiveTheirNumbers) {
  EXPECT_EQ(GameVersionFromProductVersion(0x00010003, 0), 1.3f);
  EXPECT_EQ(GameVersionFromProductVersion(0x00010002, 0), 1.2f);
  EXPECT_EQ(GameVersionFromProductVersion(0x00010000, 0), 1.0f);
  EXPECT_EQ(GameVersionFromProductVersion(0, 0), 0.0f);
}

TEST(GameVersion, SameBitsInEveryBuild) {
  // Fixed results, so the host and the 32-bit Windows build are held to the same bits.
  EXPECT_EQ(std::bit_cast<uint32_t>(GameVersionFromProductVersion(0x00010003, 0x00020005)),
            0x3FA9999Au);  // 1.3.2.5 -> 1.325
  EXPECT_EQ(std::bit_cast<uint32_t>(GameVersionFromProductVersion(0xFFFFFFFF, 0xFFFFFFFF)),
            0x478E34B1u);  // 65535.65535.65535.65535 -> 72809.38
  EXPECT_EQ(std::bit_cast<uint32_t>(GameVersionFromProductVersion(0x00000007, 0x00090009)),
            0x3F4C8B44u);  // 0.7.9.9 -> 0.799
}

TEST(PeVersion, DemoGameExecutableReadsAsVersion13) {
  const std::vector<uint8_t> exe = DemoBytes();
  ASSERT_GT(exe.size(), 1024u);
  std::optional<PeProductVersion> v = ReadPeProductVersion(exe);
  ASSERT_TRUE(v);
  EXPECT_EQ(v->ms, 0x00010003u);
  EXPECT_EQ(v->ls, 0u);
  EXPECT_EQ(GameVersionOfImage(exe), 1.3f);
}

// The demo program is a loadable image: sections inside the image size and after the headers,
// the entry point and every import inside the code section, and a version block whose text
// entries sit inside the block the header measures.
TEST(PeImageBuilder, DemoProgramIsALoadableImage) {
  const std::vector<uint8_t> exe = DemoBytes();
  const size_t pe = LoadU32(&exe[0x3C]);
  ASSERT_EQ(pe, pe::kPeHeaderAt);
  const uint16_t sections = LoadU16(&exe[pe + 6]);
  ASSERT_EQ(sections, 2u);
  const size_t opt = pe + 24;
  const uint32_t image_size = LoadU32(&exe[opt + 56]);
  const uint32_t headers_size = LoadU32(&exe[opt + 60]);
  const uint32_t entry = LoadU32(&exe[opt + 16]);
  const uint32_t imports = LoadU32(&exe[opt + 96 + 8]);
  const size_t table = opt + LoadU16(&exe[pe + 20]);
  for (size_t i = 0; i < sections; ++i) {
    const uint8_t* s = &exe[table + i * 40];
    const uint32_t rva = LoadU32(s + 12), size = LoadU32(s + 8), raw = LoadU32(s + 20);
    EXPECT_EQ(rva % 0x1000, 0u);
    EXPECT_LE(rva + size, image_size);
    EXPECT_GE(raw, headers_size);
    EXPECT_LE(raw + LoadU32(s + 16), exe.size());
    if (std::memcmp(s, ".text", 5) == 0) {
      EXPECT_TRUE(entry >= rva && entry < rva + size);
      EXPECT_TRUE(imports >= rva && imports < rva + size);
    }
  }
  auto wide = [](std::string_view text) {
    std::vector<uint8_t> w;
    for (char c : text) w.insert(w.end(), {static_cast<uint8_t>(c), 0});
    return w;
  };
  const std::vector<uint8_t> block = BuildVersionBlock([] {
    VersionBlockRecipe v;
    v.strings = {{"ProductVersion", "1.3.0.0"}};
    return v;
  }());
  EXPECT_EQ(LoadU16(&block[0]), block.size());
  const std::vector<uint8_t> key = wide("ProductVersion");
  const auto at = std::search(block.begin(), block.end(), key.begin(), key.end());
  ASSERT_NE(at, block.end());
  const std::vector<uint8_t> value = wide("1.3.0.0");
  EXPECT_NE(std::search(at, block.end(), value.begin(), value.end()), block.end());
  EXPECT_NE(std::search(exe.begin(), exe.end(), value.begin(), value.end()), exe.end());
}

TEST(PeVersion, ReadsPe32AndPe32Plus) {
  for (bool plus : {false, true}) {
    PeImageRecipe recipe;
    recipe.pe32_plus = plus;
    recipe.version.product_ms = 0x00020001;
    recipe.version.product_ls = 0x00030004;
    std::optional<PeProductVersion> v = ReadPeProductVersion(BuildPeImage(recipe));
    ASSERT_TRUE(v) << "PE32+ " << plus;
    EXPECT_EQ(v->ms, 0x00020001u);
    EXPECT_EQ(v->ls, 0x00030004u);
  }
}

TEST(PeVersion, FindsTheResourceSectionAmongOthers) {
  PeImageRecipe recipe;
  recipe.extra_sections = 95;  // 96 in all: the most accepted
  EXPECT_TRUE(ReadPeProductVersion(BuildPeImage(recipe)));
  recipe.extra_sections = 96;
  EXPECT_FALSE(ReadPeProductVersion(BuildPeImage(recipe)));
}

TEST(PeVersion, RefusesBlocksThatAreNotAVersion) {
  struct Case {
    const char* what;
    void (*change)(PeImageRecipe&);
  };
  const Case cases[] = {
      {"other resource type", [](PeImageRecipe& s) { s.type_id = 3; }},
      {"other resource name", [](PeImageRecipe& s) { s.name_id = 2; }},
      {"other block key", [](PeImageRecipe& s) { s.version.key = "VS_VERSION_INFX"; }},
      {"bad signature", [](PeImageRecipe& s) { s.version.signature = 0xFEEF04BC; }},
      {"no fixed information", [](PeImageRecipe& s) { s.version.fixed_length = 0; }},
      {"short fixed information", [](PeImageRecipe& s) { s.version.fixed_length = 51; }},
  };
  for (const Case& c : cases) {
    PeImageRecipe recipe;
    c.change(recipe);
    EXPECT_FALSE(ReadPeProductVersion(BuildPeImage(recipe))) << c.what;
  }
}

TEST(PeVersion, RefusesPointersOutsideTheData) {
  const std::vector<uint8_t> good = BuildPeImage(PeImageRecipe{});
  ASSERT_TRUE(ReadPeProductVersion(good));
  const size_t r = pe::kRsrcFileOffset;
  struct Case {
    const char* what;
    size_t at;
    uint32_t value;
  };
  const Case cases[] = {
      {"PE header past the end", 0x3C, 0xFFFFFFF0u},
      {"type directory past the section", r + pe::kRootDirAt + 20, 0x80000000u | 0x7FFFFFF0u},
      {"data entry past the section", r + pe::kNameDirAt + 20, 0x1F8},
      {"version block outside every section", r + pe::kDataEntryAt, 0x9000},
      {"version block straddling the section end", r + pe::kDataEntryAt, pe::kRsrcRva + 0x1D0},
      {"block size smaller than the block", r + pe::kDataEntryAt + 4, 40},
      {"data entry instead of a subdirectory", r + pe::kRootDirAt + 20, pe::kTypeDirAt},
  };
  for (const Case& c : cases) {
    std::vector<uint8_t> image = good;
    StoreU32(&image[c.at], c.value);
    EXPECT_FALSE(ReadPeProductVersion(image)) << c.what;
  }
}

TEST(PeVersion, DirectoryLoopsAndHugeCountsEnd) {
  std::vector<uint8_t> image = BuildPeImage(PeImageRecipe{});
  const size_t r = pe::kRsrcFileOffset;
  // The version type points back at the root, which has no entry named 1.
  StoreU32(&image[r + pe::kRootDirAt + 20], 0x80000000u | pe::kRootDirAt);
  EXPECT_FALSE(ReadPeProductVersion(image));
  // The root claims 65,535 named and 65,535 id entries; the walk stops where the data ends.
  image = BuildPeImage(PeImageRecipe{});
  StoreU16(&image[r + pe::kRootDirAt + 12], 0xFFFF);
  StoreU16(&image[r + pe::kRootDirAt + 14], 0xFFFF);
  StoreU32(&image[r + pe::kRootDirAt + 16], 99);  // so the version type is not the first entry
  EXPECT_FALSE(ReadPeProductVersion(image));
}

TEST(PeVersion, EveryTruncationIsRefusedSafely) {
  for (const std::vector<uint8_t>& full : {BuildPeImage(PeImageRecipe{}), DemoBytes()}) {
    ASSERT_TRUE(ReadPeProductVersion(full));
    const size_t needed = FixedInfoOffset(full) + 24;  // through the product version
    for (size_t n = 0; n < full.size(); ++n) {
      std::span<const uint8_t> part(full.data(), n);
      if (n < needed) EXPECT_FALSE(ReadPeProductVersion(part)) << n;
      else ReadPeProductVersion(part);  // may still read: the rest is not needed
    }
  }
}

TEST(PeVersion, CorruptedBytesNeverReadOutOfBounds) {
  // Every byte of the demo program flipped in turn; the sanitizers watch for stray reads.
  std::vector<uint8_t> image = DemoBytes();
  size_t still_read = 0;
  for (size_t i = 0; i < image.size(); ++i) {
    image[i] ^= 0xFF;
    if (ReadPeProductVersion(image)) ++still_read;
    image[i] ^= 0xFF;
  }
  EXPECT_GT(still_read, image.size() / 2);  // code and padding do not matter to the reader
}

TEST(PeVersion, ReadsFromFilesAndRefusesOthers) {
  test::TempDir dir;
  const std::string exe = dir.File("HEROES4.EXE");
  test::WriteFileBytes(exe, DemoBytes());
  EXPECT_EQ(ReadGameVersionPortable(exe), 1.3f);
  EXPECT_EQ(ReadGameVersion(exe), 1.3f);

  const std::string text = dir.File("readme.txt");
  test::WriteFileText(text, "MZ but nothing else");
  const std::string empty = dir.File("empty.exe");
  test::WriteFileText(empty, "");
  for (const std::string& path : {text, empty, dir.File("missing.exe")}) {
    EXPECT_EQ(ReadGameVersionPortable(path), 0.0f) << path;
    EXPECT_EQ(ReadGameVersion(path), 0.0f) << path;
  }
}

TEST(PeVersion, PlatformReaderAgreesWithThePortableOne) {
  // On Windows ReadGameVersion goes through GetFileVersionInfoA / VerQueryValueA; a changed
  // product version in a real program must read the same both ways.
  test::TempDir dir;
  std::vector<uint8_t> exe = DemoBytes();
  const size_t fixed = FixedInfoOffset(exe);
  ASSERT_NE(fixed, 0u);
  const struct {
    uint32_t ms, ls;
  } versions[] = {{0x00010003, 0}, {0x00010002, 0}, {0x00020001, 0x00030004}, {0x00000001, 0x00000000}};
  int n = 0;
  for (const auto& v : versions) {
    StoreU32(&exe[fixed + 16], v.ms);
    StoreU32(&exe[fixed + 20], v.ls);
    const std::string path = dir.File("game" + std::to_string(n++) + ".exe");
    test::WriteFileBytes(path, exe);
    const float expected = GameVersionFromProductVersion(v.ms, v.ls);
    EXPECT_EQ(ReadGameVersionPortable(path), expected) << path;
    EXPECT_EQ(ReadGameVersion(path), expected) << path;
  }
}

}  // namespace
}  // namespace qm
