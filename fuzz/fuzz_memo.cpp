// Fuzz target: a memo file (FPT, or DBT when the first input byte is odd) read through a table
// whose memo fields point at assorted blocks. A bad memo file must end in an exception.
#include <cstdint>
#include <exception>

#include "base/clock.h"
#include "fixture.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const kx::fuzz::Scratch scratch;
  if (size == 0) return 0;
  scratch.clear();
  const bool fpt = (data[0] & 1) == 0;
  kx::fuzz::write_memo_table(scratch, fpt);
  scratch.write(fpt ? "MEMO.FPT" : "MEMO.DBT",
                std::string_view(reinterpret_cast<const char*>(data) + 1, size - 1));
  for (auto mode : {kx::dbf::OpenMode::read_only, kx::dbf::OpenMode::exclusive}) {
    try {
      kx::dbf::Table table =
          kx::dbf::Table::open(scratch.path(kx::fuzz::kMemoTable), {mode}, kx::system_clock());
      kx::fuzz::walk(table);
      table.close();
    } catch (const std::exception&) {
      // reported as bad
    }
  }
  return 0;
}
