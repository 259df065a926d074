#include "heroes/face_folder.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <utility>

#include "base/ascii.h"
#include "base/quoted_text.h"
#include "heroes/catalogue_faces.h"
#include "portrait/picture_file.h"

namespace qm {
namespace {

constexpr std::string_view kLargeSuffix = "-large.png";
constexpr std::string_view kSmallSuffix = "-small.png";
constexpr std::string_view kSmallStem = "-small";
constexpr std::string_view kPictureExtensions[] = {".png", ".jpg", ".jpeg", ".gif", ".bmp"};

bool EndsWithNoCase(std::string_view text, std::string_view suffix) {
  return text.size() >= suffix.size() && AsciiEqualNoCase(text.substr(text.size() - suffix.size()), suffix);
}

// "12-Aldric-large.png": true with the record, kind and keyword part when the name has that form.
bool SplitExportedName(std::string_view name, size_t* record, FaceKind* kind, std::string_view* keyword) {
  if (EndsWithNoCase(name, kLargeSuffix)) {
    *kind = FaceKind::kLarge;
  } else if (EndsWithNoCase(name, kSmallSuffix)) {
    *kind = FaceKind::kSmall;
  } else {
    return false;
  }
  name.remove_suffix(kLargeSuffix.size());  // both suffixes are as long
  size_t digits = 0;
  while (digits < name.size() && name[digits] >= '0' && name[digits] <= '9') ++digits;
  if (digits == 0 || digits > 9 || digits >= name.size() || name[digits] != '-') return false;
  size_t n = 0;
  for (size_t i = 0; i < digits; ++i) n = n * 10 + static_cast<size_t>(name[i] - '0');
  *record = n;
  *keyword = name.substr(digits + 1);
  return true;
}

// The records 1.. whose keyword is `stem`, as code page bytes or as UTF-8.
std::vector<size_t> RecordsWithKeyword(const HeroCatalogue& catalogue, CodePage page, std::string_view stem) {
  std::vector<size_t> found;
  for (size_t i = kDeadRecord; i < catalogue.count(); ++i) {
    const std::string& keyword = catalogue.record(i).keyword;
    if (keyword.empty()) continue;
    if (AsciiEqualNoCase(keyword, stem) || AsciiEqualNoCase(CodePageToUtf8(keyword, page), stem)) found.push_back(i);
  }
  return found;
}

std::string ListOf(const std::vector<size_t>& records) {
  std::string out;
  for (size_t r : records) out += (out.empty() ? "" : ", ") + std::to_string(r);
  return out;
}

std::string PictureStem(std::string_view name) {
  for (std::string_view ext : kPictureExtensions) {
    if (EndsWithNoCase(name, ext) && name.size() > ext.size()) return std::string(name.substr(0, name.size() - ext.size()));
  }
  return {};
}

}  // namespace

std::string FileSafeKeyword(std::string_view keyword) {
  std::string out(keyword);
  for (char& c : out) {
    const bool keep = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '_';
    if (!keep) c = '_';
  }
  return out;
}

std::string ExportedFaceName(size_t record, std::string_view keyword, FaceKind kind) {
  return std::to_string(record) + "-" + FileSafeKeyword(keyword) + "-" + FaceKindWord(kind) + ".png";
}

Status ExportFaces(const HeroCatalogue& catalogue, const std::string& folder, FaceExport* report) {
  for (size_t i = kDeadRecord; i < catalogue.count(); ++i) {
    const HeroRecord& r = catalogue.record(i);
    for (FaceKind kind : {FaceKind::kLarge, FaceKind::kSmall}) {
      if (!r.holds_face(kind)) continue;
      Picture face;
      const std::string name = ExportedFaceName(i, r.keyword, kind);
      if (!DecodeRecordFace(catalogue, i, kind, &face)) {
        report->skipped.push_back(name + ": the " + FaceKindWord(kind) + " face of record " + std::to_string(i) +
                                  " cannot be decoded");
        continue;
      }
      if (Status s = WritePictureFile(folder + "/" + name, face); !s) return s;
      ++report->written;
      report->files.push_back(name);
    }
  }
  return Status::Ok();
}

Status ListFolderFiles(const std::string& folder, const std::string& shown_prefix, std::vector<FolderFile>* out) {
  namespace fs = std::filesystem;
  std::error_code ec;
  const fs::path root(folder);
  if (!fs::exists(root, ec)) return Status::Ok();
  std::vector<FolderFile> files;
  try {
    fs::directory_iterator it(root, ec);
    for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
      std::error_code type_ec;
      if (!it->is_regular_file(type_ec)) continue;
      FolderFile f;
      // A name the system's code page cannot express throws here (Windows narrow names).
      f.name = it->path().filename().string();
      f.path = (root / it->path().filename()).string();
      f.shown = shown_prefix + f.name;
      files.push_back(std::move(f));
    }
  } catch (const std::exception& e) {
    return Status::Fail(folder + ": cannot list the folder (" + e.what() + ")");
  }
  if (ec) return Status::Fail(folder + ": cannot list the folder (" + ec.message() + ")");
  std::sort(files.begin(), files.end(), [](const FolderFile& a, const FolderFile& b) { return a.name < b.name; });
  out->insert(out->end(), files.begin(), files.end());
  return Status::Ok();
}

