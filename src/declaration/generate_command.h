// The verb `generate` of kaprix: a work folder filled with synthetic declarations.
//
//   generate --folder DIR --count N [--seed S]
//
// Creates the folder and the twenty declaration tables with their index files when missing,
// then appends N declarations of new taxpayers (CPFs already in the folder are not reused),
// the same ones for the same seed (default 1) in an empty folder. The tables are held
// exclusively while they are filled. `args` are the arguments after the verb. Exit status 0 on
// success, 1 when the folder cannot be filled, 2 on a usage error.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "declaration/command_environment.h"

namespace kx::declaration {

// Fills `folder` as the verb does; returns the CPFs added. Throws FolderError or
// dbf::TableError.
std::vector<std::string> generate_declarations(const std::string& folder, int count,
                                               uint64_t seed, Clock& clock);

int run_generate(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                 const CommandEnvironment& env);
int run_generate(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace kx::declaration
