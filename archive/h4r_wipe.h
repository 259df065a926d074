// Compacting H4R archives.
//
//   Status s = WipeArchive("DATA/UPDATES.H4R");
//
// RebuildArchive writes a compact copy of an archive: the header, the directory at offset 8,
// then every payload back to back in directory order. Each record keeps every field but its
// data offset (time stamps included). Payloads of any size are copied in working-buffer pieces.
//
// WipeArchive builds that copy under the holding name "H4R.$$$" in the archive's folder (a
// leftover file of that name is deleted first) and, only once it is complete and flushed to the
// disk, puts it in the archive's place in one step and flushes the folder, so that even a power
// cut leaves the old archive or the compact one. Until then the archive is never touched, so a
// failed or interrupted wipe leaves it as it was; the result is always writable and otherwise
// keeps the archive's permissions. A file that is not an archive, or whose directory is damaged
// or holds 20,000 or more entries, fails unchanged. A failed flush of the folder is reported
// after the rename.
#pragma once

#include <string>

#include "base/status.h"

namespace qm {

constexpr char kWipeHoldingName[] = "H4R.$$$";

Status RebuildArchive(const std::string& source, const std::string& target);
Status WipeArchive(const std::string& path);

}  // namespace qm
