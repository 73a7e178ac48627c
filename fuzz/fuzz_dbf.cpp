// Fuzz target: a DBF data file (header, field descriptors, records) read through the engine,
// read-only and then by a repairing exclusive open. A bad file must end in an exception.
#include <cstdint>
#include <exception>

#include "base/clock.h"
#include "fixture.h"

namespace {

void read_as(const std::string& path, kx::dbf::OpenOptions options) {
  try {
    kx::dbf::Table table = kx::dbf::Table::open(path, options, kx::system_clock());
    kx::fuzz::walk(table);
    table.close();
  } catch (const std::exception&) {
    // reported as bad: what the engine must do with such a file
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const kx::fuzz::Scratch scratch;
  scratch.clear();
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const std::string path = scratch.write("T.DBF", bytes);
  // Memo files for tables that declare one, so memo pointers of the records get followed.
  scratch.write("T.FPT", std::string("\0\0\0\x10\0\0\0\x40", 8) + std::string(504, '\0') +
                             std::string("\0\0\0\x01\0\0\0\x05hello", 13));
  scratch.write("T.DBT", std::string("\0\0\0\x02", 4) + std::string(508, '\0') + "hello\x1a\x1a");
  read_as(path, {kx::dbf::OpenMode::read_only});
  read_as(path, {kx::dbf::OpenMode::exclusive, true});
  return 0;
}
