// kxdbf check and kxdbf info: what a table and its index files hold, and whether they agree.
#include <iomanip>
#include <iostream>

#include "base/cp850.h"
#include "tools/index_list.h"
#include "tools/open_table.h"
#include "tools/verbs.h"

namespace kx::tools {

int verb_check(const Args& args) {
  if (args.has("--repair")) {
    dbf::Table writer = open_table(args.at(0), dbf::OpenMode::exclusive, true);
    for (const std::string& r : writer.repairs()) std::cout << "repaired: " << r << '\n';
    writer.close();
  }
  dbf::Table table = open_table(args.at(0), dbf::OpenMode::read_only);
  std::vector<std::string> problems = table.check();
  // A read-only open puts an index in memory in place of a file it cannot use.
  const std::vector<dbf::IndexSpec> listed = read_index_list(table.path());
  const dbf::TableInfo info = table.info();
  for (std::size_t i = 0; i < listed.size() && i < info.indexes.size(); ++i)
    if (info.indexes[i].file.empty())
      problems.push_back("index file " + listed[i].file +
                         " is missing, damaged or does not describe the table as it is");
  for (const std::string& p : problems) std::cout << p << '\n';
  if (!problems.empty()) {
    std::cerr << "kxdbf check: " << table.path() << ": " << problems.size()
              << (problems.size() == 1 ? " problem\n" : " problems\n");
    return 1;
  }
  return 0;
}

int verb_info(const Args& args) {
  dbf::Table table = open_table(args.at(0), dbf::OpenMode::read_only);
  const dbf::TableInfo info = table.info();
  std::cout << "file:          " << info.path << '\n';
  if (!info.memo_path.empty()) std::cout << "memo file:     " << info.memo_path << '\n';
  std::cout << "version:       0x" << std::hex << std::setw(2) << std::setfill('0') << info.version
            << "\ncode page:     0x" << std::setw(2) << info.code_page << std::dec
            << std::setfill(' ') << (info.code_page == 0x02 ? " (850)" : "") << '\n'
            << "last update:   " << info.last_update.dmy() << '\n'
            << "records:       " << info.record_count << '\n'
            << "header length: " << info.header_length << '\n'
            << "record length: " << info.record_length << '\n'
            << "fields:        " << info.fields.size() << '\n';
  for (const dbf::Field& f : info.fields) {
    std::cout << "  " << std::left << std::setw(11) << f.name << std::right
              << static_cast<char>(f.type) << std::setw(5) << f.width;
    if (f.type == dbf::FieldType::numeric) std::cout << ',' << f.decimals;
    std::cout << '\n';
  }
  std::cout << "index files:   " << info.indexes.size() << '\n';
  for (std::size_t i = 0; i < info.indexes.size(); ++i) {
    const auto& ix = info.indexes[i];
    std::cout << "  " << i + 1 << (ix.active ? " * " : "   ")
              << (ix.file.empty() ? "(in memory)" : ix.file) << "  " << cp850::to_utf8(ix.expr)
              << '\n';
  }
  return 0;
}

}  // namespace kx::tools
