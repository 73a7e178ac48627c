// Building an index file of 1,000,000 keys, beside a plain read() of the data file.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "base/clock.h"
#include "support.h"

namespace kx::bench {
namespace {

constexpr uint32_t kRecords = 1'000'000;

BENCHMARK_CAPTURE(BM_ReadBaseline, people, kRecords)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_BuildIndex(benchmark::State& state, const char* expr) {
  const std::string path = people_table(kRecords);
  const std::string index = data_folder() + "/BUILD.CDX";
  for (auto _ : state) {
    std::filesystem::remove(index);
    dbf::Table t = dbf::Table::open(path, {dbf::OpenMode::shared}, system_clock());
    t.attach_indexes({{expr, index}});  // a missing index file is built
    t.close();
  }
  state.SetItemsProcessed(int64_t{kRecords} * state.iterations());
}
BENCHMARK_CAPTURE(BM_BuildIndex, cpf, "CPF")->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK_CAPTURE(BM_BuildIndex, upper_nome, "UPPER(NOME)")
    ->Unit(benchmark::kMillisecond)->UseRealTime()
    ->Iterations(3);

}  // namespace
}  // namespace kx::bench
