// The verb `list` of kaprix: the taxpayers of a work folder as CSV.
//
//   list --folder DIR [--order cpf|nome|status]
//
// One header line, then one line per taxpayer in the order asked (CPF by default): CPF, name,
// status code, tax to pay, tax to receive (amounts with "." before two decimals, the one that
// does not apply is 0.00). UTF-8. Reads only: nothing in the folder is written. Exit status 0 on
// success, 1 when the folder or its registry is missing or unreadable, 2 on a usage error.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "declaration/command_environment.h"

namespace kx::declaration {

int run_list(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
             const CommandEnvironment& env);
int run_list(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace kx::declaration
