#include "qlmk/html_report.h"

#include <cstdio>
#include <filesystem>

#include "base/replacement_file.h"

namespace qlmk {

std::string FileNameOf(const std::string& path) {
  const std::string name = std::filesystem::path(path).filename().string();
  return name.empty() ? path : name;
}

int WriteHtmlReport(const Args& args, const qm::CatalogueDiff& diff, const qm::HeroCatalogue& before,
                    const qm::HeroCatalogue& after, qm::CodePage page, const qm::DiffReportPage& about) {
  if (!args.Has("--html")) return kExitOk;
  const std::string out = args.Value("--html");
  if (qm::Status s = qm::WriteWholeFile(out, qm::DiffReportHtml(diff, before, after, page, about)); !s) return Fail(s.why());
  if (!args.Has("--json")) std::printf("wrote %s\n", out.c_str());  // keeps --json output one document
  return kExitOk;
}

}  // namespace qlmk
