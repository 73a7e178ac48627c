#include "declaration/taxpayer_list.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "base/csv.h"
#include "declaration/generate_command.h"
#include "declaration/list_command.h"
#include "folder_fixture.h"

namespace kx::declaration {
namespace {

class TaxpayerListTest : public testing::WorkFolderTest {
 protected:
  void SetUp() override {
    create_all_tables();
    add_taxpayer("52998224725", "Zélia Prado", {{"ESTATUS", "3"}, {"IMPPGRE", "1234.56"}});
    add_taxpayer("11144477735", "ana, a \"Nica\"",
                 {{"ESTATUS", "7"}, {"IMPPGRE", "-80.10"}, {"USAPADRAO", "N"}, {"TEMRURAL", "S"}});
    add_taxpayer("39053344705", "Bruno Lima", {{"ESTATUS", "1"}});
  }

  testing::Output list(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    CommandEnvironment env{clock, ""};
    testing::Output o;
    o.status = run_list(args, out, err, env);
    o.out = out.str();
    o.err = err.str();
    return o;
  }
};

TEST_F(TaxpayerListTest, CsvInEachOrder) {
  const std::string header = "cpf,nome,status,a_pagar,a_restituir\n";
  const std::string zelia = "52998224725,Zélia Prado,3,1234.56,0.00\n";
  const std::string ana = "11144477735,\"ana, a \"\"Nica\"\"\",7,0.00,80.10\n";
  const std::string bruno = "39053344705,Bruno Lima,1,0.00,0.00\n";
  const struct {
    std::vector<std::string> order;
    std::string expected;
  } cases[] = {
      {{}, header + ana + bruno + zelia},
      {{"--order", "cpf"}, header + ana + bruno + zelia},
      {{"--order", "nome"}, header + ana + bruno + zelia},
      {{"--order", "status"}, header + bruno + zelia + ana},
  };
  for (const auto& c : cases) {
    std::vector<std::string> args = {"--folder", folder()};
    args.insert(args.end(), c.order.begin(), c.order.end());
    const testing::Output o = list(args);
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(o.out, c.expected) << (c.order.empty() ? "default" : c.order[1]);
  }
}

TEST_F(TaxpayerListTest, NameOrderIgnoresCaseAndAccents) {
  add_taxpayer("86288366757", "ÁLVARO", {});
  const testing::Output o = list({"--folder", folder(), "--order", "nome"});
  ASSERT_EQ(o.status, 0);
  // "ÁLVARO" weighs as ALVARO: before "ana".
  EXPECT_EQ(o.out.substr(o.out.find('\n') + 1, 12), "86288366757,");
}

TEST_F(TaxpayerListTest, ReadsWithoutWriting) {
  const std::string before = bytes_of(9);
  ASSERT_EQ(list({"--folder", folder()}).status, 0);
  EXPECT_EQ(bytes_of(9), before);
}

TEST_F(TaxpayerListTest, ExitStatus) {
  const struct {
    std::vector<std::string> args;
    int status;
  } cases[] = {
      {{"--folder", "/nonexistent/folder"}, 1},
      {{}, 2},
      {{"--folder"}, 2},
      {{"--folder", "x", "--order", "idade"}, 2},
      {{"--folder", "x", "extra"}, 2},
  };
  for (const auto& c : cases) {
    const testing::Output o = list(c.args);
    EXPECT_EQ(o.status, c.status) << (c.args.empty() ? "" : c.args.back());
    EXPECT_TRUE(o.out.empty());
    EXPECT_FALSE(o.err.empty());
  }
}

TEST_F(TaxpayerListTest, GeneratedFolderListedInEveryOrder) {
  const std::string generated = tmp.path() + "/Gerada";
  std::vector<std::string> cpfs = generate_declarations(generated, 12, 7, clock);
  std::sort(cpfs.begin(), cpfs.end());
  for (const char* order : {"cpf", "nome", "status"}) {
    const testing::Output o = list({"--folder", generated, "--order", order});
    ASSERT_EQ(o.status, 0) << o.err;
    std::istringstream in(o.out);
    CsvReader csv(in);
    std::vector<std::string> row, listed;
    ASSERT_TRUE(csv.next(row));
    while (csv.next(row)) {
      ASSERT_EQ(row.size(), 5u);
      listed.push_back(row[0]);
      // One of the two amounts is zero.
      EXPECT_TRUE(row[3] == "0.00" || row[4] == "0.00") << row[3] << " " << row[4];
    }
    if (std::string(order) == "cpf") {
      EXPECT_EQ(listed, cpfs);
    }
    std::sort(listed.begin(), listed.end());
    EXPECT_EQ(listed, cpfs) << order;
  }
}

TEST_F(TaxpayerListTest, Totals) {
  dbf::Table registry = open(9, dbf::OpenMode::read_only);
  const ListTotals t = list_totals(registry);
  EXPECT_EQ(t.rows, 3);
  EXPECT_EQ(t.simplified, 2);
  EXPECT_EQ(t.complete, 1);
  EXPECT_EQ(t.rural, 1);
  EXPECT_EQ(t.simplified_share()->str(2), "66.67");
  EXPECT_EQ(t.complete_share()->str(2), "33.33");
  EXPECT_FALSE(ListTotals{}.simplified_share());
}

}  // namespace
}  // namespace kx::declaration
