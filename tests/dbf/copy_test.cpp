#include <gtest/gtest.h>

#include "dbf/transfer.h"
#include "table_fixture.h"

namespace kx::dbf {
namespace {

using testing::schema_of;
using testing::TableTest;

TEST_F(TableTest, CopyToTakesTheVisibleRowsInOrderWithForAndWhile) {
  Table::create(path("S.DBF"), schema_of({"NOME:C:10", "IDADE:N:3", "OBS:M"}));
  {
    Table s = open("S.DBF", OpenMode::exclusive);
    for (const char* n : {"DORA", "ANA", "CAIO", "BIA"}) {
      s.append_blank();
      s.set_text("NOME", n);
      s.set_number("IDADE", static_cast<int64_t>(std::string(n).size()));
      s.set_memo("OBS", std::string("sobre ") + n);
    }
    s.go_to(3);
    s.delete_record();
  }
  Table s = open("S.DBF", OpenMode::read_only);
  s.add_temporary_index("NOME");
  auto is_short = [](const RecordView& r) { return r.number(*r.schema().find("IDADE")) == 3; };
  auto before_d = [](const RecordView& r) { return r.text(*r.schema().find("NOME"))[0] < 'D'; };
  struct Case {
    const char* file;
    CopyOptions options;
    std::vector<std::string> names;
  } cases[] = {
      {"ALL.DBF", {}, {"ANA", "BIA", "DORA"}},
      {"FOR.DBF", {.for_filter = is_short}, {"ANA", "BIA"}},
      {"WHILE.DBF", {.while_filter = before_d}, {"ANA", "BIA"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    TransferResult r = copy_to(s, path(c.file), c.options);
    EXPECT_EQ(r.rows, c.names.size());
    Table d = open(c.file, OpenMode::read_only);
    EXPECT_EQ(names(d), c.names);
    d.go_top();
    EXPECT_EQ(d.get_memo("OBS"), "sobre ANA");
    EXPECT_TRUE(d.check().empty());
  }
  EXPECT_THROW(copy_to(s, path("ALL.DBF")), TableError);  // never over an existing table
}

TEST_F(TableTest, AppendFromMatchesFieldsByNameCutsTextAndReportsNumbersThatDoNotFit) {
  Table::create(path("S.DBF"), schema_of({"CPF:C:11", "NOME:C:30", "VALOR:N:12:2", "SO_AQUI:C:3",
                                          "DATA:D", "FLAG:C:1"}));
  {
    Table s = open("S.DBF", OpenMode::exclusive);
    struct Row {
      const char* cpf;
      const char* nome;
      const char* valor;
    } rows[] = {{"11111111111", "MARIA DA CONCEICAO SILVA", "12.345"}, {"22222222222", "JO", "123456.00"}};
    for (const Row& r : rows) {
      s.append_blank();
      s.set_text("CPF", r.cpf);
      s.set_text("NOME", r.nome);
      s.set_number("VALOR", Decimal::parse(r.valor).value());
      s.set_date("DATA", *Date::from_ymd(2014, 5, 1));
      s.set_text("FLAG", "S");
    }
  }
  Table::create(path("D.DBF"), schema_of({"nome:C:10", "VALOR:N:7:2", "CPF:C:11", "EXTRA:N:2",
                                          "DATA:D", "FLAG:L"}));
  Table s = open("S.DBF", OpenMode::read_only);
  Table d = open("D.DBF");
  TransferResult r = append_from(d, s);
  EXPECT_EQ(r.rows, 2u);
  EXPECT_EQ(r.overflows, 1u);
  ASSERT_EQ(r.problems.size(), 2u);  // FLAG's types differ; VALOR of row 2 does not fit
  EXPECT_NE(r.problems[0].find("FLAG"), std::string::npos);
  EXPECT_NE(r.problems[1].find("record 2"), std::string::npos);
  EXPECT_NE(r.problems[1].find("VALOR"), std::string::npos);

  d.go_top();
  EXPECT_EQ(d.get_text("NOME"), "MARIA DA C");
  EXPECT_EQ(d.get_number("VALOR"), "12.35"_dec);  // rounded to the destination's decimals
  EXPECT_EQ(d.get_text("CPF"), "11111111111");
  EXPECT_EQ(d.get_date("DATA"), *Date::from_ymd(2014, 5, 1));
  d.skip();
  EXPECT_EQ(d.get_text("NOME"), "JO        ");
  EXPECT_EQ(d.get_text("VALOR"), "       ");  // left blank, never "*******" nor cut
  Table other = open("D.DBF");
  EXPECT_TRUE(other.try_lock_record(2));  // the appended rows were let go
  EXPECT_TRUE(d.check().empty());
}

}  // namespace
}  // namespace kx::dbf
