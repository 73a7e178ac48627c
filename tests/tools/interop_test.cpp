// Tables written by kxdbf read by Debian's python3-dbfread and python3-dbf, and tables written
// by python3-dbf read by kxdbf, with the same values.
#include "table_fixture.h"

namespace kx::tools::testing {
namespace {

const std::string kPython = "/usr/bin/python3";
const std::string kScript = KX_SOURCE_DIR "/tests/tools/interop.py";

Rows python(const std::vector<std::string>& args) {
  std::vector<std::string> argv{kPython, kScript};
  argv.insert(argv.end(), args.begin(), args.end());
  Result r = run(argv);
  EXPECT_EQ(r.status, 0) << r.err;
  return parse_csv(r.out);
}

class Interop : public KxdbfTest {};

TEST_F(Interop, DbfreadReadsEveryTypeWideTextAndMemoAsKxdbfWroteThem) {
  const std::string t = path("WIDE.DBF");
  ok({"create", t, "NOME:C:40", "VALOR:N:15:2", "QTD:N:6", "TAXA:N:8:4", "DATA:D", "ATIVO:L",
      "OBS:M", "LONGO:C:512", "NOTA:M"});
  const Rows rows = {
      {"NOME", "VALOR", "QTD", "TAXA", "DATA", "ATIVO", "OBS", "LONGO", "NOTA"},
      {"José da Conceição Ávila", "-1234567.89", "42", "0.0275", "28/02/2014", "T",
       "Observação: ç, á, é, õ, ü, \"aspas\",\nsegunda linha", std::string(255, 'a') + "ÇÃO" +
       std::string(254, 'z'), "nota"},
      {"ÁÉÍÓÚ âêô àèì ÇÑ ßÆØ", "0.01", "-99999", "-1.5000", "01/01/1900", "F", "", "░▒▓│┤ ■",
       std::string(5000, 'm')},
      {"", "", "", "", "", "", "", "", ""},
      {"  texto com recuo", "9999999999.99", "0", "0.0000", "31/12/2099", "T", "x", "y", ""},
  };
  ok({"append", t}, to_csv(rows));
  ASSERT_EQ(dump(t), rows);
  EXPECT_EQ(python({"dbfread", t}), rows);
}

TEST_F(Interop, PythonDbfReadsTablesOfStandardWidthsWrittenByKxdbf) {
  const std::string t = path("PADRAO.DBF");
  ok({"create", t, "CPF:C:11", "NOMECONTR:C:60", "RENDA:N:14:2", "NASC:D", "ATIVO:L", "OBS:M"});
  const Rows rows = {
      {"CPF", "NOMECONTR", "RENDA", "NASC", "ATIVO", "OBS"},
      {"12345678909", "Maria da Graça Müller", "85432.10", "15/03/1961", "T", "Ação, \"nota\""},
      {"98765432100", "Édson Araújo", "-0.50", "29/02/2000", "F", std::string(900, 'x')},
      {"00000000000", "", "0.00", "", "", ""},
  };
  ok({"append", t}, to_csv(rows));
  EXPECT_EQ(python({"dbf", t}), rows);
}

TEST_F(Interop, KxdbfReadsTablesWrittenByPythonDbf) {
  for (const char* kind : {"db3", "fp"}) {  // DBT and FPT memo files
    const std::string t = path(std::string("PY_") + kind + ".dbf");
    const Rows expected = python({"write", kind, t});
    ASSERT_EQ(expected.size(), 4u);
    EXPECT_EQ(dump(t), expected) << kind;
    expect_check_passes(t);
  }
}

TEST_F(Interop, IndexFilesAreNotTrustedAfterAnotherProgramWroteTheTable) {
  const std::string t = path("NOMES.DBF");
  ok({"create", t, "NOME:C:20", "VALOR:N:8:2"});
  ok({"append", t}, "NOME\nMárcia\nBeto\n");
  ok({"index", t, "UPPER(NOME)"});
  python({"append", t, "Carlos"});  // python3-dbf knows nothing of the index file

  EXPECT_EQ(kxdbf({"check", t}).status, 1);
  EXPECT_EQ(dump(t, {"--order", "UPPER(NOME)"}),
            (Rows{{"NOME", "VALOR"}, {"Beto", ""}, {"Carlos", ""}, {"Márcia", ""}}));
  Result seek = kxdbf({"seek", t, "UPPER(NOME)", "CAR"});
  EXPECT_EQ(seek.status, 0) << seek.err;
  // The next open for writing rebuilds the index file, and it stays right from then on.
  ok({"append", t, "--shared"}, "NOME\nAna\n");
  expect_check_passes(t);
  EXPECT_EQ(dump(t, {"--order", "UPPER(NOME)"}).at(1).at(0), "Ana");
}

}  // namespace
}  // namespace kx::tools::testing
