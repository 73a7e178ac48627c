// The verb `calc` of kaprix: the results of one declaration, or every declaration of a work
// folder recomputed and stored.
//
//   calc --folder DIR CPF [--model C|S]   one NAME=VALUE line for each field of the summary and
//                                         then of the registry that the computation sets, then
//                                         the notices; changes nothing
//   calc --folder DIR --all --write       recomputes and stores every declaration, one line per
//                                         taxpayer and a total; a declaration open on a terminal
//                                         is skipped
//
// `args` are the arguments after the verb. Output is UTF-8. Exit status 0 on success, 1 when the
// folder, the CPF or a declaration failed, 2 on a usage error.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "declaration/command_environment.h"

namespace kx::declaration {

int run_calc(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
             const CommandEnvironment& env);
int run_calc(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace kx::declaration
