#include "entry/table_rows.h"

#include <algorithm>
#include <limits>

#include "store/access_skip.h"
#include "ui/picture.h"

namespace kx::entry {
namespace {

// The template of a numeric field's own shape: "9999999.99" for N(10,2).
std::string number_template(const dbf::Field& f) {
  if (f.decimals <= 0) return std::string(static_cast<std::size_t>(f.width), '9');
  const int whole = std::max(f.width - f.decimals - 1, 1);
  return std::string(static_cast<std::size_t>(whole), '9') + "." +
         std::string(static_cast<std::size_t>(f.decimals), '9');
}

// Columns a value of `f` takes when shown through `p`.
std::size_t shown_width(const ui::Picture& p, const dbf::Field& f) {
  switch (f.type) {
    case dbf::FieldType::numeric: return ui::format(p, Decimal{}).size();
    case dbf::FieldType::date: return ui::format(p, Date{}).size();
    case dbf::FieldType::logical: return 1;
    case dbf::FieldType::character:
      return ui::format(p, std::string(static_cast<std::size_t>(f.width), ' ')).size();
    case dbf::FieldType::memo: break;
  }
  return static_cast<std::size_t>(f.width);
}

}  // namespace

TableRows::TableRows(dbf::Table& table, dbf::Table::Filter filter)
    : table_(table), filter_(std::move(filter)) {
  table_.set_filter(filter_);
}

// The filter may refer to things that end with the rows: the table must not keep it.
TableRows::~TableRows() { table_.set_filter({}); }

bool TableRows::go_top() {
  table_.go_top();
  return !table_.eof();
}

bool TableRows::go_bottom() {
  table_.go_bottom();
  return !table_.eof();
}

long TableRows::skip(long n) { return static_cast<long>(store::SKIPPED(table_, n, false)); }

long TableRows::bookmark() const { return static_cast<long>(table_.recno()); }

bool TableRows::go_to(long bookmark) {
  if (bookmark < 1 || bookmark > std::numeric_limits<uint32_t>::max()) return false;
  table_.go_to(static_cast<uint32_t>(bookmark));
  return !table_.eof() && !table_.deleted() && (!filter_ || filter_(table_.record()));
}

bool TableRows::seek(std::string_view key) {
  table_.seek(key, dbf::SeekMode::soft);
  return !table_.eof();
}

ui::Value TableRows::value(dbf::FieldRef ref) const {
  const dbf::Field& f = table_.field(ref);
  switch (f.type) {
    case dbf::FieldType::numeric: return table_.get_number(ref);
    case dbf::FieldType::date: return table_.get_date(ref);
    case dbf::FieldType::logical: return table_.get_logical(ref);
    case dbf::FieldType::memo: return table_.get_memo(ref);
    case dbf::FieldType::character: break;
  }
  return table_.get_text(ref);
}

ui::BrowseColumn TableRows::column(dbf::FieldRef ref, std::string heading, std::string picture) {
  const dbf::Field& f = table_.field(ref);
  const int position = table_.schema().index_of(f.name);
  ui::Picture p = ui::Picture::parse(picture);
  if (f.type == dbf::FieldType::numeric && p.tmpl.empty()) {
    if (!picture.empty() && picture.back() != ' ') picture += ' ';
    picture += number_template(f);
    p = ui::Picture::parse(picture);
  }
  ui::BrowseColumn c;
  c.width = static_cast<int>(std::max(shown_width(p, f), heading.size()));
  c.heading = std::move(heading);
  c.picture = std::move(picture);
  c.value = [this, position] { return value(position); };
  return c;
}

}  // namespace kx::entry
