#include <cstdio>
#include <exception>
#include <string_view>

#include "app/verbs.h"
#include "shell/start_options.h"

namespace {

struct Verb {
  std::string_view name;
  int (*run)(const kx::app::Args&);
};

constexpr Verb kVerbs[] = {
    {"--help", kx::app::verb_help},     {"-h", kx::app::verb_help},
    {"--version", kx::app::verb_version}, {"id", kx::app::verb_id},
    {"mask", kx::app::verb_mask},       {"calc", kx::app::verb_calc},
    {"generate", kx::app::verb_generate}, {"install", kx::app::verb_install},
    {"reftab", kx::app::verb_reftab},   {"list", kx::app::verb_list},
};

}  // namespace

int main(int argc, char** argv) {
  kx::app::Args args(argc > 1 ? argv + 2 : argv + argc, argv + argc);
  std::string_view verb = argc > 1 ? argv[1] : "";
  // No verb, or a terminal number: the interactive program.
  if (argc < 2 || kx::shell::valid_terminal(verb)) {
    try {
      return kx::app::verb_start(argc < 2 ? kx::app::Args{} : kx::app::Args{argv[1]});
    } catch (const std::exception& e) {
      std::fprintf(stderr, "kaprix: %s\n", e.what());
      return 2;
    }
  }
  for (const auto& v : kVerbs) {
    if (v.name != verb) continue;
    try {
      return v.run(args);
    } catch (const std::exception& e) {
      std::fprintf(stderr, "kaprix: %s\n", e.what());
      return 2;
    }
  }
  std::fprintf(stderr, "kaprix: comando desconhecido: %s (veja kaprix --help)\n", argv[1]);
  return 2;
}
