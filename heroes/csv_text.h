// CSV text as RFC 4180 describes it: fields separated by commas, records ended by line
// breaks, fields holding separators, quotes or line breaks enclosed in double quotes with each
// quote doubled. Spreadsheets in locales that write the decimal comma separate fields with
// semicolons instead, and "tab-separated" exports with tabs; readers take the separator.
//
//   std::vector<qm::CsvRecord> records;
//   qm::Status s = qm::ParseCsv(text, &records);     // records[i].line: where it begins
//
//   qm::CsvReader reader(text, qm::CsvSeparatorOf(text));   // one record at a time
//   qm::CsvRecord record;
//   qm::CsvError error;
//   while (reader.Next(&record, &error) == qm::CsvRead::kRecord) ...
//
//   std::string out;
//   qm::AppendCsvRecord(&out, {"12", "Aldric", "says \"hi\", twice"});
//
// Reading accepts CRLF, LF and lone CR as record ends, a missing final line break, and a UTF-8
// byte order mark at the start (spreadsheets write one). Line breaks inside quoted fields are
// kept as they are. Blank lines (no characters at all) are skipped. It refuses a quote inside
// an unquoted field, text after a closing quote and a quoted field that never closes, naming
// the line and the field (1-based). Every record keeps the number of fields it has; the caller
// checks the count.
//
// Writing separates with commas and quotes a field only when it holds a comma, a quote, CR or
// LF, begins or ends with a space, or begins with a byte order mark; records end with CRLF.
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

struct CsvError {
  size_t line = 0;   // 1-based
  size_t field = 0;  // 1-based, in its record
  std::string reason;
};

constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

// The separator the first line of `text` uses: whichever of ',', ';' and tab it holds most
// often outside quotes; ',' when it holds none of them (a single column) or on a tie with it.
char CsvSeparatorOf(std::string_view text);

enum class CsvRead { kRecord, kEnd, kError };

class CsvReader {
 public:
  explicit CsvReader(std::string_view text, char separator = ',');
  // The next record into *record; at an error *error says where and why, and reading stops.
  CsvRead Next(CsvRecord* record, CsvError* error);

 private:
  bool LineBreak();

  std::string_view text_;
  char separator_;
  size_t pos_ = 0;
  size_t line_ = 1;
  bool failed_ = false;
};

// Every record of `text`; the reason names the line and the field. *out is replaced only on
// success.
Status ParseCsv(std::string_view text, std::vector<CsvRecord>* out, char separator = ',');

void AppendCsvRecord(std::string* out, const std::vector<std::string>& fields);

}  // namespace qm
