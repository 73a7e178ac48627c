#include <gtest/gtest.h>

#include "fixture.h"
#include "tax/fields.h"

namespace kx::tax {
namespace {

template <class T>
T& member(std::optional<FieldRef> ref) {
  EXPECT_TRUE(ref.has_value());
  return *std::get<T*>(*ref);
}

TEST(Fields, InputsAreFoundByTheirTableNamesInAnyCase) {
  IncomeRow row;
  member<Decimal>(field(row, "I1_4")) = "10"_dec;
  member<Decimal>(field(row, "i1_405")) = "5"_dec;
  member<Decimal>(field(row, "I1_612")) = "6"_dec;
  member<std::string>(field(row, "i1_1")) = "F";
  member<Date>(field(row, "DT_LC")) = test::day(1, 2, 2014);
  EXPECT_EQ(row.I1_4, "10"_dec);
  EXPECT_EQ(row.I1_4m[4], "5"_dec);
  EXPECT_EQ(row.I1_6m[11], "6"_dec);
  EXPECT_EQ(row.I1_1, "F");
  EXPECT_EQ(row.DT_LC, test::day(1, 2, 2014));
  EXPECT_FALSE(field(row, "I1_413"));  // no thirteenth month in table 2
  EXPECT_FALSE(field(row, "NOMECONTR"));

  MonthlyRow grid;
  member<Decimal>(field(grid, "I2_713")) = "7"_dec;
  member<Decimal>(field(grid, "I2_101")) = "1"_dec;
  EXPECT_EQ(grid.at(7, 13), "7"_dec);
  EXPECT_EQ(grid.at(1, 1), "1"_dec);

  Summary summary;
  member<bool>(field(summary, "SO_REC")) = false;
  member<int>(field(summary, "CAL_AUTO")) = 3;
  EXPECT_FALSE(summary.SO_REC);
  EXPECT_EQ(summary.CAL_AUTO, 3);
  PaymentRow payment;
  member<int>(field(payment, "I6_3")) = 50;
  member<Decimal>(field(payment, "I6_412")) = "12"_dec;
  EXPECT_EQ(payment.I6_3, 50);
  EXPECT_EQ(payment.I6_4m[11], "12"_dec);
}

TEST(Fields, EveryResultFieldOfTheTablesIsAMemberOfTheResult) {
  Result r;
  r.I3[24] = "24"_dec;
  r.I4[10] = "10"_dec;
  r.I13_50 = "50"_dec;
  EXPECT_EQ(member<Decimal>(field(r, "I3_24")), "24"_dec);
  EXPECT_EQ(member<Decimal>(field(r, "I4_10")), "10"_dec);
  EXPECT_EQ(member<Decimal>(field(r, "I13_50")), "50"_dec);
  for (const auto* names : {&summary_result_fields(), &registry_result_fields()})
    for (const auto& name : *names) EXPECT_TRUE(field(r, name).has_value()) << name;
  // Table 1's interleaved order of the exempt and exclusive lines.
  const auto& summary = summary_result_fields();
  ASSERT_GE(summary.size(), 4u);
  EXPECT_EQ(summary[0], "I3_01");
  EXPECT_EQ(summary[1], "I4_01");
  EXPECT_EQ(summary[20], "I3_11");
}

}  // namespace
}  // namespace kx::tax
