// The lists delivered in data/: each one builds its table against the table's layout, codes are
// unique, and the codes the program relies on are there.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "../os/temp_folder.h"
#include "base/clock.h"
#include "base/cp850.h"
#include "base/text.h"
#include "dbf/expr.h"
#include "dbf/table.h"
#include "store/catalogue.h"
#include "store/reftab.h"

namespace kx::store {
namespace {

const std::string kData = std::string(KX_SOURCE_DIR) + "/data";

using Values = std::map<std::string, std::string>;  // field name -> value (UTF-8, trimmed)

// Every reference table built once from data/ into a scratch program folder.
class Delivered {
 public:
  static Delivered& get() {
    static Delivered delivered;
    return delivered;
  }
  std::map<int, BuildOutcome> outcomes;

  std::string path(int table) const {
    return dir_ / table_entry(table, "00")->data_file_name();
  }
  Clock& clock() { return clock_; }

  std::vector<Values> rows(int table) {
    dbf::Table t = dbf::Table::open(path(table), {dbf::OpenMode::read_only}, clock_);
    std::vector<Values> rows;
    t.scan([&](uint32_t, const dbf::RecordView& r) {
      Values values;
      for (const dbf::Field& f : r.schema().fields()) {
        std::string v = f.type == dbf::FieldType::numeric && !text::is_blank(r.raw(f))
                            ? r.number(f).str(f.decimals)
                            : cp850::to_utf8(r.raw(f));
        v.erase(v.find_last_not_of(' ') + 1);
        values[f.name] = v;
      }
      rows.push_back(std::move(values));
      return true;
    });
    return rows;
  }

  std::set<std::string> column(int table, const std::string& field) {
    std::set<std::string> values;
    for (const Values& row : rows(table)) values.insert(row.at(field));
    return values;
  }

