// The lookup lists as data: for every field that has one, the table it shows, its columns, window,
// order, search and what Enter writes back. One row per list; the fields that open it share it.
#pragma once

#include <span>
#include <string_view>

#include "ui/grid.h"

namespace kx::declaration {

enum class ListSource {
  table,        // a table of the catalogue opened in its own slot (reference tables, 41..75)
  copy,         // the working copy of declaration table `table` (slot table + 20)
  folder_list,  // the terminal's folder list (slot 50)
  registry,     // the taxpayer lists: the caller's taxpayer-list hook
};

// Rows a list shows besides its order.
enum class RowFilter {
  none,
  payer_firms,     // income rows of legal entities: I1_1 "J"
  gain_kind,       // capital-gain rows of the current TIPO_BEM
  gain_kinds_1_3,  // capital-gain rows with TIPO_BEM below 4
};

// When a column heading or a write-back applies.
enum class When {
  always,
  gain_kind_3,    // TIPO_BEM is 3 (company shares)
  state_field,    // the field being edited is the state, "M->UF"
  state_row,      // the state is edited and the chosen row is a state row ("SP - SAO PAULO")
  not_state_row,  // otherwise
};

struct ListColumn {
  std::string_view heading;
  std::string_view field;
  std::string_view picture;
  std::string_view other_heading = {};  // shown instead when `heading_when` holds
  When heading_when = When::always;
  std::string_view footer = {};  // a footer text; "=" sums the column
};

enum class Dest {
  field,  // the value the edited field gets
  value,  // a value of the open declaration (also returned with the choice)
  row,    // a field of the row being edited in the caller's working copy
  cod,    // COD
};

struct WriteBack {
  std::string_view on;  // the edited field this applies to; empty: every field of the list
  Dest dest;
  std::string_view name;    // value or row field; empty for Dest::field and Dest::cod
  std::string_view source;  // field of the list's table
  When when = When::always;
  // Only the first two characters of the source (the state of a state row "SP - SAO PAULO").
  bool state_code = false;
  bool skipped_in_option_30 = false;  // not done while main-menu command 30 runs
};

// Text written on the form after a choice: the source field at (row, col).
struct ShownField {
  std::string_view source;
  int row, col;
};

inline constexpr ui::Rect kDefaultWindow{8, 6, 21, 70};

struct ListDef {
  std::span<const std::string_view> fields;  // the edited fields that open this list
  ListSource source;
  int table = 0;                     // catalogue number, or the declaration table of a working copy
  int order = 1;                     // index order shown (0: record order)
  ui::Rect window = kDefaultWindow;  // the rows and headings; the frame lies around it
  std::span<const ListColumn> columns;
  std::span<const WriteBack> writes;
  std::span<const ShownField> shown = {};
  RowFilter filter = RowFilter::none;
  // Typed characters search the list (soft seek of the upper-cased character), for these
  // edited fields only.
  std::span<const std::string_view> search_fields = {};
  // Expression of the order searched, kept in memory when the table has no index of it.
  std::string_view search_key = {};
  bool gain_items = false;      // Del, Ins and Enter go to the capital-gain item editor
  bool needs_gain_sum = false;  // opened only when I3_04GCPVC + I3_04UNICC + I3_04REDUC != 0
  bool choose = true;           // false: Enter only closes the list
};

// The list opened for `field` (any case, "M->" prefix as the entry engine names memory
// variables); nullptr for a field without one.
const ListDef* find_list(std::string_view field);

// Every list, for the tests and the documentation of keys.
std::span<const ListDef> all_lists();

}  // namespace kx::declaration
