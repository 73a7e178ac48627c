// The backup reminder shown at start-up from January to April 2015.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "base/date.h"
#include "entry/session.h"

namespace kx::shell {

// The lines of the reminder on `today` for a last backup on `last` (CP850); nullopt when no
// reminder is due: outside January..April 2015, or not more than 3 days since `last`.
std::optional<std::vector<std::string>> backup_reminder(Date today, Date last);

// Shows the reminder when due. Answering "Não" postpones it: ULTBACK becomes today + 4 and is
// stored in the configuration record.
void remind_backup(entry::Session& s);

}  // namespace kx::shell
