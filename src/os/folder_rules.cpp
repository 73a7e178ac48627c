#include "os/folder_rules.h"

#include "base/cp850.h"
#include "base/text.h"
#include "os/path.h"

namespace kx::os {

std::string BAR_DIR(std::string_view folder) {
  std::string p(folder);
  if (p.empty() || p.back() != '/') p += '/';
  return p;
}

std::string BAR_FORA(std::string_view folder) {
  std::string p(folder);
  if (!p.empty() && p.back() == '/') p.pop_back();
  return p;
}

std::string BAR_ESQ(std::string_view name) {
  return !name.empty() && name.front() == '/' ? std::string(name) : "/" + std::string(name);
}

std::string TIRA_DIR(std::string_view path) {
  const auto slash = path.rfind('/');
  return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

bool VERDIR(std::string_view folder) {
  std::string p(text::rtrim(folder));
  if (p.size() > 1) p = BAR_FORA(p);
  if (p.empty() || p.front() != '/') return false;
  // Settings hold CP850 text; the file system takes UTF-8 names.
  return folder_exists(cp850::to_utf8(p));
}

}  // namespace kx::os
