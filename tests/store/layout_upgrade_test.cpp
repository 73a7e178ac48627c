#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "store/layout.h"
#include "store/layout_upgrade.h"

namespace kx::store {
namespace {

dbf::Schema without(const dbf::Schema& s, const std::string& field) {
  std::vector<dbf::Field> fields;
  for (const dbf::Field& f : s.fields())
    if (f.name != field) fields.push_back(f);
  return dbf::Schema(std::move(fields));
}

TEST(LayoutUpgrade, EveryWorkFolderTableThatChangedIsUpgraded) {
  const auto tables = work_folder_upgrades();
  EXPECT_EQ(std::vector<int>(tables.begin(), tables.end()), (std::vector<int>{1, 2, 7, 9, 13, 14}));
  for (int t : tables) EXPECT_TRUE(layout_marker(t)) << t;
}

TEST(LayoutUpgrade, CurrentLayoutsPassAndOlderOnesFail) {
  for (int table : {1, 2, 7, 9, 13, 14, 63}) {
    SCOPED_TRACE("table " + std::to_string(table));
    const auto marker = layout_marker(table);
    ASSERT_TRUE(marker);
    const dbf::Schema& current = *creation_layout(table);
    EXPECT_TRUE(has_current_layout(table, current));
    EXPECT_FALSE(has_current_layout(table, without(current, marker->field)));
  }
}

TEST(LayoutUpgrade, MarkerFieldOfAnotherTypeIsAnOlderLayout) {
  const dbf::Schema old({{"CPF", dbf::FieldType::character, 11}, {"NEW", dbf::FieldType::numeric, 1}});
  EXPECT_FALSE(has_current_layout(7, old));
}

TEST(LayoutUpgrade, SettingsTablesAreToldByRecordLength) {
  EXPECT_EQ(layout_marker(42)->record_length, 808);
  EXPECT_EQ(layout_marker(43)->record_length, 336);
  EXPECT_TRUE(has_current_layout(42, *creation_layout(42)));
  EXPECT_FALSE(has_current_layout(42, without(*creation_layout(42), "OPCFIM")));
  EXPECT_FALSE(has_current_layout(43, without(*creation_layout(43), "STATRAVA")));
}

TEST(LayoutUpgrade, TablesWithoutMarkerAreAlwaysCurrent) {
  EXPECT_FALSE(layout_marker(4));
  EXPECT_TRUE(has_current_layout(4, dbf::Schema({{"CPF", dbf::FieldType::character, 11}})));
}

}  // namespace
}  // namespace kx::store
