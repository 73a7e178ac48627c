#include "declaration/taxpayer_screens.h"

#include <map>

#include "base/cp850.h"
#include "base/text.h"
#include "entry/table_rows.h"
#include "store/access.h"
#include "ui/browser.h"
#include "ui/keys.h"
#include "ui/picture.h"

namespace kx::declaration {

namespace {

constexpr int kRegistry = 9;
constexpr int kStatusTable = 66;

dbf::Table& registry(entry::Session& s) { return s.workspace.table(kRegistry); }

}  // namespace

std::map<int, std::string> status_descriptions(entry::Session& s) {
  std::map<int, std::string> out;
  store::Access a = s.access();
  if (!s.workspace.held(kStatusTable) && !store::ABERTURA(a, kStatusTable)) return out;
  dbf::Table& t = s.workspace.table(kStatusTable);
  const dbf::Field& code = t.field("COD");
  const dbf::Field& description = t.field("DESCRICAO");
  t.scan([&](uint32_t, const dbf::RecordView& row) {
    out[static_cast<int>(row.number(code).to_int())] = std::string(row.text(description));
    return true;
  });
  return out;
}

namespace {

std::string text_of(const ui::Value& v) {
  if (const auto* t = std::get_if<std::string>(&v)) return *t;
  return {};
}

// A column that shows the first `width` characters of a text field.
ui::BrowseColumn text_column(entry::TableRows& rows, const char* field, std::string heading,
                             int width) {
  ui::BrowseColumn c;
  c.heading = std::move(heading);
  c.width = width;
  c.value = [&rows, field, width] {
    return ui::Value(text::pad_right(text_of(rows.value(field)), static_cast<std::size_t>(width)));
  };
  return c;
}

ListChoice choice_of(dbf::Table& t) {
  return {std::string(text::trim(t.get_text("CPF"))),
          std::string(text::rtrim(t.get_text("NOMECONTR")))};
}

// The footers of the first columns of the full list, under the columns they sum up.
void draw_footers(entry::Session& s, const ListTotals& t, int row, int left, int right,
                  const std::vector<ui::BrowseColumn>& columns, unsigned char attr) {
  const auto share = [](std::optional<Decimal> d) {
    return d ? ui::transform(*d, "@Z 99.99") : std::string(5, ' ');
  };
  const std::vector<std::string> footers = {
      ui::transform(Decimal(t.rows), "@e 9999") + std::string(" Declaraçöes"_cp),
      share(t.simplified_share()) + "% Simples",
      share(t.complete_share()) + "% Compl",
      ui::transform(Decimal(t.rural), "@e 999"),
      ui::transform(Decimal(t.simplified), "@e 999"),
      "simp. " + ui::transform(Decimal(t.complete), "@e 999") + " comp.",
  };
  s.screen.fill({row - 1, left, row, right}, ui::Cell{' ', attr});
  for (int x = left; x <= right; ++x) s.screen.put(row - 1, x, ui::Cell{0xC4, attr});
  int x = left;
  for (std::size_t c = 0; c < columns.size() && x <= right; ++c) {
    const int w = columns[c].width;
    if (c > 0) s.screen.put(row - 1, x - 1, ui::Cell{0xC1, attr});
    if (c < footers.size())
      s.screen.write(
          row, x, text::pad_right(footers[c], static_cast<std::size_t>(std::min(w, right - x + 1))),
          attr);
    x += w + 1;
  }
}

// The quick search of a typed character: CPF order for a digit, name order otherwise; at the
// end of the table the last row.
void quick_search(entry::TableRows& rows, ui::Browser& browser, unsigned char c) {
  dbf::Table& t = rows.table();
  const int order = t.order();
  t.set_order(c >= '0' && c <= '9' ? 1 : 2);
  const std::string key(1, static_cast<char>(cp850::upper(c)));
  if (!rows.seek(key)) rows.go_bottom();
  const long found = rows.bookmark();
  t.set_order(order);
  browser.position(found, browser.column());
}

struct ListShape {
  ui::Rect area;
  bool footers = false;
  bool name_search = false;  // the two-column list
};

std::optional<ListChoice> run_list(entry::Session& s, ListOrder order, bool rural_only,
                                   bool row_views, const ListShape& shape) {
  dbf::Table& t = registry(s);
  t.set_filter({});
  const ListTotals totals = shape.footers ? list_totals(t) : ListTotals{};
  const long start = t.eof() ? 0 : static_cast<long>(t.recno());
  t.set_order(static_cast<int>(order));
  const std::map<int, std::string> statuses =
      shape.name_search ? std::map<int, std::string>{} : status_descriptions(s);
  dbf::Table::Filter filter;
  if (rural_only) {
    const dbf::Field& rural = t.field("TEMRURAL");
    filter = [&rural](const dbf::RecordView& r) { return r.text(rural) == "S"; };
  }
  std::optional<ListChoice> chosen;
  {
    entry::TableRows rows(t, filter);
    const unsigned char cell = ui::standard_colour(s.colours.COR_CLI_HE);
    const unsigned char selected = s.colours.COR_CLI_HE == s.colours.COR_ESC_CL
                                       ? ui::standard_colour(s.colours.COR_2_CLI)
                                       : ui::standard_colour(s.colours.COR_ESC_CL);
    ui::Rect browse_area = shape.area;
    if (shape.footers) browse_area.bottom -= 2;
    const std::vector<ui::Cell> under = s.screen.save(shape.area);
    ui::Browser browser(s.screen, browse_area, rows, {cell, selected, cell, cell});
    if (shape.name_search) {
      browser.columns = {text_column(rows, "NOMECONTR", "Nome do Contribuinte", 53),
                         rows.column("CPF", "CPF", "@R 999.999.999-99")};
    } else {
      ui::BrowseColumn status;
      status.heading = "Descrição"_cp;
      status.width = 13;
      status.value = [&rows, &statuses] {
        const auto it =
            statuses.find(static_cast<int>(std::get<Decimal>(rows.value("ESTATUS")).to_int()));
        return ui::Value(text::pad_right(it == statuses.end() ? "" : it->second, 13));
      };
      browser.columns = {
          text_column(rows, "NOMECONTR", "Nome do Contribuinte", 21),
          rows.column("CPF", "CPF", "@R 999.999.999-99"),
          status,
          rows.column("TEMRURAL", "MVN", "@!"),
          rows.column("USAPADRAO", "Sim", "@!"),
          rows.column("IMPPGRE", "Impo/Rest.", "@Ez 9999,999.99"),
          rows.column("INDGAS", " % ->", "@z 999.99"),
          rows.column("NRQUOTA", "Qt", "@Z9"),
          rows.column("DFQUOTA", "Quota IR", "@Ez 9999,999.99"),
          rows.column("NRCLEAO", "Qt", "@Z99"),
          rows.column("DFCLEAO", std::string("Carnê Leao"_cp), "@Ez 9999,999.99"),
          rows.column("NRGCAPIT", "Qt", "@Z99"),
          rows.column("DFGCAPIT", "Gan.Capital", "@Ez 9999,999.99"),
          rows.column("NRRVARIV", "Qt", "@Z99"),
          rows.column("DFRVARIV", std::string("R.Variável"_cp), "@Ez 9999,999.99"),
          rows.column("NOMEAG", "Operador", "@!"),
      };
    }
    browser.on_key = [&](int key, ui::Browser& b) {
      switch (key) {
        case ui::key::kEnter:
          if (!b.empty() && rows.go_to(b.row_bookmark())) chosen = choice_of(t);
          return true;
        case ui::key::kEsc:
        case ui::key::kCtrlEnter: return true;
        case ui::key::f(1):
        case ui::key::f(2):
        case ui::key::f(3): {
          const long at = b.row_bookmark();
          t.set_order(key == ui::key::f(1) ? 2 : key == ui::key::f(2) ? 1 : 3);
          if (!b.position(at, b.column())) b.first_row();
          b.refresh();
          return false;
        }
        case ui::key::f(6):
        case ui::key::f(11):
          if (row_views && !b.empty() && rows.go_to(b.row_bookmark())) {
            if (key == ui::key::f(6))
              MOS_DETAL(s);
            else
              MOS_PEND(s);
            b.refresh();
          }
          return false;
        default:
          if (const unsigned char c = ui::key::character(key); c > ' ') {
            quick_search(rows, b, c);
            b.refresh();
          }
          return false;
      }
    };
    if (shape.footers)
      draw_footers(s, totals, shape.area.bottom, shape.area.left, shape.area.right, browser.columns,
                   cell);
    if (start == 0 || !browser.position(start, 0)) browser.first_row();
    browser.run();
    s.screen.restore(shape.area, under);
  }
  s.screen.discard_input();
  t.set_filter({});
  t.set_order(1);
  return chosen;
}

}  // namespace

std::optional<ListChoice> GERAL(entry::Session& s, ListOrder order, bool rural_only,
                                bool row_views) {
  return run_list(s, order, rural_only, row_views, {{3, 1, 16, 78}, true, false});
}

std::optional<ListChoice> BNOME2(entry::Session& s, std::string_view name) {
  dbf::Table& t = registry(s);
  t.set_filter({});
  t.set_order(static_cast<int>(ListOrder::name));
  const std::string wanted = cp850::upper(text::rtrim(name));
  const bool exact = t.seek(wanted, dbf::SeekMode::soft) && t.found();
  std::optional<ListChoice> chosen;
  if (exact) {
    chosen = choice_of(t);
  } else {
    if (t.eof()) t.go_bottom();
    if (t.eof()) {
      t.set_order(1);
      return std::nullopt;
    }
    chosen = run_list(s, ListOrder::name, false, false, {{3, 1, 16, 69}, false, true});
    if (!chosen && !t.eof()) chosen = choice_of(t);
  }
  t.set_order(1);
  return chosen;
}

}  // namespace kx::declaration
