// Rebuilding one table file in the current layout of its table.
#include <optional>
#include <stdexcept>

#include "base/cp850.h"
#include "base/text.h"
#include "dbf/transfer.h"
#include "os/folder.h"
#include "os/path.h"
#include "store/layout.h"
#include "store/layout_upgrade.h"
#include "store/upgrade.h"

namespace kx::store {
namespace {

// The paying source whose CNPJ and name changed: its income rows get the new ones.
constexpr std::string_view kOldFundCnpj = "29.979.036/0001-40";
constexpr std::string_view kFundCnpj = "16.727.230/0001-97";
constexpr std::string_view kFundName = "Fundo do Regime Geral de Previdencia Social";
constexpr int kOwnAssetType = 4;  // TIPO_BEM whose blank CPFALIEN stays blank

// `path` without its extension.
std::string stem_of(const std::string& path) {
  const std::string name = os::name_of(path);
  const auto dot = name.rfind('.');
  return dot == std::string::npos ? path : path.substr(0, path.size() - (name.size() - dot));
}

// One attempt to open the table; nullopt when another open holds it in a conflicting mode (also
// when another open keeps this one from finishing an interrupted pack).
std::optional<dbf::Table> try_open(const std::string& path, dbf::OpenMode mode, Clock& clock) {
  try {
    return dbf::Table::try_open(path, {mode}, clock);
  } catch (const dbf::TableError& e) {
    if (e.kind() == dbf::TableError::Kind::in_use) return std::nullopt;
    throw;
  }
}

// The scratch file of one table's upgrade, ".<name>.upgrade.DBF" beside it. Only the holder of
// the table's exclusive open uses it, so what a killed upgrade left is removed when the next one
// starts, and the rename replaces the table in one step.
class Scratch {
 public:
  explicit Scratch(const std::string& table)
      : path_(os::join_path(os::parent_of(table),
                            "." + os::name_of(stem_of(table)) + ".upgrade.DBF")) {
    discard();
  }
  Scratch(const Scratch&) = delete;
  Scratch& operator=(const Scratch&) = delete;
  ~Scratch() { discard(); }

  const std::string& path() const { return path_; }
  void rename_over(const std::string& table) {
    os::rename_file(path_, table);
    path_.clear();
  }

 private:
  void discard() noexcept {
    if (path_.empty()) return;
    try {
      os::remove_file(path_);
    } catch (...) {  // a leftover hidden file harms nobody; the next upgrade removes it
    }
  }

