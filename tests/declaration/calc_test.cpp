// Whole declarations computed through the calc verb from small work folders. Every field the
// computation sets is checked: those listed must have the value given, every other one must be
// zero or blank. The values are derived from the rules in the comments.
#include <map>

#include "folder_fixture.h"
#include "tax/fields.h"

namespace kx::declaration::testing {
namespace {

using Expected = std::map<std::string, std::string>;

// The summary lines come first, in table order, then the registry lines.
void expect_fields(const Output& o, const Expected& summary, const Expected& registry) {
  ASSERT_EQ(o.status, 0) << o.err;
  const size_t summary_count = tax::summary_result_fields().size();
  ASSERT_GT(o.lines.size(), summary_count);
  for (size_t i = 0; i < o.lines.size(); ++i) {
    const auto& [name, value] = o.lines[i];
    const Expected& expected = i < summary_count ? summary : registry;
    const char* where = i < summary_count ? "summary " : "registry ";
    if (auto it = expected.find(name); it != expected.end()) {
      EXPECT_EQ(value, it->second) << where << name;
    } else {
      const auto number = Decimal::parse(value);
      EXPECT_TRUE(number && number->is_zero()) << where << name << "=" << value;
    }
  }
  for (const auto& [name, value] : registry) {
    bool listed = false;
    for (size_t i = summary_count; i < o.lines.size(); ++i) listed |= o.lines[i].first == name;
    EXPECT_TRUE(listed) << "registry line missing: " << name;
  }
}

class Calc : public WorkFolderTest {
 protected:
  const std::string cpf = "52998224725";
  const std::string neighbour = "52998224720";  // sorts right before: its rows must not count

