// How an existing file tells whether it has the current layout of its table. Files of an older
// layout are rebuilt in the current one, their records carried over by field name.
#pragma once

#include <optional>
#include <span>
#include <string>

#include "dbf/schema.h"

namespace kx::store {

// A file has the current layout of its table when it has `field` with `type`, or, for a marker
// without a field, when its record length is `record_length`.
struct LayoutMarker {
  int table = 0;
  std::string field;
  dbf::FieldType type = dbf::FieldType::character;
  int record_length = 0;
};

// The declaration tables whose older layouts are upgraded when a work folder is taken into use:
// 1, 2, 7, 9, 13 and 14.
std::span<const int> work_folder_upgrades();

// The marker of table `table`; nullopt for a table whose layout never changed.
std::optional<LayoutMarker> layout_marker(int table);

// True when `found`, the layout of an existing file of table `table`, is current (always true
// for a table without a marker).
bool has_current_layout(int table, const dbf::Schema& found);

}  // namespace kx::store
