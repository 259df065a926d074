// A stub program written out with its payload begun: how MakeSFX writes the patcher and the
// backup writes the restore tool.
//
//   qm::ReplacementFile out;
//   if (qm::Status s = qm::StartStubFile(stub, "DATA/RESTORE.EXE", "restore tool", &out); !s) fail;
//   qm::AppendPayloadEntry(out.temp_path(), name, blob, 0);   // as many as needed
//   qm::Status s = out.Commit();                               // in place in one step
//
// Refuses an empty stub and one that already carries a payload. Writes the stub and an empty
// payload (100 free slots and the trailer) to a temporary file beside `out_path`, closed again
// so that the appends work on it by its name; they fill the slots exactly as on the bare stub.
// Until Commit the file at `out_path` is untouched, and dropping `out` deletes the temporary file.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "base/replacement_file.h"
#include "base/status.h"

namespace qm {

// `what` names the program in messages ("patcher", "restore tool").
Status StartStubFile(std::span<const uint8_t> stub, const std::string& out_path, const std::string& what,
                     ReplacementFile* out);

}  // namespace qm
