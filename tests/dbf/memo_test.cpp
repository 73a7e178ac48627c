#include <gtest/gtest.h>

#include <filesystem>

#include "dbf/memo_file.h"
#include "os/file.h"
#include "table_fixture.h"

namespace kx::dbf {
namespace {

using testing::TableTest;

uint32_t be32(const std::string& b, int at) {
  return uint32_t{static_cast<uint8_t>(b[at])} << 24 | uint32_t{static_cast<uint8_t>(b[at + 1])} << 16 |
         uint32_t{static_cast<uint8_t>(b[at + 2])} << 8 | static_cast<uint8_t>(b[at + 3]);
}

class Memo : public TableTest {
 protected:
  void SetUp() override { Table::create(path("M.DBF"), testing::schema_of({"NOME:C:5", "OBS:M"})); }
};

TEST_F(Memo, FptBlocksAreLaidOutAsOtherToolsReadThem) {
  {
    Table t = open("M.DBF", OpenMode::exclusive);
    t.append_blank();
    t.set_memo("OBS", std::string(100, 'a'));  // 8 + 100 bytes: two blocks of 64
    t.commit();
    t.append_blank();
    t.set_memo("OBS", "b");
  }
  const std::string fpt = tmp.read("M.FPT");
  const std::string dbf = tmp.read("M.DBF");
  EXPECT_EQ(be32(fpt, 0), 11u);  // blocks 0..7 header, 8..9 first memo, 10 second
  EXPECT_EQ(fpt[6] << 8 | fpt[7], 64);
  ASSERT_EQ(fpt.size(), 11u * 64);
  EXPECT_EQ(be32(fpt, 8 * 64), 1u);  // text
  EXPECT_EQ(be32(fpt, 8 * 64 + 4), 100u);
  EXPECT_EQ(static_cast<uint8_t>(dbf[0]), 0xF5);
  const std::size_t first = 32 + 2 * 32 + 1;
  EXPECT_EQ(dbf.substr(first + 6, 10), "         8");
  EXPECT_EQ(dbf.substr(first + 16 + 6, 10), "        10");
}

TEST_F(Memo, AChangedMemoGoesToNewBlocksAndPackCompactsTheFile) {
  Table t = open("M.DBF", OpenMode::exclusive);
  t.append_blank();
  for (int i = 0; i < 20; ++i) {
    t.set_memo("OBS", std::string(200, static_cast<char>('a' + i)));
    t.commit();
  }
  t.set_memo("OBS", "");  // a blank memo frees the field
  t.commit();
  EXPECT_EQ(t.get_text("OBS"), std::string(10, ' '));
  t.set_memo("OBS", "final");
  t.commit();
  const auto before = tmp.read("M.FPT").size();
  t.pack();
  EXPECT_LT(tmp.read("M.FPT").size(), before);
  t.go_top();
  EXPECT_EQ(t.get_memo("OBS"), "final");
  EXPECT_TRUE(t.check().empty());
}

TEST_F(Memo, ABadReferenceIsReportedNotReadPastTheFile) {
  {
    Table t = open("M.DBF", OpenMode::exclusive);
    t.append_blank();
    t.set_memo("OBS", "texto");
  }
  const std::size_t field = 32 + 2 * 32 + 1 + 6;
  // Past the file, inside the header, not a number, past 32 bits, signed, with decimals,
  // digits broken by a blank.
  for (const char* ref : {"      9999", "         3", "      abcd", "4294967304", "        -8",
                          "       8.0", "    1   2 "}) {
    {
      os::File f = os::File::open(path("M.DBF"), os::File::Mode::read_write);
      f.pwrite(ref, 10, field);
    }
    Table t = open("M.DBF", OpenMode::read_only);
    try {
      t.get_memo("OBS");
      FAIL() << ref;
    } catch (const TableError& e) {
      EXPECT_EQ(e.kind(), TableError::Kind::damaged) << ref;
    }
    EXPECT_EQ(t.check().size(), 1u) << ref;
  }
}

TEST_F(Memo, BinaryBlockNumbersOfOtherWritersAreReadAndWritten) {
  Table::create(path("V.DBF"), Schema({{"OBS", FieldType::memo, 4}}));
  {
    Table t = open("V.DBF", OpenMode::exclusive);
    t.append_blank();
    t.set_memo("OBS", "vinte");
  }
  EXPECT_EQ(tmp.read("V.DBF").substr(32 + 32 + 1 + 1, 4), std::string("\x08\0\0\0", 4));
  Table t = open("V.DBF", OpenMode::read_only);
  EXPECT_EQ(t.get_memo("OBS"), "vinte");
}

// A dBASE III table with a DBT memo file, written byte by byte.
TEST_F(Memo, DbtTextsAreReadInBothDbaseForms) {
  std::string header(32, '\0');
  header[0] = static_cast<char>(0x83);
  header[4] = 2;                         // records
  header[8] = 32 + 32 + 1;               // header length
  header[10] = 11;                       // record length
  std::string field(32, '\0');
  field.replace(0, 3, "OBS");
  field[11] = 'M';
  field[16] = 10;
  const std::string dbf = header + field + "\x0D" + " " + "         1" + " " + "         2" + "\x1A";
  tmp.write("D.DBF", dbf);
  std::string dbt(3 * 512, '\0');
  dbt[0] = 3;
  dbt.replace(512, 12, "linha um\r\nx\x1A\x1A");
  const std::string iv = std::string("\xFF\xFF\x08\x00", 4) + std::string("\x0E\0\0\0", 4) + "quatro";
  dbt.replace(1024, iv.size(), iv);
  tmp.write("d.dbt", dbt);
  Table t = open("D.DBF", OpenMode::read_only);
  EXPECT_EQ(t.get_memo("OBS"), "linha um\r\nx");
  t.skip();
  EXPECT_EQ(t.get_memo("OBS"), "quatro");
  EXPECT_TRUE(t.check().empty());
}

TEST_F(Memo, AMissingMemoFileIsReported) {
  std::filesystem::remove(path("M.FPT"));
  try {
    open("M.DBF");
    FAIL();
  } catch (const TableError& e) {
    EXPECT_EQ(e.kind(), TableError::Kind::not_found);
  }
}

}  // namespace
}  // namespace kx::dbf
