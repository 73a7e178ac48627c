#include "dbf/table.h"

#include <gtest/gtest.h>

#include "base/cp850.h"
#include "table_fixture.h"

namespace kx::dbf {
namespace {

using testing::schema_of;
using testing::TableTest;

TEST_F(TableTest, EveryTypeRoundTripsThroughTheFileBytes) {
  Table::create(path("T.DBF"), schema_of({"NOME:C:300", "VALOR:N:12:2", "NEG:N:5:1", "DATA:D",
                                          "OK:L", "OBS:M"}));
  const std::string name = std::string("Ação São João ") + std::string(280, 'x');
  {
    Table t = open("T.DBF", OpenMode::exclusive);
    t.append_blank();
    t.set_text("nome", cp850::from_utf8(name));
    t.set_number("VALOR", "-1234.5"_dec);
    t.set_number(2, "-9.95"_dec);  // by position; rounded half away from zero to one decimal
    t.set_date("DATA", *Date::from_ymd(2014, 2, 28));
    t.set_logical("OK", true);
    t.set_memo("OBS", cp850::from_utf8("observação\r\nsegunda linha"));
    t.commit();
    t.append_blank();  // left blank
    t.close();
  }
  const std::string bytes = tmp.read("T.DBF");
  EXPECT_EQ(bytes.back(), 0x1A);
  EXPECT_NE(bytes.find("   -1234.50-10.020140228T"), std::string::npos);

  Table t = open("T.DBF", OpenMode::read_only);
  ASSERT_EQ(t.record_count(), 2u);
  EXPECT_EQ(cp850::to_utf8(testing::TableTest::text_of(t, "NOME")), name);
  EXPECT_EQ(t.get_number("VALOR"), "-1234.50"_dec);
  EXPECT_EQ(t.get_number("NEG"), "-10.0"_dec);
  EXPECT_EQ(t.get_date("DATA"), *Date::from_ymd(2014, 2, 28));
  EXPECT_TRUE(t.get_logical("OK"));
  EXPECT_EQ(cp850::to_utf8(t.get_memo("OBS")), "observação\r\nsegunda linha");
  t.skip();
  EXPECT_EQ(t.get_number("VALOR"), Decimal(0));
  EXPECT_TRUE(t.get_date("DATA").empty());
  EXPECT_FALSE(t.get_logical("OK"));
  EXPECT_EQ(t.get_memo("OBS"), "");
  EXPECT_TRUE(t.check().empty());
}

TEST_F(TableTest, AValueThatDoesNotFitIsRefusedAndNothingIsWritten) {
  Table t = people("P.DBF", {"ANA"});
  t.go_top();
  EXPECT_THROW(t.set_number("IDADE", 1000), FieldOverflow);
  EXPECT_THROW(t.set_number("IDADE", -100), FieldOverflow);
  EXPECT_THROW(t.set_text("IDADE", "x"), TableError);  // wrong type
  EXPECT_THROW(t.set_text("NADA", "x"), TableError);   // no such field
  t.close();
  EXPECT_EQ(tmp.read("P.DBF").find('*', 100), std::string::npos);
  Table again = open("P.DBF");
  EXPECT_EQ(again.get_number("IDADE"), Decimal(10));
}

TEST_F(TableTest, NavigationSkipsDeletedRecordsAndFilteredOnes) {
  Table t = people("P.DBF", {"ANA", "BIA", "CAIO", "DORA", "EVA"});
  for (uint32_t r : {2u, 4u}) {
    t.go_to(r);
    t.delete_record();
  }
  EXPECT_EQ(names(t), (std::vector<std::string>{"ANA", "CAIO", "EVA"}));
  std::vector<uint32_t> scanned;
  t.scan([&](uint32_t r, const RecordView&) {
    scanned.push_back(r);
    return r < 3;  // stops after record 3
  });
  EXPECT_EQ(scanned, (std::vector<uint32_t>{1, 3}));
  t.go_bottom();
  EXPECT_EQ(t.recno(), 5u);
  t.skip(-1);
  EXPECT_EQ(t.recno(), 3u);
  t.skip(-5);  // past the first visible record: bof, and stays on it
  EXPECT_TRUE(t.bof());
  EXPECT_EQ(t.recno(), 1u);
  t.skip(10);
  EXPECT_TRUE(t.eof());
  EXPECT_EQ(t.recno(), 6u);
  t.skip(-1);  // from the end back to the last visible record
  EXPECT_EQ(t.recno(), 5u);

  t.go_to(2);  // a deleted record can be reached by number
  EXPECT_TRUE(t.deleted());
  t.set_deleted_visible(true);
  EXPECT_EQ(names(t).size(), 5u);
  t.set_filter([](const RecordView& r) { return r.number(*r.schema().find("IDADE")) > 25; });
  EXPECT_EQ(names(t), (std::vector<std::string>{"CAIO", "DORA", "EVA"}));
  t.set_filter([](const RecordView&) { return false; });
  t.go_top();
  EXPECT_TRUE(t.eof());
  t.set_filter({});
  t.set_deleted_visible(false);
  t.go_to(2);
  t.recall();
  EXPECT_EQ(names(t).size(), 4u);
  t.go_to(99);
  EXPECT_TRUE(t.eof());
}

TEST_F(TableTest, OpenModesConflictAsTerminalsDo) {
  people("P.DBF", {"ANA"}).close();
  {
    Table shared = open("P.DBF");
    EXPECT_TRUE(Table::try_open(path("P.DBF"), {OpenMode::shared}, clock).has_value());
    EXPECT_TRUE(Table::try_open(path("P.DBF"), {OpenMode::read_only}, clock).has_value());
    EXPECT_FALSE(Table::try_open(path("P.DBF"), {OpenMode::exclusive}, clock).has_value());
  }
  Table exclusive = open("p.dbf", OpenMode::exclusive);  // found without regard to case
  try {
    open("P.DBF");
    FAIL() << "a shared open beside an exclusive one";
  } catch (const TableError& e) {
    EXPECT_EQ(e.kind(), TableError::Kind::in_use);
  }
  try {
    open("NADA.DBF");
    FAIL();
  } catch (const TableError& e) {
    EXPECT_EQ(e.kind(), TableError::Kind::not_found);
  }
  try {
    Table::create(path("p.DBF"), schema_of({"X:C:1"}));
    FAIL();
  } catch (const TableError& e) {
    EXPECT_EQ(e.kind(), TableError::Kind::exists);
  }
}

TEST_F(TableTest, SharedWritesNeedTheRecordOrFileLockAndReadOnlyNeverWrites) {
  people("P.DBF", {"ANA", "BIA"}).close();
  Table a = open("P.DBF"), b = open("P.DBF");
  a.go_top();
  try {
    a.set_text("NOME", "X");
    FAIL();
  } catch (const TableError& e) {
    EXPECT_EQ(e.kind(), TableError::Kind::not_locked);
  }
  ASSERT_TRUE(a.try_lock_record(1));
  EXPECT_FALSE(b.try_lock_record(1));
  EXPECT_TRUE(b.try_lock_record(2));
  EXPECT_FALSE(a.try_lock_file());  // b holds record 2
  b.unlock_all();
  ASSERT_TRUE(a.try_lock_file());
  EXPECT_FALSE(b.try_lock_record(2));
  EXPECT_EQ(b.append_blank(LockWait{.timeout_ms = 1000, .retry_ms = 100}), 0u);  // gives up
  a.unlock_file();
  EXPECT_FALSE(b.try_lock_record(1));  // a's own record lock outlived its file lock
  a.set_text("NOME", "ALICE");
  a.unlock_record(1);  // commits first
  b.go_top();
  EXPECT_EQ(testing::TableTest::text_of(b, "NOME"), "ALICE");

  Table r = open("P.DBF", OpenMode::read_only);
  r.go_top();
  EXPECT_THROW(r.try_lock_record(1), TableError);
  EXPECT_THROW(r.append_blank(), TableError);
  EXPECT_THROW(r.set_text("NOME", "X"), TableError);
}

TEST_F(TableTest, ALockReadsTheRecordAgainAndReadersSeeOtherOpensWrites) {
  people("P.DBF", {"ANA"}).close();
  Table a = open("P.DBF"), b = open("P.DBF");
  a.go_top();
  b.go_top();
  ASSERT_TRUE(b.try_lock_record(1));
  b.set_number("IDADE", 77);
  b.commit();
  EXPECT_EQ(a.get_number("IDADE"), Decimal(10));  // a's copy of the record, until it moves
  b.unlock_all();
  ASSERT_TRUE(a.try_lock_record(1));
  EXPECT_EQ(a.get_number("IDADE"), Decimal(77));
  a.unlock_all();

  b.append_blank();
  b.set_text("NOME", "NOVA");
  b.unlock_all();
  EXPECT_EQ(a.record_count(), 2u);
  a.skip();
  EXPECT_EQ(testing::TableTest::text_of(a, "NOME"), "NOVA");
}

TEST_F(TableTest, LockWaitGivesUpOnTimeoutOrCancel) {
  people("P.DBF", {"ANA"}).close();
  Table a = open("P.DBF"), b = open("P.DBF");
  ASSERT_TRUE(a.try_lock_record(1));
  const int64_t start = clock.monotonic_ms();
  EXPECT_FALSE(b.lock_record(1, {.timeout_ms = 2000, .retry_ms = 500}));
  EXPECT_GE(clock.monotonic_ms() - start, 2000);
  int asked = 0;
  EXPECT_FALSE(b.lock_file({.timeout_ms = 0, .retry_ms = 500, .cancel = [&] { return ++asked == 3; }}));
  EXPECT_EQ(asked, 3);
}

TEST_F(TableTest, ExclusiveAppendsAreBatchedAndCountedOnFlush) {
  Table::create(path("B.DBF"), schema_of({"N:N:6"}));
  Table t = open("B.DBF", OpenMode::exclusive);
  for (int i = 1; i <= 1000; ++i) {
    t.append_blank();
    t.set_number("N", i);
  }
  EXPECT_EQ(t.record_count(), 1000u);
  t.flush();
  t.close();
  Table r = open("B.DBF", OpenMode::read_only);
  EXPECT_EQ(r.record_count(), 1000u);
  r.go_bottom();
  EXPECT_EQ(r.get_number("N"), Decimal(1000));
  EXPECT_TRUE(r.check().empty());
}

TEST_F(TableTest, ZapEmptiesAndPackRemovesDeletedRecordsThroughANewFile) {
  Table t = people("P.DBF", {"ANA", "BIA", "CAIO"});
  t.go_to(2);
  t.delete_record();
  t.pack();
  EXPECT_EQ(t.record_count(), 2u);
  EXPECT_EQ(names(t), (std::vector<std::string>{"ANA", "CAIO"}));
  EXPECT_TRUE(t.check().empty());
  t.zap();
  EXPECT_EQ(t.record_count(), 0u);
  EXPECT_TRUE(t.eof());
  t.close();
  EXPECT_EQ(tmp.read("P.DBF").size(), 32u + 2 * 32 + 1 + 1);

  Table shared = open("P.DBF");
  try {
    shared.pack();
    FAIL();
  } catch (const TableError& e) {
    EXPECT_EQ(e.kind(), TableError::Kind::exclusive);
  }
}

}  // namespace
}  // namespace kx::dbf
