#include "declaration/working_copies.h"

#include <algorithm>
#include <numeric>

#include "base/cp850.h"
#include "base/text.h"
#include "os/folder.h"
#include "os/path.h"
#include "store/catalogue.h"

namespace kx::declaration {

namespace {

std::string trimmed(const dbf::RecordView& row, std::string_view name) {
  const dbf::Field* f = row.schema().find(name);
  return f ? std::string(text::rtrim(row.text(*f))) : std::string();
}

std::string seek_key(int n, const std::string& cpf, const std::string& country) {
  return by_activity(n) ? text::pad_right(cpf, 11) + country : cpf;
}

bool same_layout(const dbf::Schema& a, const dbf::Schema& b) {
  if (a.fields().size() != b.fields().size()) return false;
  for (size_t i = 0; i < a.fields().size(); ++i) {
    const dbf::Field &x = a.fields()[i], &y = b.fields()[i];
    if (x.name != y.name || x.type != y.type || x.width != y.width || x.decimals != y.decimals)
      return false;
  }
  return true;
}

// `row` put field by field into a blank record of `to` (a layout upgraded meanwhile).
std::string converted(const dbf::Schema& to, const dbf::RecordView& row) {
  std::string out(static_cast<size_t>(to.record_length()), ' ');
  for (const dbf::Field& f : to.fields()) {
    const dbf::Field* from = row.schema().find(f.name);
    if (!from || from->type != f.type) continue;
    switch (f.type) {
      case dbf::FieldType::numeric: dbf::put_number(out, f, row.number(*from)); break;
      case dbf::FieldType::date: dbf::put_date(out, f, row.date(*from)); break;
      case dbf::FieldType::logical: dbf::put_logical(out, f, row.logical(*from)); break;
      default: dbf::put_text(out, f, row.text(*from));
    }
  }
  return out;
}

// The visible rows of `copy` in record order, with their record numbers.
std::vector<std::pair<uint32_t, std::string>> rows_of(dbf::Table& copy) {
  std::vector<std::pair<uint32_t, std::string>> rows;
  copy.scan([&](uint32_t recno, const dbf::RecordView& row) {
    rows.emplace_back(recno, std::string(row.bytes()));
    return true;
  });
  return rows;
}

// The field that orders the rows of table n when they go back, or nullptr.
const char* save_order_field(int n) {
  switch (n) {
    case 2: return "DT_LC";
    case 4: return "I7_0";
    case 5: return "I8_0";
    case 6: return "I6_3";
    default: return nullptr;
  }
}

void remove_nocase(const std::string& path) {
  if (const auto found = os::find_nocase(path)) os::remove_file(*found);
}

}  // namespace

std::vector<int> saved_tables(bool rural) {
  std::vector<int> out = {kRegistryTable, kSummaryTable};
  for (int n = 2; n <= 20; ++n) {
    if (n == kRegistryTable || n == kCashBookTable || (by_activity(n) && !rural)) continue;
    out.push_back(n);
  }
  return out;
}

std::vector<int> copied_tables() { return saved_tables(true); }

bool by_activity(int n) { return n >= 15 && n <= 19; }

std::string copy_stem(const std::string& aux, int n, const std::string& nusu) {
  return os::join_path(aux, store::working_copy_name(n, nusu));
}

std::string copy_index_key(int n) {
  switch (n) {
    case 4: return "str(I7_0)";
    case 5: return "str(I8_0)";
    case 7: return "STRZERO(BEM_NRO,2)+STRZERO(RVAR_NRO,2)+DAY_TRADE";
    case 8: return "STRZERO(BEM_NRO,2)";
    case 10: return "coddesp";
    case 11: return "codERR";
    case 15:
    case 16: return "cpf+ATV_BRASIL";
    case 17: return "I8R_0";
    case 18: return "I9R_0";
    default: return "cpf";
  }
}

bool belongs(int n, const dbf::RecordView& row, const std::string& cpf, const std::string& country) {
  if (trimmed(row, "CPF") != cpf) return false;
  return !by_activity(n) || trimmed(row, "ATV_BRASIL") == country;
}

void build_copy(dbf::Table& source, const std::string& stem, int n, const std::string& cpf,
                const std::string& country) {
  remove_nocase(stem + ".DBF");
  remove_nocase(stem + ".CDX");
  dbf::Table::create(stem + ".DBF", source.schema());
  dbf::Table copy = dbf::Table::open(stem + ".DBF", {dbf::OpenMode::exclusive}, source.clock());
  source.set_order(1);
  if (source.seek(seek_key(n, cpf, country), dbf::SeekMode::prefix)) {
    for (; !source.eof() && belongs(n, source.record(), cpf, country); source.skip())
      copy.append(source.record().bytes());
  }
  copy.close();
}

dbf::Table open_copy(const std::string& stem, int n, Clock& clock) {
  dbf::Table copy = dbf::Table::open(stem + ".DBF", {dbf::OpenMode::exclusive}, clock);
  copy.attach_indexes({{copy_index_key(n), stem + ".CDX"}});
  copy.set_order(1);
  return copy;
}

void remove_copies(const std::string& aux, const std::string& nusu) {
  for (int n = 1; n <= 20; ++n) {
    const std::string stem = copy_stem(aux, n, nusu);
    for (const char* ext : {".DBF", ".CDX", ".FPT"}) remove_nocase(stem + ext);
  }
}

std::optional<std::string> check_copies(const std::string& aux, const std::string& nusu,
                                        const std::string& cpf, Clock& clock) {
  for (int n : copied_tables()) {
    const std::string stem = copy_stem(aux, n, nusu);
    const std::string name = store::working_copy_name(n, nusu) + ".DBF";
    if (!os::find_nocase(stem + ".DBF")) return name + cp850::from_utf8(" não encontrado.");
    std::optional<dbf::Table> copy;
    try {
      copy = dbf::Table::open(stem + ".DBF", {dbf::OpenMode::read_only}, clock);
    } catch (const std::exception&) {
      return name + cp850::from_utf8(" ilegível.");
    }
    uint32_t rows = 0;
    bool foreign = false;
    copy->scan([&](uint32_t, const dbf::RecordView& row) {
      ++rows;
      foreign = trimmed(row, "CPF") != cpf;
      return !foreign;
    });
    if (foreign) return name + cp850::from_utf8(" tem dados de outro contribuinte.");
    if ((n == kRegistryTable || n == kSummaryTable) && rows != 1)
      return name + cp850::from_utf8(" incompleto.");
  }
  return std::nullopt;
}

std::vector<std::string> rows_to_write(dbf::Table& copy, int n, const dbf::Schema& to) {
  auto rows = rows_of(copy);
  if (const char* name = save_order_field(n)) {
    const dbf::Field& f = copy.field(name);
    const dbf::Schema& schema = copy.schema();
    auto key = [&](const std::string& bytes) {
      const dbf::RecordView row(schema, bytes);
      return f.type == dbf::FieldType::date ? Decimal(row.date(f).serial()) : row.number(f);
    };
    std::stable_sort(rows.begin(), rows.end(), [&](const auto& a, const auto& b) {
      return key(a.second) < key(b.second);
    });
  }
  const bool same = same_layout(copy.schema(), to);
  std::vector<std::string> out;
  out.reserve(rows.size());
  for (auto& [recno, bytes] : rows) {
    out.push_back(same ? std::move(bytes) : converted(to, dbf::RecordView(copy.schema(), bytes)));
    out.back()[0] = ' ';
  }
  return out;
}

void prepare_copy(dbf::Table& copy, int n) {
  if (n == 4 || n == 5) {
    const char* name = save_order_field(n);
    auto rows = rows_of(copy);
    const dbf::Field& f = copy.field(name);
    std::stable_sort(rows.begin(), rows.end(), [&](const auto& a, const auto& b) {
      return dbf::RecordView(copy.schema(), a.second).number(f) <
             dbf::RecordView(copy.schema(), b.second).number(f);
    });
    int number = 0;
    for (const auto& [recno, bytes] : rows) {
      ++number;
      copy.go_to(recno);
      copy.set_number(name, Decimal(number * 10 < 9999 ? number * 10 : number));
      copy.commit();
    }
  } else if (n == 7) {
    for (const auto& [recno, bytes] : rows_of(copy)) {
      const dbf::RecordView row(copy.schema(), bytes);
      if (row.number(copy.field("TIPO_BEM")) == Decimal(4)) continue;
      if (!text::is_blank(row.text(copy.field("CPFALIEN")))) continue;
      copy.go_to(recno);
      copy.set_text("CPFALIEN", copy.get_text("CPF"));
      copy.commit();
    }
  }
}

void replace_rows(dbf::Table& shared, int n, const std::string& cpf, const std::string& country,
                  const std::vector<std::string>& rows, const std::function<void()>& step) {
  std::vector<uint32_t> old;
  shared.set_order(1);
  if (shared.seek(seek_key(n, cpf, country), dbf::SeekMode::prefix)) {
    for (; !shared.eof() && belongs(n, shared.record(), cpf, country); shared.skip())
      old.push_back(shared.recno());
  }
  for (uint32_t recno : old) {
    shared.go_to(recno);
    shared.delete_record();
    if (step) step();
  }
  for (const std::string& row : rows) {
    shared.append(row);
    if (step) step();
  }
}

bool write_single_row(dbf::Table& shared, const std::string& cpf, const std::string& row,
                      const dbf::LockWait& wait, std::string_view keep) {
  shared.set_order(1);
  if (!shared.seek(cpf) || text::rtrim(shared.get_text("CPF")) != cpf) {
    if (shared.append(row, wait) == 0) return false;
    shared.unlock_all();
    return true;
  }
  const uint32_t recno = shared.recno();
  if (!shared.file_locked() && !shared.lock_record(recno, wait)) return false;
  const dbf::RecordView view(shared.schema(), row);
  for (const dbf::Field& f : shared.schema().fields()) {
    if (!keep.empty() && text::iequals(f.name, keep)) continue;
    switch (f.type) {
      case dbf::FieldType::numeric: shared.set_number(f.name, view.number(f)); break;
      case dbf::FieldType::date: shared.set_date(f.name, view.date(f)); break;
      case dbf::FieldType::logical: shared.set_logical(f.name, view.logical(f)); break;
      default: shared.set_text(f.name, view.text(f));
    }
  }
  shared.commit();
  if (!shared.file_locked()) shared.unlock_record(recno);
  return true;
}

}  // namespace kx::declaration
