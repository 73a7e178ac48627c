#include "store/layout_defaults.h"

#include <array>

#include "base/date.h"
#include "base/decimal.h"
#include "store/layout.h"

namespace kx::store {

std::string shared_settings_initial_record() {
  struct DueDate {
    int month, day;
  };
  constexpr std::array<DueDate, 8> kQuotaDueDates = {
      {{4, 30}, {5, 29}, {6, 30}, {7, 31}, {8, 31}, {9, 30}, {10, 30}, {11, 30}}};
  struct Amount {
    const char* field;
    const char* value;
  };
  constexpr Amount kAmounts[] = {
      {"VAL_SEG", "4.00"},  {"VAL_BYTE", "3.00"}, {"VAL_MIN", "120"},  {"COMO_SAL", "2"},
      {"TEMP_SAL", "15"},   {"TEMP_DES", "4"},    {"VAL_CPMF", "0"},   {"VAL_DOLAR", "2.6556"},
  };

  const dbf::Schema& layout = *creation_layout(43);
  std::string record(static_cast<std::size_t>(layout.record_length()), ' ');
  for (std::size_t i = 0; i < kQuotaDueDates.size(); ++i) {
    const auto due = Date::from_ymd(2015, kQuotaDueDates[i].month, kQuotaDueDates[i].day);
    dbf::put_date(record, *layout.find("VCTO" + std::to_string(i + 1)), due.value());
  }
  for (const Amount& a : kAmounts)
    dbf::put_number(record, *layout.find(a.field), Decimal::parse(a.value).value());
  dbf::put_text(record, *layout.find("PROCESSA"), "N");
  dbf::put_text(record, *layout.find("PROGCOMP"), "N");
  return record;
}

}  // namespace kx::store
