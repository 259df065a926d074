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

std::string_view WithoutByteOrderMark(std::string_view text) {
  if (text.substr(0, kUtf8ByteOrderMark.size()) == kUtf8ByteOrderMark) text.remove_prefix(kUtf8ByteOrderMark.size());
  return text;
}

}  // namespace

char CsvSeparatorOf(std::string_view text) {
  text = WithoutByteOrderMark(text);
  size_t commas = 0, semicolons = 0, tabs = 0;
  bool quoted = false;
  for (const char c : text) {
    if (c == '"') quoted = !quoted;  // a doubled quote toggles twice
    if (quoted) continue;
    if (c == '\r' || c == '\n') break;
    commas += c == ',';
    semicolons += c == ';';
    tabs += c == '\t';
  }
  if (semicolons > commas && semicolons >= tabs) return ';';
  if (tabs > commas && tabs > semicolons) return '\t';
  return ',';
}

CsvReader::CsvReader(std::string_view text, char separator)
    : text_(WithoutByteOrderMark(text)), separator_(separator) {}

// Consumes one line break (CRLF, LF or CR); false when there is none.
bool CsvReader::LineBreak() {
  const size_t n = text_.size();
  if (pos_ < n && text_[pos_] == '\r') {
    ++pos_;
    if (pos_ < n && text_[pos_] == '\n') ++pos_;
  } else if (pos_ < n && text_[pos_] == '\n') {
    ++pos_;
  } else {
    return false;
  }
  ++line_;
  return true;
}

CsvRead CsvReader::Next(CsvRecord* record, CsvError* error) {
  if (failed_) return CsvRead::kError;
  const size_t n = text_.size();
  while (LineBreak()) {
  }  // blank lines
  if (pos_ >= n) return CsvRead::kEnd;
  auto fail = [&](size_t line, std::string reason) {
    failed_ = true;
    *error = CsvError{line, record->fields.size() + 1, std::move(reason)};
    return CsvRead::kError;
  };
  record->line = line_;
  record->fields.clear();
  const auto ends_field = [&](char c) { return c == separator_ || c == '\r' || c == '\n'; };
  for (;;) {
    std::string field;
    if (pos_ < n && text_[pos_] == '"') {
      const size_t opened = line_;
      ++pos_;
      for (;;) {
        if (pos_ >= n) return fail(opened, "a quoted field is never closed");
        const char c = text_[pos_];
        if (c == '"') {
          if (pos_ + 1 < n && text_[pos_ + 1] == '"') {
            field.push_back('"');
            pos_ += 2;
            continue;
          }
          ++pos_;
          break;
        }
        if (c == '\n' || (c == '\r' && (pos_ + 1 >= n || text_[pos_ + 1] != '\n'))) ++line_;
        field.push_back(c);
        ++pos_;
      }
      if (pos_ < n && !ends_field(text_[pos_])) return fail(line_, "text after the closing quote of a field");
    } else {
      while (pos_ < n && !ends_field(text_[pos_])) {
        if (text_[pos_] == '"') return fail(line_, "a quote inside a field that does not begin with one");
        field.push_back(text_[pos_++]);
      }
    }
    record->fields.push_back(std::move(field));
    if (pos_ < n && text_[pos_] == separator_) {
      ++pos_;
      continue;
    }
    LineBreak();
    return CsvRead::kRecord;
  }
}

Status ParseCsv(std::string_view text, std::vector<CsvRecord>* out, char separator) {
  CsvReader reader(text, separator);
  std::vector<CsvRecord> records;
  CsvRecord record;
  CsvError error;
  for (;;) {
    switch (reader.Next(&record, &error)) {
      case CsvRead::kRecord: records.push_back(std::move(record)); continue;
      case CsvRead::kError:
        return Status::Fail("line " + std::to_string(error.line) + ", field " + std::to_string(error.field) + ": " +
                            error.reason);
      case CsvRead::kEnd: *out = std::move(records); return Status::Ok();
    }
  }
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
