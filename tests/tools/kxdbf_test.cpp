// kxdbf driven as a program, as scripts use it.
#include <filesystem>
#include <fstream>

#include "table_fixture.h"

namespace kx::tools::testing {
namespace {

const std::vector<std::string> kEveryType = {"NOME:C:30", "VALOR:N:12:2", "QTD:N:5",
                                             "NASC:D",    "ATIVO:L",      "OBS:M",
                                             "LONGO:C:512"};

class Kxdbf : public KxdbfTest {
 protected:
  std::string every_type_table() {
    const std::string t = path("EVERY.DBF");
    std::vector<std::string> args{"create", t};
    args.insert(args.end(), kEveryType.begin(), kEveryType.end());
    ok(args);
    return t;
  }
  std::string people_table() {
    const std::string t = path("PEOPLE.DBF");
    ok({"create", t, "NOME:C:20", "GRUPO:N:3", "SALDO:N:10:2", "DATA:D"});
    ok({"append", t},
       "NOME,GRUPO,SALDO,DATA\n"
       "Bruno,1,10.00,01/02/2014\n"
       "álvaro,2,-5.50,15/01/2014\n"
       "Ana,1,100.25,\n"
       "Álvaro,3,0.00,31/12/2013\n"
       "Alberto,2,-100.00,20140310\n");
    return t;
  }
};

TEST_F(Kxdbf, EveryTypeRoundTripsThroughAppendAndDump) {
  const std::string t = every_type_table();
  const Rows rows = {
      {"NOME", "VALOR", "QTD", "NASC", "ATIVO", "OBS", "LONGO"},
      {"José da Conceição", "-1234.50", "7", "28/02/2014", "T",
       "Observação com \"aspas\", vírgula\ne duas linhas", std::string(300, 'x') + "ção" + std::string(209, 'y')},
      {"  recuo mantido", "0.05", "-9999", "29/02/2000", "F", "", "■░ Ç"},
      {"", "", "", "", "", "", ""},
      {"a,b", "999999999.99", "0", "01/01/1900", "T", std::string(2000, 'm'), "fim"},
  };
  ok({"append", t}, to_csv(rows));
  EXPECT_EQ(dump(t), rows);
  expect_check_passes(t);
}

TEST_F(Kxdbf, AppendTakesColumnsByNameAndDatesInBothForms) {
  const std::string t = every_type_table();
  ok({"append", t}, "nasc,Nome\n20140105,x\n05/01/2014,y\n");
  const Rows rows = dump(t);
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[1][0], "x");
  EXPECT_EQ(rows[1][3], "05/01/2014");
  EXPECT_EQ(rows[2][3], "05/01/2014");
  EXPECT_EQ(rows[1][1], "");  // columns left out stay blank
}

TEST_F(Kxdbf, BadInputIsRefusedAndNothingIsAppended) {
  struct Case {
    std::string csv;
    std::string message;  // part of the error
  };
  const Case cases[] = {
      {"NOME,VALOR\nok,1\nx,12,5\n", "line 3: 3 values for 2 columns"},
      {"NOME,VALOR\nok,1\nx,\"12,5\"\n", "line 3: field VALOR: \"12,5\" is not a number"},
      {"VALOR\n1.234\n", "more decimals than the field's 2"},
      {"VALOR\n12345678901\n", "does not fit N 12,2"},
      {"QTD\n123456\n", "does not fit N 5,0"},
      {"NASC\n30/02/2014\n", "is not a date"},
      {"NASC\n2014-02-01\n", "is not a date"},
      {"ATIVO\nS\n", "is not a logical"},
      {"NOME\n" + std::string(31, 'a') + "\n", "longer than the field's 30"},
      {"NOME\nprice €5\n", "outside code page 850"},
      {"NOME,NADA\nx,y\n", "column \"NADA\" is not a field"},
      {"NOME,nome\nx,y\n", "given twice"},
      {"NOME\n\"open\n", "quoted field not closed"},
      {"", "no header line"},
  };
  const std::string t = every_type_table();
  ok({"append", t}, "NOME\nkept\n");
  for (const Case& c : cases) {
    for (bool shared : {false, true}) {
      std::vector<std::string> args{"append", t};
      if (shared) args.push_back("--shared");
      Result r = kxdbf(args, c.csv);
      EXPECT_EQ(r.status, 1) << c.csv;
      EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
    }
  }
  EXPECT_EQ(dump(t), (Rows{{"NOME", "VALOR", "QTD", "NASC", "ATIVO", "OBS", "LONGO"},
                           {"kept", "", "", "", "", "", ""}}));
  expect_check_passes(t);
}

TEST_F(Kxdbf, CommandLineErrorsExitWithStatusTwo) {
  const std::string t = every_type_table();
  const std::vector<std::vector<std::string>> cases = {
      {},
      {"frobnicate", t},
      {"dump"},
      {"dump", t, "extra"},
      {"dump", t, "--order"},
      {"dump", t, "--sorted"},
      {"create", path("X.DBF"), "NOME"},
      {"create", path("X.DBF"), "NOME:Q:3"},
      {"create", path("X.DBF"), "A:C:10", "a:N:3"},
      {"set", t, "--where", "NOME=x"},
      {"set", t, "--where", "NOME", "QTD=1"},
      {"seek", t, "NOME", "x", "--soft", "--exact"},
  };
  for (const auto& args : cases) {
    Result r = kxdbf(args);
    EXPECT_EQ(r.status, 2) << (args.empty() ? "" : args[0]) << ": " << r.err;
    EXPECT_FALSE(r.err.empty());
  }
  EXPECT_FALSE(std::filesystem::exists(path("X.DBF")));
}

TEST_F(Kxdbf, HelpDocumentsEveryVerb) {
  Result r = kxdbf({"--help"});
  EXPECT_EQ(r.status, 0);
  for (const char* synopsis :
       {"create FILE NAME:TYPE[:WIDTH[:DEC]]...", "append FILE [--shared]",
        "dump FILE [--order EXPR] [--deleted]", "index FILE EXPR [--tag FILE2]",
        "seek FILE EXPR KEY [--soft]", "set FILE --where NAME=VALUE NAME=VALUE...",
        "delete FILE --where NAME=VALUE", "zap FILE", "pack FILE", "reindex FILE", "check FILE",
        "info FILE"})
    EXPECT_NE(r.out.find(std::string("kxdbf ") + synopsis), std::string::npos) << synopsis;
}

TEST_F(Kxdbf, CreateRefusesAnExistingTable) {
  const std::string t = people_table();
  Result r = kxdbf({"create", path("people.dbf"), "X:C:1"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(dump(t).size(), 6u);
}

TEST_F(Kxdbf, DumpInKeyOrderUsesPortugueseCollationAndNumericOrder) {
  const std::string t = people_table();
  auto column = [](const Rows& rows, size_t c) {
    std::vector<std::string> out;
    for (size_t i = 1; i < rows.size(); ++i) out.push_back(rows[i][c]);
    return out;
  };
  EXPECT_EQ(column(dump(t, {"--order", "UPPER(NOME)"}), 0),
            (std::vector<std::string>{"Alberto", "álvaro", "Álvaro", "Ana", "Bruno"}));
  EXPECT_EQ(column(dump(t, {"--order", "SALDO"}), 2),
            (std::vector<std::string>{"-100.00", "-5.50", "0.00", "10.00", "100.25"}));
  EXPECT_EQ(column(dump(t, {"--order", "STR(GRUPO,3)+DTOS(DATA)"}), 0),
            (std::vector<std::string>{"Ana", "Bruno", "álvaro", "Alberto", "Álvaro"}));
  Result bad = kxdbf({"dump", t, "--order", "UPPER(NADA)"});
  EXPECT_EQ(bad.status, 1);
  EXPECT_NE(bad.err.find("NADA"), std::string::npos) << bad.err;
}

TEST_F(Kxdbf, AttachedIndexesAreKeptRightByEveryWritingVerb) {
  const std::string t = people_table();
  ok({"index", t, "UPPER(NOME)"});
  ok({"index", t, "DTOS(DATA)"});
  ok({"index", t, "GRUPO", "--tag", path("porgrupo.cdx")});
  const std::string info = ok({"info", t});
  EXPECT_NE(info.find("PEOPLE.CDX"), std::string::npos) << info;
  EXPECT_NE(info.find("PEOPLEB.CDX"), std::string::npos) << info;
  EXPECT_NE(info.find("porgrupo.cdx"), std::string::npos) << info;
  EXPECT_EQ(kxdbf({"index", t, "SALDO"}).status, 1);  // a fourth one
  ok({"index", t, "upper(nome)"});  // the same expression again: its file is rebuilt
  const std::string again = ok({"info", t});
  EXPECT_NE(again.find("index files:   3\n  1 * " + path("PEOPLE.CDX") + "  upper(nome)"),
            std::string::npos) << again;

  auto seek = [&](const std::string& expr, const std::string& key,
                  std::vector<std::string> mode = {}) {
    std::vector<std::string> args{"seek", t, expr, key};
    args.insert(args.end(), mode.begin(), mode.end());
    Result r = kxdbf(args);
    return r.status == 0 ? parse_csv(r.out).at(1).at(0) : "status " + std::to_string(r.status);
  };
  // A key prefix matches by collation weight, so accents do not matter; equal keys come in
  // record order.
  EXPECT_EQ(seek("UPPER(NOME)", "ÁL"), "Alberto");
  EXPECT_EQ(seek("UPPER(NOME)", "ALV"), "álvaro");
  EXPECT_EQ(seek("UPPER(NOME)", "AN", {"--exact"}), "status 1");
  EXPECT_EQ(seek("UPPER(NOME)", "ANA", {"--exact"}), "Ana");
  EXPECT_EQ(seek("UPPER(NOME)", "B"), "Bruno");
  EXPECT_EQ(seek("UPPER(NOME)", "BA", {"--soft"}), "Bruno");
  EXPECT_EQ(seek("UPPER(NOME)", "C"), "status 1");
  EXPECT_EQ(seek("UPPER(NOME)", "C", {"--soft"}), "status 1");
  EXPECT_EQ(seek("DTOS(DATA)", "201401", {"--soft"}), "álvaro");

  ok({"append", t, "--shared"}, "NOME,GRUPO,DATA\nCarla,9,02/01/2014\n");
  EXPECT_EQ(seek("UPPER(NOME)", "CAR"), "Carla");
  EXPECT_EQ(seek("GRUPO", "9"), "Carla");
  expect_check_passes(t);
  EXPECT_EQ(ok({"set", t, "--where", "NOME=Carla", "NOME=Zuleica", "GRUPO=0"}), "1 row changed\n");
  EXPECT_EQ(seek("UPPER(NOME)", "CAR"), "status 1");
  EXPECT_EQ(seek("UPPER(NOME)", "ZUL"), "Zuleica");
  EXPECT_EQ(seek("GRUPO", "0"), "Zuleica");
  expect_check_passes(t);
  ok({"delete", t, "--where", "GRUPO=2"});
  EXPECT_EQ(seek("UPPER(NOME)", "ALB"), "status 1");
  ok({"pack", t});
  expect_check_passes(t);
  EXPECT_EQ(seek("DTOS(DATA)", "2014", {"--soft"}), "Zuleica");
  ok({"zap", t});
  EXPECT_EQ(dump(t).size(), 1u);
  expect_check_passes(t);
}

TEST_F(Kxdbf, SetAndDeleteChangeExactlyTheMatchingRows) {
  const std::string t = people_table();
  EXPECT_EQ(ok({"set", t, "--where", "grupo=2", "SALDO=1.5", "data=", "NOME=Novo nome"}),
            "2 rows changed\n");
  EXPECT_EQ(ok({"set", t, "--where", "NOME=Ninguém", "SALDO=1"}), "0 rows changed\n");
  Result wide = kxdbf({"set", t, "--where", "GRUPO=1", "SALDO=123456789"});
  EXPECT_EQ(wide.status, 1);
  EXPECT_NE(wide.err.find("does not fit"), std::string::npos) << wide.err;
  EXPECT_EQ(ok({"delete", t, "--where", "NOME=Ana"}), "1 row deleted\n");
  EXPECT_EQ(dump(t), (Rows{{"NOME", "GRUPO", "SALDO", "DATA"},
                           {"Bruno", "1", "10.00", "01/02/2014"},
                           {"Novo nome", "2", "1.50", ""},
                           {"Álvaro", "3", "0.00", "31/12/2013"},
                           {"Novo nome", "2", "1.50", ""}}));
  const Rows with_deleted = dump(t, {"--deleted"});
  ASSERT_EQ(with_deleted.size(), 6u);
  EXPECT_EQ(with_deleted[0][0], "*");
  EXPECT_EQ(with_deleted[3], (std::vector<std::string>{"*", "Ana", "1", "100.25", ""}));
  EXPECT_EQ(with_deleted[1][0], "");
  // What dump --deleted writes, append reads back with the same deleted marks.
  const std::string copy = path("COPY.DBF");
  ok({"create", copy, "NOME:C:20", "GRUPO:N:3", "SALDO:N:10:2", "DATA:D"});
  ok({"append", copy}, to_csv(with_deleted));
  EXPECT_EQ(dump(copy, {"--deleted"}), with_deleted);
  ok({"pack", t});
  EXPECT_EQ(dump(t, {"--deleted"}).size(), 5u);
}

TEST_F(Kxdbf, CheckReportsDamageAndRepairMendsWhatAKilledWriterLeft) {
  const std::string t = people_table();
  ok({"index", t, "UPPER(NOME)"});
  expect_check_passes(t);
  const auto size = std::filesystem::file_size(t);

  // A record written by a killed append whose count was never moved: harmless bytes.
  {
    std::string record(42, ' ');
    record.replace(1, 7, "Intruso");
    std::ofstream f(t, std::ios::binary | std::ios::in);
    f.seekp(static_cast<std::streamoff>(size - 1));
    f << record << '\x1a';
  }
  EXPECT_EQ(dump(t).size(), 6u);
  Result repaired = kxdbf({"check", t, "--repair"});
  EXPECT_EQ(repaired.status, 0) << repaired.out << repaired.err;
  EXPECT_EQ(std::filesystem::file_size(t), size);
  EXPECT_EQ(dump(t).size(), 6u);

  // An index file with its pages overwritten is never trusted.
  {
    std::fstream f(path("PEOPLE.CDX"), std::ios::binary | std::ios::in | std::ios::out);
    f.seekp(4096);
    f << std::string(64, '\x7f');
  }
  EXPECT_EQ(kxdbf({"check", t}).status, 1);
  EXPECT_EQ(kxdbf({"seek", t, "UPPER(NOME)", "BRU"}).status, 0);
  ok({"reindex", t});
  expect_check_passes(t);

  // A count beyond the records in the file is damage: reported, and lowered only on request.
  std::filesystem::resize_file(t, size - 20);
  Result damaged = kxdbf({"check", t});
  EXPECT_EQ(damaged.status, 1);
  EXPECT_EQ(kxdbf({"append", t}, "NOME\nx\n").status, 1);
  Result mended = kxdbf({"check", t, "--repair"});
  EXPECT_EQ(mended.status, 0) << mended.out << mended.err;
  EXPECT_NE(mended.out.find("repaired"), std::string::npos) << mended.out;
  EXPECT_EQ(dump(t).size(), 5u);
}

TEST_F(Kxdbf, InfoDescribesTheTable) {
  const std::string t = every_type_table();
  ok({"append", t}, "NOME\na\nb\n");
  const std::string info = ok({"info", t});
  for (const char* part : {"records:       2", "code page:     0x02 (850)", "LONGO      C  512",
                           "VALOR      N   12,2", "OBS        M   10", "EVERY.FPT"})
    EXPECT_NE(info.find(part), std::string::npos) << part << " in\n" << info;
}

TEST_F(Kxdbf, FindsTheTableWithoutRegardToCase) {
  people_table();
  EXPECT_EQ(dump(path("people.dbf")).size(), 6u);
}

}  // namespace
}  // namespace kx::tools::testing
