// Installing a program folder, and loading an office's reference lists into it.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "base/clock.h"

namespace kx::shell {

// What an installation found, by file name ("DEFINE.DBF"), in the order of the work.
struct InstallReport {
  std::vector<std::string> created;
  std::vector<std::string> kept;       // a table of that name (in any case) was there already
  std::vector<std::string> no_source;  // reference tables whose source the data folder lacks
};

// Makes `folder` (a file-system path, created with its missing levels) a program folder: every
// system table the program keeps there for all terminals (empty, the shared settings with their
// initial record), the reference tables built from their sources in `data_folder`, and the
// twenty declaration tables of its default work folder, the program folder itself, with their
// index files. A table that exists is never touched, so running it again adds only what is
// missing. Throws os::Error for a folder that cannot be made; store::ReftabError for a bad
// source; dbf::TableError for a table that cannot be written.
InstallReport install_program_folder(const std::string& folder, const std::string& data_folder,
                                     Clock& clock);

// The folder of the reference tables' sources: the environment variable KAPRIX_DATA when set
// and not empty, otherwise the one the program was built with.
std::string data_folder();

// kaprix install DIR: prints what it created and what it kept; 0 when the folder is complete,
// 1 when something failed or a reference table had no source, 2 for wrong arguments.
int run_install(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// kaprix reftab import TABLE FILE: replaces the rows of the reference table named TABLE (any
// case) in the program folder (DKAPRIX, or the current folder when it is empty) with those of
// the CSV file FILE, and prints their count. Exit status as run_install.
int run_reftab(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace kx::shell
