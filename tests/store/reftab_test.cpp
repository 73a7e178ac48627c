// Reading reference lists, building the delivered tables and replacing their rows.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "../os/temp_folder.h"
#include "base/clock.h"
#include "base/cp850.h"
#include "dbf/table.h"
#include "store/layout.h"
#include "store/reftab.h"
#include "store/reftab_csv.h"

namespace kx::store {
namespace {

using os::testing::TempFolder;

constexpr int kAssetCodes = 46;  // CODBENS: CODBEM N 2, DESCBENS C 120
constexpr int kSelicRates = 51;  // UFIRM: ANOMES C 6, TJM N 6,2, MULTIPL N 12,6, SIMB_MOED C 4

struct Row {
  std::string code;
  std::string text;  // UTF-8, trailing blanks removed
  friend bool operator==(const Row&, const Row&) = default;
};
using Rows = std::vector<Row>;

std::string trimmed_utf8(std::string_view cp850) {
  std::string s = cp850::to_utf8(cp850);
  s.erase(s.find_last_not_of(' ') + 1);
  return s;
}

// The rows of an asset-code table, in record order.
Rows asset_rows(const std::string& path, Clock& clock) {
  dbf::Table table = dbf::Table::open(path, {dbf::OpenMode::read_only}, clock);
  Rows rows;
  for (table.go_top(); !table.eof(); table.skip())
    rows.push_back({table.get_number("CODBEM").str(0), trimmed_utf8(table.get_text("DESCBENS"))});
  return rows;
}

Rows asset_rows(const dbf::Schema& layout, const std::vector<std::string>& records) {
  Rows rows;
  for (const std::string& bytes : records) {
    dbf::RecordView r(layout, bytes);
    rows.push_back({r.number(*layout.find("CODBEM")).str(0),
                    trimmed_utf8(r.text(*layout.find("DESCBENS")))});
  }
  return rows;
}

// Names beginning with "." (the scratch files of a build or an import).
std::vector<std::string> hidden_files(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    std::string name = entry.path().filename().string();
    if (name.starts_with(".")) names.push_back(name);
  }
  return names;
}

class ReftabTest : public ::testing::Test {
 protected:
  TempFolder dir;
  VirtualClock clock{DateTime{*Date::from_ymd(2015, 3, 10), 9, 0, 0}};
  std::string program() const { return dir.path(); }
  std::string table_path() const { return dir / "CODBENS.DBF"; }
  std::string data() const { return dir / "data"; }

