// The batch verbs whose work lives in the subsystems: calc, generate, install, reftab.
#include <iostream>

#include "app/verbs.h"
#include "declaration/calc_command.h"
#include "declaration/generate_command.h"
#include "shell/install.h"

namespace kx::app {

int verb_calc(const Args& args) { return declaration::run_calc(args, std::cout, std::cerr); }
int verb_generate(const Args& args) {
  return declaration::run_generate(args, std::cout, std::cerr);
}
int verb_install(const Args& args) { return shell::run_install(args, std::cout, std::cerr); }
int verb_reftab(const Args& args) { return shell::run_reftab(args, std::cout, std::cerr); }

}  // namespace kx::app
