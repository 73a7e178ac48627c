#include "declaration/write_back.h"

#include <filesystem>

#include "base/cp850.h"
#include "base/text.h"
#include "declaration/work_folder.h"
#include "declaration/working_copies.h"
#include "store/folder.h"
#include "store/layout.h"

namespace kx::declaration::detail {

namespace {

std::string two(int n) { return (n < 10 ? "0" : "") + std::to_string(n); }

}  // namespace

std::string folder_path(const std::string& cp850_folder) {
  return store::fs_path(text::rtrim(cp850_folder));
}
std::string work_folder(const store::Settings& s) { return folder_path(s.LOCARQ); }
std::string aux_folder(const store::Settings& s) { return folder_path(s.LOCTRAB); }

dbf::LockWait lock_wait(store::Access& a, int seconds) {
  return {int64_t{seconds} * 1000, 250, [&a] { return a.op.escape_pressed(); }};
}

std::optional<dbf::Table> open_table(store::Access& a, const std::string& folder, int n,
                                     Wait wait) {
  const std::string file = store::declaration_table_name(n) + ".DBF";
  bool waiting = false;
  for (;;) {
    try {
      dbf::Table t = open_declaration_table(folder, n, dbf::OpenMode::shared, a.clock);
      if (waiting) a.op.clear_waiting();
      return t;
    } catch (const dbf::TableError& e) {
      if (e.kind() == dbf::TableError::Kind::not_found) {
        std::filesystem::create_directories(folder);
        dbf::Table::create((std::filesystem::path(folder) / file).string(),
                           store::declaration_layout(n));
        continue;
      }
      if (e.kind() != dbf::TableError::Kind::in_use) throw;
    }
    if (wait == Wait::ask) {
      if (!a.op.ask({"Outro terminal esta usando o arquivo IMP" + two(n) + "15.DBF",
                     "                Aguarde ?"}))
        return std::nullopt;
    } else {
      if (!waiting) a.op.show_waiting("Aguardando outro Terminal carregar dados...");
      waiting = true;
      if (a.op.escape_pressed()) {
        a.op.clear_waiting();
        return std::nullopt;
      }
    }
  }
}

std::optional<std::string> write_back(store::Access& a, const SaveMarker& m,
                                      const std::function<dbf::Table&(int)>& copy,
                                      const std::function<void()>& step) {
  const std::string folder = folder_path(m.folder);
  const std::string not_saved = cp850::from_utf8(" Os dados não foram salvos.");
  for (int n : saved_tables(m.rural)) {
    a.op.show_message("Salvando IMP" + two(n));
    std::optional<dbf::Table> t = open_table(a, folder, n, Wait::retry);
    if (!t) return "IMP" + two(n) + "15.DBF" + cp850::from_utf8(" em uso.") + not_saved;
    const std::vector<std::string> rows = rows_to_write(copy(n), n, t->schema());
    if (n == kRegistryTable || n == kSummaryTable) {
      if (rows.size() != 1)
        return store::working_copy_name(n, "") + cp850::from_utf8(" incompleto.") + not_saved;
      if (!write_single_row(*t, m.cpf, rows[0], lock_wait(a, kRecordWaitSeconds),
                            n == kRegistryTable ? "NUSUAT" : ""))
        return cp850::from_utf8("Registro não ficou disponível.") + not_saved;
    } else {
      if (!t->lock_file(lock_wait(a)))
        return "IMP" + two(n) + "15.DBF" + cp850::from_utf8(" em uso.") + not_saved;
      replace_rows(*t, n, m.cpf, m.country, rows, step);
      t->unlock_all();
    }
    t->close();
    if (step) step();
  }
  a.op.clear_message();
  return std::nullopt;
}

bool set_nusuat(store::Access& a, const std::string& folder, const std::string& cpf,
                const std::string& terminal, std::optional<std::string> only_from) {
  std::optional<dbf::Table> t = open_table(a, folder, kRegistryTable, Wait::retry);
  if (!t) return false;
  t->set_order(1);
  if (!t->seek(cpf) || text::rtrim(t->get_text("CPF")) != cpf) return true;
  if (only_from && text::trim(t->get_text("NUSUAT")) != *only_from) return true;
  const uint32_t recno = t->recno();
  if (!t->lock_record(recno, lock_wait(a, kRecordWaitSeconds))) return false;
  t->set_text("NUSUAT", terminal);
  t->commit();
  t->unlock_record(recno);
  t->close();
  return true;
}

}  // namespace kx::declaration::detail
