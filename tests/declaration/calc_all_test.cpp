// calc --all --write: every declaration of a folder recomputed and stored under record locks.
#include <map>

#include "folder_fixture.h"

namespace kx::declaration::testing {
namespace {

class CalcAll : public WorkFolderTest {
 protected:
  void SetUp() override {
    create_all_tables();
    // Paid 2000 at source on 50000: tax due 4014.46 (see below), 2014.46 to pay. The first
    // has the spouse's values typed by hand: 1500 - 500.
    for (const std::string& cpf : {plain, other}) {
      Row registry = {{"USAPADRAO", "N"}};
      if (cpf == plain)
        registry.insert(registry.end(), {{"CPFCONJU", other}, {"I9_5", "S"}, {"I13_1C", "1500"},
                                         {"I13_4C", "500"}});
      add_taxpayer(cpf, "Contribuinte " + cpf, registry);
      add(2, {{"CPF", cpf}, {"I1_1", "J"}, {"I1_4", "50000"}, {"I1_5", "2000"}});
    }
    add_taxpayer(open_elsewhere, "Aberta", {{"NUSUAT", "03"}});
    add(2, {{"CPF", open_elsewhere}, {"I1_1", "J"}, {"I1_4", "50000"}});
    // Assets of 1.8 billion at the end of 2013 do not fit the summary's N 12,2 line 39.
    add_taxpayer(too_large, "Grande");
    add(2, {{"CPF", too_large}, {"I1_1", "J"}, {"I1_4", "50000"}});
    for (int i = 1; i <= 2; ++i)
      add(4, {{"CPF", too_large}, {"I7_0", std::to_string(10 * i)}, {"I7_3", "900000000"}});
  }

  // The stored value of `name` in the row of `cpf` in table n, in the calc verb's form.
  std::string stored(int n, const std::string& cpf, const std::string& name) {
    dbf::Table t = open(n, dbf::OpenMode::read_only);
    EXPECT_TRUE(t.seek(cpf));
    const dbf::Field& f = t.field(name);
    if (f.type == dbf::FieldType::numeric) return t.get_number(name).str(f.decimals);
    return std::string(text::rtrim(t.get_text(name)));
  }

  std::map<std::string, std::string> lines_by_cpf(const Output& o) {
    std::map<std::string, std::string> out;
    std::istringstream in(o.out);
    for (std::string line; std::getline(in, line);) out[line.substr(0, 11)] = line;
    return out;
  }

  const std::string plain = "11144477735", other = "52998224725";
  const std::string open_elsewhere = "39053344705", too_large = "71428793860";
};

TEST_F(CalcAll, StoresEveryDeclarationButTheOpenAndTheFailedOnes) {
  const Output before = calc({"--folder", folder(), plain});
  const Output o = calc({"--folder", folder(), "--all", "--write"});
  EXPECT_EQ(o.status, 1);  // one declaration failed
  auto lines = lines_by_cpf(o);
  EXPECT_NE(lines[plain].find("gravada, IMPPGRE=2014.46"), std::string::npos) << o.out;
  EXPECT_NE(lines[other].find("gravada"), std::string::npos);
  EXPECT_NE(lines[open_elsewhere].find("ignorada, aberta no terminal 03"), std::string::npos);
  EXPECT_NE(lines[too_large].find("erro: Valor 1800000000.00 não cabe no campo I13_39 (N 12,2)."),
            std::string::npos) << lines[too_large];
  EXPECT_NE(o.out.find("Total: 4 declarações, 2 gravadas, 0 sem alteração, 1 ignoradas, "
                       "1 com erro"),
            std::string::npos)
      << o.out;

  // What was stored is what calc shows, in the summary and in the registry.
  const size_t summary_count = tax::summary_result_fields().size();
  for (size_t i = 0; i < before.lines.size(); ++i) {
    const auto& [name, value] = before.lines[i];
    EXPECT_EQ(stored(i < summary_count ? 1 : 9, plain, name), value) << name;
  }
  // 50000 x 22.5 % = 11250 - 7235.54 = 4014.46
  EXPECT_EQ(stored(1, plain, "I13_21"), "4014.46");
  EXPECT_EQ(stored(1, plain, "I13_43"), "1000.00");
  EXPECT_EQ(stored(9, plain, "I9_2"), "1000.00");
  EXPECT_EQ(stored(9, plain, "I9_3"), "1000.00");
  // Nothing of the open declaration, nothing of the failed one in either row.
  EXPECT_EQ(stored(1, open_elsewhere, "I13_01"), "0.00");
  EXPECT_EQ(stored(9, open_elsewhere, "IMPPGRE"), "0.00");
  EXPECT_EQ(stored(1, too_large, "I13_01"), "0.00");
  EXPECT_EQ(stored(9, too_large, "CGCPAGADOR"), "");
  EXPECT_EQ(stored(9, too_large, "SALDO"), "0.00");
}

TEST_F(CalcAll, SecondRunChangesNothing) {
  calc({"--folder", folder(), "--all", "--write"});
  const std::string summary = bytes_of(1), registry = bytes_of(9);
  const Output o = calc({"--folder", folder(), "--all", "--write"});
  auto lines = lines_by_cpf(o);
  EXPECT_NE(lines[plain].find("sem alteração"), std::string::npos) << o.out;
  EXPECT_NE(lines[other].find("sem alteração"), std::string::npos);
  EXPECT_NE(o.out.find("0 gravadas, 2 sem alteração"), std::string::npos) << o.out;
  EXPECT_EQ(bytes_of(1), summary);
  EXPECT_EQ(bytes_of(9), registry);
}

TEST_F(CalcAll, RowLockedByATerminalLeavesBothRowsUnwritten) {
  dbf::Table terminal = open(1, dbf::OpenMode::shared);
  ASSERT_TRUE(terminal.seek(plain));
  ASSERT_TRUE(terminal.try_lock_record(terminal.recno()));
  const Output o = calc({"--folder", folder(), "--all", "--write"});
  auto lines = lines_by_cpf(o);
  EXPECT_NE(lines[plain].find("Registro não ficou disponível"), std::string::npos) << o.out;
  EXPECT_NE(lines[other].find("gravada"), std::string::npos);
  terminal.close();
  EXPECT_EQ(stored(9, plain, "IMPPGRE"), "0.00");
  EXPECT_EQ(stored(9, other, "IMPPGRE"), "2014.46");
}

}  // namespace
}  // namespace kx::declaration::testing
