#include "declaration/work_folder.h"

#include <filesystem>

#include "base/cp850.h"
#include "base/text.h"
#include "declaration/row_values.h"
#include "store/catalogue.h"

namespace kx::declaration {

namespace {

constexpr int kSummary = 1;
constexpr int kRegistry = 9;
const std::string kTerminal = "01";  // the batch commands use no per-terminal file

std::string cp(const std::string& utf8) { return cp850::from_utf8(utf8); }

dbf::LockWait record_wait() { return {kRecordWaitSeconds * 1000, 250, {}}; }

void set_value(dbf::Table& t, const dbf::Field& f, const FieldValue& v) {
  if (const auto* d = std::get_if<Decimal>(&v)) t.set_number(f.name, *d);
  else if (const auto* i = std::get_if<int>(&v)) t.set_number(f.name, Decimal(*i));
  else if (const auto* s = std::get_if<std::string>(&v)) t.set_text(f.name, *s);
  else if (const auto* dt = std::get_if<Date>(&v)) t.set_date(f.name, *dt);
  else t.set_logical(f.name, std::get<bool>(v));
}

}  // namespace

dbf::Table open_declaration_table(const std::string& folder, int n, dbf::OpenMode mode,
                                  Clock& clock) {
  namespace fs = std::filesystem;
  const auto entry = store::table_entry(n, kTerminal);
  const std::string path = (fs::path(folder) / entry->data_file_name()).string();
  const int64_t deadline = clock.monotonic_ms() + kTableWaitSeconds * 1000;
  std::optional<dbf::Table> t;
  while (!(t = dbf::Table::try_open(path, {mode, false}, clock))) {
    if (clock.monotonic_ms() >= deadline)
      throw dbf::TableError(dbf::TableError::Kind::in_use, path + ": em uso por outro terminal.");
    clock.sleep_ms(500);
  }
  std::vector<dbf::IndexSpec> specs;
  for (const store::IndexFile& index : entry->indexes)
    specs.push_back({index.key, (fs::path(folder) / index.file_name()).string()});
  t->attach_indexes(specs);
  t->set_order(1);
  return std::move(*t);
}

WorkFolder::WorkFolder(const std::string& folder, Use use, Clock& clock)
    : folder_(folder), use_(use), clock_(clock) {
  namespace fs = std::filesystem;
  std::error_code ec;
  if (!fs::is_directory(folder, ec)) throw FolderError(cp("Pasta " + folder + " não encontrada."));
  for (int n = 1; n <= store::kDeclarationTables; ++n) {
    const bool writes = use == Use::write && (n == kSummary || n == kRegistry);
    try {
      tables_[n] = open_declaration_table(
          folder, n, writes ? dbf::OpenMode::shared : dbf::OpenMode::read_only, clock);
    } catch (const dbf::TableError& e) {
      if (e.kind() != dbf::TableError::Kind::not_found) throw;
      if (n == kRegistry)
        throw FolderError(cp("A pasta " + folder + " não tem a tabela de contribuintes " +
                             store::declaration_table_name(n) + ".DBF."));
    }
  }
}

dbf::Table* WorkFolder::table(int n) {
  if (n < 1 || n > store::kDeclarationTables || !tables_[n]) return nullptr;
  return &*tables_[n];
}

std::vector<std::string> WorkFolder::cpfs() {
  dbf::Table& registry = *table(kRegistry);
  registry.set_order(1);
  std::vector<std::string> out;
  for (registry.go_top(); !registry.eof(); registry.skip())
    out.emplace_back(text::rtrim(registry.get_text("CPF")));
  return out;
}

bool WorkFolder::seek_registry(const std::string& cpf) {
  dbf::Table& registry = *table(kRegistry);
  registry.set_order(1);
  return registry.seek(cpf) && text::rtrim(registry.get_text("CPF")) == cpf;
}

FolderRows::FolderRows(WorkFolder& folder, std::string cpf) : folder_(folder), cpf_(std::move(cpf)) {}

FolderRows::~FolderRows() { release(); }

const dbf::Schema* FolderRows::schema(int n) {
  dbf::Table* t = folder_.table(n);
  return t ? &t->schema() : nullptr;
}

void FolderRows::visit(int n, const std::function<void(const dbf::RecordView&)>& visit) {
  dbf::Table* t = folder_.table(n);
  if (!t || cpf_.empty()) return;
  t->set_order(1);
  if (!t->seek(cpf_, dbf::SeekMode::prefix)) return;
  for (; !t->eof() && text::rtrim(t->get_text("CPF")) == cpf_; t->skip()) visit(t->record());
}

uint32_t FolderRows::lock_row(int n) {
  dbf::Table* t = folder_.table(n);
  if (!t || folder_.use() != WorkFolder::Use::write)
    throw StoreError(StoreError::Kind::missing_row, "table " + std::to_string(n) + " not writable");
  t->set_order(1);
  if (!t->seek(cpf_) || text::rtrim(t->get_text("CPF")) != cpf_)
    throw StoreError(StoreError::Kind::missing_row,
                     cp("Contribuinte " + cpf_ + " sem registro em " + t->path() + "."));
  const uint32_t recno = t->recno();
  for (const auto& [table, record] : locked_)
    if (table == n && record == recno) return recno;
  if (!t->lock_record(recno, record_wait()))
    throw StoreError(StoreError::Kind::not_locked,
                     cp("ATENÇÃO! Registro não ficou disponível. Dado não será gravado."));
  locked_.emplace_back(n, recno);
  return recno;
}

std::string FolderRows::hold_registry() {
  lock_row(kRegistry);
  return std::string(text::trim(folder_.table(kRegistry)->get_text("NUSUAT")));
}

void FolderRows::release() {
  for (const auto& [n, recno] : locked_) folder_.table(n)->unlock_record(recno);
  locked_.clear();
}

bool FolderRows::store(const std::vector<RowUpdate>& updates) {
  struct Release {
    FolderRows& rows;
    ~Release() { rows.release(); }
  } release_at_end{*this};

  // Every row locked and every value checked before the first write.
  std::vector<std::string> records;
  std::vector<uint32_t> recnos;
  for (const RowUpdate& u : updates) {
    const uint32_t recno = recnos.emplace_back(lock_row(u.table));
    dbf::Table& t = *folder_.table(u.table);
    t.go_to(recno);
    if (u.table == kRegistry && !text::is_blank(t.get_text("NUSUAT")))
      throw StoreError(StoreError::Kind::declaration_open,
                       cp("Declaração aberta no terminal " +
                          std::string(text::trim(t.get_text("NUSUAT"))) + "."));
    records.push_back(with_values(t.schema(), std::string(t.record().bytes()), u.values));
  }
  bool changed = false;
  for (size_t i = 0; i < updates.size(); ++i) {
    dbf::Table& t = *folder_.table(updates[i].table);
    t.go_to(recnos[i]);
    const std::string current(t.record().bytes());
    for (const NamedValue& v : updates[i].values) {
      const dbf::Field& f = t.field(v.name);
      if (current.compare(f.offset, f.width, records[i], f.offset, f.width) == 0) continue;
      set_value(t, f, v.value);
      changed = true;
    }
    t.commit();
  }
  return changed;
}

}  // namespace kx::declaration
