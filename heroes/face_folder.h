// Hero faces as a folder of picture files: writing every face as a PNG named after its record,
// and matching a folder of pictures back to the records whose faces they replace.
//
//   qm::FaceExport exported;
//   qm::Status s = qm::ExportFaces(catalogue, "out/faces", &exported);
//   std::vector<qm::FolderFile> files;
//   s = qm::ListFolderFiles("out/faces", "faces/", &files);
//   qm::FaceMatch match;
//   qm::MatchFacePictures(files, catalogue, qm::CodePage::k1252, &match);
//   qm::FaceImport imported;
//   qm::ImportFacePictures(catalogue, match.pictures, options, &proposed, &imported);
//
// Exported names: "<record>-<keyword>-large.png" and "<record>-<keyword>-small.png", the
// keyword made safe for file names on Windows and Linux by keeping ASCII letters, digits, '-'
// and '_' and turning every other byte (spaces, dots, punctuation, letters beyond ASCII) into
// '_'. The PNGs hold the faces' exact colours (24-bit, no transparency), so an unchanged file
// decodes to the very pixels of the face. Faces of record 0 (the header row, never saved) and
// faces that are not shown (no face flag) are not exported; a face that does not decode is
// listed and skipped.
//
// Matching, per file name (ASCII case folded throughout):
//   - "<record>-<keyword>-large.png" / "-small.png": that record's face, when the record exists
//     and the keyword part is its keyword made safe as above;
//   - "<keyword>.png|.jpg|.jpeg|.gif|.bmp": the large face of the hero with that keyword (its
//     code page bytes or their UTF-8 form); "<keyword>-small.<ext>" its small face, unless
//     a hero's keyword itself ends in "-small".
// One picture per face: a picture named by keyword is taken over the exported file for the same
// face (which is listed as not imported), so a folder of new pictures can be dropped into an
// export, and importing the same folder twice gives the same faces. Two pictures named by
// keyword (or two exported files) for one face are refused with both names; so is a keyword
// that several records share, with the list of records. Any other file is listed as unmatched
// with the reason. Record 0 takes no face.
//
// Importing takes the faces in record order, large before small (so a small picture wins over a
// small face derived from the large one). A picture whose decoded pixels equal the record's
// current face is left alone; any other is fitted into the face as the editor's Load does
// (portrait/face_fit.h), which needs the record to hold a face of that size. Refusals (no face
// of that size, an unreadable file, a fitting failure) name the file and why.
#pragma once

#include <cstddef>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/status.h"
#include "heroes/code_page.h"
#include "heroes/face_size.h"
#include "heroes/hero_catalogue.h"
#include "portrait/face_fit.h"

namespace qm {

std::string FileSafeKeyword(std::string_view keyword);
std::string ExportedFaceName(size_t record, std::string_view keyword, FaceKind kind);

struct FaceExport {
  size_t written = 0;
  std::vector<std::string> files;    // the names written, in order
  std::vector<std::string> skipped;  // faces that could not be decoded
};

// Writes every shown face into `folder`, which must exist. Fails at the first file that
// cannot be written.
Status ExportFaces(const HeroCatalogue& catalogue, const std::string& folder, FaceExport* report);

struct FolderFile {
  std::string path;   // to open it
  std::string shown;  // to name it in messages, e.g. "faces/12-Aldric-large.png"
  std::string name;   // the file name alone
};

// The regular files of `folder`, sorted by name; `shown_prefix` goes before each name in
// messages. A folder that does not exist has no files.
Status ListFolderFiles(const std::string& folder, const std::string& shown_prefix, std::vector<FolderFile>* out);

struct FacePicture {
  FolderFile file;
  size_t record = 0;
  FaceKind kind = FaceKind::kLarge;
  bool by_keyword = false;  // named "<keyword>.<ext>" rather than as exported
};

struct FaceMatch {
  std::vector<FacePicture> pictures;   // one per face, by record, large before small
  std::vector<std::string> unmatched;  // file and reason; listed, not imported
  std::vector<std::string> refused;    // shared keywords, two pictures for one face
};

void MatchFacePictures(std::span<const FolderFile> files, const HeroCatalogue& catalogue, CodePage page,
                       FaceMatch* out);

struct FaceImport {
  size_t unchanged = 0;
  size_t replaced = 0;
  std::vector<std::string> refused;  // file and reason
};

// Called after each picture with the number done and the total.
using FaceProgress = std::function<void(size_t done, size_t total)>;

// Compares against `current` and puts changed pictures into `proposed` (a copy of `current`
// with the sheet's changes; faces are fitted with the proposed class's ring).
void ImportFacePictures(const HeroCatalogue& current, std::span<const FacePicture> pictures,
                        const FaceOptions& options, HeroCatalogue* proposed, FaceImport* report,
                        const FaceProgress& progress = {});

}  // namespace qm
