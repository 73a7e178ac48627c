// Loading one declaration into its working copies and saving it back, in generated work folders
// of 100 and of 10,000 taxpayers: the cost is expected to be the same. The baseline reads the
// folder's registry file with plain read(), which grows with the folder.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "base/clock.h"
#include "declaration/open_declaration.h"
#include "declaration/work_folder.h"
#include "store/catalogue.h"
#include "store/operator.h"
#include "support.h"

namespace kx::bench {
namespace {

namespace fs = std::filesystem;


class SilentOperator : public store::Operator {
 public:
  void show_message(std::string_view) override {}
  void clear_message() override {}
  void show_waiting(std::string_view) override {}
  void clear_waiting() override {}
  void message_box(const std::vector<std::string>&) override {}
  bool ask(const std::vector<std::string>&) override { return true; }
  bool escape_pressed() override { return false; }
};

struct Terminal {
  explicit Terminal(int n) {
    settings.NUSU = "99";
    settings.LOCARQ = generated_folder("SAVE", n);
    settings.LOCTRAB = data_folder() + "/SAVE_AUX";
    fs::create_directories(settings.LOCTRAB);
    declaration::WorkFolder folder(settings.LOCARQ, declaration::WorkFolder::Use::read,
                                   system_clock());
    cpfs = folder.cpfs();
  }
  ~Terminal() { workspace.close_all(); }
  store::Access access() { return {workspace, settings, op, system_clock(), {}}; }
  const std::string& cpf(size_t i) const { return cpfs[i * 7919 % cpfs.size()]; }

  store::Settings settings;
  store::Workspace workspace;
  SilentOperator op;
  std::vector<std::string> cpfs;
};

void BM_ReadRegistryBaseline(benchmark::State& state) {
  const std::string file = generated_folder("SAVE", static_cast<int>(state.range(0))) + "/" +
                           store::declaration_table_name(9) + ".DBF";
  int64_t bytes = 0;
  for (auto _ : state) bytes += read_whole(file);
  state.SetBytesProcessed(bytes);
}
BENCHMARK(BM_ReadRegistryBaseline)->Arg(100)->Arg(10000)->UseRealTime();

// One declaration loaded into working copies (and left without saving).
void BM_LoadOne(benchmark::State& state) {
  Terminal t(static_cast<int>(state.range(0)));
  declaration::OpenDeclaration d(t.access(), "BENCH");
  size_t i = 0;
  for (auto _ : state) {
    if (!d.load(t.cpf(i++), declaration::Origin::existing, true)) state.SkipWithError("load");
    d.discard();
  }
}
BENCHMARK(BM_LoadOne)->Arg(100)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime();

// One declaration loaded and saved back (final save).
void BM_LoadAndSaveOne(benchmark::State& state) {
  Terminal t(static_cast<int>(state.range(0)));
  declaration::OpenDeclaration d(t.access(), "BENCH");
  size_t i = 0;
  for (auto _ : state) {
    if (!d.load(t.cpf(i++), declaration::Origin::existing, true)) state.SkipWithError("load");
    if (!d.save(declaration::SaveMode::final)) state.SkipWithError("save");
  }
}
BENCHMARK(BM_LoadAndSaveOne)->Arg(100)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace kx::bench
