// Seek of one record by key in a table of 1,000,000 records and reading it, beside a plain
// pread() of one record's bytes.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include "base/clock.h"
#include "support.h"

namespace kx::bench {
namespace {

constexpr uint32_t kRecords = 1'000'000;

uint32_t next_random(uint32_t& state) {
  state = state * 1664525u + 1013904223u;
  return state % kRecords;
}

void BM_PreadOneRecordBaseline(benchmark::State& state) {
  const std::string path = people_table(kRecords);
  dbf::Table t = dbf::Table::open(path, {dbf::OpenMode::read_only}, system_clock());
  const dbf::TableInfo info = t.info();
  t.close();
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  std::string buffer(static_cast<size_t>(info.record_length), '\0');
  uint32_t seed = 1;
  for (auto _ : state) {
    const int64_t at = info.header_length + int64_t{next_random(seed)} * info.record_length;
    benchmark::DoNotOptimize(pread_bytes(fd, at, buffer.size(), buffer.data()));
  }
  ::close(fd);
}
BENCHMARK(BM_PreadOneRecordBaseline)->UseRealTime();

void BM_SeekAndRead(benchmark::State& state) {
  const std::string path = people_table(kRecords);
  dbf::Table t = dbf::Table::open(path, {dbf::OpenMode::read_only}, system_clock());
  t.attach_indexes(people_indexes(kRecords));
  t.set_order(1);
  uint32_t seed = 1;
  for (auto _ : state) {
    const uint32_t i = next_random(seed);
    if (!t.seek(cpf_of(i))) state.SkipWithError("key not found");
    benchmark::DoNotOptimize(t.get_text("NOME"));
  }
}
BENCHMARK(BM_SeekAndRead)->UseRealTime();

}  // namespace
}  // namespace kx::bench
