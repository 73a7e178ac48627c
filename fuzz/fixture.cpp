#include "fixture.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "base/clock.h"
#include "dbf/expr.h"

namespace kx::fuzz {

namespace {

namespace fs = std::filesystem;

// Index files stay valid only for a data file of the same size, count and modification time.
constexpr timespec kFixtureMtime{1'400'000'000, 0};

std::string read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// Makes a fixture once in a folder of its own and keeps its bytes.
template <typename Make>
std::string fixture_bytes(const char* name, Make make) {
  const Scratch builder;
  const std::string path = builder.path(name);
  make(path);
  return read_file(path);
}

void set_fixture_mtime(const std::string& path) {
  const timespec times[2] = {kFixtureMtime, kFixtureMtime};
  if (::utimensat(AT_FDCWD, path.c_str(), times, 0) != 0)
    throw std::runtime_error("utimensat " + path);
}

}  // namespace

Scratch::Scratch() {
  std::string pattern = (fs::temp_directory_path() / "kx_fuzz_XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  folder_ = pattern;
}

Scratch::~Scratch() {
  std::error_code ignored;
  fs::remove_all(folder_, ignored);
}

void Scratch::clear() const {
  for (const auto& e : fs::directory_iterator(folder_)) fs::remove_all(e.path());
}

std::string Scratch::write(const std::string& name, std::string_view bytes) const {
  const std::string p = path(name);
  std::ofstream(p, std::ios::binary | std::ios::trunc).write(bytes.data(), bytes.size());
  return p;
}

const MemoFixture& memo_fixture() {
  static const MemoFixture fixture = [] {
    const Scratch builder;
    const std::string path = builder.path(kMemoTable);
    dbf::Table::create(path, dbf::Schema({{"ID", dbf::FieldType::numeric, 4},
                                          {"NOTA", dbf::FieldType::memo, 10},
                                          {"OUTRA", dbf::FieldType::memo, 10}}));
    dbf::Table t = dbf::Table::open(path, {dbf::OpenMode::exclusive}, system_clock());
    const std::string texts[][2] = {{"curta", ""},
                                    {std::string(150, 'x') + "\r\nfim", "Ação"},
                                    {"com \x1a no meio", std::string(64, 'b')}};
    int n = 0;
    for (const auto& memo : texts) {
      t.append_blank();
      t.set_number("ID", ++n);
      t.set_memo("NOTA", memo[0]);
      t.set_memo("OUTRA", memo[1]);
      t.commit();
    }
    // Pointers no memo file of a few blocks can satisfy.
    const char* blocks[][2] = {{"1", "3"}, {"2147483647", "4294967295"}, {"99999", "-5"}};
    for (const auto& b : blocks) {
      std::string r = t.blank_record();
      dbf::put_number(r, t.field("ID"), ++n);
      dbf::put_text(r, t.field("NOTA"), std::string(10 - std::strlen(b[0]), ' ') + b[0]);
      dbf::put_text(r, t.field("OUTRA"), std::string(10 - std::strlen(b[1]), ' ') + b[1]);
      t.append(r);
    }
    const std::string memo_path = t.info().memo_path;
    t.close();
    return MemoFixture{read_file(path), read_file(memo_path)};
  }();
  return fixture;
}

void write_memo_table(const Scratch& s, bool fpt) {
  std::string bytes = memo_fixture().dbf;
  if (!fpt) bytes[0] = static_cast<char>(0x83);  // dBASE III with a DBT memo file
  s.write(kMemoTable, bytes);
}

void write_indexed_table(const Scratch& s) {
  static const std::string bytes = fixture_bytes(kIndexedTable, [](const std::string& path) {
    dbf::Table::create(path, dbf::Schema({{"NOME", dbf::FieldType::character, 20},
                                          {"VALOR", dbf::FieldType::numeric, 12, 2},
                                          {"DATA", dbf::FieldType::date, 8}}));
    dbf::Table t = dbf::Table::open(path, {dbf::OpenMode::exclusive}, system_clock());
    const char* names[] = {"Ana", "ÁLVARO", "joão", "Zé", "Ção", "ana", "", "Bruno"};
    int n = 0;
    for (const char* name : names) {
      std::string r = t.blank_record();
      dbf::put_text(r, t.field("NOME"), name);
      dbf::put_number(r, t.field("VALOR"), Decimal::raw((n * 7919) % 1000 - 400, 2));
      if (n % 3) dbf::put_date(r, t.field("DATA"), *Date::from_ymd(2014, 1 + n, 2 * n + 1));
      t.append(r);
      if (n == 4) t.delete_record();
      ++n;
    }
    t.close();
  });
  set_fixture_mtime(s.write(kIndexedTable, bytes));
}

std::vector<std::string> walk(dbf::Table& table) {
  const uint32_t count = table.record_count();
  // A walk that visits more records than the table has would never end on a looping file.
  const uint64_t limit = 2 * uint64_t{count} + 16;
  for (int order = 0; order <= table.index_count(); ++order) {
    table.set_order(order);
    uint64_t visited = 0;
    for (table.go_top(); !table.eof(); table.skip()) {
      if (++visited > limit) std::abort();
      for (const dbf::Field& f : table.schema().fields()) {
        switch (f.type) {
          case dbf::FieldType::character: (void)table.get_text(std::string_view(f.name)); break;
          case dbf::FieldType::numeric: (void)table.get_number(std::string_view(f.name)); break;
          case dbf::FieldType::date: (void)table.get_date(std::string_view(f.name)); break;
          case dbf::FieldType::logical: (void)table.get_logical(std::string_view(f.name)); break;
          case dbf::FieldType::memo: (void)table.get_memo(std::string_view(f.name)); break;
        }
      }
    }
    table.go_bottom();
    for (int i = 0; i < 3 && !table.bof(); ++i) table.skip(-1);
    if (order > 0)
      for (const char* key : {"", "A", "ZZZZ", "20140301", "12.5"}) {
        try {
          table.seek(key, dbf::SeekMode::soft);
        } catch (const dbf::ExprError&) {
          // a key that is no value of this order's type
        }
      }
  }
  uint64_t scanned = 0;
  table.scan([&](uint32_t, const dbf::RecordView&) { return ++scanned <= limit; });
  if (scanned > limit) std::abort();
  return table.check();
}

}  // namespace kx::fuzz
