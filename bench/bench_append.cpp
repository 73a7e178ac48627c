// Appends to a table with three attached index files, exclusive (batched) and shared (each row
// under the append lock), beside a plain write() of the same record bytes.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <filesystem>

#include "base/clock.h"
#include "support.h"

namespace kx::bench {
namespace {

namespace fs = std::filesystem;

// A new empty table with its three index files, in a folder of its own.
std::string fresh_table(const std::string& name) {
  const std::string folder = data_folder() + "/" + name;
  fs::remove_all(folder);
  fs::create_directories(folder);
  const std::string path = folder + "/T.DBF";
  dbf::Table::create(path, people_schema());
  return path;
}

std::vector<dbf::IndexSpec> indexes_of(const std::string& path) {
  const auto exprs = people_index_exprs();
  const std::string stem = path.substr(0, path.size() - 4);
  return {{exprs[0], stem + ".CDX"}, {exprs[1], stem + "B.CDX"}, {exprs[2], stem + "C.CDX"}};
}

void BM_WriteBaseline(benchmark::State& state) {
  const auto rows = static_cast<uint32_t>(state.range(0));
  const std::string path = fresh_table("append_write");
  std::vector<std::string> records;
  {
    dbf::Table t = dbf::Table::open(path, {dbf::OpenMode::exclusive}, system_clock());
    for (uint32_t i = 0; i < rows; ++i) records.push_back(people_record(t, i));
  }
  for (auto _ : state) {
    const int fd = ::open((path + ".raw").c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    for (const std::string& r : records)
      benchmark::DoNotOptimize(::write(fd, r.data(), r.size()));
    ::fsync(fd);
    ::close(fd);
  }
  state.SetItemsProcessed(int64_t{rows} * state.iterations());
}
BENCHMARK(BM_WriteBaseline)->Arg(100'000)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Append(benchmark::State& state, dbf::OpenMode mode) {
  const auto rows = static_cast<uint32_t>(state.range(0));
  for (auto _ : state) {
    state.PauseTiming();
    const std::string path = fresh_table("append");
    state.ResumeTiming();
    dbf::Table t = dbf::Table::open(path, {mode}, system_clock());
    t.attach_indexes(indexes_of(path));
    for (uint32_t i = 0; i < rows; ++i) {
      t.append(people_record(t, i));
      if (mode == dbf::OpenMode::shared) t.unlock_record(t.recno());
    }
    t.close();  // the batched header and index state of an exclusive open are written here
  }
  state.SetItemsProcessed(int64_t{rows} * state.iterations());
}
BENCHMARK_CAPTURE(BM_Append, exclusive, dbf::OpenMode::exclusive)
    ->Arg(100'000)
    ->Unit(benchmark::kMillisecond)->UseRealTime()
    ->Iterations(3);
BENCHMARK_CAPTURE(BM_Append, shared, dbf::OpenMode::shared)
    ->Arg(500)
    ->Unit(benchmark::kMillisecond)->UseRealTime()
    ->Iterations(2);

}  // namespace
}  // namespace kx::bench
