#include "declaration/generate_command.h"

#include <charconv>
#include <filesystem>
#include <optional>
#include <set>

#include "base/cp850.h"
#include "base/text.h"
#include "declaration/row_values.h"
#include "declaration/synthetic.h"
#include "declaration/work_folder.h"
#include "store/catalogue.h"

namespace kx::declaration {

namespace {

constexpr int kRegistry = 9;

template <class T>
std::optional<T> number(const std::string& text) {
  T value{};
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

// Table n of the folder, created when missing, held exclusively with its index files.
dbf::Table open_for_filling(const std::string& folder, int n, Clock& clock) {
  const std::string path =
      (std::filesystem::path(folder) / (store::declaration_table_name(n) + ".DBF")).string();
  try {
    dbf::Table::create(path, store::declaration_layout(n));
  } catch (const dbf::TableError& e) {
    if (e.kind() != dbf::TableError::Kind::exists) throw;
  }
  return open_declaration_table(folder, n, dbf::OpenMode::exclusive, clock);
}

bool registered(dbf::Table& registry, const std::string& cpf) {
  return registry.seek(cpf) && text::rtrim(registry.get_text("CPF")) == cpf;
}

}  // namespace

std::vector<std::string> generate_declarations(const std::string& folder, int count,
                                               uint64_t seed, Clock& clock) {
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  if (!std::filesystem::is_directory(folder))
    throw FolderError(cp850::from_utf8("Não foi possível criar a pasta " + folder + "."));
  std::vector<dbf::Table> tables;
  for (int n = 1; n <= store::kDeclarationTables; ++n)
    tables.push_back(open_for_filling(folder, n, clock));
  dbf::Table& registry = tables[kRegistry - 1];

  Random random(seed);
  std::set<std::string> added;
  std::vector<std::string> cpfs;
  while (static_cast<int>(cpfs.size()) < count) {
    const std::string cpf = synthetic_cpf(random);
    if (added.count(cpf) || registered(registry, cpf)) continue;
    const SyntheticDeclaration d = synthetic_declaration(random, cpf);
    for (int n = 1; n <= store::kDeclarationTables; ++n) {
      dbf::Table& t = tables[n - 1];
      for (const RowValues& row : d.rows[n]) t.append(with_values(t.schema(), t.blank_record(), row));
    }
    added.insert(cpf);
    cpfs.push_back(cpf);
  }
  for (dbf::Table& t : tables) t.close();
  return cpfs;
}

int run_generate(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                 const CommandEnvironment& env) {
  std::string folder;
  std::optional<int> count;
  std::optional<uint64_t> seed = 1;
  bool ok = true;
  for (size_t i = 0; i < args.size() && ok; ++i) {
    const bool has_value = i + 1 < args.size();
    if (args[i] == "--folder" && has_value) folder = args[++i];
    else if (args[i] == "--count" && has_value) count = number<int>(args[++i]);
    else if (args[i] == "--seed" && has_value) seed = number<uint64_t>(args[++i]);
    else ok = false;
  }
  if (!ok || folder.empty() || !count || *count < 0 || !seed) {
    err << "uso: kaprix generate --folder PASTA --count N [--seed S]\n";
    return 2;
  }
  try {
    const std::vector<std::string> cpfs = generate_declarations(folder, *count, *seed, env.clock);
    out << cpfs.size() << " declarações geradas em " << folder << '\n';
    return 0;
  } catch (const FolderError& e) {
    err << cp850::to_utf8(e.what()) << '\n';
  } catch (const dbf::TableError& e) {
    err << e.what() << '\n';
  } catch (const StoreError& e) {
    err << cp850::to_utf8(e.what()) << '\n';
  }
  return 1;
}

int run_generate(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  return run_generate(args, out, err, process_environment());
}

}  // namespace kx::declaration
