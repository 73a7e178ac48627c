// The verbs of kxdbf. Each takes its parsed arguments and returns the exit status:
// 0 done, 1 failed (the reason is on standard error). Errors are thrown as exceptions and
// reported by main().
#pragma once

#include <span>
#include <string_view>
#include <vector>

#include "tools/args.h"

namespace kx::tools {

struct Verb {
  std::string_view name;
  std::string_view synopsis;     // "create FILE NAME:TYPE[:WIDTH[:DEC]]..."
  std::string_view description;  // what it does, for --help (lines of at most 76 columns)
  std::vector<OptionSpec> options;
  int min_positional = 0;
  int max_positional = 0;  // -1: without limit
  int (*run)(const Args&) = nullptr;
};

int verb_create(const Args& args);
int verb_append(const Args& args);
int verb_dump(const Args& args);
int verb_index(const Args& args);
int verb_seek(const Args& args);
int verb_set(const Args& args);
int verb_delete(const Args& args);
int verb_zap(const Args& args);
int verb_pack(const Args& args);
int verb_reindex(const Args& args);
int verb_check(const Args& args);
int verb_info(const Args& args);

}  // namespace kx::tools
