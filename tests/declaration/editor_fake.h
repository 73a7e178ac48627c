// A scripted data side for the editor's screen tests: records what the editor asked for.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "declaration/editor_services.h"
#include "store/layout.h"

namespace kx::declaration::testing {

class FakeServices : public EditorServices {
 public:
  FakeServices() {
    v.add_fields(store::declaration_layout(9));
    v.add_fields(store::declaration_layout(1));
    v.set("ESTATUS", Decimal(2));  // not the protected status 0
    v.set("NOMECONTR", std::string("ANA SILVA"));
  }
  std::optional<CpfChoice> choose_cpf() override {
    if (prompts.empty()) return std::nullopt;
    CpfChoice c = prompts.front();
    prompts.pop_front();
    return c;
  }
  bool load(const std::string& cpf, Origin, bool) override {
    loads.push_back(cpf);
    return load_ok;
  }
  bool save(int mode) override {
    saves.push_back(mode);
    bool ok = save_results.empty() ? true : save_results.front();
    if (!save_results.empty()) save_results.pop_front();
    return ok;
  }
  void discard() override { ++discards; }
  void close_copies() override {}
  DeclarationValues& values() override { return v; }
  long elapsed_seconds() override { return 0; }
  long data_size() override { return 0; }
  void stop_clock(bool stopped) override { clock_stops.push_back(stopped); }
  void store_summary() override {}
  int dependants() override { return deps; }

  DeclarationValues v;
  std::deque<CpfChoice> prompts;
  std::deque<bool> save_results;
  std::vector<std::string> loads;
  std::vector<int> saves;
  std::vector<bool> clock_stops;
  int discards = 0;
  int deps = 0;
  bool load_ok = true;
};

}  // namespace kx::declaration::testing
