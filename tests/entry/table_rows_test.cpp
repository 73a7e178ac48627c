#include "entry/table_rows.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../os/temp_folder.h"
#include "base/clock.h"
#include "base/text.h"
#include "dbf/table.h"
#include "ui/browser.h"
#include "ui/harness.h"
#include "ui/keys.h"

namespace kx::entry {
namespace {

using os::testing::TempFolder;

// Five taxpayers in a table indexed by name; "Duda" is deleted.
class TableRowsTest : public ::testing::Test {
 protected:
  TableRowsTest() {
    dbf::Table::create(path, dbf::Schema({{"NOME", dbf::FieldType::character, 8},
                                          {"VALOR", dbf::FieldType::numeric, 10, 2},
                                          {"DATA", dbf::FieldType::date, 8},
                                          {"ATIVO", dbf::FieldType::logical, 1}}));
    dbf::Table t = open(dbf::OpenMode::exclusive);
    const struct {
      const char* name;
      const char* value;
      int day;
      bool active;
    } rows[] = {{"Carla", "1234.5", 3, true},
                {"ana", "-7", 1, false},
                {"Bruno", "0", 2, true},
                {"Duda", "10", 4, true},
                {"Edu", "99999.99", 5, false}};
    for (const auto& r : rows) {
      t.append_blank();
      t.set_text("NOME", r.name);
      t.set_number("VALOR", *Decimal::parse(r.value));
      t.set_date("DATA", *Date::from_ymd(2014, 12, r.day));
      t.set_logical("ATIVO", r.active);
      t.commit();
    }
    t.go_to(4);
    t.delete_record();
    t.close();
  }

  dbf::Table open(dbf::OpenMode mode = dbf::OpenMode::shared) {
    dbf::Table t = dbf::Table::open(path, {mode}, clock);
    t.attach_indexes({{"UPPER(NOME)", tmp / "CONTRIB.CDX"}});
    return t;
  }

  static std::string name(const dbf::Table& t) {
    return std::string(text::rtrim(t.get_text("NOME")));
  }

  // The names from the first row on, walking one row at a time.
  static std::vector<std::string> walk(TableRows& rows) {
    std::vector<std::string> out;
    if (!rows.go_top()) return out;
    do out.push_back(name(rows.table()));
    while (rows.skip(1) == 1);
    return out;
  }

  TempFolder tmp;
  std::string path = tmp / "CONTRIB.DBF";
  VirtualClock clock{DateTime{*Date::from_ymd(2015, 3, 10), 9, 0, 0}};
};

TEST_F(TableRowsTest, WalksTheActiveOrderWithoutDeletedOrFilteredRows) {
  struct Case {
    const char* label;
    dbf::Table::Filter filter;
    std::vector<std::string> names;
  };
  const Case cases[] = {
      {"all", {}, {"ana", "Bruno", "Carla", "Edu"}},
      {"active", [](const dbf::RecordView& r) { return r.logical(*r.schema().find("ATIVO")); },
       {"Bruno", "Carla"}},
      {"none", [](const dbf::RecordView&) { return false; }, {}},
  };
  dbf::Table t = open();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    TableRows rows(t, c.filter);
    EXPECT_EQ(walk(rows), c.names);
    const long n = static_cast<long>(c.names.size());
    if (n == 0) {
      EXPECT_FALSE(rows.go_bottom());
      EXPECT_EQ(rows.skip(1), 0);
      EXPECT_EQ(rows.skip(-1), 0);
      continue;
    }
    // Asked for more than there is, the walk stops on the last / first row and says how far.
    ASSERT_TRUE(rows.go_top());
    EXPECT_EQ(rows.skip(10), n - 1);
    EXPECT_EQ(name(t), c.names.back());
    EXPECT_EQ(rows.skip(1), 0);
    EXPECT_EQ(name(t), c.names.back());
    EXPECT_EQ(rows.skip(-10), -(n - 1));
    EXPECT_EQ(name(t), c.names.front());
    ASSERT_TRUE(rows.go_bottom());
    EXPECT_EQ(name(t), c.names.back());
  }
  // The filter goes with the rows.
  t.set_order(0);
  t.go_top();
  int count = 0;
  for (; !t.eof(); t.skip(1)) ++count;
  EXPECT_EQ(count, 4);
}

TEST_F(TableRowsTest, BookmarksFindOnlyRowsThatAreStillThere) {
  dbf::Table t = open();
  TableRows rows(t, [](const dbf::RecordView& r) {
    return r.text(*r.schema().find("NOME"))[0] != 'E';
  });
  ASSERT_TRUE(rows.seek("CAR"));
  const long carla = rows.bookmark();
  EXPECT_EQ(carla, 1);
  ASSERT_TRUE(rows.go_top());
  EXPECT_TRUE(rows.go_to(carla));
  EXPECT_EQ(name(t), "Carla");
  for (long gone : {4L /* deleted */, 5L /* filtered out */, 0L, 6L, -1L, 1L << 40}) {
    EXPECT_FALSE(rows.go_to(gone)) << gone;
  }

  // Another terminal deletes Carla: her bookmark no longer leads anywhere.
  dbf::Table other = open();
  other.go_to(1);
  ASSERT_TRUE(other.lock_record(1, {1000, 100, {}}));
  other.delete_record();
  other.unlock_all();
  EXPECT_FALSE(rows.go_to(carla));

  // A soft seek lands on the next row there is: after "C" only Duda (deleted) and Edu (filtered
  // out) would follow.
  EXPECT_TRUE(rows.seek("B"));
  EXPECT_EQ(name(t), "Bruno");
  EXPECT_FALSE(rows.seek("C"));
}

TEST_F(TableRowsTest, BrowsesFormattedCellsWithABlankRowForANewEntry) {
  ui::ScreenHarness h;
  dbf::Table t = open();
  TableRows rows(t);
  ui::Browser b(h.screen, {2, 0, 9, 60}, rows);
  b.columns = {rows.column("NOME", "Nome"), rows.column("VALOR", "Valor", "@E 99,999.99"),
               rows.column("VALOR", "Sem mascara"), rows.column("DATA", "Data"),
               rows.column("ATIVO", "A")};
  b.blank_row = true;
  b.refresh();
  h.type("<Ctrl-PgDn><Down><Down><Enter>");
  b.run();
  EXPECT_TRUE(b.on_blank_row());
  EXPECT_EQ(h.text(2, 0, 44), "Nome     Valor     Sem mascara Data       A ");
  const char* lines[] = {
      // A number without a picture keeps its field's shape.
      "ana     │    -7,00│     -7.00 │01/12/2014│N│",
      "Bruno   │     0,00│      0.00 │02/12/2014│S│",
      "Carla   │ 1.234,50│   1234.50 │03/12/2014│S│",
      "Edu     │99.999,99│  99999.99 │05/12/2014│N│",
      "        │         │           │          │ │",
  };
  for (int i = 0; i < 5; ++i) EXPECT_EQ(h.text(4 + i, 0, 44), lines[i]) << i;

  // Positioned on a cell of the row a search found.
  ASSERT_TRUE(rows.seek("CARLA"));
  ASSERT_TRUE(b.position(rows.bookmark(), 3));
  h.type("<Enter>");
  b.run();
  EXPECT_EQ(b.row_bookmark(), 1);
  EXPECT_EQ(h.attr(6, 31), ui::BrowseColours{}.selected);  // Carla's date
}

}  // namespace
}  // namespace kx::entry
