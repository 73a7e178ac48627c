// Several processes on one table file: appends, updates under record locks, index upkeep.
#include <gtest/gtest.h>

#include <cstdio>
#include <set>

#include "../os/child.h"
#include "table_fixture.h"

namespace kx::dbf {
namespace {

using os::testing::Channel;
using os::testing::Child;
using testing::TableTest;

class Processes : public TableTest {
 protected:
  static constexpr int kWriters = 3, kRows = 20;

  // One writer: appends its rows and bumps record 1's IDADE once per row, under its lock.
  int write_rows(const Channel& ch, int w) {
    SystemClock real(std::nullopt);
    Table t = Table::open(path("P.DBF"), {OpenMode::shared}, real);
    t.attach_indexes(specs());
    ch.send('R');
    if (ch.receive() != 'g') return 2;
    for (int i = 0; i < kRows; ++i) {
      if (t.append_blank() == 0) return 3;
      t.set_text("NOME", "W" + std::to_string(w) + "_" + std::to_string(i));
      t.unlock_all();
      t.go_to(1);
      if (!t.lock_record(1, {.timeout_ms = 5000, .retry_ms = 1})) return 4;
      t.set_number("IDADE", t.get_number("IDADE") + 1);
      t.unlock_all();
    }
    return 0;
  }

  std::vector<IndexSpec> specs() const {
    return {{"UPPER(NOME)", path("P.CDX")}, {"STR(IDADE,3)", path("PB.CDX")}};
  }
};

TEST_F(Processes, ConcurrentAppendsAndUpdatesLoseNothing) {
  people("P.DBF", {"BASE"}).close();
  std::vector<std::unique_ptr<Child>> children;
  for (int w = 0; w < kWriters; ++w) {
    children.push_back(std::make_unique<Child>([this, w](const Channel& ch) {
      try {
        return write_rows(ch, w);
      } catch (const std::exception& e) {
        std::fprintf(stderr, "writer %d: %s\n", w, e.what());
        return 1;
      }
    }));
  }
  for (auto& c : children) ASSERT_EQ(c->channel().receive(), 'R');
  for (auto& c : children) c->channel().send('g');
  for (auto& c : children) EXPECT_EQ(c->wait(30000), 0);

  Table t = open("P.DBF");
  t.attach_indexes(specs());
  EXPECT_EQ(t.record_count(), 1u + kWriters * kRows);
  EXPECT_TRUE(t.check().empty());
  std::set<std::string> seen;
  t.set_order(0);
  for (t.go_top(); !t.eof(); t.skip()) seen.insert(text_of(t, "NOME"));
  EXPECT_EQ(seen.size(), 1u + kWriters * kRows);
  t.go_to(1);
  EXPECT_EQ(t.get_number("IDADE"), Decimal(10 + kWriters * kRows));
  t.set_order(1);
  EXPECT_TRUE(t.seek("W2_" + std::to_string(kRows - 1)));
}

}  // namespace
}  // namespace kx::dbf
