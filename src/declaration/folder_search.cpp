#include "declaration/folder_search.h"

#include <optional>
#include <vector>

#include "base/text.h"
#include "declaration/work_folder.h"
#include "os/path.h"
#include "store/access.h"
#include "store/folder.h"

namespace kx::declaration {

namespace {

constexpr int kRegistry = 9;
constexpr int kFolderList = 50;

std::vector<std::string> listed_folders(entry::Session& s) {
  store::Access a = s.access();
  std::vector<std::string> out;
  if (!s.workspace.held(kFolderList) && !store::ABERTURA(a, kFolderList)) return out;
  dbf::Table& t = s.workspace.table(kFolderList);
  const dbf::Field& folder = t.field("DIRETOR");
  t.scan([&](uint32_t, const dbf::RecordView& row) {
    const std::string_view f = text::trim(row.text(folder));
    if (!f.empty()) out.emplace_back(f);
    return true;
  });
  return out;
}

// The registry of `folder`, read-only; nullopt when the folder has none.
std::optional<dbf::Table> other_registry(entry::Session& s, const std::string& folder) {
  const std::optional<std::string> found = os::find_nocase(store::fs_path(store::BAR_FORA(folder)));
  if (!found || !os::find_nocase(*found + "/" + store::declaration_table_name(kRegistry) + ".DBF"))
    return std::nullopt;
  try {
    return open_declaration_table(*found, kRegistry, dbf::OpenMode::read_only, s.clock);
  } catch (const dbf::TableError&) {
    return std::nullopt;
  }
}

}  // namespace

bool make_folder_current(entry::Session& s, const std::string& folder) {
  store::Access a = s.access();
  if (!store::MUDADIR(a, folder)) return false;
  s.globals.LOCARQ = store::BAR_DIR(folder);
  s.globals.ROTADOANO = s.globals.ROTA = store::BAR_FORA(folder);
  dbf::Table& registry = s.workspace.table(kRegistry);
  registry.set_order(1);
  if (!text::is_blank(s.globals.CPF)) registry.seek(s.globals.CPF);
  return true;
}

bool BUSCA_OUTRO(entry::Session& s, std::string& value, int order, int mode) {
  const std::string wanted(text::rtrim(value));
  for (const std::string& folder : listed_folders(s)) {
    if (store::same_folder(folder, s.globals.LOCARQ)) continue;
    std::optional<dbf::Table> registry = other_registry(s, folder);
    if (!registry) continue;
    registry->set_order(order == 2 ? 2 : 1);
    const bool hit = order == 2 ? registry->seek(wanted, dbf::SeekMode::soft) && !registry->eof()
                                : registry->seek(wanted);
    if (!hit) continue;
    const std::string cpf(text::trim(registry->get_text("CPF")));
    const std::string name(text::rtrim(registry->get_text("NOMECONTR")));
    registry->close();
    s.globals.CPF = cpf;
    if (!make_folder_current(s, folder)) break;
    value = order == 2 ? name : cpf;
    if (mode == 1) s.globals.NOMECONTR = name;
    return true;
  }
  dbf::Table& current = s.workspace.table(kRegistry);
  current.set_order(1);
  if (mode == 1) s.globals.NOMECONTR.clear();
  return false;
}

}  // namespace kx::declaration
