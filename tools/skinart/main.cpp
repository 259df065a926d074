// qm_skinart: draws the editor's skin bitmaps, the program icon and the patcher's background.
//
//   qm_skinart --out resources              regenerate the committed files
//   qm_skinart --out DIR --preview DIR      also write PNG previews to look at
//
// The output depends on nothing but this program's code, so the same files come out on every
// run; a test regenerates them and compares them with the committed ones.
#include <cstdio>
#include <filesystem>
#include <string>

#include "base/file.h"
#include "tools/skinart/preview.h"
#include "tools/skinart/skin_files.h"

namespace {

int Usage() {
  std::fprintf(stderr, "usage: qm_skinart --out DIR [--preview DIR]\n");
  return 2;
}

qm::Status WriteWhole(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::error_code ec;
  std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ec);
  if (ec) return qm::Status::Fail(path + ": cannot create its folder");
  qm::File file = qm::File::Open(path, qm::File::Mode::kCreate);
  if (!file.is_open() || !file.Write(bytes.data(), bytes.size()) || !file.Close()) {
    return qm::Status::Fail(path + ": cannot write");
  }
  return qm::Status::Ok();
}

}  // namespace

int main(int argc, char** argv) {
  std::string out, preview;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if ((arg == "--out" || arg == "--preview") && i + 1 < argc) {
      (arg == "--out" ? out : preview) = argv[++i];
    } else {
      return Usage();
    }
  }
  if (out.empty() && preview.empty()) return Usage();

  const qm::skinart::SkinImages images = qm::skinart::DrawSkinImages();
  if (!out.empty()) {
    for (const qm::skinart::OutputFile& file : qm::skinart::EncodeSkinFiles(images)) {
      const qm::Status s = WriteWhole(out + "/" + file.path, file.bytes);
      if (!s) {
        std::fprintf(stderr, "qm_skinart: %s\n", s.why().c_str());
        return 1;
      }
    }
  }
  if (!preview.empty()) {
    std::error_code ec;
    std::filesystem::create_directories(preview, ec);
    const qm::Status s = qm::skinart::WritePreviews(images, preview);
    if (!s) {
      std::fprintf(stderr, "qm_skinart: %s\n", s.why().c_str());
      return 1;
    }
  }
  return 0;
}
