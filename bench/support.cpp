#include "support.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <vector>

#include "base/clock.h"
#include "declaration/generate_command.h"
#include "store/catalogue.h"

namespace kx::bench {

namespace fs = std::filesystem;

std::string data_folder() {
  const char* env = std::getenv("KX_BENCH_DATA");
  const std::string folder = env && *env ? env : KX_BENCH_DEFAULT_DATA;
  fs::create_directories(folder);
  return folder;
}

dbf::Schema people_schema() {
  return dbf::Schema({{"CPF", dbf::FieldType::character, 11},
                      {"NOME", dbf::FieldType::character, 40},
                      {"VALOR", dbf::FieldType::numeric, 14, 2},
                      {"DATA", dbf::FieldType::date, 8}});
}

std::vector<std::string> people_index_exprs() {
  return {"CPF", "UPPER(NOME)", "DTOS(DATA)+STR(VALOR,14,2)"};
}

std::string cpf_of(uint32_t i) {
  // A permutation of 0..1000002 (1000003 is prime), so CPFs are unique and out of order.
  char buf[16];
  std::snprintf(buf, sizeof buf, "%011llu",
                static_cast<unsigned long long>((uint64_t{i} * 7919) % 1000003));
  return buf;
}

std::string people_record(const dbf::Table& table, uint32_t i) {
  static const char* const kNames[] = {"José", "Maria", "Ângela", "João", "Édson", "Conceição",
                                       "Ana", "Bruno"};
  std::string r = table.blank_record();
  const dbf::Schema& s = table.schema();
  dbf::put_text(r, s.fields()[0], cpf_of(i));
  dbf::put_text(r, s.fields()[1],
                std::string(kNames[i % 8]) + " da Silva " + std::to_string(i % 9973));
  dbf::put_number(r, s.fields()[2], Decimal::raw(int64_t{i % 100000} * 137 - 500000, 2));
  dbf::put_date(r, s.fields()[3], *Date::from_ymd(2014, 1, 1) + (i % 365));
  return r;
}

std::vector<dbf::IndexSpec> people_indexes(uint32_t n) {
  const std::string stem = data_folder() + "/PEOPLE_" + std::to_string(n);
  const auto exprs = people_index_exprs();
  return {{exprs[0], stem + ".CDX"}, {exprs[1], stem + "B.CDX"}, {exprs[2], stem + "C.CDX"}};
}

std::string people_table(uint32_t n) {
  const std::string path = data_folder() + "/PEOPLE_" + std::to_string(n) + ".DBF";
  if (!fs::exists(path)) {
    const std::string part = path + ".part";
    fs::remove(part);
    dbf::Table::create(part, people_schema());
    {
      dbf::Table t = dbf::Table::open(part, {dbf::OpenMode::exclusive}, system_clock());
      for (uint32_t i = 0; i < n; ++i) t.append(people_record(t, i));
      t.close();
    }
    fs::rename(part, path);
  }
  // Builds the index files when missing, checks them otherwise.
  dbf::Table t = dbf::Table::open(path, {dbf::OpenMode::shared}, system_clock());
  t.attach_indexes(people_indexes(n));
  t.close();
  return path;
}

int64_t read_whole(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) throw std::runtime_error("open " + path);
  static std::vector<char> buffer(1 << 20);
  int64_t total = 0;
  for (ssize_t n; (n = ::read(fd, buffer.data(), buffer.size())) > 0;) total += n;
  ::close(fd);
  return total;
}

int64_t pread_bytes(int fd, int64_t offset, std::size_t n, char* buffer) {
  return ::pread(fd, buffer, n, offset);
}

void BM_ReadBaseline(benchmark::State& state, uint32_t records) {
  const std::string path = people_table(records);
  int64_t bytes = 0;
  for (auto _ : state) bytes += read_whole(path);
  state.SetBytesProcessed(bytes);
}

std::string generated_folder(const std::string& prefix, int n) {
  const std::string folder = data_folder() + "/" + prefix + "_" + std::to_string(n);
  if (!fs::exists(folder + "/" + store::declaration_table_name(9) + ".DBF")) {
    const std::string part = folder + ".part";
    fs::remove_all(part);
    declaration::generate_declarations(part, n, 1, system_clock());
    fs::rename(part, folder);
  }
  return folder;
}

}  // namespace kx::bench
