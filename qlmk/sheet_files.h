// The names of the files qlmk export writes and qlmk import reads.
#pragma once

namespace qlmk {

constexpr const char* kSheetCsvName = "heroes.csv";
constexpr const char* kSheetJsonName = "heroes.json";
constexpr const char* kFacesFolderName = "faces";
constexpr const char* kGitAttributesName = ".gitattributes";  // export only; import passes over it
constexpr const char* kGalleryName = "index.html";            // written by export, not read by import

}  // namespace qlmk
