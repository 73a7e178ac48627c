#include "tools/open_table.h"

#include <cctype>

#include "base/clock.h"
#include "tools/index_list.h"

namespace kx::tools {

namespace {
constexpr int64_t kOpenWaitMs = 10'000;
constexpr int64_t kRetryMs = 10;
}  // namespace

dbf::Table open_table(const std::string& path, dbf::OpenMode mode, bool repair) {
  Clock& clock = system_clock();
  const dbf::OpenOptions options{mode, repair};
  const int64_t start = clock.monotonic_ms();
  for (;;) {
    if (auto table = dbf::Table::try_open(path, options, clock)) {
      table->attach_indexes(read_index_list(table->path()));
      return std::move(*table);
    }
    if (clock.monotonic_ms() - start >= kOpenWaitMs)
      throw dbf::TableError(dbf::TableError::Kind::in_use,
                            path + " is in use by another program");
    clock.sleep_ms(kRetryMs);
  }
}

dbf::LockWait lock_wait() { return {30'000, kRetryMs, {}}; }

}  // namespace kx::tools

namespace kx::tools {

namespace {
std::string normalized(std::string_view expr) {
  std::string out;
  for (char c : expr)
    if (c != ' ') out.push_back(static_cast<char>(std::toupper(static_cast<unsigned char>(c))));
  return out;
}
}  // namespace

bool same_expression(std::string_view a, std::string_view b) {
  return normalized(a) == normalized(b);
}

void use_order(dbf::Table& table, const std::string& expr) {
  const dbf::TableInfo info = table.info();
  for (std::size_t i = 0; i < info.indexes.size(); ++i) {
    if (same_expression(info.indexes[i].expr, expr)) {
      table.set_order(static_cast<int>(i) + 1);
      return;
    }
  }
  table.add_temporary_index(expr);
}

}  // namespace kx::tools
