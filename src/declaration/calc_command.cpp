#include "declaration/calc_command.h"

#include <optional>

#include "base/cp850.h"
#include "base/text.h"
#include "declaration/row_values.h"
#include "declaration/tax_adapter.h"
#include "declaration/work_folder.h"
#include "store/layout.h"
#include "tax/compute.h"
#include "ui/identifiers.h"

namespace kx::declaration {

namespace {

constexpr int kSummary = 1, kRegistry = 9;

struct CalcArgs {
  std::string folder, cpf, model;
  bool all = false, write = false;
};

const char kUsage[] =
    "uso: kaprix calc --folder PASTA CPF [--model C|S]\n"
    "     kaprix calc --folder PASTA --all --write\n";

std::optional<CalcArgs> parse(const std::vector<std::string>& args, std::ostream& err) {
  CalcArgs a;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    const bool has_value = i + 1 < args.size();
    if (arg == "--folder" && has_value) a.folder = args[++i];
    else if (arg == "--model" && has_value) a.model = args[++i];
    else if (arg == "--all") a.all = true;
    else if (arg == "--write") a.write = true;
    else if (!arg.starts_with("--") && a.cpf.empty()) a.cpf = ui::TIRA_PONTO(arg);
    else {
      err << "argumento inesperado: " << arg << "\n" << kUsage;
      return std::nullopt;
    }
  }
  const bool one = !a.cpf.empty() && !a.all && !a.write;
  const bool every = a.cpf.empty() && a.all && a.write && a.model.empty();
  if (a.folder.empty() || (!one && !every) || (!a.model.empty() && a.model != "C" && a.model != "S")) {
    err << kUsage;
    return std::nullopt;
  }
  return a;
}

std::string utf8(std::string_view cp850) { return cp850::to_utf8(cp850); }

void print_values(std::ostream& out, const dbf::Schema& schema,
                  const std::vector<NamedValue>& values) {
  for (const NamedValue& v : values) {
    const dbf::Field* f = schema.find(v.name);
    out << v.name << '=' << (f ? utf8(dbase_text(*f, v.value)) : "") << '\n';
  }
}

const dbf::Schema& layout_of(FolderRows& rows, int table) {
  const dbf::Schema* s = rows.schema(table);
  return s ? *s : store::declaration_layout(table);
}

int calc_one(const CalcArgs& a, std::ostream& out, std::ostream& err, const CommandEnvironment& env) {
  WorkFolder folder(a.folder, WorkFolder::Use::read, env.clock);
  FolderRows rows(folder, a.cpf);
  std::optional<tax::Declaration> d = read_declaration(rows);
  if (!d) {
    err << "Contribuinte " << a.cpf << " não cadastrado na pasta " << a.folder
        << ".\n";
    return 1;
  }
  if (!a.model.empty()) d->registry.USAPADRAO = a.model == "S" ? "S" : "N";
  const tax::Result r = tax::compute(*d, tax_context(env));
  print_values(out, layout_of(rows, kSummary), summary_values(r));
  print_values(out, layout_of(rows, kRegistry), registry_values(r));
  for (const tax::Notice& n : r.notices) {
    std::string line;
    for (const std::string& piece : n.lines) {
      const std::string_view t = text::trim(piece);
      if (t.empty()) continue;
      line += (line.empty() ? "" : " ") + utf8(t);
    }
    out << "AVISO: " << line << '\n';
  }
  return 0;
}

struct Totals {
  int written = 0, unchanged = 0, skipped = 0, failed = 0;
};

// One declaration of --all: held, read, computed and stored under the registry row's lock.
void calc_and_store(WorkFolder& folder, const std::string& cpf, const tax::Context& context,
                    std::ostream& out, Totals& totals) {
  FolderRows rows(folder, cpf);
  std::string name;
  std::string outcome;
  try {
    const std::string terminal = rows.hold_registry();
    name = utf8(text::rtrim(folder.table(kRegistry)->get_text("NOMECONTR")));
    if (!terminal.empty()) {
      outcome = "ignorada, aberta no terminal " + terminal;
      ++totals.skipped;
    } else {
      const tax::Result r = tax::compute(*read_declaration(rows), context);
      const bool changed = write_results(rows, r);
      outcome = std::string(changed ? "gravada" : "sem alteração") + ", IMPPGRE=" + r.IMPPGRE.str(2);
      ++(changed ? totals.written : totals.unchanged);
    }
  } catch (const StoreError& e) {
    outcome = "erro: " + utf8(e.what());
    ++totals.failed;
  } catch (const DecimalOverflow& e) {
    outcome = std::string("erro: valor fora do limite (") + e.what() + ")";
    ++totals.failed;
  } catch (const dbf::TableError& e) {
    outcome = std::string("erro: ") + e.what();
    ++totals.failed;
  }
  out << cpf << (name.empty() ? "" : " ") << name << ": " << outcome << '\n';
}

int calc_all(const CalcArgs& a, std::ostream& out, const CommandEnvironment& env) {
  WorkFolder folder(a.folder, WorkFolder::Use::write, env.clock);
  const tax::Context context = tax_context(env);
  Totals totals;
  const std::vector<std::string> cpfs = folder.cpfs();
  for (const std::string& cpf : cpfs) calc_and_store(folder, cpf, context, out, totals);
  out << "Total: " << cpfs.size() << " declarações, " << totals.written
      << " gravadas, " << totals.unchanged << " sem alteração, "
      << totals.skipped << " ignoradas, " << totals.failed << " com erro\n";
  return totals.failed ? 1 : 0;
}

}  // namespace

int run_calc(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
             const CommandEnvironment& env) {
  const std::optional<CalcArgs> a = parse(args, err);
  if (!a) return 2;
  try {
    return a->all ? calc_all(*a, out, env) : calc_one(*a, out, err, env);
  } catch (const FolderError& e) {
    err << utf8(e.what()) << '\n';
  } catch (const dbf::TableError& e) {
    err << e.what() << '\n';
  } catch (const DecimalOverflow& e) {
    err << "valor fora do limite: " << e.what() << '\n';
  }
  return 1;
}

int run_calc(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  return run_calc(args, out, err, process_environment());
}

}  // namespace kx::declaration
