#include "heroes/csv_text.h"

#include <utility>

namespace qm {
namespace {

bool NeedsQuotes(std::string_view field) {
  if (field.empty()) return false;
  if (field.front() == ' ' || field.back() == ' ') return true;
  // At the start of a file a reader would take it for the byte order mark and drop it.
  if (field.substr(0, kUtf8ByteOrderMark.size()) == kUtf8ByteOrderMark) return true;
  return field.find_first_of(",\"\r\n") != std::string_view::npos;
}

}  // namespace

Status ParseCsv(std::string_view text, std::vector<CsvRecord>* out) {
  if (text.substr(0, kUtf8ByteOrderMark.size()) == kUtf8ByteOrderMark) text.remove_prefix(kUtf8ByteOrderMark.size());
  std::vector<CsvRecord> records;
  size_t line = 1;
  size_t i = 0;
  const size_t n = text.size();
  // Consumes one line break at i (CRLF, LF or CR); false when there is none.
  auto line_break = [&]() {
    if (i < n && text[i] == '\r') {
      ++i;
      if (i < n && text[i] == '\n') ++i;
    } else if (i < n && text[i] == '\n') {
      ++i;
    } else {
      return false;
    }
    ++line;
    return true;
  };
  while (i < n) {
    if (line_break()) continue;  // a blank line
    CsvRecord record;
    record.line = line;
    for (;;) {
      std::string field;
      if (i < n && text[i] == '"') {
        const size_t opened = line;
        ++i;
        for (;;) {
          if (i >= n) return Status::Fail("line " + std::to_string(opened) + ": a quoted field is never closed");
          const char c = text[i];
          if (c == '"') {
            if (i + 1 < n && text[i + 1] == '"') {
              field.push_back('"');
              i += 2;
              continue;
            }
            ++i;
            break;
          }
          if (c == '\n' || (c == '\r' && (i + 1 >= n || text[i + 1] != '\n'))) ++line;
          field.push_back(c);
          ++i;
        }
        if (i < n && text[i] != ',' && text[i] != '\r' && text[i] != '\n') {
          return Status::Fail("line " + std::to_string(line) + ": text after the closing quote of a field");
        }
      } else {
        while (i < n && text[i] != ',' && text[i] != '\r' && text[i] != '\n') {
          if (text[i] == '"') {
            return Status::Fail("line " + std::to_string(line) +
                                ": a quote inside a field that does not begin with one");
          }
          field.push_back(text[i++]);
        }
      }
      record.fields.push_back(std::move(field));
      if (i < n && text[i] == ',') {
        ++i;
        continue;
      }
      line_break();
      break;
    }
    records.push_back(std::move(record));
  }
  *out = std::move(records);
  return Status::Ok();
}

void AppendCsvRecord(std::string* out, const std::vector<std::string>& fields) {
  for (size_t f = 0; f < fields.size(); ++f) {
    if (f > 0) out->push_back(',');
    const std::string& field = fields[f];
    if (!NeedsQuotes(field)) {
      *out += field;
      continue;
    }
    out->push_back('"');
    for (char c : field) {
      if (c == '"') out->push_back('"');
      out->push_back(c);
    }
    out->push_back('"');
  }
  *out += "\r\n";
}

}  // namespace qm
