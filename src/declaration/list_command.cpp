#include "declaration/list_command.h"

#include <optional>

#include "base/cp850.h"
#include "base/csv.h"
#include "declaration/taxpayer_list.h"
#include "declaration/work_folder.h"

namespace kx::declaration {

namespace {

constexpr int kRegistry = 9;

const char kUsage[] = "uso: kaprix list --folder PASTA [--order cpf|nome|status]\n";

struct ListArgs {
  std::string folder;
  ListOrder order = ListOrder::cpf;
};

std::optional<ListArgs> parse(const std::vector<std::string>& args, std::ostream& err) {
  ListArgs a;
  for (size_t i = 0; i < args.size(); ++i) {
    const bool has_value = i + 1 < args.size();
    if (args[i] == "--folder" && has_value) {
      a.folder = args[++i];
    } else if (args[i] == "--order" && has_value) {
      const std::optional<ListOrder> order = list_order(args[++i]);
      if (!order) {
        err << "ordem desconhecida: " << args[i] << "\n" << kUsage;
        return std::nullopt;
      }
      a.order = *order;
    } else {
      err << "argumento inesperado: " << args[i] << "\n" << kUsage;
      return std::nullopt;
    }
  }
  if (a.folder.empty()) {
    err << kUsage;
    return std::nullopt;
  }
  return a;
}

}  // namespace

int run_list(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
             const CommandEnvironment& env) {
  const std::optional<ListArgs> a = parse(args, err);
  if (!a) return 2;
  try {
    WorkFolder folder(a->folder, WorkFolder::Use::read, env.clock);
    const std::vector<TaxpayerLine> lines = taxpayer_lines(*folder.table(kRegistry), a->order);
    CsvWriter csv(out);
    csv.write({"cpf", "nome", "status", "a_pagar", "a_restituir"});
    for (const TaxpayerLine& line : lines) {
      const Decimal zero;
      csv.write({line.cpf, cp850::to_utf8(line.name), std::to_string(line.status),
                 (line.balance.negative() ? zero : line.balance).str(2),
                 (line.balance.negative() ? -line.balance : zero).str(2)});
    }
    return 0;
  } catch (const FolderError& e) {
    err << cp850::to_utf8(e.what()) << '\n';
  } catch (const dbf::TableError& e) {
    err << e.what() << '\n';
  }
  return 1;
}

int run_list(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  return run_list(args, out, err, process_environment());
}

}  // namespace kx::declaration
