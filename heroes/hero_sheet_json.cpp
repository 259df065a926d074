// Reading the JSON form of the hero sheet, through nlohmann/json's event (SAX) parser: the
// rows are built as the events arrive, so no document tree is made and the nesting cannot go
// deeper than the sheet's own two levels.
#include <nlohmann/json.hpp>

#include <cstdint>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "base/quoted_text.h"
#include "heroes/hero_sheet.h"
#include "heroes/hero_sheet_columns.h"

namespace qm {
namespace {

using sheet::Column;
using sheet::kColumns;
using Json = nlohmann::json;

class SheetEvents : public nlohmann::json_sax<Json> {
 public:
  explicit SheetEvents(const std::string& file) : file_(file) {}

  std::vector<SheetRow> rows;
  std::string error;

  bool null() override { return Value(nullptr, nullptr, false); }
  bool boolean(bool v) override { return Value(v ? "yes" : "no", nullptr, true); }
  bool number_integer(number_integer_t v) override {
    if (v >= 0) return number_unsigned(static_cast<number_unsigned_t>(v));
    return Value(nullptr, nullptr, false);
  }
  bool number_unsigned(number_unsigned_t v) override {
    const std::string text = std::to_string(v);
    return Value(nullptr, &text, false);
  }
  bool number_float(number_float_t, const string_t&) override { return Value(nullptr, nullptr, false); }
  bool string(string_t& v) override {
    if (depth_ != 2) return Value(nullptr, nullptr, false);
    const Column* c = column_;
    if (!c || c->flag || c->field == &SheetRow::record) return Value(nullptr, nullptr, false);
    row_.*(c->field) = std::move(v);
    return true;
  }
  bool binary(binary_t&) override { return Value(nullptr, nullptr, false); }

  bool start_object(std::size_t) override {
    if (depth_ == 1) {
      ++element_;
      depth_ = 2;
      row_ = SheetRow();
      row_.where = file_ + " element " + std::to_string(element_);
      seen_.clear();
      return true;
    }
    return depth_ == 0 ? Fail(file_ + ": the file must hold an array of heroes, not an object")
                       : Value(nullptr, nullptr, false);
  }
  bool key(string_t& name) override {
    column_ = nullptr;
    for (const Column& c : kColumns) {
      if (name == c.name) column_ = &c;
    }
    if (!column_) return Fail(Where() + "unknown member " + QuotedText(name));
    if (!seen_.insert(column_).second) return Fail(Where() + "member " + QuotedText(name) + " appears twice");
    return true;
  }
  bool end_object() override {
    for (const Column& c : kColumns) {
      if (c.read_back && !seen_.count(&c)) return Fail(Where() + "member \"" + c.name + "\" is missing");
    }
    rows.push_back(std::move(row_));
    depth_ = 1;
    return true;
  }
  bool start_array(std::size_t) override {
    if (depth_ == 0) {
      depth_ = 1;
      return true;
    }
    if (depth_ == 1) return Fail(file_ + " element " + std::to_string(element_ + 1) + ": not an object");
    return Value(nullptr, nullptr, false);
  }
  bool end_array() override {
    depth_ = 0;
    return true;
  }
  bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception& ex) override {
    // "[json.exception.parse_error.101] parse error at line 1, column 3: ..." without its tag.
    std::string what = ex.what();
    if (const size_t tag_end = what.find("] "); what.rfind("[json.exception", 0) == 0 && tag_end != std::string::npos) {
      what.erase(0, tag_end + 2);
    }
    return Fail(file_ + ": " + what);
  }

 private:
  // A scalar value: `text` for text members, `number` for the record, `flag` for yes/no.
  bool Value(const char* flag_text, const std::string* number, bool is_flag) {
    if (depth_ == 0) return Fail(file_ + ": the file must hold an array of heroes");
    if (depth_ == 1) return Fail(file_ + " element " + std::to_string(element_ + 1) + ": not an object");
    const Column* c = column_;
    if (c && c->field == &SheetRow::record && number) {
      row_.record = *number;
      return true;
    }
    if (c && c->flag && is_flag) {
      row_.*(c->field) = flag_text;
      return true;
    }
    const char* wanted = !c ? "a value" : c->field == &SheetRow::record ? "a whole number from 0" :
                         c->flag ? "true or false" : "a string";
    return Fail(Where() + "member \"" + (c ? c->name : "?") + "\" must be " + wanted);
  }

  std::string Where() const { return file_ + " element " + std::to_string(element_) + ": "; }
  bool Fail(std::string why) {
    if (error.empty()) error = std::move(why);
    return false;
  }

  const std::string& file_;
  int depth_ = 0;  // 0 outside, 1 in the array, 2 in a hero's object
  size_t element_ = 0;
  SheetRow row_;
  const Column* column_ = nullptr;
  std::set<const Column*> seen_;
};

}  // namespace

Status ReadSheetJson(std::string_view text, const std::string& file, std::vector<SheetRow>* rows) {
  SheetEvents events(file);
  bool ok = false;
  try {
    ok = Json::sax_parse(text.begin(), text.end(), &events, nlohmann::detail::input_format_t::json, true);
  } catch (const std::exception& e) {
    return Status::Fail(file + ": " + e.what());
  }
  if (!ok) return Status::Fail(events.error.empty() ? file + ": not a JSON array of heroes" : events.error);
  *rows = std::move(events.rows);
  return Status::Ok();
}

}  // namespace qm
