#include "tools/demo_heroes4/demo_executable.h"

#include <vector>

#include "tools/pe_image/pe_image_builder.h"

namespace qm {
namespace {

constexpr uint32_t kVersion13Ms = 0x00010003;  // 1.3.0.0
constexpr uint32_t kVfsFileFlagsMask = 0x3F;   // VS_FFI_FILEFLAGSMASK
constexpr uint32_t kVosNtWindows32 = 0x00040004;
constexpr uint32_t kVftApp = 1;

std::vector<uint8_t> BuildDemoExecutable() {
  PeImageRecipe recipe;
  VersionBlockRecipe& v = recipe.version;
  v.file_ms = v.product_ms = kVersion13Ms;
  v.file_ls = v.product_ls = 0;
  v.file_flags_mask = kVfsFileFlagsMask;
  v.file_os = kVosNtWindows32;
  v.file_type = kVftApp;
  v.strings = {{"CompanyName", "Quillmark"},
               {"FileDescription", "Quillmark demo stand-in for Heroes of Might and Magic IV"},
               {"FileVersion", "1.3.0.0"},
               {"InternalName", "HEROES4"},
               {"OriginalFilename", "HEROES4.EXE"},
               {"ProductName", "Quillmark demo game"},
               {"ProductVersion", "1.3.0.0"}};
  recipe.message = PeMessageProgram{
      "Heroes of Might and Magic IV (Quillmark demo)",
      "This is Quillmark's demo stand-in for Heroes of Might and Magic IV.\n\n"
      "It marks this folder as a game folder (version 1.3) so that Quillmark and "
      "its tools can be tried without the game. There is no game to play here."};
  return BuildPeImage(recipe);
}

}  // namespace

std::span<const uint8_t> DemoGameExecutable() {
  static const std::vector<uint8_t> bytes = BuildDemoExecutable();
  return bytes;
}

}  // namespace qm
