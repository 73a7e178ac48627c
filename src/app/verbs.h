// The verbs of the kaprix command line. Each takes the arguments after the verb (UTF-8) and
// returns the exit status.
#pragma once

#include <string>
#include <vector>

namespace kx::app {

using Args = std::vector<std::string>;

// kaprix [NN]: the interactive program under terminal NN
int verb_start(const Args& args);
int verb_help(const Args& args);
int verb_version(const Args& args);
// kaprix id cpf|cnpj|nit NUMBER...
int verb_id(const Args& args);
// kaprix mask MASK VALUE
int verb_mask(const Args& args);
// kaprix calc --folder DIR CPF [--model C|S] | calc --folder DIR --all --write
int verb_calc(const Args& args);
// kaprix generate --folder DIR --count N [--seed S]
int verb_generate(const Args& args);
// kaprix install DIR
int verb_install(const Args& args);
// kaprix reftab import TABLE FILE
int verb_reftab(const Args& args);
// kaprix list --folder DIR [--order cpf|nome|status]
int verb_list(const Args& args);

}  // namespace kx::app
