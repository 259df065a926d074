// The resource walk of executables: resources of named types (the stub programs the editor
// carries as BIN 107 and 108) found and read from files, on images built to order and on
// damaged ones.
#include "shell/pe_resources.h"

#include <gtest/gtest.h>

#include <cstring>

#include "base/little_endian.h"
#include "shell/embedded_programs.h"
#include "shell/pe_version.h"
#include "tests/test_util.h"
#include "tools/pe_image/pe_image_builder.h"

namespace qm {
namespace {

std::vector<uint8_t> Filled(size_t size, uint8_t first) {
  std::vector<uint8_t> bytes(size);
  for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<uint8_t>(first + i);
  return bytes;
}

// The editor's two stubs, and neighbours a careless walk would take for them: the same ids
// under a numeric type and under named types that only begin or end like "BIN".
struct StubImage {
  std::vector<uint8_t> patcher = Filled(300, 1), restore = Filled(77, 101);
  std::vector<PeResourcePlace> places;  // [0] the version block, then as in Recipe()
  std::vector<uint8_t> image;

  StubImage() { image = BuildPeImage(Recipe(), &places); }
  PeImageRecipe Recipe() const {
    PeImageRecipe recipe;
    recipe.resources = {{.type_name = "BIN", .id = kPatcherResourceId, .data = patcher},
                        {.type_name = "BIN", .id = kRestoreToolResourceId, .data = restore},
                        {.type_name = "", .type_id = 10, .id = kPatcherResourceId, .data = Filled(16, 200)},
                        {.type_name = "BINARY", .id = kPatcherResourceId, .data = Filled(16, 210)},
                        {.type_name = "BI", .id = kPatcherResourceId, .data = Filled(16, 220)},
                        {.type_name = "AVI", .id = kPatcherResourceId, .data = Filled(16, 230)}};
    return recipe;
  }
  const PeResourcePlace& Patcher() const { return places[1]; }
};

PeByteSource MemorySource(const std::vector<uint8_t>& image) {
  return [&image](uint64_t offset, void* out, size_t size) {
    if (offset > image.size() || size > image.size() - offset) return false;
    std::memcpy(out, image.data() + offset, size);
    return true;
  };
}

// The named resource's bytes through the walk in memory; nothing when it is not found whole.
std::optional<std::vector<uint8_t>> FindInMemory(const std::vector<uint8_t>& image, std::string_view type,
                                                 uint32_t id) {
  const PeByteSource source = MemorySource(image);
  PeResourceTree tree(source);
  if (!tree.Open()) return std::nullopt;
  const std::optional<PeResourceData> data = tree.FindNamed(type, id);
  if (!data || data->size > image.size()) return std::nullopt;
  std::vector<uint8_t> bytes(data->size);
  if (!tree.ReadRva(data->rva, bytes)) return std::nullopt;
  return bytes;
}

Status ReadFromFile(const std::vector<uint8_t>& image, uint32_t id, std::vector<uint8_t>* bytes,
                    std::string_view type = kEmbeddedProgramType) {
  test::TempDir dir;
  const std::string path = dir.File("quillmark.exe");
  test::WriteFileBytes(path, image);
  return ReadPeResourceOfFile(path, type, id, bytes);
}

TEST(PeResources, ReadsEachStubFromTheFileByNamedTypeAndId) {
  const StubImage s;
  std::vector<uint8_t> bytes;
  ASSERT_TRUE(ReadFromFile(s.image, kPatcherResourceId, &bytes).ok());
  EXPECT_EQ(bytes, s.patcher);
  ASSERT_TRUE(ReadFromFile(s.image, kRestoreToolResourceId, &bytes).ok());
  EXPECT_EQ(bytes, s.restore);
  // Type names compare as Windows compares them, without regard to case.
  ASSERT_TRUE(ReadFromFile(s.image, kPatcherResourceId, &bytes, "bin").ok());
  EXPECT_EQ(bytes, s.patcher);
  // The version block in the same tree still reads.
  EXPECT_TRUE(ReadPeProductVersion(s.image));

  const Status missing = ReadFromFile(s.image, 109, &bytes);
  EXPECT_FALSE(missing.ok());
  EXPECT_EQ(missing.why(), "holds no resource BIN 109");
  EXPECT_TRUE(bytes.empty());
  EXPECT_FALSE(ReadFromFile(s.image, kPatcherResourceId, &bytes, "BINA").ok());
  EXPECT_FALSE(ReadFromFile(s.image, kPatcherResourceId, &bytes, "").ok());
  EXPECT_FALSE(ReadFromFile(s.image, kPatcherResourceId, &bytes, std::string(40, 'B')).ok());
}

TEST(PeResources, NumericAndNamedTypesAreKeptApart) {
  const StubImage s;
  const PeByteSource source = MemorySource(s.image);
  PeResourceTree tree(source);
  ASSERT_TRUE(tree.Open());
  const std::optional<PeResourceData> numeric = tree.Find(10, kPatcherResourceId);
  ASSERT_TRUE(numeric);
  EXPECT_EQ(numeric->size, 16u);
  EXPECT_FALSE(tree.Find(10, kRestoreToolResourceId));
  // The numeric type's id never answers for a named type, nor a name for a number.
  EXPECT_FALSE(tree.FindNamed("10", kPatcherResourceId));
  const std::optional<PeResourceData> binary = tree.FindNamed("binary", kPatcherResourceId);
  ASSERT_TRUE(binary);
  EXPECT_EQ(binary->size, 16u);
}

TEST(PeResources, RefusesOtherFilesSayingWhy) {
  test::TempDir dir;
  const std::string text = dir.File("quillmark.exe");
  test::WriteFileText(text, "MZ but nothing else");
  std::vector<uint8_t> bytes = {1, 2, 3};
  EXPECT_EQ(ReadPeResourceOfFile(text, "BIN", 107, &bytes).why(), "not a Windows program with resources");
  EXPECT_TRUE(bytes.empty());
  EXPECT_FALSE(ReadPeResourceOfFile(dir.File("missing.exe"), "BIN", 107, &bytes).ok());
  // A program with resources but no stub: the demo game's own kind of image.
  EXPECT_EQ(ReadFromFile(BuildPeImage(PeImageRecipe{}), 107, &bytes).why(), "holds no resource BIN 107");
}

TEST(PeResources, DamagedTreesFindNothingAndReadNothingOutside) {
  const StubImage s;
  const PeResourcePlace& p = s.Patcher();
  const uint32_t rsrc = pe_image::kRsrcFileOffset;
  const uint32_t root = 0x80000000u;  // a subdirectory target at the start of the resource data
  struct Case {
    const char* what;
    size_t at;
    uint32_t value;
    const char* why;  // ReadPeResourceOfFile's reason
  };
  const Case cases[] = {
      {"type points back at the root", p.type_entry + 4, root, "holds no resource BIN 107"},
      {"id points back at its type", p.id_entry + 4, static_cast<uint32_t>(root | (p.type_directory - rsrc)),
       "holds no resource BIN 107"},
      {"language points at itself as a directory", p.language_entry + 4,
       static_cast<uint32_t>(root | (p.language_directory - rsrc)), "holds no resource BIN 107"},
      {"type name far outside", p.type_entry, root | 0x7FFFFFF0u, "holds no resource BIN 107"},
      {"type name claims 65,535 letters", p.type_name, 0x0049FFFFu, "holds no resource BIN 107"},
      {"type directory past the section", p.type_entry + 4, root | 0x7FFFFFF0u, "holds no resource BIN 107"},
      {"data entry past the section", p.language_entry + 4, 0x7FFFFFF0u, "holds no resource BIN 107"},
      {"data outside every section", p.data_entry, 0x00900000u, "resource BIN 107 lies outside the file"},
      {"data of 4 GiB", p.data_entry + 4, 0xFFFFFFFFu, "resource BIN 107 lies outside the file"},
      {"data straddling the section end", p.data_entry + 4, 0x10000u, "resource BIN 107 lies outside the file"},
      {"empty data", p.data_entry + 4, 0, "resource BIN 107 is empty"},
  };
  for (const Case& c : cases) {
    std::vector<uint8_t> image = s.image;
    StoreU32(&image[c.at], c.value);
    std::vector<uint8_t> bytes;
    const Status read = ReadFromFile(image, kPatcherResourceId, &bytes);
    EXPECT_EQ(read.why(), c.why) << c.what;
    EXPECT_TRUE(bytes.empty()) << c.what;
    // The other stub does not depend on the damaged parts, except through a shared type.
    EXPECT_EQ(ReadFromFile(image, kRestoreToolResourceId, &bytes).ok(),
              c.at != p.type_entry && c.at != p.type_entry + 4 && c.at != p.type_name)
        << c.what;
  }
}

TEST(PeResources, HugeDirectoryCountsEndWhereTheDataEnds) {
  StubImage s;
  const size_t root = pe_image::kRsrcFileOffset + pe_image::kRootDirAt;
  StoreU16(&s.image[root + 12], 0xFFFF);
  StoreU16(&s.image[root + 14], 0xFFFF);
  StoreU32(&s.image[s.Patcher().type_entry], 0x80000000u | 0x7FFFFFF0u);  // BIN can no longer be found
  std::vector<uint8_t> bytes;
  EXPECT_FALSE(ReadFromFile(s.image, kPatcherResourceId, &bytes).ok());
}

TEST(PeResources, AFileCutShortGivesTheWholeStubOrNothing) {
  const StubImage s;
  const size_t data_end = s.Patcher().data + s.patcher.size();
  for (size_t n = 0; n < s.image.size(); ++n) {
    const std::vector<uint8_t> cut(s.image.begin(), s.image.begin() + static_cast<ptrdiff_t>(n));
    const std::optional<std::vector<uint8_t>> found = FindInMemory(cut, "BIN", kPatcherResourceId);
    if (n < data_end)
      EXPECT_FALSE(found) << n;
    else
      EXPECT_EQ(found, s.patcher) << n;
  }
  // From a file the size is checked before anything is set aside for the bytes.
  for (const size_t n : {s.Patcher().data, data_end - 1}) {
    std::vector<uint8_t> bytes;
    const Status read = ReadFromFile(std::vector<uint8_t>(s.image.begin(), s.image.begin() + static_cast<ptrdiff_t>(n)),
                                     kPatcherResourceId, &bytes);
    EXPECT_EQ(read.why(), "resource BIN 107 lies outside the file") << n;
  }
}

TEST(PeResources, CorruptedBytesNeverReadOutOfBounds) {
  // Every byte of the image changed in turn; the sanitizers watch for stray reads.
  StubImage s;
  size_t still_found = 0;
  for (size_t i = 0; i < s.image.size(); ++i) {
    s.image[i] ^= 0xA5;
    if (FindInMemory(s.image, "BIN", kRestoreToolResourceId) == s.restore) ++still_found;
    s.image[i] ^= 0xA5;
  }
  EXPECT_GT(still_found, s.image.size() / 2);  // padding and the other resources do not matter
}

}  // namespace
}  // namespace qm
