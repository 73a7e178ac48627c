// Waiting for tables, records and appends that another process holds.
#include <gtest/gtest.h>

#include "../os/child.h"
#include "access_fixture.h"
#include "os/file.h"
#include "os/folder.h"
#include "os/lock.h"
#include "store/access_lock.h"
#include "store/folder.h"

namespace kx::store::testing {
namespace {

using os::testing::Channel;
using os::testing::Child;

const std::string kRecordBox = cp("ATENÇÃO! Registro não ficou disponível. Dado nÃo será gravado.");
const std::string kFileBox = cp("ATENÇÃO! Registro não ficou disponÍvel. Dado não será gravado.");
const std::string kAppendBox = cp("ATENÇÃO! Registro não ficou disponível. Dado não será gravado.");

// What the other process does with a table until told 'q' (then it lets go and answers 'k').
enum class Hold { exclusive_open, shared_open, record_1, append };

class LockTest : public AccessTest {
 protected:
  // Table 1 of the work folder with two rows, closed.
  void make_table_1() {
    ASSERT_TRUE(ABERTURA(access, 1, true));
    append_rows(1, {{{"CPF", "11111111111"}}, {{"CPF", "22222222222"}}});
    ws.close(1);
  }

  // Starts the other process holding `path` as `hold`; returns once it holds it.
  std::unique_ptr<Child> hold(const std::string& path, Hold what) {
    auto child = std::make_unique<Child>([path, what](const Channel& parent) {
      VirtualClock own{DateTime{}};
      os::File raw;
      std::optional<dbf::Table> t;
      if (what == Hold::append) {
        raw = os::File::open(path, os::File::Mode::read_write);
        if (!os::try_lock(raw.fd(), os::lock_offset::kAppend, 1, os::LockKind::exclusive)) return 2;
      } else {
        t = dbf::Table::open(path, {what == Hold::exclusive_open ? dbf::OpenMode::exclusive
                                                                 : dbf::OpenMode::shared},
                             own);
        if (what == Hold::record_1 && !t->try_lock_record(1)) return 3;
      }
      parent.send('r');
      if (parent.receive() != 'q') return 4;
      if (t) t->close();
      raw = os::File();
      parent.send('k');
      return 0;
    });
    EXPECT_EQ(child->channel().receive(), 'r');
    return child;
  }

