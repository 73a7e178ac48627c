#include "tools/index_list.h"

#include <cctype>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "os/folder.h"
#include "os/path.h"
#include "os/replace.h"

namespace kx::tools {

namespace {

// The table's path without its extension, and whether that extension is in lower case.
std::pair<std::string, bool> stem_of(const std::string& table_path) {
  const std::string name = os::name_of(table_path);
  const auto dot = name.rfind('.');
  if (dot == std::string::npos || dot == 0) return {table_path, false};
  bool lower = false;
  for (std::size_t i = dot + 1; i < name.size(); ++i)
    lower = lower || std::islower(static_cast<unsigned char>(name[i]));
  return {table_path.substr(0, table_path.size() - (name.size() - dot)), lower};
}

}  // namespace

std::string index_list_path(const std::string& table_path) {
  const std::string wanted = stem_of(table_path).first + ".kxi";
  return os::find_nocase(wanted).value_or(wanted);
}

std::vector<dbf::IndexSpec> read_index_list(const std::string& table_path) {
  std::vector<dbf::IndexSpec> specs;
  const std::string list = index_list_path(table_path);
  std::ifstream in(list);
  if (!in) return specs;
  const std::filesystem::path folder = std::filesystem::path(table_path).parent_path();
  std::string line;
  for (int n = 1; std::getline(in, line); ++n) {
    if (line.empty()) continue;
    const auto tab = line.find('\t');
    if (tab == std::string::npos)
      throw std::runtime_error(list + " line " + std::to_string(n) + ": no tab between file and key expression");
    specs.push_back({line.substr(tab + 1), (folder / line.substr(0, tab)).lexically_normal().string()});
  }
  return specs;
}

void write_index_list(const std::string& table_path, const std::vector<dbf::IndexSpec>& specs) {
  const std::string list = index_list_path(table_path);
  if (specs.empty()) {
    os::remove_file(list);
    return;
  }
  const std::filesystem::path folder = std::filesystem::absolute(table_path).parent_path();
  std::ostringstream out;
  for (const dbf::IndexSpec& s : specs)
    out << std::filesystem::absolute(s.file).lexically_proximate(folder).string() << '\t' << s.expr
        << '\n';
  os::replace_file(list, out.str());
}

std::string default_index_file(const std::string& table_path, int n) {
  auto [stem, lower] = stem_of(table_path);
  static constexpr const char* kUpper[] = {".CDX", "B.CDX", "C.CDX"};
  static constexpr const char* kLower[] = {".cdx", "b.cdx", "c.cdx"};
  return stem + (lower ? kLower : kUpper)[n];
}

}  // namespace kx::tools
