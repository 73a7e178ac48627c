// Fuzz target: an index file loaded for a fixed table, through IndexFile directly and attached
// to the table read-only. A bad index file must end in an exception or be set aside; one the
// engine accepts must agree with the table.
#include <sys/stat.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>

#include "base/clock.h"
#include "dbf/expr.h"
#include "dbf/index_file.h"
#include "fixture.h"

namespace {

using namespace kx;

void load_directly(const std::string& table_path, const std::string& index_path) {
  try {
    dbf::Table table = dbf::Table::open(table_path, {dbf::OpenMode::read_only}, system_clock());
    struct stat st {};
    ::stat(table_path.c_str(), &st);
    const dbf::DataSignature sig{table.record_count(), static_cast<uint64_t>(st.st_size),
                                 st.st_mtim.tv_sec * 1'000'000'000LL + st.st_mtim.tv_nsec};
    for (const char* text : fuzz::kIndexExprs) {
      auto expr = std::make_shared<dbf::KeyExpr>(dbf::KeyExpr::parse(text, table.schema()));
      dbf::IndexState state{};
      auto index = dbf::IndexFile::open(
          index_path, text, expr->width(),
          [expr](std::string_view a, std::string_view b) { return expr->compare(a, b); }, sig,
          true, &state);
      if (!index) continue;
      std::string problem;
      index->verify(&problem);
      uint64_t steps = 0;
      for (auto at = index->first(); at && steps <= index->entry_count(); at = index->next(*at))
        ++steps;
      for (auto at = index->last(); at && steps <= 2 * index->entry_count(); at = index->prev(*at))
        ++steps;
      index->lower_bound("A");
      index->lower_bound(std::string(static_cast<size_t>(expr->width()), '\xff'));
      index->entries();
    }
  } catch (const std::exception&) {
    // reported as bad
  }
}

// Attached read-only: when check() finds nothing wrong, the index order must visit every
// visible record once, in key order.
void attach(const std::string& table_path, const std::string& index_path) {
  try {
    dbf::Table table = dbf::Table::open(table_path, {dbf::OpenMode::read_only}, system_clock());
    for (const char* text : fuzz::kIndexExprs) {
      table.attach_indexes({{text, index_path}});
      if (!fuzz::walk(table).empty()) continue;
      const auto expr = dbf::KeyExpr::parse(text, table.schema());
      table.set_order(1);
      std::string previous;
      uint32_t visited = 0;
      for (table.go_top(); !table.eof(); table.skip()) {
        std::string key = expr.eval(table.record());
        if (visited++ > 0 && expr.compare(previous, key) > 0) {
          std::fprintf(stderr, "accepted index %s is out of order\n", text);
          std::abort();
        }
        previous = std::move(key);
      }
      uint32_t visible = 0;
      table.set_order(0);
      for (table.go_top(); !table.eof(); table.skip()) ++visible;
      if (visited != visible) {
        std::fprintf(stderr, "accepted index %s visits %u of %u records\n", text, visited, visible);
        std::abort();
      }
    }
  } catch (const std::exception&) {
    // reported as bad
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const fuzz::Scratch scratch;
  scratch.clear();
  fuzz::write_indexed_table(scratch);
  const std::string table_path = scratch.path(fuzz::kIndexedTable);
  const std::string index_path =
      scratch.write("INDEXED.CDX", std::string_view(reinterpret_cast<const char*>(data), size));
  load_directly(table_path, index_path);
  attach(table_path, index_path);
  return 0;
}
