// The spouse values taken from the spouse's declaration in a work folder: computed afresh, and
// the spouse's own fetch mark cleared under its record lock when the operator says so.
#include "declaration/tax_adapter.h"
#include "folder_fixture.h"

namespace kx::declaration::testing {
namespace {

class SpouseFetchTest : public WorkFolderTest {
 protected:
  const std::string spouse_cpf = "11144477735";

  // Simplified model: salary 40000 with 1000 withheld, a 13th of 3000, dividends of 5000,
  // 800 with suspended exigibility, and an asset bought for 10000. Its own fetch mark is set,
  // with stale spouse values.
  //   I13_20 = 40000 - 8000 discount = 32000; tax paid 1000.
  //   RECEITA = 800 + 40000 + 5000 + 3000 = 48800; DESPESA = 1000 + 10000 + 8000 = 19000.
  void spouse_declaration() {
    create_all_tables();
    add_taxpayer(spouse_cpf, "Cônjuge",
                 {{"CPFCONJU", "52998224725"}, {"I9_4", "S"}, {"I13_1C", "123"},
                  {"I9_2", "123"}, {"I9_3", "456"}});
    add(2, {{"CPF", spouse_cpf}, {"I1_1", "J"}, {"I1_11", "S"}, {"I1_3", "11.222.333/0001-81"},
            {"I1_4", "40000"}, {"I1_5", "1000"}, {"I1_7", "3000"}, {"I1_15", "5000"},
            {"I1_19", "800"}});
    add(4, {{"CPF", spouse_cpf}, {"I7_0", "10"}, {"I7_4", "10000"}});
  }

  dbf::Table registry() {
    dbf::Table t = open(9, dbf::OpenMode::read_only);
    t.go_top();
    return t;
  }
};

TEST_F(SpouseFetchTest, AsksThenClearsTheSpousesMarkAndTakesItsValues) {
  spouse_declaration();
  const tax::Context context{*Date::from_ymd(2015, 3, 15), {}, {}};
  {
    WorkFolder folder(this->folder(), WorkFolder::Use::write, clock);
    FolderRows rows(folder, spouse_cpf);
    const auto asked = fetch_spouse(rows, context);
    ASSERT_TRUE(asked);
    EXPECT_EQ(asked->outcome, tax::SpouseTake::ask);
    EXPECT_EQ(asked->lines.size(), 4u);
  }
  const std::string untouched = bytes_of(9);
  {
    WorkFolder folder(this->folder(), WorkFolder::Use::write, clock);
    FolderRows rows(folder, spouse_cpf);
    EXPECT_EQ(fetch_spouse(rows, context, false)->outcome, tax::SpouseTake::refused);
  }
  EXPECT_EQ(bytes_of(9), untouched);  // no answer and "no" write nothing

  tax::SpouseFetch taken;
  {
    WorkFolder folder(this->folder(), WorkFolder::Use::write, clock);
    FolderRows rows(folder, spouse_cpf);
    taken = fetch_spouse(rows, context, true).value();
  }
  EXPECT_EQ(taken.outcome, tax::SpouseTake::taken);
  EXPECT_EQ(taken.values.CONJPAD, "S");
  EXPECT_EQ(taken.values.I13_1C, "32000"_dec);
  EXPECT_EQ(taken.values.I13_2C, "5000"_dec);
  EXPECT_EQ(taken.values.I13_3C, "3000"_dec);
  EXPECT_EQ(taken.values.I13_4C, "1000"_dec);
  EXPECT_EQ(taken.values.I13_5C, "800"_dec);
  EXPECT_EQ(taken.values.I9_2, "39800"_dec);  // 32000 + 5000 + 3000 + 800 - 1000
  // Its balance with its own spouse values cleared: 48800 - 19000.
  EXPECT_EQ(taken.values.I9_3, "29800"_dec);
  dbf::Table t = registry();
  EXPECT_EQ(t.get_text("I9_4"), "N");
  EXPECT_EQ(t.get_number("I13_1C"), Decimal());
  EXPECT_EQ(t.get_number("I9_2"), Decimal());
  EXPECT_EQ(t.get_number("I9_3"), Decimal());
}

TEST_F(SpouseFetchTest, NoRegistryRowIsNoSpouse) {
  spouse_declaration();
  WorkFolder folder(this->folder(), WorkFolder::Use::write, clock);
  FolderRows rows(folder, "52998224725");
  EXPECT_FALSE(fetch_spouse(rows, {}).has_value());
}

}  // namespace
}  // namespace kx::declaration::testing
