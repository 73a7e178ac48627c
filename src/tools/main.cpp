// kxdbf, the table engine's command-line tool: a table of verbs and their help.
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "tools/verbs.h"

namespace kx::tools {
namespace {

const std::vector<Verb> kVerbs = {
    {"create", "create FILE NAME:TYPE[:WIDTH[:DEC]]...",
     "Creates an empty table (and its memo file when a field is M). TYPE is C\n"
     "(WIDTH 1..512), N (WIDTH 1..20, DEC decimals), D, L or M.",
     {}, 2, -1, verb_create},
    {"append", "append FILE [--shared] [--verbose]",
     "Appends the rows of the CSV on standard input. Its header line names the\n"
     "fields (any case, any order, any subset; a column \"*\" holding \"*\" marks a\n"
     "row deleted). Every row is checked before the first is written: on any\n"
     "error nothing is appended. --shared opens the table shared and appends\n"
     "under the append lock, so several appends can run at once. --verbose\n"
     "prints the record number of each row once it is in the file (at once\n"
     "with --shared, after the final write otherwise).",
     {{"--shared"}, {"--verbose"}}, 1, 1, verb_append},
    {"dump", "dump FILE [--order EXPR] [--deleted]",
     "Writes the rows as CSV with a header line, in record order or in the\n"
     "order of the key expression EXPR. --deleted includes deleted rows and\n"
     "adds a first column \"*\" holding \"*\" for them.",
     {{"--order", true}, {"--deleted"}}, 1, 1, verb_dump},
    {"index", "index FILE EXPR [--tag FILE2]",
     "Builds an index file on the key expression EXPR and attaches it to the\n"
     "table (at most three). The file is FILE2, or by default the table's name\n"
     "with .CDX, then B.CDX, then C.CDX. Attached index files are listed in\n"
     "FILE's .kxi file and kept right by every verb that writes.",
     {{"--tag", true}}, 2, 2, verb_index},
    {"seek", "seek FILE EXPR KEY [--soft] [--exact]",
     "Prints (CSV with a header line) the first row whose key of EXPR begins\n"
     "with KEY (letters compared without their accents); --exact wants the\n"
     "whole key, --soft takes the next greater key when none matches. Exit\n"
     "status 1 when no row is found. An attached index on EXPR is used, or one\n"
     "is built in memory.",
     {{"--soft"}, {"--exact"}}, 3, 3, verb_seek},
    {"set", "set FILE --where NAME=VALUE NAME=VALUE...",
     "Changes the fields given in every row whose field NAME equals VALUE, each\n"
     "row under its record lock (table opened shared). An empty VALUE to set\n"
     "stores blanks, 0, an empty date or F. Prints how many rows changed.",
     {{"--where", true}}, 1, -1, verb_set},
    {"delete", "delete FILE --where NAME=VALUE",
     "Marks deleted every row whose field NAME equals VALUE (record locks, table\n"
     "opened shared). Prints how many rows were deleted.",
     {{"--where", true}}, 1, 1, verb_delete},
    {"zap", "zap FILE", "Removes every row (table opened exclusive).", {}, 1, 1, verb_zap},
    {"pack", "pack FILE",
     "Removes the deleted rows for good and compacts the memo file (table\n"
     "opened exclusive).",
     {}, 1, 1, verb_pack},
    {"reindex", "reindex FILE", "Rebuilds every attached index file.", {}, 1, 1, verb_reindex},
    {"check", "check FILE [--repair]",
     "Prints every disagreement between the header, the record count, the file\n"
     "size, the memo file and every attached index file. Exit status 0 only\n"
     "when they all agree. --repair first opens the table for writing, which\n"
     "mends what an interrupted writer left, and says what it mended.",
     {{"--repair"}}, 1, 1, verb_check},
    {"info", "info FILE",
     "Prints the fields, record length, record count, code page and attached\n"
     "index files.",
     {}, 1, 1, verb_info},
};

void print_help(std::ostream& out) {
  out << "usage: kxdbf VERB FILE ...\n\n"
         "The engine's tool for DBF tables. CSV is UTF-8 with a header line of field\n"
         "names; values: numbers with \".\" for decimals, dates dd/mm/yyyy (or\n"
         "yyyymmdd on input), logicals T or F, an empty cell for a blank value. VALUE\n"
         "in NAME=VALUE has the same forms.\n"
         "Exit status: 0 done, 1 failed or inconsistent (reason on standard error),\n"
         "2 wrong command line.\n";
  for (const Verb& v : kVerbs) {
    out << "\nkxdbf " << v.synopsis << '\n';
    std::string_view d = v.description;
    while (!d.empty()) {
      auto nl = d.find('\n');
      out << "    " << d.substr(0, nl) << '\n';
      d = nl == std::string_view::npos ? std::string_view{} : d.substr(nl + 1);
    }
  }
}

int run(int argc, char** argv) {
  std::vector<std::string> words(argv + 1, argv + argc);
  if (words.empty() || words[0] == "--help" || words[0] == "-h" || words[0] == "help") {
    print_help(words.empty() ? std::cerr : std::cout);
    return words.empty() ? 2 : 0;
  }
  const Verb* verb = nullptr;
  for (const Verb& v : kVerbs)
    if (v.name == words[0]) verb = &v;
  if (!verb) {
    std::cerr << "kxdbf: unknown verb \"" << words[0] << "\" (kxdbf --help lists them)\n";
    return 2;
  }
  try {
    std::span<const std::string> rest(words.begin() + 1, words.end());
    Args args(rest, verb->options, verb->min_positional, verb->max_positional);
    return verb->run(args);
  } catch (const UsageError& e) {
    std::cerr << "kxdbf " << verb->name << ": " << e.what() << "\nusage: kxdbf " << verb->synopsis
              << '\n';
    return 2;
  } catch (const std::exception& e) {
    std::cerr << "kxdbf " << verb->name << ": " << e.what() << '\n';
    return 1;
  }
}

}  // namespace
}  // namespace kx::tools

int main(int argc, char** argv) { return kx::tools::run(argc, argv); }
