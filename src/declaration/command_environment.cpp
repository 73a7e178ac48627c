#include "declaration/command_environment.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "base/text.h"
#include "dbf/table.h"
#include "store/catalogue.h"

namespace kx::declaration {

namespace {
constexpr int kSelicTable = 51;
}

CommandEnvironment process_environment() {
  const char* folder = std::getenv("DKAPRIX");
  return {system_clock(), folder ? folder : ""};
}

tax::Context tax_context(const CommandEnvironment& env) {
  tax::Context c;
  c.today = env.clock.today();
  if (env.program_folder.empty()) return c;
  const auto entry = store::table_entry(kSelicTable, "01");
  const std::string path =
      (std::filesystem::path(env.program_folder) / entry->data_file_name()).string();
  std::optional<dbf::Table> t;
  try {
    t = dbf::Table::open(path, {dbf::OpenMode::read_only, false}, env.clock);
  } catch (const dbf::TableError& e) {
    if (e.kind() == dbf::TableError::Kind::not_found) return c;
    throw;
  }
  const dbf::Field& anomes = t->field("ANOMES");
  const dbf::Field& rate = t->field("TJM");
  t->scan([&](uint32_t, const dbf::RecordView& row) {
    const std::string_view ym = text::trim(row.text(anomes));
    if (ym.size() == 6 && text::all_digits(ym))
      c.selic.push_back({std::stoi(std::string(ym.substr(0, 4))),
                         std::stoi(std::string(ym.substr(4, 2))), row.number(rate)});
    return true;
  });
  std::sort(c.selic.begin(), c.selic.end(), [](const auto& a, const auto& b) {
    return a.year != b.year ? a.year < b.year : a.month < b.month;
  });
  return c;
}

}  // namespace kx::declaration
