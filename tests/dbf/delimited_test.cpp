#include <gtest/gtest.h>

#include "dbf/transfer.h"
#include "table_fixture.h"

namespace kx::dbf {
namespace {

using testing::schema_of;
using testing::TableTest;

class Delimited : public TableTest {
 protected:
  void SetUp() override {
    Table::create(path("T.DBF"), schema_of({"CPF:C:11", "NOME:C:20", "VALOR:N:9:2", "DATA:D",
                                            "OK:L", "OBS:M"}));
  }
};

TEST_F(Delimited, ExportWritesTheDbaseFormInIndexOrderWithoutDeletedRows) {
  {
    Table t = open("T.DBF", OpenMode::exclusive);
    struct Row {
      const char* cpf;
      const char* nome;
      const char* valor;
      Date data;
      bool ok;
    } rows[] = {{"222", "ZE \"BONITO\"", "-1234.5", *Date::from_ymd(2014, 12, 31), true},
                {"111", "ANA", "0", Date(), false},
                {"000", "APAGADO", "1", Date(), false}};
    for (const Row& r : rows) {
      t.append_blank();
      t.set_text("CPF", r.cpf);
      t.set_text("NOME", r.nome);
      t.set_number("VALOR", Decimal::parse(r.valor).value());
      t.set_date("DATA", r.data);
      t.set_logical("OK", r.ok);
      t.set_memo("OBS", "fica de fora");
    }
    t.delete_record();
    t.add_temporary_index("CPF");
    EXPECT_EQ(export_delimited(t, path("Bens.txt")).rows, 2u);
  }
  EXPECT_EQ(tmp.read("Bens.txt"),
            "\"111\",\"ANA\",0.00,,F\r\n"
            "\"222\",\"ZE \"\"BONITO\"\"\",-1234.50,20141231,T\r\n");
}

TEST_F(Delimited, ImportReadsWhatExportWroteAndReportsWhatItCannotStore) {
  tmp.write("in.txt",
            "\"111\",\"ANA, A PRIMEIRA\",12.5,20140101,T\r\n"
            "\"222\",\"ZE \"\"BONITO\"\"\",999999999,2014-01-01,X\r\n"
            "\"333\"\r\n"
            "\r\n"
            "444,BIA,abc,,F,ignorado\r\n"
            "\x1A");
  Table t = open("T.DBF");
  TransferResult r = import_delimited(t, path("IN.TXT"));
  EXPECT_EQ(r.rows, 4u);
  EXPECT_EQ(r.overflows, 1u);
  EXPECT_EQ(r.problems.size(), 4u);  // line 2: VALOR, DATA, OK; line 5: VALOR
  t.go_top();
  EXPECT_EQ(text_of(t, "NOME"), "ANA, A PRIMEIRA");
  EXPECT_EQ(t.get_number("VALOR"), "12.50"_dec);
  EXPECT_EQ(t.get_date("DATA"), *Date::from_ymd(2014, 1, 1));
  EXPECT_TRUE(t.get_logical("OK"));
  t.skip();
  EXPECT_EQ(text_of(t, "NOME"), "ZE \"BONITO\"");
  EXPECT_EQ(t.get_text("VALOR"), std::string(9, ' '));
  t.skip();
  EXPECT_EQ(text_of(t, "CPF"), "333");
  EXPECT_EQ(text_of(t, "NOME"), "");
  t.skip();
  EXPECT_EQ(text_of(t, "NOME"), "BIA");

  export_delimited(t, path("out.txt"));
  Table::create(path("U.DBF"), t.schema());
  Table u = open("U.DBF", OpenMode::exclusive);
  EXPECT_TRUE(import_delimited(u, path("out.txt")).problems.empty());
  export_delimited(u, path("again.txt"));
  EXPECT_EQ(tmp.read("again.txt"), tmp.read("out.txt"));
}

}  // namespace
}  // namespace kx::dbf
