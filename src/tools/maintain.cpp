// kxdbf index, reindex, pack and zap: the verbs that rebuild a table or its index files.
#include <algorithm>

#include "dbf/expr.h"
#include "os/path.h"
#include "tools/index_list.h"
#include "tools/open_table.h"
#include "tools/verbs.h"

namespace kx::tools {

namespace {

constexpr std::size_t kMaxIndexes = 3;

bool same_file(const std::string& a, const std::string& b) {
  return os::resolve_nocase(a) == os::resolve_nocase(b);
}

// The file an index on `expr` goes to: the one given with --tag, else the file of an attached
// index on the same expression, else the first default name not attached yet ("" when none).
std::string chosen_file(const Args& args, const std::string& table_path,
                        const std::vector<dbf::IndexSpec>& specs, const std::string& expr) {
  if (auto tag = args.value("--tag")) return os::resolve_nocase(*tag);
  for (const dbf::IndexSpec& s : specs)
    if (same_expression(s.expr, expr)) return s.file;
  for (int n = 0; n < static_cast<int>(kMaxIndexes); ++n) {
    const std::string candidate = default_index_file(table_path, n);
    if (std::none_of(specs.begin(), specs.end(),
                     [&](const dbf::IndexSpec& s) { return same_file(s.file, candidate); }))
      return os::resolve_nocase(candidate);
  }
  return "";
}

}  // namespace

int verb_index(const Args& args) {
  dbf::Table table = open_table(args.at(0), dbf::OpenMode::shared);
  const std::string& expr = args.at(1);
  dbf::KeyExpr::parse(expr, table.schema());  // a bad expression is refused before any change
  std::vector<dbf::IndexSpec> specs = read_index_list(table.path());
  const std::string file = chosen_file(args, table.path(), specs, expr);
  auto same = std::find_if(specs.begin(), specs.end(),
                           [&](const dbf::IndexSpec& s) { return same_file(s.file, file); });
  const bool attached_before = same != specs.end();
  if (attached_before) {
    same->expr = expr;
  } else {
    if (specs.size() >= kMaxIndexes || file.empty())
      throw dbf::TableError(dbf::TableError::Kind::invalid,
                            "the table already has three index files");
    specs.push_back({expr, file});
  }
  table.attach_indexes(specs);  // builds a new file (and any other that is unusable)
  // A file attached before is rebuilt in place, so that other programs that have it open see
  // the new contents.
  if (attached_before) table.reindex();
  write_index_list(table.path(), specs);
  table.close();
  return 0;
}

int verb_reindex(const Args& args) {
  dbf::Table table = open_table(args.at(0), dbf::OpenMode::shared);
  table.reindex();
  table.close();
  return 0;
}

int verb_pack(const Args& args) {
  dbf::Table table = open_table(args.at(0), dbf::OpenMode::exclusive);
  table.pack();
  table.close();
  return 0;
}

int verb_zap(const Args& args) {
  dbf::Table table = open_table(args.at(0), dbf::OpenMode::exclusive);
  table.zap();
  table.close();
  return 0;
}

}  // namespace kx::tools
