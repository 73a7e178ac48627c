#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "base/cp850.h"
#include "base/text.h"
#include "dbf/expr.h"
#include "dbf/index_file.h"
#include "os/file.h"
#include "table_fixture.h"

namespace kx::dbf {
namespace {

using testing::TableTest;

class TableIndex : public TableTest {
 protected:
  const std::vector<std::string> kNames{"JOSÉ", "ÂNGELA", "ANA", "CÉLIA", "BRUNO", "ANA"};
  std::vector<std::string> cp(std::initializer_list<const char*> utf8) {
    std::vector<std::string> out;
    for (const char* s : utf8) out.push_back(cp850::from_utf8(s));
    return out;
  }
  Table make(OpenMode mode = OpenMode::exclusive) {
    std::vector<std::string> n;
    for (const auto& s : kNames) n.push_back(cp850::from_utf8(s));
    Table t = people("P.DBF", n, mode);
    t.attach_indexes({{"UPPER(NOME)", path("P.CDX")}, {"STR(IDADE,3)+NOME", path("PB.CDX")}});
    return t;
  }
  // P.CDX opened directly, as the engine's index writer sees it, with the signature the data
  // file has now: for tests that change the index behind the table's back.
  struct DirectIndex {
    Schema schema = testing::schema_of({"NOME:C:20", "IDADE:N:3"});
    KeyExpr expr = KeyExpr::parse("UPPER(NOME)", schema);
    DataSignature now;
    std::unique_ptr<IndexFile> file;
  };
  void open_name_index(DirectIndex& d) {
    struct stat st {};
    ASSERT_EQ(::stat(path("P.DBF").c_str(), &st), 0);
    d.now = DataSignature{6, static_cast<uint64_t>(st.st_size),
                          int64_t{st.st_mtim.tv_sec} * 1'000'000'000 + st.st_mtim.tv_nsec};
    IndexState state = IndexState::ok;
    d.file = IndexFile::open(
        path("P.CDX"), d.expr.text(), d.expr.width(),
        [&d](std::string_view a, std::string_view b) { return d.expr.compare(a, b); }, d.now,
        false, &state);
    ASSERT_NE(d.file, nullptr) << static_cast<int>(state);
  }
};

TEST_F(TableIndex, OrdersFollowTheCollationAndSeekModesFindWhatTheySay) {
  Table t = make();
  EXPECT_EQ(names(t), cp({"ANA", "ANA", "ÂNGELA", "BRUNO", "CÉLIA", "JOSÉ"}));
  EXPECT_EQ(t.recno(), 7u);  // eof

  struct Case {
    const char* key;
    SeekMode mode;
    bool found;
    uint32_t recno;  // 7 = eof
  } cases[] = {
      {"ANA", SeekMode::exact, true, 3},      // first of equal keys: lowest record number
      {"AN", SeekMode::exact, false, 7},      // exact pads to the key width
      {"AN", SeekMode::prefix, true, 3},
      {"ÂNG", SeekMode::prefix, true, 2},
      {"BZ", SeekMode::prefix, false, 7},
      {"BZ", SeekMode::soft, false, 4},       // nearest following key: CÉLIA
      {"ZZZ", SeekMode::soft, false, 7},
      {"JOSÉ", SeekMode::exact, true, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.key);
    EXPECT_EQ(t.seek(cp850::from_utf8(c.key), c.mode), c.found);
    EXPECT_EQ(t.found(), c.found);
    EXPECT_EQ(t.recno(), c.recno);
    EXPECT_EQ(t.eof(), c.recno == 7);
  }
  t.seek("ANA");
  t.skip();
  EXPECT_EQ(t.recno(), 6u);
  t.skip(-1);
  EXPECT_EQ(t.recno(), 3u);
  t.skip(-1);
  EXPECT_TRUE(t.bof());

  t.set_order(2);
  EXPECT_TRUE(t.seek(" 40", SeekMode::prefix));
  EXPECT_EQ(t.recno(), 4u);
  t.set_order(0);
  EXPECT_EQ(names(t).front(), cp850::from_utf8("JOSÉ"));
}

TEST_F(TableIndex, DeletedRecordsAreSkippedInIndexOrderAndSeek) {
  Table t = make();
  t.go_to(3);
  t.delete_record();
  EXPECT_TRUE(t.seek("ANA"));
  EXPECT_EQ(t.recno(), 6u);
  t.go_to(6);
  t.delete_record();
  EXPECT_FALSE(t.seek("ANA"));
  EXPECT_TRUE(t.seek("ANA", SeekMode::soft) == false && t.recno() == 2u);
  t.set_deleted_visible(true);
  EXPECT_TRUE(t.seek("ANA"));
  EXPECT_EQ(t.recno(), 3u);
}

TEST_F(TableIndex, ChangesMoveTheRecordInEveryOrderAndCheckAgrees) {
  Table t = make();
  t.seek("BRUNO");
  t.set_text("NOME", "AARON");
  t.set_number("IDADE", 5);
  t.commit();
  t.go_top();
  EXPECT_EQ(testing::TableTest::text_of(t, "NOME"), "AARON");
  t.set_order(2);
  t.go_top();
  EXPECT_EQ(t.get_number("IDADE"), Decimal(5));
  t.append_blank();
  t.set_text("NOME", "ZECA");
  t.set_number("IDADE", 1);
  t.go_top();  // commits the new record first
  EXPECT_EQ(testing::TableTest::text_of(t, "NOME"), "ZECA");
  EXPECT_TRUE(t.check().empty());
  t.close();
  // Reopened: the index files describe the data as written, nothing is rebuilt.
  Table again = open("P.DBF", OpenMode::read_only);
  again.attach_indexes({{"UPPER(NOME)", path("p.cdx")}, {"STR(IDADE,3)+NOME", path("PB.CDX")}});
  EXPECT_TRUE(again.check().empty());
  EXPECT_TRUE(again.seek("ZECA"));
  EXPECT_EQ(again.recno(), 7u);
}

TEST_F(TableIndex, TwoOpensOfOneFileKeepEachOthersIndexesRight) {
  make().close();
  Table a = open("P.DBF"), b = open("P.DBF");
  const std::vector<IndexSpec> specs{{"UPPER(NOME)", path("P.CDX")},
                                     {"STR(IDADE,3)+NOME", path("PB.CDX")}};
  a.attach_indexes(specs);
  b.attach_indexes(specs);
  ASSERT_TRUE(a.seek(cp850::from_utf8("CÉLIA")));
  ASSERT_TRUE(a.try_lock_record(a.recno()));
  a.set_text("NOME", "ZULMIRA");
  a.unlock_all();
  ASSERT_NE(a.append_blank(), 0u);
  a.set_text("NOME", "ABEL");
  a.unlock_all();

  EXPECT_FALSE(b.seek(cp850::from_utf8("CÉLIA")));
  EXPECT_TRUE(b.seek("ZULMIRA"));
  EXPECT_EQ(b.recno(), 4u);
  b.go_top();
  EXPECT_EQ(testing::TableTest::text_of(b, "NOME"), "ABEL");
  EXPECT_TRUE(b.check().empty());
  ASSERT_NE(b.append_blank(), 0u);  // the last change is b's, after a's
  b.set_text("NOME", "BETO");
  b.unlock_all();
  a.close();
  b.close();
  // The signatures the writers left describe the data: the next open rebuilds nothing.
  const auto written = std::filesystem::last_write_time(path("P.CDX"));
  Table c = open("P.DBF");
  c.attach_indexes(specs);
  EXPECT_TRUE(c.check().empty());
  EXPECT_EQ(std::filesystem::last_write_time(path("P.CDX")), written);
}

TEST_F(TableIndex, AnIndexThatCannotBeTrustedIsRebuilt) {
  make().close();
  const std::vector<IndexSpec> specs{{"UPPER(NOME)", path("P.CDX")}};
  // Another tool changes a record behind the index's back: the signature no longer matches.
  {
    os::File f = os::File::open(path("P.DBF"), os::File::Mode::read_write);
    f.pwrite("XAVIER", 6, 32 + 2 * 32 + 1 + 1);  // record 1, NOME
    // A later tick of the file system's clock than the index's own last change.
    struct stat st {};
    ASSERT_EQ(::fstat(f.fd(), &st), 0);
    const timespec times[2] = {st.st_atim, {st.st_mtim.tv_sec + 1, st.st_mtim.tv_nsec}};
    ASSERT_EQ(::futimens(f.fd(), times), 0);
  }
  {
    Table t = open("P.DBF");
    t.attach_indexes(specs);
    EXPECT_TRUE(t.seek("XAVIER"));
    EXPECT_EQ(t.recno(), 1u);
    EXPECT_TRUE(t.check().empty());
  }
  // A foreign file under the index's name (an index written by another program).
  std::ofstream(path("P.CDX"), std::ios::binary | std::ios::trunc) << std::string(1024, 'Z');
  {
    Table t = open("P.DBF", OpenMode::read_only);  // never writes: kept in memory instead
    t.attach_indexes(specs);
    EXPECT_TRUE(t.seek("XAVIER"));
    EXPECT_EQ(tmp.read("P.CDX"), std::string(1024, 'Z'));
  }
  {
    Table t = open("P.DBF");
    t.attach_indexes(specs);
    EXPECT_TRUE(t.seek("XAVIER"));
    EXPECT_TRUE(t.check().empty());
  }
  // A writer killed in the middle of a change leaves the file marked unfinished.
  {
    DirectIndex d;
    ASSERT_NO_FATAL_FAILURE(open_name_index(d));
    d.file->begin_change();
    const std::string record = std::string(1, ' ') + "XAVIER" + std::string(14, ' ') + " 10";
    d.file->erase(d.expr.eval(RecordView(d.schema, record)), 1);
  }
  {
    Table t = open("P.DBF");
    t.attach_indexes(specs);
    EXPECT_TRUE(t.seek("XAVIER"));
    EXPECT_TRUE(t.check().empty());
  }
}

TEST_F(TableIndex, AnOpenTableNoticesARecordChangedBehindItsIndex) {
  Table t = make(OpenMode::shared);
  t.close();
  Table a = open("P.DBF");
  a.attach_indexes({{"UPPER(NOME)", path("P.CDX")}});
  {
    os::File f = os::File::open(path("P.DBF"), os::File::Mode::read_write);
    f.pwrite("XAVIER", 6, 32 + 2 * 32 + 1 + 1);  // record 1 was JOSÉ
  }
  EXPECT_FALSE(a.seek(cp850::from_utf8("JOSÉ")));
  EXPECT_TRUE(a.seek("XAVIER"));
  EXPECT_EQ(a.recno(), 1u);
}

TEST_F(TableIndex, CheckComparesEveryEntryWithItsRecord) {
  make().close();
  Table t = open("P.DBF");
  t.attach_indexes({{"UPPER(NOME)", path("P.CDX")}});
  ASSERT_TRUE(t.check().empty());
  {
    // An index with a sound header and signature that lost one entry.
    DirectIndex d;
    ASSERT_NO_FATAL_FAILURE(open_name_index(d));
    d.file->begin_change();
    ASSERT_TRUE(d.file->erase(text::pad_right("BRUNO", 20), 5));
    d.file->end_change(d.now);
  }
  auto problems = t.check();
  ASSERT_EQ(problems.size(), 1u);
  EXPECT_NE(problems[0].find("no entry for record 5"), std::string::npos) << problems[0];
}

// Reindex puts every order, the index files and one kept in memory, back in step with records
// changed behind them; inside an exclusive batch the rebuilt files also take the batch's later
// changes, and are found sound by the next open.
TEST_F(TableIndex, ReindexRebuildsEveryOrderFromTheRecords) {
  auto row = [](Table& t, const char* name, int age) {
    std::string rec = t.blank_record();
    put_text(rec, *t.schema().find("NOME"), name);
    put_number(rec, *t.schema().find("IDADE"), age);
    t.append(rec);
  };
  {
    Table t = make();
    t.add_temporary_index("NOME");
    row(t, "CARLOS", 45);  // the batch is open from here on
    {  // record 1, JOSÉ 10, becomes ZILDA 5 behind the orders
      os::File f = os::File::open(path("P.DBF"), os::File::Mode::read_write);
      const int64_t record1 = 32 + 2 * 32 + 1;
      f.pwrite("ZILDA               ", 20, record1 + 1);
      f.pwrite("  5", 3, record1 + 21);
    }
    t.reindex();
    row(t, "DAVI", 70);
    const auto by_name = cp({"ANA", "ANA", "ÂNGELA", "BRUNO", "CARLOS", "CÉLIA", "DAVI", "ZILDA"});
    for (int order : {1, 3}) {
      t.set_order(order);
      EXPECT_EQ(names(t), by_name) << order;
    }
    t.set_order(2);
    EXPECT_EQ(names(t), cp({"ZILDA", "ÂNGELA", "ANA", "CÉLIA", "CARLOS", "BRUNO", "ANA", "DAVI"}));
  }
  Table t = open("P.DBF");
  t.attach_indexes({{"UPPER(NOME)", path("P.CDX")}, {"STR(IDADE,3)+NOME", path("PB.CDX")}});
  EXPECT_TRUE(t.check().empty());
  EXPECT_TRUE(t.seek("ZILDA"));
  EXPECT_EQ(t.recno(), 1u);
}

TEST_F(TableIndex, ATemporaryIndexOrdersAWorkingCopy) {
  Table t = make();
  const int n = t.add_temporary_index("STR(IDADE,3)");
  EXPECT_EQ(n, 3);
  EXPECT_EQ(t.order(), 3);
  t.seek(" 30");
  EXPECT_EQ(t.recno(), 3u);
  t.set_number("IDADE", 99);
  t.commit();
  t.go_bottom();
  EXPECT_EQ(t.recno(), 3u);
  EXPECT_EQ(t.info().indexes.size(), 3u);
  EXPECT_TRUE(t.info().indexes[2].file.empty());
}

}  // namespace
}  // namespace kx::dbf
