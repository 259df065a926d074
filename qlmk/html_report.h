// --html OUT.html: the pages patch show, patch diff and import write beside their text.
#pragma once

#include <string>

#include "heroes/catalogue_diff.h"
#include "heroes/code_page.h"
#include "heroes/diff_report.h"
#include "heroes/hero_catalogue.h"
#include "qlmk/command.h"

namespace qlmk {

inline constexpr Option kHtmlReportOption[] = {
    {"--html", "OUT.html",
     "also write the changes as one HTML page: before and after side by side, faces included, for a browser or to "
     "attach to a message"},
};

// The file's name without its folder, for a page's title (a folder may say more than the page's
// reader should learn).
std::string FileNameOf(const std::string& path);

// With --html, writes the report; returns kExitOk, or kExitFailed after the message.
int WriteHtmlReport(const Args& args, const qm::CatalogueDiff& diff, const qm::HeroCatalogue& before,
                    const qm::HeroCatalogue& after, qm::CodePage page, const qm::DiffReportPage& about);

}  // namespace qlmk
