#include "declaration/lookup.h"

#include <algorithm>
#include <functional>
#include <stdexcept>

#include "base/cp850.h"
#include "base/text.h"
#include "declaration/lookup_lists.h"
#include "declaration/lookup_run.h"
#include "entry/table_rows.h"
#include "store/access_lock.h"
#include "store/catalogue.h"
#include "store/layout.h"
#include "ui/browser.h"
#include "ui/keys.h"
#include "ui/picture.h"

namespace kx::declaration {
namespace {

bool same(std::string_view a, std::string_view b) { return cp850::upper(a) == cp850::upper(b); }

// Runs its action once: at run(), or when the scope is left without it (an exception); there a
// failure of the action is dropped, so callers whose failure matters call run() themselves.
class OnExit {
 public:
  explicit OnExit(std::function<void()> action) : action_(std::move(action)) {}
  ~OnExit() {
    try {
      run();
    } catch (...) {
    }
  }
  OnExit(const OnExit&) = delete;
  OnExit& operator=(const OnExit&) = delete;
  void run() {
    auto action = std::move(action_);
    action_ = nullptr;
    if (action) action();
  }

 private:
  std::function<void()> action_;
};

// The order of the index of `expr`, added in memory for this open when the table has none.
int order_of(dbf::Table& t, std::string_view expr) {
  const auto indexes = t.info().indexes;
  for (std::size_t i = 0; i < indexes.size(); ++i) {
    if (same(indexes[i].expr, expr)) return static_cast<int>(i) + 1;
  }
  return t.add_temporary_index(expr);
}

// "M->CDPRO" -> "CDPRO".
std::string_view bare(std::string_view field) {
  if (field.size() > 3 && same(field.substr(0, 3), "M->")) field.remove_prefix(3);
  return field;
}

Decimal number_of(const ui::Value& v) {
  if (auto* d = std::get_if<Decimal>(&v)) return *d;
  if (auto* s = std::get_if<std::string>(&v))
    return Decimal::parse(text::trim(*s)).value_or(Decimal{});
  return {};
}

Decimal value_or_zero(const DeclarationValues& values, std::string_view name) {
  const ui::Value* v = values.find(name);
  return v ? number_of(*v) : Decimal{};
}

std::string text_of(const ui::Value& v) {
  if (auto* s = std::get_if<std::string>(&v)) return *s;
  if (auto* d = std::get_if<Decimal>(&v)) return d->str();
  if (auto* dt = std::get_if<Date>(&v)) return dt->dmy();
  return std::get<bool>(v) ? "S" : "N";
}

// The value converted to the type of `field` of `table` and put into its current record.
void put(dbf::Table& table, std::string_view field, const ui::Value& v) {
  const dbf::Field& f = table.field(field);
  switch (f.type) {
    case dbf::FieldType::numeric:
      table.set_number(field, number_of(v));
      break;
    case dbf::FieldType::date:
      if (auto* d = std::get_if<Date>(&v)) table.set_date(field, *d);
      break;
    case dbf::FieldType::logical:
      if (auto* b = std::get_if<bool>(&v)) table.set_logical(field, *b);
      break;
    default:
      table.set_text(field, text_of(v));
      break;
  }
}

// The value as the declaration value `name` holds it (same type), or nullopt.
std::optional<ui::Value> as_value_of(const ui::Value& target, const ui::Value& v) {
  if (target.index() == v.index()) return v;
  if (std::holds_alternative<std::string>(target)) return ui::Value{text_of(v)};
  if (std::holds_alternative<Decimal>(target)) return ui::Value{number_of(v)};
  return std::nullopt;
}

struct Context {
  const LookupRequest& request;
  std::string list_field;  // the field that chose the list (QUALHLP when preset)
  int gain_kind = 0;
  bool state_row = false;  // the chosen row is a state row ("SP - SAO PAULO")
};

bool holds(When w, const Context& c) {
  const bool editing_state = same(c.request.field, "M->UF");
  switch (w) {
    case When::always:
      return true;
    case When::gain_kind_3:
      return c.gain_kind == 3;
    case When::state_field:
      return editing_state;
    case When::state_row:
      return editing_state && c.state_row;
    case When::not_state_row:
      return !(editing_state && c.state_row);
  }
  return true;
}

std::string heading(const ListColumn& col, const Context& c) {
  const bool other = !col.other_heading.empty() && holds(col.heading_when, c);
  return cp850::from_utf8(other ? col.other_heading : col.heading);
}

dbf::Table::Filter list_filter(const ListDef& list, const Context& c) {
  switch (list.filter) {
    case RowFilter::none:
      return {};
    case RowFilter::payer_firms:
      return [](const dbf::RecordView& r) {
        return text::trim(r.text(*r.schema().find("I1_1"))) == "J";
      };
    case RowFilter::gain_kind:
      return [kind = c.gain_kind](const dbf::RecordView& r) {
        return r.number(*r.schema().find("TIPO_BEM")) == Decimal(kind);
      };
    case RowFilter::gain_kinds_1_3:
      return [](const dbf::RecordView& r) {
        return r.number(*r.schema().find("TIPO_BEM")) < Decimal(4);
      };
  }
  return {};
}

// Opens the list's table in its slot; false when it cannot be opened (already told).
bool open_table(store::Access& a, const ListDef& list, int slot) {
  switch (list.source) {
    case ListSource::table:
    case ListSource::folder_list:
      return store::ABERTURA(a, list.table);
    case ListSource::copy:
      return store::ABREARQ(
          a, slot, false,
          a.settings.LOCTRAB + store::working_copy_name(list.table, a.settings.NUSU));
    case ListSource::registry:
      break;
  }
  return false;
}

// A text column of a scroll-width mask ("@S28") shows that many characters.
ui::BrowseColumn scrolled(ui::BrowseColumn col) {
  const int width = ui::Picture::parse(col.picture).scroll_width;
  if (width <= 0) return col;
  col.width = std::max(width, static_cast<int>(col.heading.size()));
  col.value = [value = col.value, width] {
    ui::Value v = value();
    if (auto* t = std::get_if<std::string>(&v))
      t->resize(std::min(t->size(), static_cast<std::size_t>(width)));
    return v;
  };
  return col;
}

// The footer row: texts under their columns, "=" the column's sum over the rows shown.
std::string footer_text(const ListDef& list, const std::vector<ui::BrowseColumn>& cols,
                        entry::TableRows& rows, int width) {
  std::vector<Decimal> sums(cols.size());
  const long back = rows.bookmark();
  for (bool more = rows.go_top(); more; more = rows.skip(1) == 1) {
    for (std::size_t i = 0; i < cols.size(); ++i) {
      if (list.columns[i].footer == "=") sums[i] = sums[i] + number_of(cols[i].value());
    }
  }
  rows.go_to(back);
  std::string line;
  for (std::size_t i = 0; i < cols.size(); ++i) {
    std::string cell = list.columns[i].footer == "="
                           ? ui::format(ui::Picture::parse(cols[i].picture), sums[i])
                           : std::string(list.columns[i].footer);
    line += text::pad_right(cell, static_cast<std::size_t>(cols[i].width));
    line += '\xB3';
  }
  return text::pad_right(line, static_cast<std::size_t>(width))
      .substr(0, static_cast<std::size_t>(width));
}

// The footer separator: "─" with "┴" under every column separator.
std::string footer_rule(const std::vector<ui::BrowseColumn>& cols, int width) {
  std::string line(static_cast<std::size_t>(width), '\xC4');
  std::size_t x = 0;
  for (const auto& c : cols) {
    x += static_cast<std::size_t>(c.width);
    if (x < line.size()) line[x] = '\xC1';
    ++x;
  }
  return line;
}

std::optional<LookupChoice> choose(Lookup& lookup, const ListDef& list,
                                   const LookupRequest& request, Context& c, entry::TableRows& rows,
                                   long record) {
  rows.go_to(record);
  dbf::Table& t = rows.table();
  LookupChoice out;
  out.record = record;
  out.value = request.value;
  if (const dbf::Field* f = t.schema().find("NOMEMUNI")) {
    std::string name(t.record().text(*f));
    c.state_row = name.size() > 3 && name[3] == '-';
  }
  bool field_given = false;
  const std::string_view target = bare(request.field);
  for (const WriteBack& w : list.writes) {
    if (!w.on.empty() && !same(w.on, c.list_field)) continue;
    if (!holds(w.when, c)) continue;
    if (w.skipped_in_option_30 && lookup.session().globals.OPCAO_1 == 30) continue;
    ui::Value v = rows.value(w.source);
    if (w.state_code) v = text_of(v).substr(0, 2);
    switch (w.dest) {
      case Dest::field:
        out.value = v;
        field_given = true;
        break;
      case Dest::value:
        out.values.emplace_back(std::string(w.name), v);
        break;
      case Dest::row:
        out.row.emplace_back(std::string(w.name), v);
        break;
      case Dest::cod:
        out.COD = v;
        lookup.COD = v;
        break;
    }
  }
  if (!field_given) {
    for (const auto* set : {&out.values, &out.row}) {
      for (const auto& [name, v] : *set) {
        if (same(name, target)) {
          out.value = v;
          field_given = true;
        }
      }
    }
  }
  if (!field_given && out.COD) out.value = *out.COD;
  for (const auto& [name, v] : out.values) {
    if (ui::Value* held = lookup.values().find(name)) {
      if (auto converted = as_value_of(*held, v)) lookup.values().set(name, *converted);
    }
  }
  return out;
}

// Writes the choice's row fields into the edited row (appended first on the new-entry row).
void write_row(Lookup& lookup, const LookupRequest& request, LookupChoice& choice) {
  if (choice.row.empty() || request.row_slot == 0) return;
  entry::Session& s = lookup.session();
  if (!s.workspace.held(request.row_slot)) return;
  store::Access a = s.access();
  const int previous = s.workspace.current();
  s.workspace.select(request.row_slot);
  dbf::Table& t = s.workspace.table(request.row_slot);
  const bool locked = request.new_entry ? store::ADD_REC(a) : store::REC_LOCK(a);
  if (locked) {
    if (request.new_entry) {
      for (const auto& [name, v] : request.new_row) put(t, name, v);
    }
    for (const auto& [name, v] : choice.row) put(t, name, v);
    t.commit();
    t.unlock_record(t.recno());
    choice.row_written = true;
  }
  s.workspace.select(previous);
}

}  // namespace

int list_slot(const ListDef& list) {
  return list.source == ListSource::copy ? list.table + store::kFirstWorkingCopy - 1 : list.table;
}

std::optional<LookupChoice> run_list(Lookup& lookup, const ListDef& list,
                                     const LookupRequest& request,
                                     const dbf::Table::Filter& rows_filter) {
  if (lookup.PROG) return std::nullopt;
  lookup.PROG = true;
  OnExit reset{[&] { lookup.PROG = false; }};
  entry::Session& s = lookup.session();
  Context c{request, lookup.TEMHLP ? lookup.QUALHLP : request.field};
  if (list.filter == RowFilter::gain_kind || list.filter == RowFilter::gain_kinds_1_3)
    c.gain_kind = static_cast<int>(number_of(request.value).to_int());
  if (list.needs_gain_sum &&
      (value_or_zero(lookup.values(), "I3_04GCPVC") + value_or_zero(lookup.values(), "I3_04UNICC") +
       value_or_zero(lookup.values(), "I3_04REDUC")) == Decimal{})
    return std::nullopt;

  store::Access a = s.access();
  const int previous = s.workspace.current();
  const int slot = list_slot(list);
  const bool opened_here = s.workspace.held(slot) == nullptr;
  if (opened_here && !open_table(a, list, slot)) {
    s.workspace.select(previous);
    return std::nullopt;
  }
  store::OpenTable& open = *s.workspace.held(slot);
  dbf::Table& t = open.table;
  const int saved_order = t.order();
  const uint32_t saved_record = t.recno();
  int search_order = 0;
  bool searchable = false;
  for (auto f : list.search_fields) searchable = searchable || same(f, c.list_field);
  if (searchable) {
    search_order = list.search_key.empty() ? std::max(list.order, 1) : order_of(t, list.search_key);
    if (search_order > t.index_count()) searchable = false;
  }
  const int display_order = list.order <= t.index_count() ? list.order : 0;
  t.set_order(display_order);
  // Afterwards the table's order returns, a table opened for the list is closed (working copies
  // stay open), and the previous table (or the preset one) becomes current.
  OnExit leave{[&] {
    t.set_order(std::min(saved_order, t.index_count()));
    if (opened_here && !same(std::string_view(open.alias).substr(0, 3), "TMP"))
      s.workspace.close(slot);
    s.workspace.select(lookup.TEMHLP && lookup.CL_AREA > 0 ? lookup.CL_AREA : previous);
  }};

  dbf::Table::Filter filter = list_filter(list, c);
  if (rows_filter) {
    filter = filter ? dbf::Table::Filter([filter, rows_filter](const dbf::RecordView& r) {
      return filter(r) && rows_filter(r);
    })
                    : rows_filter;
  }

  std::optional<LookupChoice> result;
  {
    entry::TableRows rows(t, filter);
    std::vector<ui::BrowseColumn> cols;
    for (const ListColumn& lc : list.columns)
      cols.push_back(scrolled(rows.column(lc.field, heading(lc, c), std::string(lc.picture))));
    const bool footers = std::any_of(list.columns.begin(), list.columns.end(),
                                     [](const ListColumn& lc) { return !lc.footer.empty(); });

    const ui::Rect w = list.window;
    const auto attr = static_cast<unsigned char>(s.colours.COR_HELP);
    const auto selected =
        static_cast<unsigned char>(list.gain_items ? s.colours.COR_TEL2 : s.colours.COR_ESCOL);
    // The frame lies around the list's rectangle.
    const ui::Rect frame{w.top - 1, w.left - 1, w.bottom + 1, w.right + 1};
    const auto saved = s.screen.save(frame);
    OnExit close_window{[&] {
      s.screen.restore(frame, saved);
      s.screen.discard_input();
    }};
    s.screen.fill(frame, ui::Cell{' ', attr});
    for (int x = frame.left; x <= frame.right; ++x) {
      s.screen.put(frame.top, x, ui::Cell{0xCD, attr});
      s.screen.put(frame.bottom, x, ui::Cell{0xCD, attr});
    }
    for (int y = frame.top; y <= frame.bottom; ++y) {
      s.screen.put(y, frame.left, ui::Cell{0xBA, attr});
      s.screen.put(y, frame.right, ui::Cell{0xBA, attr});
    }
    s.screen.put(frame.top, frame.left, ui::Cell{0xC9, attr});
    s.screen.put(frame.top, frame.right, ui::Cell{0xBB, attr});
    s.screen.put(frame.bottom, frame.left, ui::Cell{0xC8, attr});
    s.screen.put(frame.bottom, frame.right, ui::Cell{0xBC, attr});
    ui::Rect area{w.top, w.left, w.bottom - (footers ? 2 : 0), w.right};
    auto draw_footers = [&] {
      if (!footers) return;
      s.screen.write(area.bottom + 1, area.left, footer_rule(cols, area.width()), attr);
      s.screen.write(area.bottom + 2, area.left, footer_text(list, cols, rows, area.width()), attr);
    };

    // The position of a table already open is kept, unless it is at the end.
    if (!opened_here && saved_record <= t.record_count()) rows.go_to(saved_record);
    ui::Browser browser(s.screen, area, rows, {attr, selected, attr, attr});
    browser.columns = cols;
    draw_footers();
    if (browser.empty() && list.source == ListSource::table) {
      s.messages.MENS(0, std::string("Tabela "_cp) + open.alias +
                             std::string(" sem registros: não há o que escolher."_cp));
    }

    int shown_order = display_order;
    browser.on_key = [&](int key, ui::Browser& b) {
      switch (key) {
        case ui::key::kEsc:
        case ui::key::kCtrlEnter:
          return true;
        case ui::key::kEnter:
          if (b.empty() || b.on_blank_row()) return false;
          if (list.gain_items) {
            if (lookup.gain_item) lookup.gain_item(key, b.row_bookmark());
            b.refresh();
            draw_footers();
            return false;
          }
          if (list.choose) result = choose(lookup, list, request, c, rows, b.row_bookmark());
          return true;
        case ui::key::kDel:
        case ui::key::kIns:
          if (list.gain_items && lookup.gain_item && !(key == ui::key::kDel && b.empty())) {
            lookup.gain_item(key, key == ui::key::kIns ? 0 : b.row_bookmark());
            b.refresh();
            draw_footers();
          }
          return false;
        default:
          break;
      }
      const int order_key = key == ui::key::f(1)   ? 2
                            : key == ui::key::f(2) ? 1
                            : key == ui::key::f(3) ? 3
                                                   : 0;
      if (order_key != 0) {
        if (order_key <= t.index_count() &&
            (!searchable || list.search_key.empty() || order_key != search_order)) {
          shown_order = order_key;
          t.set_order(shown_order);
          b.refresh();
        }
        return false;
      }
      if (searchable && key >= ' ' && key < 256) {
        const long here = b.row_bookmark();
        t.set_order(search_order);
        t.seek(std::string(1, static_cast<char>(cp850::upper(static_cast<unsigned char>(key)))),
               dbf::SeekMode::soft);
        const bool found = !t.eof();
        const long at = found ? static_cast<long>(t.recno()) : here;
        t.set_order(shown_order);
        if (!b.position(at, 0)) b.position(here, 0);
      }
      return false;
    };
    browser.run();
  }
  leave.run();

  if (result) {
    for (const ShownField& f : list.shown) {
      auto given = std::find_if(result->values.begin(), result->values.end(),
                                [&](const auto& p) { return same(p.first, f.source); });
      if (given != result->values.end())
        s.screen.write(f.row, f.col, text_of(given->second),
                       static_cast<unsigned char>(s.colours.COR_TEL1));
    }
    write_row(lookup, request, *result);
  }
  return result;
}

bool has_lookup(std::string_view field) { return find_list(field) != nullptr; }

Lookup::Lookup(entry::Session& session, DeclarationValues& values)
    : session_(session), values_(values) {}

std::optional<LookupChoice> Lookup::GERAL(const LookupRequest& request, int mode) {
  if (PROG) return std::nullopt;
  const std::string field = TEMHLP ? QUALHLP : request.field;
  const ListDef* list = mode == 1 ? nullptr : find_list(field);
  if (mode == 1 || (list && list->source == ListSource::registry)) {
    if (!taxpayer_list) return std::nullopt;
    PROG = true;
    OnExit reset{[&] { PROG = false; }};
    return taxpayer_list(request, mode);
  }
  if (!list) return std::nullopt;
  return run_list(*this, *list, request);
}

std::optional<LookupChoice> Lookup::GERAL2(const LookupRequest& request) {
  const bool was = TEMHLP;
  TEMHLP = true;
  OnExit restore{[&] { TEMHLP = was; }};
  return GERAL(request);
}

std::optional<LookupChoice> Lookup::GERAL3(const LookupRequest& request) {
  const std::string was = QUALHLP;
  QUALHLP = "M->ORIGEM";
  OnExit restore{[&] { QUALHLP = was; }};
  return GERAL2(request);
}

}  // namespace kx::declaration