  std::string path_;
};

std::string describe(const dbf::Field& f) {
  std::string text(1, static_cast<char>(f.type));
  text += " " + std::to_string(f.width);
  if (f.type == dbf::FieldType::numeric) text += "," + std::to_string(f.decimals);
  return text;
}

// Whether the value of `from` in `row` reads the same after it is written into `to`.
bool carries_over(const dbf::RecordView& row, const dbf::Field& from, const dbf::Field& to,
                  std::string& record) {
  const std::string_view raw = row.raw(from);
  if (from.type != to.type) return text::is_blank(raw);
  switch (from.type) {
    case dbf::FieldType::character:
      return raw.size() <= static_cast<std::size_t>(to.width) ||
             text::is_blank(raw.substr(to.width));
    case dbf::FieldType::numeric: {
      const Decimal value = row.number(from);
      if (value.round(to.decimals) != value) return false;
      try {
        dbf::put_number(record, to, value);
      } catch (const dbf::FieldOverflow&) {
        return false;
      }
      return true;
    }
    default:  // dates, logicals and memo texts keep their form
      return true;
  }
}

// The first value of `old` that would not carry over unchanged into `layout`, told in the
// operator's words; empty when every value does.
std::string first_misfit(dbf::Table& old, const dbf::Schema& layout) {
  struct Pair {
    const dbf::Field* from;
    const dbf::Field* to;
  };
  std::vector<Pair> pairs;
  for (const dbf::Field& f : old.schema().fields())
    if (const dbf::Field* to = layout.find(f.name)) pairs.push_back({&f, to});
  std::string record(layout.record_length(), ' ');
  std::string problem;
  old.scan([&](uint32_t recno, const dbf::RecordView& row) {
    for (const Pair& p : pairs) {
      if (carries_over(row, *p.from, *p.to, record)) continue;
      problem = "Registro " + std::to_string(recno) + ": o valor do campo " + p.to->name +
                std::string(" não cabe no novo formato ("_cp) + describe(*p.to) + ")";
      return false;
    }
    return true;
  });
  return problem;
}

// The corrections the current layout of tables 2 and 7 brings to the rows carried over.
void apply_row_rules(int table, dbf::Table& t) {
  if (table != 2 && table != 7) return;
  for (t.go_top(); !t.eof(); t.skip()) {
    if (table == 2 && text::trim(t.get_text("I1_3")) == kOldFundCnpj) {
      t.set_text("I1_2", kFundName);
      t.set_text("I1_3", kFundCnpj);
    }
    if (table == 7 && text::is_blank(t.get_text("CPFALIEN")) &&
        t.get_number("TIPO_BEM") != Decimal(kOwnAssetType))
      t.set_text("CPFALIEN", t.get_text("CPF"));
  }
  t.commit();
}

// Builds the index files of the new table. Whoever opens it first, when this process cannot,
// builds them instead: they were removed, and index files are never trusted anyway.
void rebuild_indexes(const std::string& table, const std::vector<dbf::IndexSpec>& indexes,
                     Clock& clock) {
  if (indexes.empty()) return;
  std::optional<dbf::Table> t = try_open(table, dbf::OpenMode::exclusive, clock);
  if (!t) return;
  t->attach_indexes(indexes);
  t->close();
}

}  // namespace

UpgradeResult upgrade_table_file(int table, const std::string& data_file,
                                 const std::vector<dbf::IndexSpec>& indexes, Clock& clock) {
  const std::optional<std::string> found = os::find_nocase(data_file);
  if (!found) return {UpgradeOutcome::missing};
  {
    // A look at the layout that other terminals' shared opens allow.
    std::optional<dbf::Table> look = try_open(*found, dbf::OpenMode::shared, clock);
    if (!look) return {UpgradeOutcome::in_use};
    if (has_current_layout(table, look->schema())) return {UpgradeOutcome::current};
  }
  std::optional<dbf::Table> old = try_open(*found, dbf::OpenMode::exclusive, clock);
  if (!old) return {UpgradeOutcome::in_use};
  if (has_current_layout(table, old->schema())) return {UpgradeOutcome::current};

  const dbf::Schema& layout = *creation_layout(table);
  if (layout.has_memo())
    throw std::logic_error("table " + std::to_string(table) +
                           ": layouts with memo fields are not upgraded");
  UpgradeResult result{UpgradeOutcome::upgraded};
  {
    if (std::string problem = first_misfit(*old, layout); !problem.empty())
      return {UpgradeOutcome::refused, 0, problem};
    Scratch scratch(*found);
    dbf::Table::create(scratch.path(), layout);
    dbf::Table fresh = dbf::Table::open(scratch.path(), {dbf::OpenMode::exclusive}, clock);
    const dbf::TransferResult moved = dbf::append_from(fresh, *old);
    if (moved.overflows > 0)
      return {UpgradeOutcome::refused, 0,
              moved.problems.empty() ? std::string() : moved.problems.front()};
    apply_row_rules(table, fresh);
    fresh.flush();
    fresh.close();
    result.rows = moved.rows;
    scratch.rename_over(*found);
  }
  // The old index files describe the old file: removed while the table is still held.
  for (const dbf::IndexSpec& index : indexes)
    if (auto file = os::find_nocase(index.file)) os::remove_file(*file);
  old->close();
  rebuild_indexes(*found, indexes, clock);
  return result;
}

}  // namespace kx::store
