// CSV text as RFC 4180 describes it: fields separated by commas, records ended by line
// breaks, fields holding commas, quotes or line breaks enclosed in double quotes with each
// quote doubled.
//
//   std::vector<qm::CsvRecord> records;
//   qm::Status s = qm::ParseCsv(text, &records);     // records[i].line: where it begins
//   std::string out;
//   qm::AppendCsvRecord(&out, {"12", "Aldric", "says \"hi\", twice"});
//
// Reading accepts CRLF, LF and lone CR as record ends, a missing final line break, and a UTF-8
// byte order mark at the start (spreadsheets write one). Line breaks inside quoted fields are
// kept as they are. Blank lines (no characters at all) are skipped. It refuses a quote inside
// an unquoted field, text after a closing quote and a quoted field that never closes, naming
// the line. Every record keeps the number of fields it has; the caller checks the count.
//
// Writing quotes a field only when it holds a comma, a quote, CR or LF, begins or ends with a
// space, or begins with a byte order mark; records end with CRLF.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "base/status.h"

namespace qm {

struct CsvRecord {
  size_t line = 0;  // 1-based line on which the record begins
  std::vector<std::string> fields;
};

constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

Status ParseCsv(std::string_view text, std::vector<CsvRecord>* out);

void AppendCsvRecord(std::string* out, const std::vector<std::string>& fields);

}  // namespace qm
