// CORRIGE and CORRECAO: the layout upgrades the program runs on its tables by number.
#include <stdexcept>

#include "base/cp850.h"
#include "store/access_files.h"
#include "store/folder.h"
#include "store/layout_upgrade.h"
#include "store/upgrade.h"

namespace kx::store {
namespace {

constexpr int kConfig = 42;
constexpr int kSharedSettings = 43;
constexpr int kPayroll = 63;

}  // namespace

UpgradeOutcome CORRIGE(Access& a, int table) {
  const std::optional<TableEntry> entry = table_entry(table, a.settings.NUSU);
  if (!entry || !layout_marker(table))
    throw std::invalid_argument("CORRIGE: table " + std::to_string(table) + " has no older layout");
  const std::string& folder =
      entry->folder == TableFolder::work ? a.settings.LOCARQ : a.settings.ARQDEF;
  const detail::TableFiles files(in_folder(folder, entry->name), entry->indexes);
  const UpgradeResult result = upgrade_table_file(table, files.data, files.specs, a.clock);
  switch (result.outcome) {
    case UpgradeOutcome::in_use:
      detail::tell_unavailable(a, files.stem);
      break;
    case UpgradeOutcome::refused:
      a.op.message_box({std::string("A tabela "_cp) + files.stem +
                            std::string(".DBF não foi convertida para o novo formato:"_cp),
                        result.problem, std::string("Os dados ficaram como estavam."_cp)});
      break;
    case UpgradeOutcome::upgraded:
      detail::progress(a, std::string("Convertida a tabela "_cp) + files.stem + ".DBF");
      break;
    case UpgradeOutcome::current:
    case UpgradeOutcome::missing:
      break;
  }
  return result.outcome;
}

void CORRECAO(Access& a, int n) {
  switch (n) {
    case 0:
      for (int table : work_folder_upgrades()) CORRIGE(a, table);
      return;
    case 1:
      CORRIGE(a, kConfig);
      return;
    case kSharedSettings:
    case kPayroll:
      CORRIGE(a, n);
      return;
    default:
      throw std::invalid_argument("CORRECAO: no upgrade " + std::to_string(n));
  }
}

void upgrade_work_folder(Access& a, const std::string& /*folder*/) { CORRECAO(a, 0); }

}  // namespace kx::store
