// Layout upgrades of tables written in an older layout.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "../os/child.h"
#include "access_fixture.h"
#include "base/text.h"
#include "os/folder.h"
#include "os/path.h"
#include "store/folder.h"
#include "store/layout_upgrade.h"
#include "store/upgrade.h"

namespace kx::store::testing {
namespace {

using os::testing::Channel;
using os::testing::Child;

// A row as field name, value text pairs (numbers with "." before the decimals).
using Row = std::vector<std::pair<std::string, std::string>>;

// The current layout of `table` without its marker field and without its last other field:
// what a file written before both were added has.
dbf::Schema older_layout(int table) {
  const std::string marker = layout_marker(table)->field;
  std::vector<dbf::Field> fields;
  for (const dbf::Field& f : creation_layout(table)->fields())
    if (f.name != marker) fields.push_back(f);
  fields.pop_back();
  return dbf::Schema(fields);
}

std::string contents(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

class UpgradeTest : public AccessTest {
 protected:
  // The data file of `table` in its folder, as the file system names it.
  std::string file_of(int table) {
    const TableEntry e = *table_entry(table, settings.NUSU);
    return fs_path(e.folder == TableFolder::work ? work(e.data_file_name())
                                                 : program(e.data_file_name()));
  }
  std::vector<dbf::IndexSpec> index_specs(int table) {
    std::vector<dbf::IndexSpec> specs;
    const std::string folder = os::parent_of(file_of(table));
    for (const IndexFile& index : index_files(table, settings.NUSU))
      specs.push_back({index.key, os::join_path(folder, index.file_name())});
    return specs;
  }

  // Writes the file of `table` in `schema` with `rows`.
  void make_table(int table, const dbf::Schema& schema, const std::vector<Row>& rows) {
    dbf::Table::create(file_of(table), schema);
    dbf::Table t = dbf::Table::open(file_of(table), {dbf::OpenMode::exclusive}, clock);
    for (const Row& row : rows) {
      t.append_blank();
      for (const auto& [field, value] : row) {
        if (t.field(field).type == dbf::FieldType::numeric)
          t.set_number(field, *Decimal::parse(value));
        else
          t.set_text(field, value);
      }
    }
    t.close();
  }

  // Writes the file of `table` in `schema` with `count` rows whose every field holds a value of
  // its own (row and field number), the second row deleted; returns the live rows' bytes.
  std::vector<std::string> make_filled_table(int table, const dbf::Schema& schema, int count) {
    dbf::Table::create(file_of(table), schema);
    dbf::Table t = dbf::Table::open(file_of(table), {dbf::OpenMode::exclusive}, clock);
    std::vector<std::string> live;
    for (int r = 0; r < count; ++r) {
      t.append_blank();
      for (std::size_t i = 0; i < schema.fields().size(); ++i) {
        const dbf::Field& f = schema.fields()[i];
        const int v = r + static_cast<int>(i);
        switch (f.type) {
          case dbf::FieldType::character:
            t.set_text(i, "r" + std::to_string(r) + "f" + std::to_string(i));
            break;
          case dbf::FieldType::numeric:
            t.set_number(i, Decimal::raw(v % 10, f.decimals));
            break;
          case dbf::FieldType::date:
            t.set_date(i, *Date::from_ymd(2014, 1 + v % 12, 1 + v % 28));
            break;
          case dbf::FieldType::logical:
            t.set_logical(i, v % 2 == 1);
            break;
          case dbf::FieldType::memo:
            break;
        }
      }
      t.commit();
      if (r == 1) t.delete_record();
      else live.emplace_back(t.record().bytes());
    }
    t.close();
    return live;
  }

  std::vector<std::string> rows_of(int table) {
    dbf::Table t = dbf::Table::open(file_of(table), {dbf::OpenMode::read_only}, clock);
    std::vector<std::string> rows;
    t.scan([&](uint32_t, const dbf::RecordView& row) {
      rows.emplace_back(row.bytes());
      return true;
    });
    return rows;
  }

  // The table opened with its catalogue index files; check() must find nothing wrong.
  dbf::Table open_checked(int table) {
    dbf::Table t = dbf::Table::open(file_of(table), {dbf::OpenMode::shared}, clock);
    t.attach_indexes(index_specs(table));
    EXPECT_EQ(t.check(), std::vector<std::string>{}) << "table " << table;
    return t;
  }

  bool scratch_left(int table) {
    for (const auto& e : std::filesystem::directory_iterator(os::parent_of(file_of(table))))
      if (e.path().filename().string().find(".upgrade") != std::string::npos) return true;
    return false;
  }
};

struct UpgradeCase {
  int table;
  int correcao;  // the CORRECAO that upgrades it
};

class EveryUpgradedTable : public UpgradeTest, public ::testing::WithParamInterface<UpgradeCase> {};

TEST_P(EveryUpgradedTable, KeepsEveryRowAndValueAndGetsConsistentIndexFiles) {
  const auto [table, correcao] = GetParam();
  const dbf::Schema old = older_layout(table);
  const std::vector<std::string> live = make_filled_table(table, old, 5);
  for (const dbf::IndexSpec& index : index_specs(table)) {  // index files of the old file
    dbf::Table t = dbf::Table::open(file_of(table), {dbf::OpenMode::exclusive}, clock);
    t.attach_indexes({index});
  }

  CORRECAO(access, correcao);

  dbf::Table t = open_checked(table);
  const dbf::Schema& current = *creation_layout(table);
  ASSERT_EQ(t.schema().record_length(), current.record_length());
  EXPECT_TRUE(has_current_layout(table, t.schema()));
  const std::vector<std::string> now = rows_of(table);
  ASSERT_EQ(now.size(), live.size());
  for (std::size_t r = 0; r < live.size(); ++r) {
    const dbf::RecordView before(old, live[r]), after(current, now[r]);
    for (const dbf::Field& f : old.fields())
      EXPECT_EQ(after.raw(*current.find(f.name)), before.raw(f)) << "row " << r << " " << f.name;
    for (const dbf::Field& f : current.fields()) {
      if (!old.find(f.name)) {
        EXPECT_TRUE(text::is_blank(after.raw(f))) << f.name;
      }
    }
  }
  EXPECT_EQ(op.boxes(), std::vector<std::string>{});
  EXPECT_FALSE(scratch_left(table));
}

INSTANTIATE_TEST_SUITE_P(Tables, EveryUpgradedTable,
                         ::testing::Values(UpgradeCase{1, 0}, UpgradeCase{2, 0}, UpgradeCase{7, 0},
                                           UpgradeCase{9, 0}, UpgradeCase{13, 0},
                                           UpgradeCase{14, 0}, UpgradeCase{42, 1},
                                           UpgradeCase{43, 43}, UpgradeCase{63, 63}),
                         [](const auto& test) {
                           return "table" + std::to_string(test.param.table);
                         });

TEST_F(UpgradeTest, ACurrentTableIsLeftAlone) {
  make_table(2, *creation_layout(2), {{{"CPF", "11111111111"}}});
  const auto before = std::filesystem::last_write_time(file_of(2));
  const std::string bytes = contents(file_of(2));
  EXPECT_EQ(CORRIGE(access, 2), UpgradeOutcome::current);
  EXPECT_EQ(contents(file_of(2)), bytes);
  EXPECT_EQ(std::filesystem::last_write_time(file_of(2)), before);
  EXPECT_EQ(CORRIGE(access, 13), UpgradeOutcome::missing);
  EXPECT_FALSE(exists(file_of(13)));
}

TEST_F(UpgradeTest, TheOldFundOfIncomeRowsGetsItsNewNameAndCnpj) {
  make_table(2, older_layout(2),
             {{{"CPF", "11111111111"}, {"I1_2", "INSS"}, {"I1_3", "29.979.036/0001-40"}},
              {{"CPF", "22222222222"}, {"I1_2", "Empresa"}, {"I1_3", "11.222.333/0001-81"}}});
  ASSERT_EQ(CORRIGE(access, 2), UpgradeOutcome::upgraded);
  dbf::Table t = open_checked(2);
  t.go_top();
  EXPECT_EQ(text::rtrim(t.get_text("I1_2")), "Fundo do Regime Geral de Previdencia Social");
  EXPECT_EQ(t.get_text("I1_3"), "16.727.230/0001-97");
  t.skip();
  EXPECT_EQ(text::rtrim(t.get_text("I1_2")), "Empresa");
  EXPECT_EQ(t.get_text("I1_3"), "11.222.333/0001-81");
}

TEST_F(UpgradeTest, AnAssetWithoutOwnerCpfTakesTheTaxpayersExceptOfType4) {
  make_table(7, older_layout(7),
             {{{"CPF", "11111111111"}, {"TIPO_BEM", "1"}},
              {{"CPF", "22222222222"}, {"TIPO_BEM", "4"}},
              {{"CPF", "33333333333"}, {"TIPO_BEM", "1"}, {"CPFALIEN", "99999999999"}}});
  ASSERT_EQ(CORRIGE(access, 7), UpgradeOutcome::upgraded);
  dbf::Table t = open_checked(7);
  std::vector<std::string> owners;
  for (t.set_order(0), t.go_top(); !t.eof(); t.skip()) owners.push_back(t.get_text("CPFALIEN"));
  EXPECT_EQ(owners, (std::vector<std::string>{"11111111111", "           ", "99999999999"}));
}

// A field of table 7's older layout defined otherwise, and the value it holds.
struct MisfitCase {
  const char* name;
  dbf::Field field;
  const char* value;
  bool upgraded;
};

class Misfits : public UpgradeTest, public ::testing::WithParamInterface<MisfitCase> {};

TEST_P(Misfits, AValueThatDoesNotFitLeavesTheOldTableUntouched) {
  const MisfitCase& c = GetParam();
  std::vector<dbf::Field> fields = older_layout(7).fields();
  for (dbf::Field& f : fields)
    if (f.name == c.field.name) f = c.field;
  make_table(7, dbf::Schema(fields),
             {{{"CPF", "11111111111"}}, {{"CPF", "22222222222"}, {c.field.name, c.value}}});
  const std::string bytes = contents(file_of(7));

  const UpgradeOutcome outcome = CORRIGE(access, 7);

  EXPECT_FALSE(scratch_left(7));
  if (c.upgraded) {
    EXPECT_EQ(outcome, UpgradeOutcome::upgraded);
    EXPECT_EQ(op.boxes(), std::vector<std::string>{});
    return;
  }
  EXPECT_EQ(outcome, UpgradeOutcome::refused);
  EXPECT_EQ(contents(file_of(7)), bytes);
  ASSERT_EQ(op.boxes().size(), 1u);
  EXPECT_NE(op.boxes()[0].find("Registro 2: o valor do campo " + c.field.name), std::string::npos)
      << op.boxes()[0];
  EXPECT_NE(op.boxes()[0].find(cp("Os dados ficaram como estavam.")), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    Fields, Misfits,
    ::testing::Values(
        MisfitCase{"TextCut", {"CPFALIEN", dbf::FieldType::character, 20}, "123456789012345",
                   false},
        MisfitCase{"ShortTextInAWiderField", {"CPFALIEN", dbf::FieldType::character, 20},
                   "12345678901", true},
        MisfitCase{"NumberTooWide", {"BEM_NRO", dbf::FieldType::numeric, 5}, "123", false},
        MisfitCase{"DecimalsLost", {"BEM_NRO", dbf::FieldType::numeric, 5, 1}, "1.5", false},
        MisfitCase{"WholeNumberWithDecimalsToSpare", {"BEM_NRO", dbf::FieldType::numeric, 5, 1},
                   "12.0", true},
        MisfitCase{"AnotherType", {"BEM_NRO", dbf::FieldType::character, 2}, "12", false}),
    [](const auto& test) { return test.param.name; });

TEST_F(UpgradeTest, ATableOpenInAnotherProcessIsSkippedAndUpgradedLater) {
  make_table(9, older_layout(9), {{{"CPF", "11111111111"}, {"NOMECONTR", "ANA"}}});
  const std::string bytes = contents(file_of(9));
  const std::string path = file_of(9);
  Child other([path](const Channel& parent) {
    VirtualClock own{DateTime{}};
    dbf::Table t = dbf::Table::open(path, {dbf::OpenMode::shared}, own);
    parent.send('r');
    if (parent.receive() != 'q') return 4;
    t.close();
    parent.send('k');
    return 0;
  });
  ASSERT_EQ(other.channel().receive(), 'r');

  EXPECT_EQ(CORRIGE(access, 9), UpgradeOutcome::in_use);
  EXPECT_EQ(contents(file_of(9)), bytes);
  EXPECT_EQ(op.boxes(),
            std::vector<std::string>{work("IMP0915") + cp(".DBF não está disponível ")});
  EXPECT_FALSE(scratch_left(9));

  other.channel().send('q');
  EXPECT_EQ(other.channel().receive(), 'k');
  EXPECT_EQ(other.wait(), 0);
  EXPECT_EQ(CORRIGE(access, 9), UpgradeOutcome::upgraded);
  dbf::Table t = open_checked(9);
  EXPECT_EQ(text::rtrim(t.get_text("NOMECONTR")), "ANA");
}

TEST_F(UpgradeTest, TheStartupCheckUpgradesTheTablesOfEveryListedFolder) {
  install_reference_tables();
  settings.LOCARQ = settings.ARQDEF;  // the folder list starts with the program folder
  access.upgrade_folder = upgrade_work_folder;
  make_table(13, older_layout(13), {{{"CPF", "11111111111"}}});
  make_table(1, older_layout(1), {{{"CPF", "11111111111"}}});
  ASSERT_TRUE(ABERTURA(access, 0)) << ::testing::PrintToString(op.boxes());
  for (int table : {1, 13}) {
    dbf::Table t = open_checked(table);
    EXPECT_TRUE(has_current_layout(table, t.schema())) << table;
    EXPECT_EQ(t.record_count(), 1u);
  }
}

// A process killed at any instant of an upgrade leaves the old table or the new one, whole.
TEST_F(UpgradeTest, AnUpgradeKilledAtAnyInstantLeavesTheOldOrTheNewTable) {
  const dbf::Schema old = older_layout(9);
  const std::vector<std::string> live = make_filled_table(9, old, 1500);
  const std::string pristine = file_of(9) + ".orig";
  std::filesystem::copy_file(file_of(9), pristine);
  const std::string path = file_of(9);
  const std::vector<dbf::IndexSpec> specs = index_specs(9);
  auto upgrade_in_child = [&] {
    return std::make_unique<Child>([&](const Channel& parent) {
      VirtualClock own{DateTime{}};
      parent.send('r');
      return upgrade_table_file(9, path, specs, own).outcome == UpgradeOutcome::upgraded ? 0 : 5;
    });
  };
  SystemClock real;
  const int64_t started = real.monotonic_ms();
  {
    auto child = upgrade_in_child();
    ASSERT_EQ(child->channel().receive(), 'r');
    ASSERT_EQ(child->wait(), 0);
  }
  const int64_t whole = std::max<int64_t>(real.monotonic_ms() - started, 10);

  // Killed at instants spread over the whole upgrade; the last run is left to finish.
  int saw_old = 0, saw_new = 0;
  const int64_t step = std::max<int64_t>(whole / 12, 1);
  for (int64_t at = 0; at <= whole + step; at += step) {
    const bool last = at + step > whole + step;
    std::filesystem::copy_file(pristine, file_of(9),
                               std::filesystem::copy_options::overwrite_existing);
    auto child = upgrade_in_child();
    ASSERT_EQ(child->channel().receive(), 'r');
    if (last) {
      ASSERT_EQ(child->wait(), 0);
    } else {
      real.sleep_ms(at);
      child->kill();
    }

    dbf::Table t = dbf::Table::open(file_of(9), {dbf::OpenMode::shared}, clock);
    const bool upgraded = has_current_layout(9, t.schema());
    (upgraded ? saw_new : saw_old)++;
    t.attach_indexes(specs);
    EXPECT_EQ(t.check(), std::vector<std::string>{}) << "killed after " << at << " ms";
    const std::vector<std::string> rows = rows_of(9);
    ASSERT_EQ(rows.size(), live.size()) << "killed after " << at << " ms";
    const dbf::Schema& now = upgraded ? *creation_layout(9) : old;
    const dbf::RecordView first(now, rows.front()), last_row(now, rows.back());
    EXPECT_EQ(first.raw(*now.find("CPF")),
              dbf::RecordView(old, live.front()).raw(*old.find("CPF")));
    EXPECT_EQ(last_row.raw(*now.find("CPF")),
              dbf::RecordView(old, live.back()).raw(*old.find("CPF")));
    t.close();
  }
  EXPECT_GT(saw_old, 0);  // killed before the rename
  EXPECT_GT(saw_new, 0);  // at least the run left to finish
}

}  // namespace
}  // namespace kx::store::testing
