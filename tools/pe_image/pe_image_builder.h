// Small PE images written byte by byte: the demo game's HEROES4.EXE and the images the tests of
// the version reader take apart.
//
//   qm::PeImageRecipe recipe;                         // PE32, product version 1.3.0.0
//   recipe.version.strings = {{"ProductVersion", "1.3.0.0"}};
//   recipe.message = qm::PeMessageProgram{"Caption", "Text"};  // code that shows one message
//   std::vector<uint8_t> exe = qm::BuildPeImage(recipe);
//
// The layout is fixed so tests can reach into it: DOS header at 0, PE header at kPeHeaderAt,
// the .rsrc section first, its raw data at kRsrcFileOffset and mapped at kRsrcRva, then the
// .text section of the message program when there is one. The resource tree inside .rsrc, when
// the version block is the only resource: root directory (kRootDirAt), type directory
// (kTypeDirAt), name directory (kNameDirAt), data entry (kDataEntryAt), version block
// (kVersionBlockAt). The headers are complete, so Windows (and Wine) load the image and
// GetFileVersionInfoA / VerQueryValueA read its version block.
//
// Further resources (recipe.resources, numeric or named types) go into the same tree as a
// resource compiler lays it out: the directories level by level, named entries first, then the
// data entries, the type names and the data. BuildPeImage then reports where it put each
// resource's parts, so tests can reach into those too:
//
//   recipe.resources = {{.type_name = "BIN", .id = 107, .data = stub}};
//   std::vector<qm::PeResourcePlace> places;
//   std::vector<uint8_t> exe = qm::BuildPeImage(recipe, &places);  // places[1]: the BIN 107
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace qm {

namespace pe_image {
constexpr uint32_t kPeHeaderAt = 0x80;
constexpr uint32_t kRsrcRva = 0x1000;
constexpr uint32_t kRsrcFileOffset = 0x200;
constexpr uint32_t kRootDirAt = 0x00;
constexpr uint32_t kTypeDirAt = 0x18;
constexpr uint32_t kNameDirAt = 0x30;
constexpr uint32_t kDataEntryAt = 0x48;
constexpr uint32_t kVersionBlockAt = 0x60;
constexpr uint32_t kImageBase = 0x400000;
}  // namespace pe_image

// The VS_VERSION_INFO block. The first fields exist so tests can make a block the reader must
// refuse; a real program keeps their defaults.
struct VersionBlockRecipe {
  std::string key = "VS_VERSION_INFO";
  uint32_t signature = 0xFEEF04BD;
  uint16_t fixed_length = 52;  // what the header records for the 52-byte VS_FIXEDFILEINFO
  uint32_t file_ms = 0, file_ls = 0;
  uint32_t product_ms = 0x00010003, product_ls = 0;
  uint32_t file_flags_mask = 0, file_os = 0, file_type = 0;
  // One StringFileInfo table (language and code page below) and the matching VarFileInfo
  // translation; neither is written when there are no strings. ASCII texts.
  std::vector<std::pair<std::string, std::string>> strings;
  uint16_t language = 0x0409;
  uint16_t code_page = 1252;
};

// A program whose whole work is MessageBoxA(caption, text) and ExitProcess(0). ASCII texts.
struct PeMessageProgram {
  std::string caption, text;
};

// A resource besides the version block.
struct PeResource {
  std::string type_name;  // a named type ("BIN"), ASCII; empty: the numeric type_id
  uint32_t type_id = 0;
  uint32_t id = 0;
  uint16_t language = 0x0409;
  std::vector<uint8_t> data;
};

struct PeImageRecipe {
  bool pe32_plus = false;   // test images only: the message program is 32-bit code
  uint32_t type_id = 16;    // RT_VERSION
  uint32_t name_id = 1;     // VS_VERSION_INFO
  VersionBlockRecipe version;
  std::vector<PeResource> resources;
  uint16_t extra_sections = 0;  // empty sections placed before .rsrc in the table
  std::optional<PeMessageProgram> message;
};

// File offsets in the built image of one resource's parts.
struct PeResourcePlace {
  size_t type_entry = 0;  // the root directory's entry for its type
  size_t type_directory = 0;
  size_t id_entry = 0;  // the type directory's entry for its id
  size_t language_directory = 0;
  size_t language_entry = 0;
  size_t data_entry = 0;
  size_t type_name = 0;  // the type's name string; 0 for a numeric type
  size_t data = 0;
};

std::vector<uint8_t> BuildVersionBlock(const VersionBlockRecipe& recipe);
// `places`, when given, receives the version block's place, then one per recipe.resources.
std::vector<uint8_t> BuildPeImage(const PeImageRecipe& recipe, std::vector<PeResourcePlace>* places = nullptr);

}  // namespace qm