 private:
  Delivered() {
    for (int table : reference_tables())
      outcomes[table] = build_reference_table(dir_.path(), table, kData, clock_);
  }
  os::testing::TempFolder dir_;
  VirtualClock clock_{DateTime{*Date::from_ymd(2015, 3, 10), 9, 0, 0}};
};

std::string table_name(int table) { return table_entry(table, "00")->name; }

TEST(DeliveredTables, EveryReferenceTableHasAListThatBuildsIt) {
  Delivered& d = Delivered::get();
  for (int table : reference_tables()) {
    SCOPED_TRACE(table_name(table));
    EXPECT_EQ(d.outcomes.at(table), BuildOutcome::created);
    dbf::Table t = dbf::Table::open(d.path(table), {dbf::OpenMode::read_only}, d.clock());
    EXPECT_TRUE(t.check().empty());
  }
  for (const auto& entry : std::filesystem::directory_iterator(kData)) {
    if (entry.path().extension() != ".csv") continue;
    SCOPED_TRACE(entry.path().string());
    const std::optional<int> table = reference_table_number(entry.path().stem().string());
    ASSERT_TRUE(table.has_value()) << "names no reference table";
    EXPECT_EQ(table_name(*table) + ".csv", entry.path().filename().string());
  }
}

TEST(DeliveredTables, KeysAreUniqueAndNeverBlank) {
  Delivered& d = Delivered::get();
  for (int table : reference_tables()) {
    const std::vector<IndexFile> indexes = index_files(table, "00");
    if (indexes.empty()) continue;
    SCOPED_TRACE(table_name(table) + " " + indexes[0].key);
    dbf::Table t = dbf::Table::open(d.path(table), {dbf::OpenMode::read_only}, d.clock());
    const dbf::KeyExpr key = dbf::KeyExpr::parse(indexes[0].key, t.schema());
    std::set<std::string> seen;
    t.scan([&](uint32_t recno, const dbf::RecordView& r) {
      const std::string k = key.eval(r);
      EXPECT_FALSE(text::is_blank(k)) << "record " << recno;
      EXPECT_TRUE(seen.insert(k).second) << "record " << recno << ": " << cp850::to_utf8(k);
      return true;
    });
  }
}

TEST(DeliveredTables, PaymentCodesTheComputationUsesExist) {
  const std::set<std::string> codes = Delivered::get().column(49, "CODDES");
  for (int code : {1,  2,  30, 31, 33, 34, 36, 37, 38, 39, 40, 41, 42, 43, 44,
                   45, 46, 49, 50, 70, 71, 72, 76, 80, 81, 90, 98, 99}) {
    EXPECT_TRUE(codes.contains(std::to_string(code))) << code;
  }
  // Medical payments are codes 8 to 26; the health-plan code is 26.
  for (int code : {9, 11, 13, 15, 17, 19, 21, 26})
    EXPECT_TRUE(codes.contains(std::to_string(code))) << code;
}

TEST(DeliveredTables, CodesTheChecksAndDefaultsRelyOn) {
  Delivered& d = Delivered::get();
  struct Expected {
    int table;
    const char* field;
    std::vector<std::string> codes;
  };
  const Expected expected[] = {
      {47, "CODDEP", {"11", "21", "22", "24", "25", "31", "41"}},  // dependant age checks
      {59, "CODAT", {"61", "62", "81"}},  // pensions over 65, serious illness, estate
      {66, "COD", {"1", "2", "7", "9"}},  // imported, new, transmitted, hand-over
      {60, "CODPAIS", {"105"}},           // Brazil
  };
  for (const Expected& e : expected) {
    SCOPED_TRACE(table_name(e.table));
    const std::set<std::string> codes = d.column(e.table, e.field);
    for (const std::string& code : e.codes) EXPECT_TRUE(codes.contains(code)) << code;
  }
}

TEST(DeliveredTables, ACheckMessageForEveryCodeTheCheckRaises) {
  std::map<int, Values> messages;
  for (const Values& row : Delivered::get().rows(54)) messages[std::stoi(row.at("CODERR"))] = row;
  for (int code : {1,  2,  6,  8,  9,  10, 11, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24,
                   25, 27, 28, 30, 31, 32, 34, 35, 40, 41, 45, 46, 47, 48, 49, 50, 51, 52,
                   53, 54, 55, 56, 57, 58, 59, 60, 61, 62, 63, 64, 65, 66, 67, 68, 69, 70,
                   71, 72, 73, 74, 75, 76, 77, 78, 79, 80, 81, 82, 83, 84, 85, 91}) {
    SCOPED_TRACE(code);
    ASSERT_TRUE(messages.contains(code));
    const Values& m = messages.at(code);
    EXPECT_FALSE(m.at("DESCRI").empty());
    EXPECT_GE(std::stoi(m.at("GRAU")), 1);
    EXPECT_LE(std::stoi(m.at("GRAU")), 3);
    EXPECT_GE(std::stoi(m.at("PAGINA")), 1);  // a screen of the declaration
    EXPECT_LE(std::stoi(m.at("PAGINA")), 17);
  }
  EXPECT_FALSE(messages.contains(99)) << "99 is the separator of the notes";
}

TEST(DeliveredTables, SelicRegisterHasEveryMonthOf2014And2015) {
  const std::vector<Values> rows = Delivered::get().rows(51);
  ASSERT_EQ(rows.size(), 24u);
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const int year = 2014 + static_cast<int>(i) / 12;
    const int month = 1 + static_cast<int>(i) % 12;
    const std::string anomes =
        std::to_string(year) + (month < 10 ? "0" : "") + std::to_string(month);
    SCOPED_TRACE(anomes);
    EXPECT_EQ(rows[i].at("ANOMES"), anomes);
    const Decimal rate = *Decimal::parse(rows[i].at("TJM"));
    EXPECT_GT(rate, *Decimal::parse("0.5"));
    EXPECT_LT(rate, *Decimal::parse("1.5"));
    EXPECT_EQ(rows[i].at("SIMB_MOED"), "R$");
  }
}

bool cnpj_check_digits_hold(const std::string& digits) {
  auto digit = [&](std::size_t n) {
    int sum = 0;
    for (std::size_t i = 0; i < n; ++i)
      sum += (digits[i] - '0') * static_cast<int>((n - 1 - i) % 8 + 2);  // 5,4,3,2,9,8,...
    const int rest = sum % 11;
    return rest < 2 ? 0 : 11 - rest;
  };
  return digits[12] - '0' == digit(12) && digits[13] - '0' == digit(13);
}

TEST(DeliveredTables, BanksHaveCompensationCodesAndValidCnpj) {
  for (const Values& bank : Delivered::get().rows(55)) {
    SCOPED_TRACE(bank.at("NOMEBAN"));
    EXPECT_TRUE(bank.at("NUMBAN").size() == 3 && text::all_digits(bank.at("NUMBAN")));
    const std::string& cnpj = bank.at("CNPJBAN");
    ASSERT_EQ(cnpj.size(), 18u);
    EXPECT_EQ(cnpj.substr(2, 1) + cnpj.substr(6, 1) + cnpj.substr(10, 1) + cnpj.substr(15, 1),
              "../-");
    std::string digits;
    for (char c : cnpj)
      if (c >= '0' && c <= '9') digits += c;
    ASSERT_EQ(digits.size(), 14u);
    EXPECT_TRUE(cnpj_check_digits_hold(digits)) << cnpj;
  }
}

TEST(DeliveredTables, MunicipalitiesHaveStateRowsAndFourDigitCodes) {
  const std::set<std::string> states = {"AC", "AL", "AP", "AM", "BA", "CE", "DF", "ES", "GO",
                                        "MA", "MT", "MS", "MG", "PA", "PB", "PR", "PE", "PI",
                                        "RN", "RS", "RJ", "RO", "RR", "SC", "SP", "SE", "TO"};
  std::set<std::string> state_rows;
  std::set<std::string> codes;
  for (const Values& row : Delivered::get().rows(64)) {
    const std::string& name = row.at("NOMEMUNI");
    SCOPED_TRACE(name);
    if (name.size() > 3 && name[3] == '-') {
      EXPECT_TRUE(row.at("UNIFED").empty() && row.at("NROMUNI").empty());
      EXPECT_TRUE(state_rows.insert(name.substr(0, 2)).second);
    } else {
      EXPECT_TRUE(states.contains(row.at("UNIFED")));
      EXPECT_TRUE(row.at("NROMUNI").size() == 4 && text::all_digits(row.at("NROMUNI")));
      EXPECT_TRUE(codes.insert(row.at("NROMUNI")).second);
    }
  }
  EXPECT_EQ(state_rows, states);
}

}  // namespace
}  // namespace kx::store
