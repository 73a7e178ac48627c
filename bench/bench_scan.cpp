// Full scan of a table of 1,000,000 records, beside a plain read() of the same file.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "base/clock.h"
#include "support.h"

namespace kx::bench {
namespace {

constexpr uint32_t kRecords = 1'000'000;

BENCHMARK_CAPTURE(BM_ReadBaseline, people, kRecords)->Unit(benchmark::kMillisecond)->UseRealTime();

// Table::scan, touching every record.
void BM_Scan(benchmark::State& state) {
  const std::string path = people_table(kRecords);
  const auto size = static_cast<int64_t>(std::filesystem::file_size(path));
  dbf::Table t = dbf::Table::open(path, {dbf::OpenMode::read_only}, system_clock());
  int64_t bytes = 0;
  for (auto _ : state) {
    uint64_t sum = 0, n = 0;
    t.scan([&](uint32_t, const dbf::RecordView& r) {
      sum += static_cast<unsigned char>(r.bytes()[1]);
      ++n;
      return true;
    });
    benchmark::DoNotOptimize(sum);
    if (n != kRecords) state.SkipWithError("scan missed records");
    bytes += size;
  }
  state.SetBytesProcessed(bytes);
}
BENCHMARK(BM_Scan)->Unit(benchmark::kMillisecond)->UseRealTime();

// go_top / skip in record order, reading one field of each record.
void BM_SkipLoop(benchmark::State& state) {
  const std::string path = people_table(kRecords);
  const auto size = static_cast<int64_t>(std::filesystem::file_size(path));
  dbf::Table t = dbf::Table::open(path, {dbf::OpenMode::read_only}, system_clock());
  const dbf::Field& valor = t.field("VALOR");
  int64_t bytes = 0;
  for (auto _ : state) {
    uint64_t sum = 0;
    for (t.go_top(); !t.eof(); t.skip()) sum += t.record().raw(valor)[13];
    benchmark::DoNotOptimize(sum);
    bytes += size;
  }
  state.SetBytesProcessed(bytes);
}
BENCHMARK(BM_SkipLoop)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace kx::bench
