// The tax computation on generated work folders: one declaration read by its CPF and computed,
// in a folder of 1,000 and of 10,000 taxpayers (the same cost is expected), the opening of the
// folder's tables, and a whole folder recomputed as calc --all --write does, split into reading,
// computing and writing. The baseline reads the folder's table files with plain read().
#include <benchmark/benchmark.h>

#include <filesystem>

#include "base/clock.h"
#include "declaration/command_environment.h"
#include "declaration/tax_adapter.h"
#include "declaration/work_folder.h"
#include "support.h"
#include "tax/compute.h"

namespace kx::bench {
namespace {

namespace fs = std::filesystem;
using declaration::FolderRows;
using declaration::WorkFolder;


tax::Context context() {
  return declaration::tax_context({system_clock(), ""});
}

// Baseline: every table file of the folder read with read().
void BM_ReadFolderBaseline(benchmark::State& state) {
  const std::string folder = generated_folder("CALC", static_cast<int>(state.range(0)));
  int64_t bytes = 0;
  for (auto _ : state)
    for (const auto& entry : fs::directory_iterator(folder)) bytes += read_whole(entry.path());
  state.SetBytesProcessed(bytes);
}
BENCHMARK(BM_ReadFolderBaseline)->Arg(1000)->Unit(benchmark::kMillisecond)->UseRealTime();

// One declaration: its rows found by the CPF index and read, then computed.
void BM_ReadAndComputeOne(benchmark::State& state) {
  WorkFolder folder(generated_folder("CALC", static_cast<int>(state.range(0))), WorkFolder::Use::read,
                    system_clock());
  const std::vector<std::string> cpfs = folder.cpfs();
  const tax::Context c = context();
  size_t i = 0;
  for (auto _ : state) {
    FolderRows rows(folder, cpfs[i++ * 7919 % cpfs.size()]);
    benchmark::DoNotOptimize(tax::compute(*declaration::read_declaration(rows), c));
  }
}
BENCHMARK(BM_ReadAndComputeOne)->Arg(1000)->Arg(10000)->UseRealTime();

// What `calc CPF` adds for every run: the folder's twenty tables opened with their indexes.
void BM_OpenFolder(benchmark::State& state) {
  const std::string path = generated_folder("CALC", static_cast<int>(state.range(0)));
  for (auto _ : state) WorkFolder folder(path, WorkFolder::Use::read, system_clock());
}
BENCHMARK(BM_OpenFolder)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same, reading only.
void BM_ReadOne(benchmark::State& state) {
  WorkFolder folder(generated_folder("CALC", static_cast<int>(state.range(0))), WorkFolder::Use::read,
                    system_clock());
  const std::vector<std::string> cpfs = folder.cpfs();
  size_t i = 0;
  for (auto _ : state) {
    FolderRows rows(folder, cpfs[i++ * 7919 % cpfs.size()]);
    benchmark::DoNotOptimize(declaration::read_declaration(rows));
  }
}
BENCHMARK(BM_ReadOne)->Arg(1000)->Arg(10000)->UseRealTime();

// A whole folder as --all --write goes through it, one phase per benchmark: reading every
// declaration, computing every one, storing every one (alternately two different results, so
// that every store writes both rows).
struct WholeFolder {
  std::string folder;
  std::vector<std::string> cpfs;
  std::vector<tax::Declaration> declarations;
  std::vector<tax::Result> results, changed;
};

WholeFolder& whole_folder() {
  static WholeFolder w = [] {
    WholeFolder out;
    const std::string source = generated_folder("CALC", 1000);
    out.folder = data_folder() + "/CALC_WRITE";
    fs::remove_all(out.folder);
    fs::copy(source, out.folder);
    WorkFolder folder(out.folder, WorkFolder::Use::read, system_clock());
    out.cpfs = folder.cpfs();
    const tax::Context c = context();
    for (const std::string& cpf : out.cpfs) {
      FolderRows rows(folder, cpf);
      out.declarations.push_back(*declaration::read_declaration(rows));
      out.results.push_back(tax::compute(out.declarations.back(), c));
      out.changed.push_back(out.results.back());
      out.changed.back().IMPPGRE += Decimal::raw(1, 2);
    }
    return out;
  }();
  return w;
}

void BM_AllRead(benchmark::State& state) {
  WholeFolder& w = whole_folder();
  WorkFolder folder(w.folder, WorkFolder::Use::read, system_clock());
  for (auto _ : state)
    for (const std::string& cpf : w.cpfs) {
      FolderRows rows(folder, cpf);
      benchmark::DoNotOptimize(declaration::read_declaration(rows));
    }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(w.cpfs.size()));
}
BENCHMARK(BM_AllRead)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_AllCompute(benchmark::State& state) {
  WholeFolder& w = whole_folder();
  const tax::Context c = context();
  for (auto _ : state)
    for (const tax::Declaration& d : w.declarations) benchmark::DoNotOptimize(tax::compute(d, c));
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(w.cpfs.size()));
}
BENCHMARK(BM_AllCompute)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_AllWrite(benchmark::State& state) {
  WholeFolder& w = whole_folder();
  WorkFolder folder(w.folder, WorkFolder::Use::write, system_clock());
  bool flip = false;
  for (auto _ : state) {
    const std::vector<tax::Result>& results = flip ? w.changed : w.results;
    flip = !flip;
    for (size_t i = 0; i < w.cpfs.size(); ++i) {
      FolderRows rows(folder, w.cpfs[i]);
      benchmark::DoNotOptimize(declaration::write_results(rows, results[i]));
    }
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(w.cpfs.size()));
}
BENCHMARK(BM_AllWrite)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace kx::bench
