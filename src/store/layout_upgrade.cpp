#include "store/layout_upgrade.h"

#include <array>

#include "store/layout.h"

namespace kx::store {
namespace {

constexpr std::array kWorkFolderUpgrades = {1, 2, 7, 9, 13, 14};

struct FieldMarker {
  int table;
  const char* field;
  dbf::FieldType type;
};

constexpr FieldMarker kFieldMarkers[] = {
    {1, "I4_10", dbf::FieldType::numeric},    {2, "NEW2", dbf::FieldType::numeric},
    {7, "NEW", dbf::FieldType::logical},      {9, "I9_6", dbf::FieldType::character},
    {13, "DESCRI", dbf::FieldType::character}, {14, "PREJUIZO", dbf::FieldType::numeric},
    {63, "QTDMES", dbf::FieldType::numeric},
};

// Tables whose current layout is told by its record length (CONFIG, DEFINE).
constexpr int kLengthMarked[] = {42, 43};

}  // namespace

std::span<const int> work_folder_upgrades() { return kWorkFolderUpgrades; }

std::optional<LayoutMarker> layout_marker(int table) {
  for (const FieldMarker& m : kFieldMarkers)
    if (m.table == table) return LayoutMarker{table, m.field, m.type, 0};
  for (int t : kLengthMarked)
    if (t == table) {
      LayoutMarker m;
      m.table = table;
      m.record_length = creation_layout(table)->record_length();
      return m;
    }
  return std::nullopt;
}

bool has_current_layout(int table, const dbf::Schema& found) {
  const auto marker = layout_marker(table);
  if (!marker) return true;
  if (marker->field.empty()) return found.record_length() == marker->record_length;
  const dbf::Field* f = found.find(marker->field);
  return f && f->type == marker->type;
}

}  // namespace kx::store