  // Complete model: an employee with a dependant's income, accumulated income joining the
  // annual adjustment, income from individuals with its carnê-leão, two dependants and the
  // payments of each limit, the spouse's values typed by hand.
  void complete_declaration() {
    create_all_tables();
    add_taxpayer(neighbour, "Vizinho", {{"USAPADRAO", "N"}});
    add_taxpayer(cpf, "José Conceição",
                 {{"USAPADRAO", "N"}, {"CPFCONJU", "11144477735"}, {"I9_5", "S"},
                  {"CONJPAD", "S"}, {"I13_1C", "20000"}, {"I13_2C", "1000"}, {"I13_3C", "500"},
                  {"I13_4C", "2500"}});
    for (const std::string& other : {neighbour}) {
      add(2, {{"CPF", other}, {"I1_1", "J"}, {"I1_4", "55555"}, {"I1_5", "555"}});
      add(3, {{"CPF", other}, {"CODIDEPEN", "3"}, {"NRODEPEN", "1"}});
      add(4, {{"CPF", other}, {"I7_0", "10"}, {"I7_3", "1000"}, {"I7_4", "2000"}});
      add(6, {{"CPF", other}, {"I6_3", "10"}, {"I6_4", "777"}});
    }
    add(2, {{"CPF", cpf}, {"I1_1", "J"}, {"I1_11", "S"}, {"I1_2", "Padaria São João"},
            {"I1_3", "11.222.333/0001-81"}, {"I1_4", "90000"}, {"I1_5", "12000"},
            {"I1_6", "9000"}, {"I1_7", "7500"}});
    add(2, {{"CPF", cpf}, {"I1_1", "D"}, {"I1_11", "N"}, {"I1_3", "60.701.190/0001-04"},
            {"I1_4", "12000"}, {"I1_6", "1200"}});
    add(2, {{"CPF", cpf}, {"I1_1", "A"}, {"TIPOCR", "S"}, {"I1_4", "10000"}, {"I1_5", "500"},
            {"I1_6", "1000"}, {"I1_21", "8"}, {"I1_36", "05"}});
    add(2, {{"CPF", cpf}, {"I1_1", "F"}, {"I1_11", "S"}, {"I1_4", "4000"}, {"I1_406", "4000"}});
    add(2, {{"CPF", cpf}, {"I1_1", "I"}, {"I1_11", "S"}, {"I1_4", "300"}, {"I1_406", "300"}});
    add(3, {{"CPF", cpf}, {"NOMEDEPEN", "Ana"}, {"CODIDEPEN", "3"}, {"NRODEPEN", "1"}});
    add(3, {{"CPF", cpf}, {"NOMEDEPEN", "Rui"}, {"CODIDEPEN", "4"}, {"NRODEPEN", "2"}});
    add(6, {{"CPF", cpf}, {"I6_3", "1"}, {"I6_4", "5000"}});
    add(6, {{"CPF", cpf}, {"I6_3", "1"}, {"I6_4", "2000"}, {"I6_6", "2"}});
    add(6, {{"CPF", cpf}, {"I6_3", "10"}, {"I6_4", "8000"}, {"I6_5", "1000"}});
    add(6, {{"CPF", cpf}, {"I6_3", "36"}, {"I6_4", "15000"}});
    add(6, {{"CPF", cpf}, {"I6_3", "41"}, {"I6_4", "2000"}});
    add(6, {{"CPF", cpf}, {"I6_3", "50"}, {"I6_4", "1500"}});
  }
};

TEST_F(Calc, CompleteDeclarationEveryLine) {
  complete_declaration();
  expect_fields(calc({"--folder", folder(), cpf}),
                {
                    {"I4_01", "7500.00"},     // the 13th salary, taxed at source only
                    {"DESPINST", "X"},        // education paid
                    {"I13_01", "90000.00"},
                    {"I13_02", "12000.00"},
                    {"I13_03", "4000.00"},    // June, from individuals
                    {"I13_05", "10000.00"},   // accumulated income in the adjustment
                    {"I13_08", "116000.00"},  // 90000 + 12000 + 4000 + 10000
                    {"I13_09", "10200.00"},   // 9000 + 1200
                    {"I13_10", "1000.00"},    // social security of the accumulated income
                    {"I13_11", "13920.00"},   // pension 15000 limited to 12 % of 116000
                    {"I13_12", "4313.04"},    // 2 dependants x 2156.52
                    {"I13_13", "5375.83"},    // titular 5000 -> 3375.83, person 2 pays 2000
                    {"I13_14", "7000.00"},    // medical 8000 less 1000 reimbursed
                    // 10200 + 1000 + 13920 + 4313.04 + 5375.83 + 7000
                    {"I13_19", "41808.87"},
                    {"I13_20", "74191.13"},   // 116000 - 41808.87
                    // 74191.13 x 27.5 % = 20402.56075 - 9913.83 = 10488.73075, cut
                    {"I13_21", "10488.73"},
                    {"I13_22", "629.32"},     // donation 2000 limited to 6 % of 10488.73
                    {"I13_23", "9859.41"},    // 10488.73 - 629.32
                    {"I13_24", "1152.88"},    // domestic employee 1500 capped
                    {"I13_26", "8706.53"},    // 9859.41 - 1152.88
                    {"I13_27", "12500.00"},   // 12000 + 500 withheld on the accumulated income
                    {"I13_29", "300.00"},     // carnê-leão paid (June's due is 216.17)
                    {"I13_35", "12800.00"},   // 12500 + 300
                    {"I13_38", "4093.47"},    // refund: 12800 - 8706.53
                    {"I13_43", "19000.00"},   // spouse: 20000 + 1000 + 500 + 0 - 2500
                    {"I13_45", "7500.00"},
                    // employee's cost 1500 x 8.333335 + 1500 = 14000.00, plus the other
                    // payments 5000 + 2000 + 8000 + 15000 + 2000
                    {"DESPDECLA", "46000.00"},
                    {"DESPADRAO", "15880.89"},  // 20 % of 116000 capped
                },
                {
                    {"CGCPAGADOR", "11.222.333/0001-81"},
                    {"I9_2", "19000.00"},
                    {"I9_3", "19000.00"},  // typed by hand: the spouse result itself
                    // receipts 116000 + 7500 + the spouse's 19000 = 142500; expenses 12800
                    // paid + 46000 declared + 10200 + 4313.04 = 73313.04
                    {"SALDO", "69186.96"},
                    {"INDGAS", "48.55"},  // 69186.96 / 142500 = 48.552...%
                    {"IMPPGRE", "-4093.47"},
                    {"I13_20", "74191.13"},
                    {"I13_24", "1152.88"},
                    {"I13_27", "12500.00"},  // + I13_28 0
                    {"I13_35", "12800.00"},  // - I13_34 0
                    {"I13_45", "7500.00"},
                    {"I13_1C", "20000.00"},
                    {"I13_2C", "1000.00"},
                    {"I13_3C", "500.00"},
                    {"I13_4C", "2500.00"},
                });
}

// Simplified model on 20/04/2015: accumulated income taxed on its own, a dependant's income
// with withholding, a domestic employee, assets and a new loan, quotas by automatic debit, the
// spouse's values fetched from the spouse's declaration.
TEST_F(Calc, SimplifiedDeclarationEveryLine) {
  clock.set(DateTime{*Date::from_ymd(2015, 4, 20), 9, 0, 0});
  create_all_tables();
  add_taxpayer(cpf, "Márcia Simões",
               {{"DEBITAUT", "S"}, {"CPFCONJU", "11144477735"}, {"I9_4", "S"}, {"CONJPAD", "N"},
                {"I13_1C", "10000"}, {"I13_4C", "500"}, {"I9_2", "1"}, {"I9_3", "50000"}});
  add(2, {{"CPF", cpf}, {"I1_1", "J"}, {"I1_11", "S"}, {"I1_3", "11.222.333/0001-81"},
          {"I1_4", "40000"}, {"I1_5", "1000"}, {"I1_6", "4000"}});
  add(2, {{"CPF", cpf}, {"I1_1", "D"}, {"I1_11", "N"}, {"I1_3", "60.701.190/0001-04"},
          {"I1_4", "8000"}, {"I1_5", "400"}, {"I1_6", "640"}});
  add(2, {{"CPF", cpf}, {"I1_1", "A"}, {"TIPOCR", "N"}, {"I1_4", "30000"}, {"I1_5", "1500"},
          {"I1_21", "6"}, {"I1_36", "05"}});
  add(4, {{"CPF", cpf}, {"I7_0", "10"}, {"I7_3", "100000"}, {"I7_4", "150000"}});
  add(5, {{"CPF", cpf}, {"I8_0", "10"}, {"I8_3", "10000"}, {"I8_4", "70000"}, {"I8_6", "5000"}});
  add(6, {{"CPF", cpf}, {"I6_3", "50"}, {"I6_4", "600"}});
  expect_fields(calc({"--folder", folder(), cpf}),
                {
                    {"I4_05", "28500.00"},  // accumulated income 30000 less its 1500 withheld
                    {"I13_01", "40000.00"},
                    {"I13_02", "8000.00"},
                    {"I13_08", "48000.00"},
                    {"I13_09", "4640.00"},  // 4000 + 640, kept from the complete model
                    {"I13_19", "4640.00"},
                    {"I13_20", "38400.00"},  // 48000 less the 20 % discount 9600
                    {"I13_21", "1739.65"},   // 38400 x 15 % = 5760 - 4020.35
                    {"I13_23", "1739.65"},
                    // 30000 / 6 = 5000 a month: (5000 x 27.5 % - 826.15) x 6 = 548.85 x 6
                    {"I13_25", "3293.10"},
                    {"I13_26", "5032.75"},  // 1739.65 + 3293.10; no domestic employee line
                    {"I13_27", "1000.00"},
                    {"I13_28", "400.00"},
                    {"I13_34", "1500.00"},
                    {"I13_35", "2900.00"},  // 1000 + 400 + 1500
                    {"I13_36", "2132.75"},  // 5032.75 - 2900
                    {"I13_37", "266.59"},   // 8 quotas of 266.59375, cut
                    {"I13_39", "100000.00"},
                    {"I13_40", "150000.00"},
                    {"I13_41", "10000.00"},
                    {"I13_42", "70000.00"},
                    {"I13_43", "9500.00"},  // spouse: 10000 - 500
                    {"I13_45", "28500.00"},
                    {"QTD_QUOTA", "8"},
                    {"EMPREST", "10000.00"},    // debts grew 60000, assets 50000
                    {"DESPDECLA", "5600.00"},   // employee's cost 600 x 8.333335 + 600
                    {"DESPADRAO", "9600.00"},
                },
                {
                    {"CGCPAGADOR", "11.222.333/0001-81"},
                    {"I9_2", "9500.00"},   // recomputed from the parts, the stored 1 was stale
                    {"I9_3", "50000.00"},  // the spouse's balance as fetched
                    {"DEBITAUT", "S"},  // eight quotas: kept after 1 April
                    // receipts 48000 + 28500 + 1500 + loan 10000 + the spouse's 9500 and
                    // other 40500 = 138000; expenses 2900 paid + the standard discount 9600
                    // = 12500
                    {"SALDO", "125500.00"},
                    {"INDGAS", "90.94"},  // 125500 / 138000 = 90.942...%
                    {"IMPPGRE", "2132.75"},
                    {"I13_20", "38400.00"},
                    {"I13_27", "1400.00"},  // withheld from the titular and the dependant
                    {"I13_28", "400.00"},
                    {"I13_35", "1400.00"},  // 2900 less 1500 withheld on accumulated income
                    {"I13_45", "28500.00"},
                    {"QTD_QUOTA", "8"},
                    {"I13_1C", "10000.00"},
                    {"I13_4C", "500.00"},
                });
}

TEST_F(Calc, ModelGivenIsUsedAndNothingIsWritten) {
  complete_declaration();
  const std::string summary = bytes_of(1), registry = bytes_of(9);
  const Output o = calc({"--folder", folder(), cpf, "--model", "S"});
  ASSERT_EQ(o.status, 0) << o.err;
  std::map<std::string, std::string> first;  // the summary's value of each name
  for (const auto& [name, value] : o.lines) first.emplace(name, value);
  EXPECT_EQ(first["DESPADRAO"], "15880.89");
  EXPECT_EQ(first["I13_20"], "100119.11");  // 116000 - 15880.89
  // 100119.11 x 27.5 % = 27532.75525 - 9913.83 = 17618.92525
  EXPECT_EQ(first["I13_21"], "17618.92");
  EXPECT_EQ(first["I13_22"], "0.00");  // no incentive deduction in the simplified model
  EXPECT_EQ(first["I13_24"], "0.00");
  EXPECT_EQ(first["I13_26"], "17618.92");
  EXPECT_EQ(first["I13_36"], "4818.92");  // 17618.92 - 12800
  EXPECT_EQ(first["I13_37"], "602.36");   // 4818.92 / 8 = 602.365, cut
  EXPECT_EQ(first["QTD_QUOTA"], "8");
  // The complete model's 8706.53 is less: the operator is told.
  EXPECT_EQ(o.notices, std::vector<std::string>{"ATENÇAO!! Melhor opção Formulario Completo"});
  EXPECT_EQ(bytes_of(1), summary);
  EXPECT_EQ(bytes_of(9), registry);
}

TEST_F(Calc, RefusesWhatItCannotCompute) {
  create_all_tables();
  add_taxpayer(cpf, "José");
  os::testing::TempFolder empty;
  struct Case {
    std::vector<std::string> args;
    int status;
    std::string message;
  } cases[] = {
      {{"--folder", folder(), "11144477735"}, 1, "não cadastrado"},
      {{"--folder", tmp.path() + "/nenhuma", cpf}, 1, "não encontrada"},
      {{"--folder", empty.path(), cpf}, 1, "não tem a tabela de contribuintes"},
      {{"--folder", folder()}, 2, "uso:"},
      {{cpf}, 2, "uso:"},
      {{"--folder", folder(), cpf, "--model", "X"}, 2, "uso:"},
      {{"--folder", folder(), "--all"}, 2, "uso:"},
      {{"--folder", folder(), cpf, "--all", "--write"}, 2, "uso:"},
      {{"--folder", folder(), cpf, "--write"}, 2, "uso:"},
  };
  for (const Case& c : cases) {
    const Output o = calc(c.args);
    EXPECT_EQ(o.status, c.status) << c.args.back();
    EXPECT_NE(o.err.find(c.message), std::string::npos) << o.err;
    EXPECT_TRUE(o.out.empty());
  }
}

}  // namespace
}  // namespace kx::declaration::testing
