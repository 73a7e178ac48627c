// The marking lists with which the commands that act on several taxpayers let the operator
// choose them (IMPRE "S").
#include <functional>
#include <vector>

#include "base/cp850.h"
#include "base/text.h"
#include "declaration/taxpayer_screens.h"
#include "entry/table_rows.h"
#include "store/access_lock.h"
#include "ui/browser.h"
#include "ui/keys.h"
#include "ui/picture.h"

namespace kx::declaration {

namespace {

constexpr int kRegistry = 9;
constexpr int kImportedTaxpayers = 70;
constexpr int kLockSeconds = 5;

enum class Content { field, name, status, mark };

struct ListColumn {
  const char* heading;  // UTF-8; nullptr: the mark heading of the call
  Content content;
  const char* field;
  const char* mask;
  int width;  // name and status columns
};

struct MarkingListLayout {
  int number;
  const char* title;  // UTF-8; empty: no title
  ui::Rect area;
  int fixed;  // columns that do not pan
  std::vector<ListColumn> columns;
  int table = kRegistry;
  int name_order = 2, cpf_order = 1, status_order = 0;  // 0: the list has no such order
  bool mark_all_needs_quotas = false;  // marks only rows with several quotas or months
  bool footing = false;                // the count of rows with a CPF below the rows
};

const ListColumn kCpf{" CPF ", Content::field, "CPF", "@R 999.999.999-99", 0};
ListColumn name_column(int width) {
  return {" Nome do Contribuinte ", Content::name, "NOMECONTR", "", width};
}
ListColumn amount(const char* heading, const char* field) {
  return {heading, Content::field, field, "@Ez 9999,999.99", 0};
}
ListColumn mark(const char* heading) { return {heading, Content::mark, "IMPRE", "@!", 0}; }

const std::vector<MarkingListLayout>& marking_lists() {
  static const std::vector<MarkingListLayout> lists = {
      {.number = 51, .title = "", .area = {4, 4, 24, 70}, .fixed = 3,
       .columns = {kCpf, name_column(30), {"Status", Content::status, "ESTATUS", "", 12},
                   mark(nullptr)},
       .status_order = 3},
      {.number = 53, .title = "Impressao de varios contribuintes", .area = {10, 4, 22, 70},
       .fixed = 3,
       .columns = {kCpf, name_column(30), {"Status", Content::status, "ESTATUS", "", 13},
                   mark("Selec")}},
      {.number = 54, .title = "Impressao de Darf de varios contribuintes",
       .area = {10, 1, 22, 78}, .fixed = 2,
       .columns = {kCpf, name_column(20), mark("Sel"),
                   {"Deb.A.", Content::field, "DEBITAUT", "@!", 0},
                   {"Qt", Content::field, "NRQUOTA", "@Z9", 0}, amount("Quota IR", "DFQUOTA"),
                   {"Qt", Content::field, "NRCLEAO", "@Z99", 0}, amount("Carnê Leao", "DFCLEAO"),
                   {"Qt", Content::field, "NRGCAPIT", "@Z99", 0},
                   amount("Gan.Capital", "DFGCAPIT"),
                   {"Qt", Content::field, "NRRVARIV", "@Z99", 0},
                   amount("R.Variável", "DFRVARIV")},
       .mark_all_needs_quotas = true},
      {.number = 55, .title = "Selecao para Impressao de boletos", .area = {10, 4, 22, 70},
       .fixed = 2,
       .columns = {kCpf, name_column(30),
                   {"Valor ", Content::field, "VALOREC", "@EZ 999,999.99", 0}, mark("Selec")}},
      {.number = 56,
       .title = "Selecao para a importacao -  Alt + Marca todos / Alt - Desmarca",
       .area = {4, 4, 22, 70}, .fixed = 3,
       .columns = {kCpf, name_column(30), {"Origem", Content::field, "ORIGEM", "@s12", 0},
                   mark("Conve")},
       .table = kImportedTaxpayers, .name_order = 1, .cpf_order = 2, .footing = true},
  };
  return lists;
}

const MarkingListLayout& layout_of(int list) {
  for (const MarkingListLayout& layout : marking_lists()) {
    if (layout.number == list) return layout;
  }
  throw std::invalid_argument("no marking list " + std::to_string(list));
}

// Sets IMPRE on every row (that `wanted` accepts) of the table in `slot` under the table's lock.
void mark_all(entry::Session& s, int slot, const std::string& mark,
              const std::function<bool()>& wanted) {
  store::Access a = s.access();
  s.workspace.select(slot);
  if (!store::FIL_LOCK(a, kLockSeconds)) return;
  dbf::Table& t = s.workspace.table(slot);
  for (t.go_top(); !t.eof(); t.skip()) {
    if (wanted && !wanted()) continue;
    t.set_text("IMPRE", mark);
    t.commit();
  }
  t.unlock_file();
}

int rows_with_cpf(dbf::Table& t) {
  const dbf::Field& cpf = t.field("CPF");
  int n = 0;
  t.scan([&](uint32_t, const dbf::RecordView& row) {
    n += !text::is_blank(row.text(cpf));
    return true;
  });
  return n;
}

bool has_several_slips(const dbf::Table& t) {
  for (const char* field : {"NRQUOTA", "NRCLEAO", "NRGCAPIT", "NRRVARIV"}) {
    if (t.get_number(field) > Decimal(1)) return true;
  }
  return false;
}

}  // namespace

void marking_list(entry::Session& s, int list, std::string_view mark_heading) {
  const MarkingListLayout& layout = layout_of(list);
  dbf::Table& t = s.workspace.table(layout.table);
  t.set_filter({});
  const int order = t.order();
  const std::map<int, std::string> statuses = status_descriptions(s);
  std::optional<std::reference_wrapper<ui::LDialog>> dialog;
  if (*layout.title)
    dialog = s.frame.LDLGSHOW(layout.area.top, layout.area.left, layout.area.bottom,
                              layout.area.right, cp850::from_utf8(layout.title));
  const std::vector<ui::Cell> under = s.screen.save(layout.area);
  const std::string help =
      "[F1 Ordem Nome][F2 Ordem CPF][F3 Ordem Status][Marque com S nos nomes][Esc termina]"
      "[Alt+ Marca todos][ALT- Desmarca]";
  s.screen.write(24, 0, text::pad_right(help, 80).substr(0, 80),
                 ui::standard_colour(s.colours.COR_SAY));
  {
    entry::TableRows rows(t);
    const unsigned char cell = ui::standard_colour(s.colours.COR_CLI_HE);
    ui::Rect browse_area = layout.area;
    if (layout.footing) {
      browse_area.bottom -= 1;
      s.screen.write(layout.area.bottom, layout.area.left,
                     cp850::from_utf8("Nro. de Declarações. ") +
                         ui::transform(Decimal(rows_with_cpf(t)), "@e 9999"),
                     cell);
    }
    ui::Browser browser(s.screen, browse_area, rows,
                        {cell, ui::standard_colour(s.colours.COR_ESC_CL), cell, cell});
    int mark_column = 0;
    for (const ListColumn& c : layout.columns) {
      const std::string heading =
          c.heading ? cp850::from_utf8(c.heading) : std::string(mark_heading);
      if (c.content == Content::mark) mark_column = static_cast<int>(browser.columns.size());
      if (c.content == Content::field || c.content == Content::mark) {
        browser.columns.push_back(rows.column(c.field, heading, c.mask));
        continue;
      }
      ui::BrowseColumn column;
      column.heading = heading;
      column.width = c.width;
      const std::size_t width = static_cast<std::size_t>(c.width);
      if (c.content == Content::name) {
        column.value = [&rows, width] {
          return ui::Value(text::pad_right(std::get<std::string>(rows.value("NOMECONTR")), width));
        };
      } else {
        column.value = [&rows, &statuses, width] {
          const auto it =
              statuses.find(static_cast<int>(std::get<Decimal>(rows.value("ESTATUS")).to_int()));
          return ui::Value(text::pad_right(it == statuses.end() ? "" : it->second, width));
        };
      }
      browser.columns.push_back(std::move(column));
    }
    browser.frozen = layout.fixed;
    browser.on_key = [&](int key, ui::Browser& b) {
      if (key == ui::key::kEsc) return true;
      if (key == ui::key::f(1) || key == ui::key::f(2) ||
          (key == ui::key::f(3) && layout.status_order)) {
        const long at = b.row_bookmark();
        t.set_order(key == ui::key::f(1)   ? layout.name_order
                    : key == ui::key::f(2) ? layout.cpf_order
                                           : layout.status_order);
        if (!b.position(at, b.column())) b.first_row();
        b.refresh();
      } else if (key == kAltEquals || key == kAltPadPlus || key == kAltMinus ||
                 key == kAltPadMinus) {
        const bool marking = key == kAltEquals || key == kAltPadPlus;
        std::function<bool()> wanted;
        if (marking && layout.mark_all_needs_quotas) wanted = [&t] { return has_several_slips(t); };
        mark_all(s, layout.table, marking ? "S" : "N", wanted);
        b.first_row();
        b.refresh();
      } else if (const unsigned char c = cp850::upper(ui::key::character(key));
                 (c == 'S' || c == 'N') && b.column() == mark_column && !b.empty() &&
                 rows.go_to(b.row_bookmark())) {
        store::Access a = s.access();
        s.workspace.select(layout.table);
        if (store::REC_LOCK(a, kLockSeconds)) {
          t.set_text("IMPRE", std::string(1, static_cast<char>(c)));
          t.commit();
          t.unlock_record(t.recno());
        }
        b.down();
        b.refresh();
      }
      return false;
    };
    browser.first_row();
    browser.run();
  }
  s.screen.restore(layout.area, under);
  if (dialog) dialog->get().close();
  t.set_order(order);
}

}  // namespace kx::declaration
