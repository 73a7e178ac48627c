// What the batch commands take from outside besides their arguments.
#pragma once

#include <string>

#include "base/clock.h"
#include "tax/input.h"

namespace kx::declaration {

struct CommandEnvironment {
  Clock& clock;                // today, and every wait for a table or a record
  std::string program_folder;  // holds the SELIC register (UFIRM); empty: none
};

// The running program's: the system clock and the program folder of $DKAPRIX.
CommandEnvironment process_environment();

// The computation's context: today and the SELIC register of the program folder (empty when
// the folder or its table is missing, in which case the computation gives its notice).
tax::Context tax_context(const CommandEnvironment& env);

}  // namespace kx::declaration
