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
// .text section of the message program when there is one. The resource tree inside .rsrc: root
// directory (kRootDirAt), type directory (kTypeDirAt), name directory (kNameDirAt), data entry
// (kDataEntryAt), version block (kVersionBlockAt). The headers are complete, so Windows (and
// Wine) load the image and GetFileVersionInfoA / VerQueryValueA read its version block.
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

struct PeImageRecipe {
  bool pe32_plus = false;   // test images only: the message program is 32-bit code
  uint32_t type_id = 16;    // RT_VERSION
  uint32_t name_id = 1;     // VS_VERSION_INFO
  VersionBlockRecipe version;
  uint16_t extra_sections = 0;  // empty sections placed before .rsrc in the table
  std::optional<PeMessageProgram> message;
};

std::vector<uint8_t> BuildVersionBlock(const VersionBlockRecipe& recipe);
std::vector<uint8_t> BuildPeImage(const PeImageRecipe& recipe);

}  // namespace qm
