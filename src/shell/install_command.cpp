// The command-line verbs of installation: kaprix install, kaprix reftab.
#include <cstdlib>
#include <exception>

#include "base/text.h"
#include "os/path.h"
#include "shell/install.h"
#include "store/catalogue.h"
#include "store/reftab.h"

namespace kx::shell {
namespace {

// The program folder the program itself takes: DKAPRIX, or the current folder when it is empty.
std::string program_folder() {
  const char* set = std::getenv("DKAPRIX");
  const std::string folder(set ? text::trim(set) : "");
  return folder.empty() ? "." : folder;
}

void list(std::ostream& out, const char* what, const std::vector<std::string>& names) {
  for (const std::string& name : names) out << what << ' ' << name << '\n';
}

}  // namespace

int run_install(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (args.size() != 1 || args[0].empty()) {
    err << "uso: kaprix install PASTA\n";
    return 2;
  }
  try {
    SystemClock clock;
    const std::string data = data_folder();
    const InstallReport report = install_program_folder(args[0], data, clock);
    list(out, "criada:", report.created);
    list(out, "mantida:", report.kept);
    out << report.created.size() << " tabelas criadas, " << report.kept.size()
        << " mantidas em " << args[0] << '\n';
    for (const std::string& name : report.no_source)
      err << "kaprix install: " << name << " não criada: falta a fonte "
          << os::join_path(data, name.substr(0, name.rfind('.')) + ".csv") << '\n';
    return report.no_source.empty() ? 0 : 1;
  } catch (const std::exception& e) {
    err << "kaprix install: " << e.what() << '\n';
    return 1;
  }
}

int run_reftab(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (args.size() != 3 || args[0] != "import") {
    err << "uso: kaprix reftab import TABELA ARQUIVO.csv\n";
    return 2;
  }
  const std::optional<int> table = store::reference_table_number(args[1]);
  if (!table) {
    err << "kaprix reftab: " << args[1] << " não é uma tabela de referência; são elas:";
    for (int n : store::reference_tables()) err << ' ' << store::table_entry(n, "00")->name;
    err << '\n';
    return 2;
  }
  try {
    SystemClock clock;
    const uint32_t rows = store::import_reference_table(program_folder(), *table, args[2], clock);
    out << store::table_entry(*table, "00")->data_file_name() << ": " << rows
        << " registros importados de " << args[2] << '\n';
    return 0;
  } catch (const std::exception& e) {
    err << "kaprix reftab: " << e.what() << '\n';
    return 1;
  }
}

}  // namespace kx::shell
