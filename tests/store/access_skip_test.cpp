#include <gtest/gtest.h>

#include "access_fixture.h"
#include "store/access_skip.h"

namespace kx::store::testing {
namespace {

class SkipTest : public AccessTest {};

TEST_F(SkipTest, WalkingRulesOfTheListScreens) {
  constexpr uint32_t kEnd = 0;  // the blank row after the last record
  struct Case {
    uint32_t from;  // record number (three records), or kEnd
    int64_t wanted;
    bool append_row;
    int64_t moved;
    uint32_t at;
  };
  const Case cases[] = {
      {1, 0, false, 0, 1},      {2, 1, false, 1, 3},      {1, 5, false, 2, 3},
      {1, 5, true, 3, kEnd},    {3, 1, false, 0, 3},      {3, 1, true, 1, kEnd},
      {kEnd, 2, true, 0, kEnd}, {3, -1, false, -1, 2},    {2, -5, false, -1, 1},
      {1, -1, true, 0, 1},      {kEnd, -1, true, -1, 3},  {kEnd, -9, true, -3, 1},
  };
  ASSERT_TRUE(ABERTURA(access, 1, true));
  append_rows(1, {{{"CPF", "11111111111"}}, {{"CPF", "22222222222"}}, {{"CPF", "33333333333"}}});
  dbf::Table& t = ws.table(1);
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "from " << c.from << " wanted " << c.wanted
                                      << " append " << c.append_row);
    if (c.from == kEnd) {
      t.go_bottom();
      t.skip(1);
    } else {
      t.go_to(c.from);
    }
    EXPECT_EQ(SKIPPED(t, c.wanted, c.append_row), c.moved);
    if (c.at == kEnd) {
      EXPECT_TRUE(t.eof());
    } else {
      EXPECT_EQ(t.recno(), c.at);
    }
  }
}

TEST_F(SkipTest, AnEmptyTableNeverMoves) {
  ASSERT_TRUE(ABERTURA(access, 1));
  for (int64_t wanted : {-2, 0, 3})
    for (bool append_row : {false, true})
      EXPECT_EQ(SKIPPED(ws.table(1), wanted, append_row), 0);
}

}  // namespace
}  // namespace kx::store::testing