  // Tells the other process to let go and waits until it has.
  static void release(Child& child) {
    child.channel().send('q');
    EXPECT_EQ(child.channel().receive(), 'k');
  }
};

TEST_F(LockTest, ATableAnotherProcessHoldsExclusivelyIsNotAvailableAfterTheWait) {
  ASSERT_TRUE(ABERTURA(access, 2));
  ws.close(2);
  auto child = hold(fs_path(work("IMP0215.DBF")), Hold::exclusive_open);
  EXPECT_FALSE(ABERTURA(access, 2));
  EXPECT_GE(clock.monotonic_ms(), 10'000);
  EXPECT_LT(clock.monotonic_ms(), 12'000);
  EXPECT_EQ(op.boxes(), std::vector<std::string>{work("IMP0215") + cp(".DBF não está disponível ")});
  EXPECT_EQ(ws.held(2), nullptr);
  release(*child);
  EXPECT_EQ(child->wait(), 0);
  EXPECT_TRUE(ABERTURA(access, 2));
}

TEST_F(LockTest, AMissingIndexIsNeverBuiltWhileAnotherProcessHasTheTableOpen) {
  make_table_1();
  ASSERT_TRUE(os::remove_file(fs_path(work("IMP0115.CDX"))));
  auto child = hold(fs_path(work("IMP0115.DBF")), Hold::shared_open);
  EXPECT_FALSE(ABERTURA(access, 1));
  EXPECT_FALSE(exists(work("IMP0115.CDX")));
  EXPECT_EQ(op.boxes(), std::vector<std::string>{work("IMP0115") + cp(".DBF não está disponível ")});
  release(*child);
  EXPECT_EQ(child->wait(), 0);
  ASSERT_TRUE(ABERTURA(access, 1));
  EXPECT_TRUE(exists(work("IMP0115.CDX")));
}

TEST_F(LockTest, RecordLockGivesUpAfterItsWaitOrAtEsc) {
  make_table_1();
  auto child = hold(fs_path(work("IMP0115.DBF")), Hold::record_1);
  struct Case {
    std::optional<int> seconds;  // nullopt: the default wait
    bool escape;
    int64_t waited_ms;
  };
  const Case cases[] = {{std::nullopt, false, 2000}, {5, false, 5000}, {std::nullopt, true, 500}};
  ASSERT_TRUE(ABERTURA(access, 1));
  for (const Case& c : cases) {
    op.events.clear();
    op.escape = [&] { return c.escape; };
    const int64_t started = clock.monotonic_ms();
    EXPECT_FALSE(c.seconds ? REC_LOCK(access, *c.seconds) : REC_LOCK(access));
    EXPECT_EQ(clock.monotonic_ms() - started, c.waited_ms);
    EXPECT_EQ(op.events,
              (std::vector<std::string>{
                  cp("message: Aguardando registro ficar disponivel no arquivo IMP0115"), "clear",
                  "box: " + kRecordBox}));
  }
  // Another record is free, and the record once let go.
  op.events.clear();
  ws.table(1).go_to(2);
  EXPECT_TRUE(REC_LOCK(access));
  release(*child);
  EXPECT_EQ(child->wait(), 0);
  ws.table(1).go_to(1);
  EXPECT_TRUE(REC_LOCK(access));
  EXPECT_TRUE(op.events.empty());
}

TEST_F(LockTest, FileLockWithoutLimitWaitsAsLongAsItTakesAndIgnoresEsc) {
  make_table_1();
  auto child = hold(fs_path(work("IMP0115.DBF")), Hold::record_1);
  ASSERT_TRUE(ABERTURA(access, 1));
  // Esc is pressed at every poll; after a hundred polls (50 s) the other process lets go.
  op.escape = [&] {
    if (op.escape_polls == 100) release(*child);
    return true;
  };
  EXPECT_TRUE(FIL_LOCK(access, 0));
  EXPECT_TRUE(ws.table(1).file_locked());
  EXPECT_GE(op.escape_polls, 100);
  EXPECT_GE(clock.monotonic_ms(), 50'000);
  EXPECT_EQ(op.events, (std::vector<std::string>{"waiting: Aguardando arquivo ficar disponivel",
                                                 "clear waiting"}));
  EXPECT_EQ(child->wait(), 0);
}

TEST_F(LockTest, FileLockWithALimitOrWithoutATime) {
  make_table_1();
  auto child = hold(fs_path(work("IMP0115.DBF")), Hold::record_1);
  ASSERT_TRUE(ABERTURA(access, 1));
  EXPECT_FALSE(FIL_LOCK(access, 3));
  EXPECT_EQ(clock.monotonic_ms(), 3000);
  EXPECT_EQ(op.boxes(), std::vector<std::string>{kFileBox});

  op.events.clear();
  op.escape = [] { return true; };
  EXPECT_FALSE(FIL_LOCK(access, 3));
  EXPECT_EQ(clock.monotonic_ms(), 3500);

  op.events.clear();
  EXPECT_FALSE(FIL_LOCK(access));  // no time given: one attempt
  EXPECT_EQ(clock.monotonic_ms(), 3500);
  EXPECT_EQ(op.events, std::vector<std::string>{"box: " + kFileBox});
  release(*child);
  EXPECT_EQ(child->wait(), 0);
}

TEST_F(LockTest, AppendWaitsForTheAppendLock) {
  make_table_1();
  auto child = hold(fs_path(work("IMP0115.DBF")), Hold::append);
  ASSERT_TRUE(ABERTURA(access, 1));
  EXPECT_FALSE(ADD_REC(access));
  EXPECT_EQ(op.events, std::vector<std::string>{"box: " + kAppendBox});
  op.events.clear();
  EXPECT_FALSE(ADD_REC(access, 1));
  EXPECT_EQ(clock.monotonic_ms(), 1000);
  EXPECT_EQ(op.events, (std::vector<std::string>{cp("message: Aguardando registro ficar disponível"),
                                                 "clear", "box: " + kAppendBox}));
  EXPECT_EQ(ws.table(1).record_count(), 2u);

  op.escape = [&] {
    if (op.escape_polls == 3) release(*child);
    return false;
  };
  ASSERT_TRUE(ADD_REC(access, 0));
  dbf::Table& t = ws.table(1);
  EXPECT_EQ(t.recno(), 3u);
  EXPECT_TRUE(t.record_locked(3));
  EXPECT_EQ(t.record_count(), 3u);
  EXPECT_EQ(child->wait(), 0);
}

}  // namespace
}  // namespace kx::store::testing
