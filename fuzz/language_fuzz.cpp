// Fuzzes the language file parser and the Text lookup: any file content must parse without
// reading or writing out of bounds, and every lookup must give a terminated text of at most
// 511 bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "shell/language.h"
#include "shell/program_strings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static qm::Language program_language(qm::LookupEditorString);  // reused, like the program's
  qm::Language* language = &program_language;
  const std::string_view content(reinterpret_cast<const char*>(data), size);
  language->ParseText(content);
  for (uint32_t id : language->DefinedIds()) {
    const char* text = language->Text(id);
    if (!text || std::strlen(text) >= qm::kTextBufferSize) std::abort();
  }
  for (uint32_t id : {0u, 304u, 65536u, 66559u, 66560u, 0xFFFFFFFFu}) {
    const char* text = language->Text(id);
    if (!text || std::strlen(text) >= qm::kTextBufferSize) std::abort();
  }
  // Key numbers on their own, over the first line.
  (void)qm::ParseKeyNumber(content.substr(0, content.find('=')));
  return 0;
}
