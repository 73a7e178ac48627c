// Table::check: every disagreement between header, data, memo file and index files.
#include <algorithm>

#include "dbf/table_impl.h"

namespace kx::dbf {
namespace {

constexpr std::size_t kMaxListed = 20;  // per kind of fault; the rest is counted

void list(std::vector<std::string>& problems, std::size_t& count, std::string text) {
  if (++count <= kMaxListed) problems.push_back(std::move(text));
}

void summarise(std::vector<std::string>& problems, std::size_t count, const std::string& what) {
  if (count > kMaxListed)
    problems.push_back(std::to_string(count - kMaxListed) + " more " + what + " not listed");
}

}  // namespace

std::vector<std::string> Table::check() {
  auto& t = *impl_;
  if (!t.read_only()) {
    t.commit();
    t.end_batch();
  }
  std::vector<std::string> problems;
  UpdateLock u(t, os::LockKind::shared);

  // The header as it is in the file now.
  std::string head(t.header.header_length, '\0');
  head.resize(t.data.pread(head.data(), head.size(), 0));
  DbfHeader now;
  try {
    now = parse_header(head);
  } catch (const std::invalid_argument& e) {
    problems.push_back(t.path + ": header: " + e.what());
    return problems;
  }
  if (now.record_length != t.header.record_length)
    problems.push_back(t.path + ": the record length changed while open");
  t.count();

  const int64_t size = t.data.size();
  const int64_t end = t.header.data_end();
  char mark = 0;
  if (size < end) {
    problems.push_back(t.short_text());
  } else if (size > end + 1 || (size == end + 1 && (t.data.pread(&mark, 1, end), mark != kEndOfData))) {
    problems.push_back(t.path + ": " + std::to_string(size - end) +
                       " bytes after the last counted record");
  }
  const uint32_t n = size < end ? static_cast<uint32_t>((size - t.header.header_length) /
                                                        t.header.record_length)
                                : t.header.record_count;

  // Deleted flags and memo references.
  std::vector<const Field*> memo_fields;
  for (const Field& f : t.header.schema.fields())
    if (f.type == FieldType::memo) memo_fields.push_back(&f);
  std::size_t flags = 0, memos = 0;
  t.read_blocks(1, n, [&](uint32_t r, std::string_view bytes) {
    if (bytes[0] != ' ' && bytes[0] != '*')
      list(problems, flags, t.path + ": record " + std::to_string(r) + ": deleted flag is neither ' ' nor '*'");
    for (const Field* f : memo_fields) {
      try {
        t.memo_text(*f, bytes);
      } catch (const TableError& e) {
        list(problems, memos, "record " + std::to_string(r) + ": " + f->name + ": " + e.what());
      }
    }
    return true;
  });
  summarise(problems, flags, "bad deleted flags");
  summarise(problems, memos, "bad memo references");

  // Every attached index file: its header against the data, its structure, every entry.
  const DataSignature sig = t.signature();
  for (auto& order : t.orders) {
    const std::string file = order->file();
    if (file.empty()) continue;  // kept in memory by this open
    IndexState state = IndexState::ok;
    KeyExpr expr = KeyExpr::parse(order->expr().text(), t.header.schema);
    if (!KeyOrder::open_file(file, KeyExpr::parse(expr.text(), t.header.schema), sig, true,
                             &state)) {
      static const char* const names[] = {"ok", "missing", "foreign", "damaged",
                                          "for another expression", "stale", "unfinished"};
      problems.push_back(file + ": index is " + names[static_cast<int>(state)]);
      continue;
    }
    std::string problem;
    try {
      if (!order->verify(&problem)) {
        problems.push_back(file + ": " + problem);
        continue;
      }
      auto have = order->entries();
      auto want = t.collect(expr);
      auto by_record = [](const KeyOrder::Entry& a, const KeyOrder::Entry& b) {
        return a.second != b.second ? a.second < b.second : a.first < b.first;
      };
      std::sort(have.begin(), have.end(), by_record);
      std::sort(want.begin(), want.end(), by_record);
      std::vector<KeyOrder::Entry> missing, extra;
      std::set_difference(want.begin(), want.end(), have.begin(), have.end(),
                          std::back_inserter(missing), by_record);
      std::set_difference(have.begin(), have.end(), want.begin(), want.end(),
                          std::back_inserter(extra), by_record);
      std::size_t listed = 0;
      for (const auto& e : missing)
        list(problems, listed, file + ": no entry for record " + std::to_string(e.second));
      for (const auto& e : extra)
        list(problems, listed, file + ": entry for record " + std::to_string(e.second) +
                                   " with a key the record does not have");
      summarise(problems, listed, "index entry faults in " + file);
    } catch (const std::runtime_error& e) {
      problems.push_back(file + ": " + e.what());
    }
  }
  return problems;
}

}  // namespace kx::dbf
