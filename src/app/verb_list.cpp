// The verb list: the taxpayers of a work folder as CSV.
#include <iostream>

#include "app/verbs.h"
#include "declaration/list_command.h"

namespace kx::app {

int verb_list(const Args& args) { return declaration::run_list(args, std::cout, std::cerr); }

}  // namespace kx::app