  void build_from(const std::string& source) {
    dir.write("data/CODBENS.csv", source);
    ASSERT_EQ(build_reference_table(program(), kAssetCodes, data(), clock), BuildOutcome::created);
  }
};

TEST_F(ReftabTest, ReadsQuotesLineBreaksAnyColumnOrderBomAndCrLf) {
  const std::string file = dir.write("list.csv",
                                     "\xEF\xBB\xBF descbens , CODBEM\r\n"
                                     "Casa,12\r\n"
                                     "\r\n"
                                     "\"Jóia, quadro \"\"raro\"\"\",25\r\n"
                                     "\"duas\nlinhas\",99\n");
  const dbf::Schema& layout = *reference_layout(kAssetCodes);
  EXPECT_EQ(asset_rows(layout, read_reference_rows(file, layout)),
            (Rows{{"12", "Casa"}, {"25", "Jóia, quadro \"raro\""}, {"99", "duas\nlinhas"}}));
}

TEST_F(ReftabTest, FieldsLeftOutStayBlankAndNumbersKeepTheirValue) {
  const std::string file = dir.write("rates.csv", "ANOMES,TJM,SIMB_MOED\n201401, 0.850 ,R$\n");
  const dbf::Schema& layout = *reference_layout(kSelicRates);
  const std::vector<std::string> rows = read_reference_rows(file, layout);
  ASSERT_EQ(rows.size(), 1u);
  dbf::RecordView row(layout, rows[0]);
  EXPECT_FALSE(row.deleted());
  EXPECT_EQ(row.number(*layout.find("TJM")), *Decimal::parse("0.85"));
  EXPECT_EQ(row.raw(*layout.find("TJM")), "  0.85");
  EXPECT_EQ(row.text(*layout.find("SIMB_MOED")), "R$  ");
  EXPECT_EQ(row.raw(*layout.find("MULTIPL")), std::string(12, ' '));
}

TEST_F(ReftabTest, RefusesBadSourcesNamingFileLineAndField) {
  const dbf::Schema dated({*dbf::parse_field_spec("CODE:N:2"), *dbf::parse_field_spec("WHEN:D")});
  struct Case {
    const char* what;
    const dbf::Schema* layout;
    std::string contents;
    std::string message;  // expected after the file name
  };
  const dbf::Schema* assets = reference_layout(kAssetCodes);
  const dbf::Schema* rates = reference_layout(kSelicRates);
  const Case cases[] = {
      {"empty file", assets, "", ", line 1: no header line"},
      {"unknown column", assets, "CODBEM,NOME\n", ", line 1: no field NOME in the table"},
      {"column twice", assets, "CODBEM,codbem\n", ", line 1: field CODBEM named twice"},
      {"date column", &dated, "CODE,WHEN\n", ", line 1: field WHEN is a date field"},
      {"value missing", assets, "CODBEM,DESCBENS\n11,Casa\n12\n", ", line 3: 1 values for 2"},
      {"value too many", assets, "CODBEM,DESCBENS\n11,Casa,x\n", ", line 2: 3 values for 2"},
      {"text too wide", assets, "CODBEM,DESCBENS\n11," + std::string(121, 'a') + "\n",
       ", line 2: DESCBENS: \"" + std::string(121, 'a') + "\" is wider than 120 characters"},
      {"outside code page", assets, "CODBEM,DESCBENS\n11,日本\n",
       ", line 2: DESCBENS: \"日本\" is not UTF-8 text of code page 850"},
      {"malformed UTF-8", assets, "CODBEM,DESCBENS\n11,\xC3(\n", "is not UTF-8 text"},
      {"not a number", assets, "CODBEM,DESCBENS\n1x,Casa\n",
       ", line 2: CODBEM: \"1x\" is not a number"},
      {"number too wide", assets, "CODBEM,DESCBENS\n123,Casa\n", "\"123\" does not fit N 2,0"},
      {"number beyond any width", assets, "CODBEM,DESCBENS\n99999999999999999999999,Casa\n",
       "does not fit N 2,0"},
      {"decimals lost", rates, "ANOMES,TJM\n201401,0.855\n",
       ", line 2: TJM: \"0.855\" has more than 2 decimals"},
      {"quote left open", assets, "CODBEM,DESCBENS\n11,\"Casa\n12,Loja\n",
       ", line 2: quoted field not closed"},
      {"text after quote", assets, "CODBEM,DESCBENS\n11,\"Casa\"x\n",
       ", line 2: text after a closing quote"},
      {"line after a line break in a value", assets, "CODBEM,DESCBENS\n11,\"a\nb\"\n1x,c\n",
       ", line 4: CODBEM"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string file = dir.write("bad.csv", c.contents);
    try {
      read_reference_rows(file, *c.layout);
      ADD_FAILURE() << "accepted";
    } catch (const ReftabError& e) {
      const std::string message = e.what();
      EXPECT_TRUE(message.starts_with(file)) << message;
      EXPECT_NE(message.find(c.message), std::string::npos) << message;
    }
  }
}

TEST_F(ReftabTest, BuildsAMissingTableOnceAndNeverOverwritesIt) {
  dir.write("data/codbens.csv", "CODBEM,DESCBENS\n11,Apartamento\n12,Casa\n");
  EXPECT_EQ(build_reference_table(program(), kAssetCodes, data(), clock), BuildOutcome::created);
  EXPECT_EQ(asset_rows(table_path(), clock), (Rows{{"11", "Apartamento"}, {"12", "Casa"}}));

  dir.write("data/codbens.csv", "CODBEM,DESCBENS\n13,Terreno\n");
  EXPECT_EQ(build_reference_table(program(), kAssetCodes, data(), clock), BuildOutcome::kept);
  EXPECT_EQ(asset_rows(table_path(), clock), (Rows{{"11", "Apartamento"}, {"12", "Casa"}}));
  EXPECT_TRUE(hidden_files(program()).empty());
}

TEST_F(ReftabTest, KeepsATableWhoseNameDiffersInCase) {
  dbf::Table::create(dir / "codbens.dbf", *reference_layout(kAssetCodes));
  dir.write("data/CODBENS.csv", "CODBEM,DESCBENS\n11,Apartamento\n");
  EXPECT_EQ(build_reference_table(program(), kAssetCodes, data(), clock), BuildOutcome::kept);
  EXPECT_TRUE(asset_rows(dir / "codbens.dbf", clock).empty());
  EXPECT_FALSE(std::filesystem::exists(table_path()));
}

TEST_F(ReftabTest, ABadOrMissingSourceBuildsNothing) {
  EXPECT_EQ(build_reference_table(program(), kAssetCodes, data(), clock),
            BuildOutcome::no_source);
  dir.write("data/CODBENS.csv", "CODBEM,DESCBENS\n11,Apartamento\n1x,Casa\n");
  EXPECT_THROW(build_reference_table(program(), kAssetCodes, data(), clock), ReftabError);
  EXPECT_FALSE(std::filesystem::exists(table_path()));
  EXPECT_TRUE(hidden_files(program()).empty());
}

TEST_F(ReftabTest, OnlyReferenceTablesWithoutMemoComeFromLists) {
  for (int table : {42, 45, 50, 71, 0}) {
    SCOPED_TRACE(table);
    EXPECT_THROW(build_reference_table(program(), table, data(), clock), std::invalid_argument);
  }
  struct Name {
    const char* name;
    std::optional<int> table;
  };
  for (const Name& n : {Name{"TABMUNI", 64}, Name{"tabmuni", 64}, Name{"LISERRO", 54},
                        Name{"CONFIG", std::nullopt}, Name{"HELPTXT", std::nullopt},
                        Name{"", std::nullopt}}) {
    SCOPED_TRACE(n.name);
    EXPECT_EQ(reference_table_number(n.name), n.table);
  }
}

TEST_F(ReftabTest, ImportReplacesEveryRowAndTheIndexFollows) {
  build_from("CODBEM,DESCBENS\n11,Apartamento\n12,Casa\n13,Terreno\n");
  const std::vector<dbf::IndexSpec> index{{"CODBEM", dir / "CODBENS.CDX"}};
  {
    dbf::Table table = dbf::Table::open(table_path(), {}, clock);
    table.attach_indexes(index);
    ASSERT_TRUE(table.seek("13"));
  }
  const std::string source =
      dir.write("office.csv", "CODBEM,DESCBENS\n21,Veículo\n12,Casa nova\n");
  EXPECT_EQ(import_reference_table(program(), kAssetCodes, source, clock), 2u);
  EXPECT_EQ(asset_rows(table_path(), clock), (Rows{{"21", "Veículo"}, {"12", "Casa nova"}}));

  dbf::Table table = dbf::Table::open(table_path(), {}, clock);
  table.attach_indexes(index);
  EXPECT_FALSE(table.seek("13"));
  ASSERT_TRUE(table.seek("12"));
  EXPECT_EQ(trimmed_utf8(table.get_text("DESCBENS")), "Casa nova");
  EXPECT_TRUE(table.check().empty());
  EXPECT_TRUE(hidden_files(program()).empty());
}

TEST_F(ReftabTest, ABadImportChangesNothing) {
  build_from("CODBEM,DESCBENS\n11,Apartamento\n12,Casa\n");
  const std::string before = dir.read("CODBENS.DBF");
  const std::string source =
      dir.write("office.csv", "CODBEM,DESCBENS\n21,Veículo\n22,Aeronave\n2x,Embarcação\n");
  EXPECT_THROW(import_reference_table(program(), kAssetCodes, source, clock), ReftabError);
  EXPECT_EQ(dir.read("CODBENS.DBF"), before);
  EXPECT_TRUE(hidden_files(program()).empty());
  EXPECT_THROW(import_reference_table(program(), kAssetCodes, dir / "absent.csv", clock),
               ReftabError);
  EXPECT_EQ(dir.read("CODBENS.DBF"), before);
}

TEST_F(ReftabTest, ImportRefusesATableInUseByAnotherTerminal) {
  build_from("CODBEM,DESCBENS\n11,Apartamento\n");
  const std::string source = dir.write("office.csv", "CODBEM,DESCBENS\n12,Casa\n");
  {
    dbf::Table other_terminal = dbf::Table::open(table_path(), {}, clock);
    try {
      import_reference_table(program(), kAssetCodes, source, clock);
      ADD_FAILURE() << "imported into a table in use";
    } catch (const ReftabError& e) {
      EXPECT_NE(std::string(e.what()).find("in use"), std::string::npos) << e.what();
    }
    EXPECT_EQ(asset_rows(table_path(), clock), (Rows{{"11", "Apartamento"}}));
  }
  EXPECT_EQ(import_reference_table(program(), kAssetCodes, source, clock), 1u);
  EXPECT_EQ(asset_rows(table_path(), clock), (Rows{{"12", "Casa"}}));
}

TEST_F(ReftabTest, ImportChecksAgainstTheTablesOwnFields) {
  // An office's table whose description is narrower than the program's layout.
  dbf::Table::create(table_path(), dbf::Schema({*dbf::parse_field_spec("CODBEM:N:2"),
                                                *dbf::parse_field_spec("DESCBENS:C:10")}));
  const std::string wide = dir.write("wide.csv", "CODBEM,DESCBENS\n11,Apartamento\n");
  EXPECT_THROW(import_reference_table(program(), kAssetCodes, wide, clock), ReftabError);

  const std::string fits = dir.write("fits.csv", "CODBEM,DESCBENS\n12,Casa\n");
  EXPECT_EQ(import_reference_table(program(), kAssetCodes, fits, clock), 1u);
  dbf::Table table = dbf::Table::open(table_path(), {dbf::OpenMode::read_only}, clock);
  EXPECT_EQ(table.field("DESCBENS").width, 10);
}

TEST_F(ReftabTest, ImportNeedsTheTable) {
  const std::string source = dir.write("office.csv", "CODBEM,DESCBENS\n12,Casa\n");
  EXPECT_THROW(import_reference_table(program(), kAssetCodes, source, clock), ReftabError);
  EXPECT_FALSE(std::filesystem::exists(table_path()));
}

}  // namespace
}  // namespace kx::store
