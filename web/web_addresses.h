// The editor's web addresses: the two home pages its buttons open and the host that the update
// check asks for the newest published version.
//
//   TAMSEL's HOME (command 1010)     kDesignerHomePage
//   QUILLMARK's HOME (command 1011)  kProgramHomePage (also named in the newer-version notice)
//   update check                     http://kUpdateHost/ on port 80
#pragma once

namespace qm {

constexpr const char* kDesignerHomePage = "http://www.quillmark-editor.org/tamsel/";
constexpr const char* kProgramHomePage = "http://www.quillmark-editor.org/";
constexpr const char* kUpdateHost = "update.quillmark-editor.org";
constexpr unsigned short kUpdatePort = 80;

}  // namespace qm
