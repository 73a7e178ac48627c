#include "store/reorg.h"

#include <algorithm>
#include <string>
#include <vector>

#include "base/cp850.h"
#include "base/text.h"
#include "os/file.h"
#include "os/folder.h"
#include "os/lock.h"
#include "os/path.h"
#include "store/folder.h"
#include "store/layout.h"
#include "store/reorg_table.h"

namespace kx::store {
namespace {

constexpr int kFolderList = 50;
constexpr int kSystemWaitSeconds = 5;

// The system tables REORG packs in the program folder, in this order. Names without a table of
// the catalogue are packed without index files.
constexpr const char* kPackedSystemTables[] = {
    "PRINTS",  "CONFIG",   "DEFINE",  "HELPTXT",  "HELPATXT", "CODBENS", "CODABENS",
    "CODEPEN", "CODDIVI",  "DESPESA", "UFIRM",    "AUXBENS",  "AUXPAG",  "LISERRO",
    "BANCOS",  "CORES",    "CONFIMP", "OCUPACAO", "OCUPACAB", "CODNATUR", "TABPAIS",
    "STATUS",  "TABEMBA",  "TABMUNI", "TABLOGR",  "CONTAS",   "FOLHAPG", "BOLETO",
};

bool packed_by_reorg(std::string_view name) {
  return std::any_of(std::begin(kPackedSystemTables), std::end(kPackedSystemTables),
                     [&](const char* packed) { return text::iequals(packed, name); });
}

// The index files of the program folder's table named `name`; none for a name without a table.
std::vector<IndexFile> program_table_indexes(const Access& a, std::string_view name) {
  for (int n = kDeclarationTables + 1; n <= kLastTable; ++n) {
    auto entry = table_entry(n, a.settings.NUSU);
    if (entry && entry->folder == TableFolder::program && text::iequals(entry->name, name))
      return entry->indexes;
  }
  return {};
}

// Packs the system tables of the list; a missing one is passed over.
bool pack_system_tables(Access& a) {
  bool complete = true;
  for (const char* name : kPackedSystemTables) {
    const auto result = rebuild_table(a, in_folder(a.settings.ARQDEF, name),
                                      program_table_indexes(a, name), kSystemWaitSeconds);
    complete = complete && result != Rebuilt::in_use;
  }
  return complete;
}

// Packs and reindexes the program folder's other indexed tables. The folder list is this
// terminal's own, held open: its index files are rebuilt through that open.
bool rebuild_program_indexes(Access& a) {
  bool complete = true;
  for (int n = kDeclarationTables + 1; n <= kLastTable; ++n) {
    auto entry = table_entry(n, a.settings.NUSU);
    if (!entry || entry->folder != TableFolder::program || entry->indexes.empty() ||
        n == kFolderList || packed_by_reorg(entry->name))
      continue;
    const auto result = rebuild_table(a, in_folder(a.settings.ARQDEF, entry->name),
                                      entry->indexes, kSystemWaitSeconds);
    complete = complete && result != Rebuilt::in_use;
  }
  if (OpenTable* list = a.workspace.held(kFolderList)) list->table.reindex();
  return complete;
}

std::string upper_ascii(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return out;
}

// Whether terminal `nusu` has a declaration left unfinished: its marker ("MARCA" + terminal +
// ".TXT") is in the auxiliary folder and its working copies are the declaration's only data.
bool unfinished_declaration(const std::string& folder, const std::string& nusu) {
  return os::find_nocase(os::join_path(folder, "MARCA" + nusu + ".TXT")).has_value();
}

// Removes the files of the auxiliary folder whose names begin with "tmp_" (the terminals'
// working copies, "TMP_" + table + terminal), except those of a working copy some terminal
// holds open and those of a terminal with an unfinished declaration: each table is claimed with
// the exclusive open lock of the table engine's lock scheme before its files go.
void remove_working_copies(Access& a) {
  const std::string folder = fs_path(a.settings.LOCTRAB);
  if (!VERDIR(a.settings.LOCTRAB)) return;
  const auto entries = os::list_folder(folder, "tmp_*");
  std::vector<os::File> claims;
  std::vector<std::string> held;  // upper-cased stems of working copies in use
  std::vector<std::string> kept_terminals;
  for (const os::FolderEntry& e : entries) {
    if (e.folder || !os::wildcard_match("*.dbf", e.name)) continue;
    const std::string stem = e.name.substr(0, e.name.rfind('.'));
    if (const std::string nusu = stem.size() >= 2 ? stem.substr(stem.size() - 2) : "";
        unfinished_declaration(folder, nusu)) {
      held.push_back(upper_ascii(stem));
      if (std::find(kept_terminals.begin(), kept_terminals.end(), nusu) == kept_terminals.end()) {
        kept_terminals.push_back(nusu);
        a.op.message_box({std::string("Cópias de trabalho do terminal "_cp) + nusu +
                          std::string(" mantidas: há uma declaração não terminada."_cp)});
      }
      continue;
    }
    os::File file = os::File::open(os::join_path(folder, e.name), os::File::Mode::read_write);
    if (os::try_lock(file.fd(), os::lock_offset::kOpenMode, 1, os::LockKind::exclusive)) {
      claims.push_back(std::move(file));
    } else {
      held.push_back(upper_ascii(stem));
      a.op.message_box({in_folder(a.settings.LOCTRAB, cp850::from_utf8(stem)) +
                        std::string(".DBF não está disponível "_cp)});
    }
  }
  for (const os::FolderEntry& e : entries) {
    if (e.folder) continue;
    const std::string name = upper_ascii(e.name);
    const bool in_use = std::any_of(held.begin(), held.end(), [&](const std::string& stem) {
      return name.compare(0, stem.size(), stem) == 0;
    });
    if (!in_use) os::remove_file(os::join_path(folder, e.name));
  }
}

}  // namespace

bool REORG(Access& a, std::string_view folder, ReorgMode mode) {
  if (!VERDIR(folder)) return false;
  bool complete = true;
  if (!os::list_folder(fs_path(text::rtrim(folder)), "*.cdx").empty()) {
    for (int n = 1; n <= kDeclarationTables; ++n) {
      const auto entry = table_entry(n, a.settings.NUSU);
      const auto result = rebuild_table(a, in_folder(text::rtrim(folder), entry->name),
                                        entry->indexes, kOpenWaitSeconds, creation_layout(n));
      complete = complete && result == Rebuilt::done;
    }
  }
  if (mode == ReorgMode::with_system &&
      same_file(fs_path(text::rtrim(folder)), fs_path(a.settings.ARQDEF)))
    complete = pack_system_tables(a) && complete;
  return complete;
}

bool REINDEXA(Access& a) {
  if (!a.op.ask({std::string("Esta opção refará todos arquivos índices (CDX)."_cp),
                 std::string("Todos registros marcados para exclusão serão"_cp),
                 std::string("definitivamente excluidos."_cp),
                 std::string("Operação recomendada a ser feita após uma queda"_cp),
                 std::string("da energia,quando arquivos forem copiados de um"_cp),
                 std::string("equipamento para outro ou após uma nova instalação."_cp),
                 std::string("Se equipamento está na rede fique só em um terminal"_cp)}))
    return false;
  a.settings.MOS_MENS = true;
  // The folder list stays open: closing it would let another copy claim this terminal.
  a.workspace.close_all(kFolderList);
  if (!a.workspace.held(kFolderList) && !ABERTURA(a, kFolderList)) return false;

  remove_working_copies(a);
  rebuild_program_indexes(a);

  std::vector<std::string> folders;
  bool program_folder_listed = false;
  a.workspace.table(kFolderList).scan([&](uint32_t, const dbf::RecordView& row) {
    std::string folder(text::rtrim(row.text(*row.schema().find("DIRETOR"))));
    if (!VERDIR(folder)) return true;
    program_folder_listed =
        program_folder_listed || same_file(fs_path(folder), fs_path(a.settings.ARQDEF));
    folders.push_back(std::move(folder));
    return true;
  });
  if (!program_folder_listed) folders.push_back(a.settings.ARQDEF);
  for (const std::string& folder : folders) REORG(a, folder, ReorgMode::with_system);

  a.settings.MOS_MENS = false;
  const bool ok = ABERTURA(a, 0) && MUDADIR(a, a.settings.LOCARQ);
  a.op.clear_message();
  return ok;
}

}  // namespace kx::store
