// The columns of the hero sheet (heroes/hero_sheet.h), shared by its CSV and JSON forms.
#pragma once

#include <string>

#include "heroes/hero_sheet.h"

namespace qm::sheet {

struct Column {
  const char* name;
  std::string SheetRow::*field;
  bool read_back;  // read on import; the others follow from the catalogue
  bool flag;       // yes/no in CSV, true/false in JSON
};

inline constexpr Column kColumns[] = {
    {"record", &SheetRow::record, true, false},
    {"keyword", &SheetRow::keyword, true, false},
    {"name", &SheetRow::name, true, false},
    {"biography", &SheetRow::biography, true, false},
    {"sex", &SheetRow::sex, true, false},
    {"class", &SheetRow::hero_class, true, false},
    {"alignment", &SheetRow::alignment, false, false},
    {"allowed", &SheetRow::allowed, true, true},
    {"read_only", &SheetRow::read_only, false, true},
    {"has_large", &SheetRow::has_large, false, true},
    {"has_small", &SheetRow::has_small, false, true},
    {"role", &SheetRow::role, false, false},
};

}  // namespace qm::sheet
