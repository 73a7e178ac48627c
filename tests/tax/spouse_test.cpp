#include <gtest/gtest.h>

#include "base/cp850.h"
#include "fixture.h"
#include "tax/compute.h"
#include "tax/spouse.h"

namespace kx::tax {
namespace {

TEST(Spouse, ValuesCarriedByHowTheyWereObtained) {
  struct Case {
    const char* what;
    const char* cpf;
    const char* fetch;  // I9_4
    const char* typed;  // I9_5
    const char* estate;  // DECFINAL
    const char* result;  // I9_2 and I13_43
    const char* balance;  // I9_3
  } cases[] = {
      // 30000 + 1000 + 2000 + 500 - 4000
      {"typed", "11144477735", "N", "S", "N", "29500", "29500"},
      {"fetched", "11144477735", "S", "N", "N", "29500", "41000"},  // the balance as fetched
      {"both marks", "11144477735", "S", "S", "N", "29500", "41000"},  // the fetch wins
      {"no mark", "11144477735", "N", "N", "N", "0", "0"},
      {"no spouse CPF", "", "S", "S", "N", "0", "0"},
      {"final estate", "11144477735", "S", "N", "S", "0", "0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Declaration d;
    d.registry.CPFCONJU = c.cpf;
    d.registry.I9_4 = c.fetch;
    d.registry.I9_5 = c.typed;
    d.summary.DECFINAL = c.estate;
    d.registry.I13_1C = "30000"_dec;
    d.registry.I13_2C = "1000"_dec;
    d.registry.I13_3C = "2000"_dec;
    d.registry.I13_4C = "4000"_dec;
    d.registry.I13_5C = "500"_dec;
    d.registry.I9_2 = "99"_dec;  // stale: always recomputed from the parts
    d.registry.I9_3 = "41000"_dec;
    const Result r = compute(d, test::context());
    const bool kept = Decimal::parse(c.result).value() > 0;
    EXPECT_EQ(r.I9_2, Decimal::parse(c.result).value());
    EXPECT_EQ(r.I13_43, r.I9_2);
    EXPECT_EQ(r.I9_3, Decimal::parse(c.balance).value());
    EXPECT_EQ(r.I13_1C, kept ? "30000"_dec : Decimal());
    EXPECT_EQ(r.I13_5C, kept ? "500"_dec : Decimal());
    // The spouse's balance is a receipt of the balance: I9_2 + (I9_3 - I9_2).
    EXPECT_EQ(r.RECEITA, r.I9_3);
    EXPECT_EQ(r.NREC, r.I9_3 - r.I9_2);
  }
}

SpouseRow spouse_row() {
  return {"N", "N", "41000"_dec, "50000"_dec, "7000"_dec, "3000"_dec, "2500"_dec, "400"_dec};
}

TEST(Spouse, TakesTheValuesOfTheSpousesRow) {
  const SpouseFetch f = take_spouse_values(spouse_row());
  EXPECT_EQ(f.outcome, SpouseTake::taken);
  EXPECT_EQ(f.values.CONJPAD, "N");
  EXPECT_EQ(f.values.I13_1C, "50000"_dec);  // tax base
  EXPECT_EQ(f.values.I13_2C, "3000"_dec);   // exempt
  EXPECT_EQ(f.values.I13_3C, "2500"_dec);   // exclusive
  EXPECT_EQ(f.values.I13_4C, "7000"_dec);   // tax paid
  EXPECT_EQ(f.values.I13_5C, "400"_dec);    // suspended
  EXPECT_EQ(f.values.I9_2, "48900"_dec);    // 50000 + 3000 + 2500 + 400 - 7000
  EXPECT_EQ(f.values.I9_3, "41000"_dec);    // the spouse's balance
}

TEST(Spouse, ModelNotChosenOrBothFetching) {
  SpouseRow undefined = spouse_row();
  undefined.USAPADRAO = "";
  SpouseRow fetching = spouse_row();
  fetching.I9_4 = "S";
  struct Case {
    const char* what;
    SpouseRow row;
    std::optional<bool> answer;
    SpouseTake outcome;
    const char* first_line;  // UTF-8; "" for none
  } cases[] = {
      {"model not chosen", undefined, std::nullopt, SpouseTake::not_defined,
       "A declaração do conjuge não foi feita ou ainda "},
      {"both fetching, asked", fetching, std::nullopt, SpouseTake::ask,
       "Na declaração do conjugue já está  marcada para buscar"},
      {"both fetching, no", fetching, false, SpouseTake::refused, ""},
      {"both fetching, yes", fetching, true, SpouseTake::taken, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const SpouseFetch f = take_spouse_values(c.row, c.answer);
    EXPECT_EQ(f.outcome, c.outcome);
    EXPECT_EQ(f.lines.empty() ? "" : cp850::to_utf8(f.lines[0]), c.first_line);
    EXPECT_EQ(f.values.I9_2, c.outcome == SpouseTake::taken ? "48900"_dec : Decimal());
    EXPECT_EQ(f.values.I9_3, c.outcome == SpouseTake::taken ? "41000"_dec : Decimal());
  }
}

}  // namespace
}  // namespace kx::tax