void MatchFacePictures(std::span<const FolderFile> files, const HeroCatalogue& catalogue, CodePage page,
                       FaceMatch* out) {
  std::vector<FacePicture> found;
  auto take = [&](const FolderFile& file, size_t record, FaceKind kind, bool by_keyword) {
    found.push_back(FacePicture{file, record, kind, by_keyword});
  };
  for (const FolderFile& file : files) {
    size_t record = 0;
    FaceKind kind = FaceKind::kLarge;
    std::string_view keyword_part;
    if (SplitExportedName(file.name, &record, &kind, &keyword_part)) {
      if (record == kHeaderRecord || record >= catalogue.count()) {
        out->unmatched.push_back(file.shown + ": no hero has the record number " + std::to_string(record));
        continue;
      }
      const std::string safe = FileSafeKeyword(catalogue.record(record).keyword);
      if (!AsciiEqualNoCase(keyword_part, safe)) {
        out->unmatched.push_back(file.shown + ": record " + std::to_string(record) + " is " + QuotedText(safe) +
                                 ", not " + QuotedText(keyword_part));
        continue;
      }
      take(file, record, kind, false);
      continue;
    }
    const std::string stem = PictureStem(file.name);
    if (stem.empty()) {
      out->unmatched.push_back(file.shown + ": not a picture named after a hero");
      continue;
    }
    kind = FaceKind::kLarge;
    std::vector<size_t> records = RecordsWithKeyword(catalogue, page, stem);
    if (records.empty() && EndsWithNoCase(stem, kSmallStem)) {
      kind = FaceKind::kSmall;
      records = RecordsWithKeyword(catalogue, page, std::string_view(stem).substr(0, stem.size() - kSmallStem.size()));
    }
    if (records.empty()) {
      out->unmatched.push_back(file.shown + ": no hero has the keyword " + QuotedText(stem));
    } else if (records.size() > 1) {
      out->refused.push_back(file.shown + ": the keyword belongs to records " + ListOf(records) +
                             "; name the file <record>-<keyword>-large.png or -small.png instead");
    } else {
      take(file, records.front(), kind, true);
    }
  }
  std::stable_sort(found.begin(), found.end(), [](const FacePicture& a, const FacePicture& b) {
    return a.record != b.record ? a.record < b.record : a.kind < b.kind;
  });
  // One picture per face. A picture named by keyword is the one meant over the exported file
  // beside it, which is listed as not imported; two of the same kind are refused.
  for (size_t first = 0; first < found.size();) {
    size_t end = first + 1;
    while (end < found.size() && found[end].record == found[first].record && found[end].kind == found[first].kind) ++end;
    size_t by_keyword = 0;
    for (size_t i = first; i < end; ++i) by_keyword += found[i].by_keyword ? 1 : 0;
    const bool keyword_wins = by_keyword > 0;
    const size_t candidates = keyword_wins ? by_keyword : end - first;
    const std::string face = "the " + std::string(FaceKindWord(found[first].kind)) + " face of record " +
                             std::to_string(found[first].record);
    std::string names;
    for (size_t i = first; i < end; ++i) {
      if (found[i].by_keyword == keyword_wins) names += (names.empty() ? "" : ", ") + found[i].file.shown;
    }
    for (size_t i = first; i < end; ++i) {
      if (found[i].by_keyword != keyword_wins) {
        out->unmatched.push_back(found[i].file.shown + ": " + face + " is taken from " + names);
      } else if (candidates > 1) {
        out->refused.push_back(found[i].file.shown + ": more than one picture for " + face + " (" + names + ")");
      } else {
        out->pictures.push_back(std::move(found[i]));
      }
    }
    first = end;
  }
}

void ImportFacePictures(const HeroCatalogue& current, std::span<const FacePicture> pictures,
                        const FaceOptions& options, HeroCatalogue* proposed, FaceImport* report,
                        const FaceProgress& progress) {
  size_t done = 0;
  for (const FacePicture& p : pictures) {
    const std::string kind = FaceKindWord(p.kind);
    auto refuse = [&](const std::string& why) { report->refused.push_back(p.file.shown + ": " + why); };
    Picture picture, now;
    ReducedDecode reduce = ReducedForFace(options, p.kind);
    if (p.record >= current.count() || p.record >= proposed->count()) {
      refuse("no record " + std::to_string(p.record));
    } else if (!current.record(p.record).has_face(p.kind)) {
      refuse("record " + std::to_string(p.record) + " holds no " + kind + " face, so it cannot take one");
    } else if (Status s = LoadPictureFile(p.file.path, options.auto_ring, kTransparentColour, &picture, &reduce); !s) {
      report->refused.push_back(s.why());  // names the file already
    } else if (DecodeRecordFace(current, p.record, p.kind, &now) && now == picture) {
      ++report->unchanged;
    } else if (Status f = PutPictureIntoRecord(proposed, p.record, picture, p.kind, options); !f) {
      refuse("cannot fit the picture into the " + kind + " face (" + f.why() + ")");
    } else {
      ++report->replaced;
    }
    if (progress) progress(++done, pictures.size());
  }
}

}  // namespace qm
