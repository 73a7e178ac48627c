// The states a process killed at the wrong instant leaves behind, written by hand, and what the
// next open makes of them.
#include <gtest/gtest.h>

#include <filesystem>

#include "os/file.h"
#include "table_fixture.h"

namespace kx::dbf {
namespace {

using testing::TableTest;

class Crash : public TableTest {
 protected:
  // P.DBF with ANA and BIA; header 32 + 2 * 32 + 1, records of 1 + 20 + 3 bytes.
  static constexpr int64_t kHeader = 97, kRecord = 24;
  void SetUp() override { people("P.DBF", {"ANA", "BIA"}).close(); }
  void write_at(int64_t offset, const std::string& bytes) {
    os::File f = os::File::open(path("P.DBF"), os::File::Mode::read_write);
    f.pwrite(bytes.data(), bytes.size(), offset);
  }
  void set_count(uint32_t n) {
    std::string b(4, '\0');
    for (int i = 0; i < 4; ++i) b[i] = static_cast<char>((n >> (8 * i)) & 0xFF);
    write_at(4, b);
  }
  int64_t size() { return static_cast<int64_t>(std::filesystem::file_size(path("P.DBF"))); }
};

TEST_F(Crash, BytesOfAnUncountedAppendAreTrimmedByTheNextWritingOpen) {
  const int64_t end = kHeader + 2 * kRecord;
  const std::string tails[] = {
      std::string(" CAIO") + std::string(16, ' ') + " 30\x1A",  // a whole record and its mark
      std::string(" CA"),                                      // cut in the middle
  };
  for (const std::string& tail : tails) {
    write_at(end, tail);
    {
      Table r = open("P.DBF", OpenMode::read_only);  // reads the counted records, changes nothing
      EXPECT_EQ(r.record_count(), 2u);
      EXPECT_EQ(names(r), (std::vector<std::string>{"ANA", "BIA"}));
      EXPECT_FALSE(r.check().empty());
      EXPECT_EQ(size(), end + static_cast<int64_t>(tail.size()));
    }
    Table t = open("P.DBF");
    ASSERT_EQ(t.repairs().size(), 1u);
    EXPECT_EQ(size(), end + 1);
    EXPECT_TRUE(t.check().empty());
    EXPECT_EQ(names(t), (std::vector<std::string>{"ANA", "BIA"}));
  }
}

TEST_F(Crash, ACountBeyondTheFileIsReportedAndRepairedOnlyWhenAsked) {
  set_count(5);
  for (OpenMode mode : {OpenMode::shared, OpenMode::exclusive, OpenMode::read_only}) {
    try {
      Table::open(path("P.DBF"), {mode}, clock);
      FAIL() << "opened a table shorter than its count";
    } catch (const TableError& e) {
      EXPECT_EQ(e.kind(), TableError::Kind::damaged);
    }
  }
  EXPECT_THROW(Table::open(path("P.DBF"), {OpenMode::read_only, true}, clock), TableError);
  Table t = Table::open(path("P.DBF"), {OpenMode::shared, true}, clock);
  ASSERT_EQ(t.repairs().size(), 1u);
  EXPECT_EQ(t.record_count(), 2u);
  EXPECT_TRUE(t.check().empty());
}

TEST_F(Crash, AnInterruptedPackIsFinishedOrUndoneSoDataAndMemoStayTogether) {
  namespace fs = std::filesystem;
  Table::create(path("M.DBF"), testing::schema_of({"NOME:C:10", "OBS:M"}));
  {
    Table t = open("M.DBF", OpenMode::exclusive);
    for (const char* n : {"ANA", "BIA", "CAIO"}) {
      t.append_blank();
      t.set_text("NOME", n);
      t.set_memo("OBS", std::string("memo de ") + n + std::string(100, '.'));
    }
    t.go_to(1);
    t.delete_record();
  }
  const auto copy = [&](const char* from, const char* to) {
    fs::copy_file(path(from), path(to), fs::copy_options::overwrite_existing);
  };
  copy("M.DBF", "old.dbf");
  copy("M.FPT", "old.fpt");
  open("M.DBF", OpenMode::exclusive).pack();
  copy("M.DBF", "new.dbf");
  copy("M.FPT", "new.fpt");
  auto memos = [&](OpenMode mode) {
    Table t = open("M.DBF", mode);
    std::vector<std::string> out;
    for (t.go_top(); !t.eof(); t.skip()) out.push_back(t.get_memo("OBS").substr(0, 12));
    EXPECT_TRUE(t.check().empty());
    return out;
  };

  // Killed between the two renames: the memo file is new, the data file old.
  copy("old.dbf", "M.DBF");
  copy("new.dbf", "M.DBF.pack");
  EXPECT_THROW(open("M.DBF", OpenMode::read_only), TableError);
  EXPECT_EQ(memos(OpenMode::shared), (std::vector<std::string>{"memo de BIA.", "memo de CAIO"}));
  EXPECT_FALSE(fs::exists(path("M.DBF.pack")));

  // Killed before the renames: both old files are whole; the leftovers go.
  copy("old.dbf", "M.DBF");
  copy("old.fpt", "M.FPT");
  copy("new.dbf", "M.DBF.pack");
  copy("new.fpt", "M.FPT.pack");
  EXPECT_EQ(memos(OpenMode::exclusive),
            (std::vector<std::string>{"memo de BIA.", "memo de CAIO"}));  // record 1 is deleted
  EXPECT_FALSE(fs::exists(path("M.DBF.pack")));
  EXPECT_FALSE(fs::exists(path("M.FPT.pack")));
  Table t = open("M.DBF");
  t.set_deleted_visible(true);
  EXPECT_EQ(t.record_count(), 3u);
}

}  // namespace
}  // namespace kx::dbf
