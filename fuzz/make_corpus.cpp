// Writes the seed corpus of the fuzz targets: make_corpus <folder> fills <folder>/dbf,
// <folder>/memo and <folder>/index with small files made by the engine, and with the damaged
// forms a killed writer or another program leaves.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "base/clock.h"
#include "fixture.h"

namespace {

using namespace kx;
namespace fs = std::filesystem;

std::string read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void put(const fs::path& folder, const std::string& name, const std::string& bytes) {
  fs::create_directories(folder);
  std::ofstream(folder / name, std::ios::binary | std::ios::trunc) << bytes;
}

uint32_t le32(const std::string& b, size_t at) {
  return static_cast<uint8_t>(b[at]) | static_cast<uint8_t>(b[at + 1]) << 8 |
         static_cast<uint8_t>(b[at + 2]) << 16 | static_cast<uint32_t>(static_cast<uint8_t>(b[at + 3])) << 24;
}

void set_le32(std::string& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<char>(v >> (8 * i));
}

std::string made_table(const fuzz::Scratch& s, const std::string& name, const dbf::Schema& schema,
                       int rows, bool delete_some) {
  const std::string path = s.path(name);
  dbf::Table::create(path, schema);
  dbf::Table t = dbf::Table::open(path, {dbf::OpenMode::exclusive}, system_clock());
  for (int n = 0; n < rows; ++n) {
    t.append_blank();
    for (const dbf::Field& f : schema.fields()) {
      const std::string_view ref(f.name);
      switch (f.type) {
        case dbf::FieldType::character: t.set_text(ref, n % 2 ? "Conceição" : "Zé"); break;
        case dbf::FieldType::numeric: t.set_number(ref, Decimal::raw(n * 1234 - 500, f.decimals)); break;
        case dbf::FieldType::date: t.set_date(ref, *Date::from_ymd(2014, 2, 28 - n)); break;
        case dbf::FieldType::logical: t.set_logical(ref, n % 2); break;
        case dbf::FieldType::memo: t.set_memo(ref, std::string(n * 40, 'm')); break;
      }
    }
    t.commit();
    if (delete_some && n % 3 == 1) t.delete_record();
  }
  t.close();
  return read_file(path);
}

void dbf_seeds(const fs::path& out) {
  const fuzz::Scratch s;
  const dbf::Schema every({{"NOME", dbf::FieldType::character, 30},
                           {"VALOR", dbf::FieldType::numeric, 14, 2},
                           {"DATA", dbf::FieldType::date, 8},
                           {"ATIVO", dbf::FieldType::logical, 1},
                           {"OBS", dbf::FieldType::memo, 10},
                           {"LONGO", dbf::FieldType::character, 512}});
  const std::string table = made_table(s, "EVERY.DBF", every, 3, true);
  put(out, "every_type", table);
  const dbf::Schema plain({{"CPF", dbf::FieldType::character, 11},
                           {"N", dbf::FieldType::numeric, 5}});
  const std::string small = made_table(s, "PLAIN.DBF", plain, 4, false);
  put(out, "plain", small);
  put(out, "empty", made_table(s, "EMPTY.DBF", plain, 0, false));
  // What a killed append leaves: a record written, the count not yet moved.
  std::string trailing = small;
  trailing.insert(trailing.size() - 1, std::string(small.size() > 40 ? 17 : 0, 'Z'));
  put(out, "killed_append", trailing);
  // A count beyond the records in the file.
  std::string short_file = small;
  set_le32(short_file, 4, le32(small, 4) + 3);
  put(out, "count_beyond_file", short_file);
  put(out, "truncated_header", small.substr(0, 40));
  std::string dbase3 = small;
  dbase3[0] = static_cast<char>(0x83);
  put(out, "dbase3_memo_flag", dbase3);
}

void memo_seeds(const fs::path& out) {
  const fuzz::MemoFixture& m = fuzz::memo_fixture();
  put(out, "fpt", std::string(1, '\0') + m.fpt);
  put(out, "fpt_truncated", std::string(1, '\0') + m.fpt.substr(0, m.fpt.size() / 2));
  // A DBT with the same texts at the same block numbers (blocks of 512 bytes, ended by 1A 1A).
  const fuzz::Scratch s;
  fuzz::write_memo_table(s, true);
  s.write("MEMO.FPT", m.fpt);
  dbf::Table t = dbf::Table::open(s.path(fuzz::kMemoTable), {dbf::OpenMode::read_only},
                                  system_clock());
  std::string dbt(512, '\0');
  for (t.go_top(); !t.eof(); t.skip()) {
    for (const char* name : {"NOTA", "OUTRA"}) {
      const std::string_view raw = t.record().raw(t.field(name));
      const long block = std::strtol(std::string(raw).c_str(), nullptr, 10);
      if (block < 1 || block > 64) continue;
      std::string text;
      try {
        text = t.get_memo(name) + "\x1a\x1a";
      } catch (const dbf::TableError&) {
        continue;  // one of the pointers no memo file satisfies
      }
      const size_t at = static_cast<size_t>(block) * 512;
      if (dbt.size() < at + text.size()) dbt.resize(at + text.size(), '\0');
      dbt.replace(at, text.size(), text);
    }
  }
  set_le32(dbt, 0, static_cast<uint32_t>(dbt.size() / 512 + 1));
  put(out, "dbt", std::string(1, '\1') + dbt);
}

void index_seeds(const fs::path& out) {
  const fuzz::Scratch s;
  fuzz::write_indexed_table(s);
  const std::string table_path = s.path(fuzz::kIndexedTable);
  int n = 0;
  for (const char* expr : fuzz::kIndexExprs) {
    const std::string file = s.path("I" + std::to_string(n) + ".CDX");
    dbf::Table t = dbf::Table::open(table_path, {dbf::OpenMode::shared}, system_clock());
    t.attach_indexes({{expr, file}});
    t.close();
    const std::string bytes = read_file(file);
    put(out, "index_" + std::to_string(n), bytes);
    if (n == 0) put(out, "index_truncated", bytes.substr(0, bytes.size() / 2));
    ++n;
  }
  put(out, "not_an_index", std::string("INDEX\0\0\0\x01\x02", 10));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_corpus <corpus folder>\n");
    return 2;
  }
  const fs::path out(argv[1]);
  dbf_seeds(out / "dbf");
  memo_seeds(out / "memo");
  index_seeds(out / "index");
  return 0;
}
