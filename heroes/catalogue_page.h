// The hero catalogue as one HTML page: a card per record with both faces, its texts and values,
// and a filter by name, keyword or biography, alignment, class and sex. qlmk export writes it
// as index.html beside the faces it links to; qlmk patch show --html writes one for a patch,
// with the faces inside the page.
//
//   std::vector<qm::SheetRow> rows = qm::SheetRowsOf(catalogue, page);
//   qm::GalleryPage about{"Hero catalogue", {"Exported from ..."}};
//   std::string html = qm::GalleryHtml(catalogue, rows, about,
//                                      qm::ExportedFaceAddress(catalogue, export_report));
//   ... or, one self-contained file:
//   html = qm::GalleryHtml(catalogue, rows, about, qm::EmbeddedFaceAddress(catalogue));
//
// Cards come in record order, one per record of `rows` (record 0, the table's header row,
// included and marked, as are the pseudo-heroes 1 and 2 and read-only records). Texts are the
// rows' (UTF-8, as heroes.json holds them), shown as text whatever they contain; the biography
// keeps its line breaks. A face that cannot be shown is a placeholder saying so.
//
// Filtering runs in the page's own script: the search box matches name, keyword and biography
// without regard to case; the three selectors match the values' tokens ("none" for no value).
// The filter is also read from the address and kept there as it changes:
// index.html#q=talia&class=archer (members q, alignment, class, sex). Without the script every
// card shows and the filter controls stay hidden.
#pragma once

#include <cstddef>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "heroes/face_folder.h"
#include "heroes/face_size.h"
#include "heroes/hero_catalogue.h"
#include "heroes/hero_sheet.h"

namespace qm {

struct GalleryPage {
  std::string title;               // the page's title and heading
  std::vector<std::string> notes;  // lines under the heading
};

// The address of a record's face in the page ("faces/12-Aldric-large.png", "data:..."), or
// empty when the face cannot be shown.
using FaceAddress = std::function<std::string(size_t record, FaceKind kind)>;

std::string GalleryHtml(const HeroCatalogue& catalogue, std::span<const SheetRow> rows, const GalleryPage& about,
                        const FaceAddress& face);

// The faces qlmk export wrote, linked relative to the export folder (the faces/ folder beside
// the page); faces it did not write cannot be shown.
FaceAddress ExportedFaceAddress(const HeroCatalogue& catalogue, const FaceExport& exported,
                                const std::string& faces_folder);

// The face itself as a PNG data: address, or empty when the record does not hold a face of
// that size that decodes.
std::string FaceDataAddress(const HeroCatalogue& catalogue, size_t record, FaceKind kind);
FaceAddress EmbeddedFaceAddress(const HeroCatalogue& catalogue);

}  // namespace qm
