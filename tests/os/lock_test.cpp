#include "os/lock.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <string>

#include "child.h"
#include "os/error.h"
#include "os/file.h"
#include "temp_folder.h"

namespace kx::os {
namespace {

using testing::Child;
using testing::Channel;
using testing::TempFolder;
namespace off = lock_offset;

struct Range {
  int64_t start, length;
  LockKind kind;
};

// Opens the table file anew: an inherited descriptor would share the parent's locks.
File open_table(const std::string& path) { return File::open(path, File::Mode::read_write); }

// A process that holds `held` on `path` until told to let go ('u'), then says so ('U').
Child holder(const std::string& path, Range held) {
  return Child([path, held](const Channel& ch) {
    File f = open_table(path);
    if (!try_lock(f.fd(), held.start, held.length, held.kind)) return 2;
    ch.send('L');
    if (ch.receive() != 'u') return 3;
    unlock(f.fd(), held.start, held.length);
    ch.send('U');
    ch.receive();
    return 0;
  });
}

class Locks : public ::testing::Test {
 protected:
  TempFolder tmp;
  std::string path = tmp.write("IMP0115.DBF", "table");
};

TEST_F(Locks, ConflictsBetweenProcessesFollowTheScheme) {
  const int64_t whole_records = 0;  // from kRecordBase to the end
  struct Case {
    const char* what;
    Range held, wanted;
    bool granted;
  } cases[] = {
      {"shared opens coexist", {off::kOpenMode, 1, LockKind::shared},
       {off::kOpenMode, 1, LockKind::shared}, true},
      {"exclusive open waits for shared", {off::kOpenMode, 1, LockKind::shared},
       {off::kOpenMode, 1, LockKind::exclusive}, false},
      {"shared open waits for exclusive", {off::kOpenMode, 1, LockKind::exclusive},
       {off::kOpenMode, 1, LockKind::shared}, false},
      {"other records are free", {off::record(5), 1, LockKind::exclusive},
       {off::record(6), 1, LockKind::exclusive}, true},
      {"whole table waits for a record", {off::record(5), 1, LockKind::exclusive},
       {off::kRecordBase, whole_records, LockKind::exclusive}, false},
      {"far record waits for whole table", {off::kRecordBase, whole_records, LockKind::exclusive},
       {off::record(5'000'000), 1, LockKind::exclusive}, false},
      {"append does not block update readers", {off::kAppend, 1, LockKind::exclusive},
       {off::kUpdate, 1, LockKind::shared}, true},
  };
  for (const Case& c : cases) {
    File mine = open_table(path);
    ASSERT_TRUE(try_lock(mine.fd(), c.held.start, c.held.length, c.held.kind)) << c.what;
    Range wanted = c.wanted;
    Child other([&](const Channel&) {
      File f = open_table(path);
      return try_lock(f.fd(), wanted.start, wanted.length, wanted.kind) ? 1 : 0;
    });
    EXPECT_EQ(other.wait(), c.granted ? 1 : 0) << c.what;
  }
}

TEST_F(Locks, TwoOpensInOneProcessConflict) {
  File first = open_table(path), second = open_table(path);
  ASSERT_TRUE(try_lock(first.fd(), off::kFile, 1, LockKind::exclusive));
  EXPECT_FALSE(try_lock(second.fd(), off::kFile, 1, LockKind::shared));
  EXPECT_TRUE(try_lock(first.fd(), off::kFile, 1, LockKind::exclusive));  // holder may retake

  // Closing another open of the file leaves the first open's lock in place.
  open_table(path).close();
  EXPECT_FALSE(try_lock(second.fd(), off::kFile, 1, LockKind::shared));

  unlock(first.fd(), off::kFile, 1);
  EXPECT_TRUE(try_lock(second.fd(), off::kFile, 1, LockKind::shared));
}

TEST_F(Locks, LockDiesWithItsProcess) {
  Child owner = holder(path, {off::kFile, 1, LockKind::exclusive});
  ASSERT_EQ(owner.channel().receive(), 'L');
  Child waiter([&](const Channel& ch) {
    File f = open_table(path);
    ch.send('S');
    lock_wait(f.fd(), off::kFile, 1, LockKind::exclusive);
    ch.send('G');
    return 0;
  });
  ASSERT_EQ(waiter.channel().receive(), 'S');
  EXPECT_EQ(waiter.channel().receive(200), 0) << "the waiter got a lock that is held";

  owner.kill();
  EXPECT_EQ(waiter.channel().receive(), 'G');
  EXPECT_EQ(waiter.wait(), 0);
}

TEST_F(Locks, FailuresOtherThanAConflictAreErrors) {
  VirtualClock clock{DateTime{}};
  try {
    try_lock(-1, off::kFile, 1, LockKind::exclusive);
    ADD_FAILURE() << "no error for a closed descriptor";
  } catch (const Error& e) {
    EXPECT_EQ(e.code(), EBADF);
  }
  EXPECT_THROW(lock_with_timeout(-1, off::kFile, 1, LockKind::shared, clock, 1000, 100), Error);
  EXPECT_THROW(unlock(-1, off::kFile, 1), Error);
}

class LockWithTimeout : public Locks {
 protected:
  void SetUp() override { ASSERT_EQ(owner.channel().receive(), 'L'); }
  Child owner = holder(path, {off::record(7), 1, LockKind::exclusive});
  File mine = open_table(path);
};

TEST_F(LockWithTimeout, GivesUpWhenTheTimeIsUsedUp) {
  struct Case {
    int64_t timeout_ms, retry_ms, waited_ms;
  } cases[] = {
      {3000, 250, 3000},
      {100, 250, 100},  // the last wait is cut to what is left
      {40, 0, 40},      // a zero retry still lets time pass
      {-5, 100, 0},     // a timeout already used up: one attempt only
  };
  for (const Case& c : cases) {
    VirtualClock clock{DateTime{}};
    EXPECT_FALSE(lock_with_timeout(mine.fd(), off::record(7), 1, LockKind::exclusive, clock,
                                   c.timeout_ms, c.retry_ms));
    EXPECT_EQ(clock.monotonic_ms(), c.waited_ms) << c.timeout_ms << "/" << c.retry_ms;
  }
}

TEST_F(LockWithTimeout, StopsWhenCancelled) {
  VirtualClock clock{DateTime{}};
  int asked = 0;
  EXPECT_FALSE(lock_with_timeout(mine.fd(), off::record(7), 1, LockKind::shared, clock, 0, 100,
                                 [&] { return ++asked == 3; }));
  EXPECT_EQ(asked, 3);
  EXPECT_EQ(clock.monotonic_ms(), 300);
}

// Virtual time in which the holder lets go during the second wait.
class ReleasingClock : public VirtualClock {
 public:
  explicit ReleasingClock(const Child& owner) : VirtualClock(DateTime{}), owner_(owner) {}
  void sleep_ms(int64_t ms) override {
    VirtualClock::sleep_ms(ms);
    if (++sleeps_ == 2) {
      owner_.channel().send('u');
      released_ = owner_.channel().receive() == 'U';
    }
  }
  bool released_ = false;

 private:
  const Child& owner_;
  int sleeps_ = 0;
};

TEST_F(LockWithTimeout, TakesTheLockOnceItIsReleased) {
  ReleasingClock clock(owner);
  EXPECT_TRUE(lock_with_timeout(mine.fd(), off::record(7), 1, LockKind::exclusive, clock, 5000,
                                500));
  EXPECT_TRUE(clock.released_);
  EXPECT_EQ(clock.monotonic_ms(), 1000);
}

}  // namespace
}  // namespace kx::os
