// Upgrading tables of an older layout to the current one (CORRIGE, CORRECAO).
//
// An upgrade holds the table exclusively from the test of its layout to the end. The current
// layout is built in a scratch file of the table's own beside it, the old rows appended by field
// name (deleted rows are dropped), the table's special rules applied, and the scratch file
// renamed over the table, then the index files rebuilt. A process killed at any instant leaves
// the old table or the new one, whole. The tables upgraded have no memo fields. A value that would
// not carry over unchanged (a number too wide or with more decimals, text cut, a field of
// another type) stops the upgrade before anything is renamed: the old table stays as it was.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/clock.h"
#include "dbf/table.h"
#include "store/access.h"

namespace kx::store {

enum class UpgradeOutcome {
  current,   // the table has the current layout (or no marker): nothing done
  upgraded,  // rebuilt in the current layout with every row
  missing,   // no such table: nothing done (it is created current when first opened)
  in_use,    // another open holds it: nothing done; tried again at the next opportunity
  refused,   // a value does not fit the current layout: the old table left untouched
};

struct UpgradeResult {
  UpgradeOutcome outcome = UpgradeOutcome::current;
  uint32_t rows = 0;     // rows carried over (upgraded)
  std::string problem;   // refused: the first value that does not fit (CP850)
};

// Upgrades the data file `data_file` (a file-system path, found without regard to case) of table
// number `table` when its layout is older than the current one, rebuilding `indexes` afterwards.
UpgradeResult upgrade_table_file(int table, const std::string& data_file,
                                 const std::vector<dbf::IndexSpec>& indexes, Clock& clock);

// CORRIGE: upgrades table `table` of the catalogue in its folder (LOCARQ for declaration tables,
// ARQDEF otherwise). A table in use is told as "X.DBF não está disponível "; a refused upgrade
// is told with the value that does not fit.
UpgradeOutcome CORRIGE(Access& a, int table);

// CORRECAO: n = 0 upgrades every declaration table of LOCARQ that has a layout marker (1, 2, 7,
// 9, 13, 14); n = 1 the configuration table (42); 43 the shared settings (43); 63 FOLHAPG.
// Throws std::invalid_argument for any other n.
void CORRECAO(Access& a, int n);

// The folder hook of the access layer (Access::upgrade_folder): CORRECAO(0) for `folder`, which
// the caller has made LOCARQ.
void upgrade_work_folder(Access& a, const std::string& folder);

}  // namespace kx::store
