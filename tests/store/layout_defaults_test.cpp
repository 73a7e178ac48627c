#include <gtest/gtest.h>

#include "store/layout.h"
#include "store/layout_defaults.h"

namespace kx::store {
namespace {

TEST(SharedSettingsInitialRecord, CarriesTheYearsDueDatesAndDefaults) {
  const dbf::Schema& layout = *creation_layout(43);
  const std::string record = shared_settings_initial_record();
  ASSERT_EQ(record.size(), 336u);
  const dbf::RecordView row(layout, record);
  EXPECT_FALSE(row.deleted());

  const char* due[] = {"20150430", "20150529", "20150630", "20150731",
                       "20150831", "20150930", "20151030", "20151130"};
  for (int i = 0; i < 8; ++i)
    EXPECT_EQ(row.date(*layout.find("VCTO" + std::to_string(i + 1))).dtos(), due[i]) << i;

  struct Case {
    const char* field;
    const char* value;
  };
  for (auto [field, value] : {Case{"VAL_SEG", "4.00"}, {"VAL_BYTE", "3.00"}, {"VAL_MIN", "120"},
                              {"COMO_SAL", "2"}, {"TEMP_SAL", "15"}, {"TEMP_DES", "4"},
                              {"VAL_DOLAR", "2.6556"}, {"BOL_NOSNRO", "0"}, {"STATRAVA", "0"}})
    EXPECT_EQ(row.number(*layout.find(field)), Decimal::parse(value).value()) << field;

  EXPECT_EQ(row.text(*layout.find("PROCESSA")), "N");
  EXPECT_EQ(row.text(*layout.find("PROGCOMP")), "N");
  EXPECT_EQ(row.text(*layout.find("VER_ATUAL")), " ");
  EXPECT_EQ(row.text(*layout.find("SER_SMTP")), std::string(47, ' '));
}

}  // namespace
}  // namespace kx::store
