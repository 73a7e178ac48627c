// Opening a table with three valid index files at 1,000 and at 1,000,000 records: the cost
// must not grow with the size (index files are not read whole on open). Beside it, a plain
// open() and read() of the data file's first 4 KiB.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include "base/clock.h"
#include "support.h"

namespace kx::bench {
namespace {

void BM_ReadHeaderBaseline(benchmark::State& state) {
  const std::string path = people_table(static_cast<uint32_t>(state.range(0)));
  char buffer[4096];
  for (auto _ : state) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    benchmark::DoNotOptimize(::read(fd, buffer, sizeof buffer));
    ::close(fd);
  }
}
BENCHMARK(BM_ReadHeaderBaseline)->Arg(1'000)->Arg(1'000'000)->UseRealTime();

void BM_OpenWithIndexes(benchmark::State& state, dbf::OpenMode mode) {
  const auto n = static_cast<uint32_t>(state.range(0));
  const std::string path = people_table(n);
  const auto specs = people_indexes(n);
  for (auto _ : state) {
    dbf::Table t = dbf::Table::open(path, {mode}, system_clock());
    t.attach_indexes(specs);
    t.go_top();
    benchmark::DoNotOptimize(t.recno());
    t.close();
  }
}
BENCHMARK_CAPTURE(BM_OpenWithIndexes, shared, dbf::OpenMode::shared)
    ->Arg(1'000)
    ->Arg(1'000'000)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_OpenWithIndexes, read_only, dbf::OpenMode::read_only)
    ->Arg(1'000)
    ->Arg(1'000'000)
    ->UseRealTime();

}  // namespace
}  // namespace kx::bench
