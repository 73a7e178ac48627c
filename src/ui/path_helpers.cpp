#include "ui/path_helpers.h"

#include <filesystem>
#include <system_error>

#include "base/cp850.h"
#include "base/text.h"

namespace kx::ui {

std::string BAR_DIR(std::string_view path) {
  std::string p(path);
  if (p.empty() || p.back() != '/') p += '/';
  return p;
}

std::string BAR_FORA(std::string_view path) {
  std::string p(path);
  if (!p.empty() && p.back() == '/') p.pop_back();
  return p;
}

std::string TIRA_DIR(std::string_view path) {
  auto slash = path.rfind('/');
  return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

bool ESPCIF(std::string_view path, Prompter& prompter) {
  std::string_view p = text::trim(path);
  bool ok = (!p.empty() && p[0] == '/') || (p.size() >= 2 && p[0] == '~' && p[1] == '/') ||
            (p.size() >= 2 && p[1] == ':');
  if (!ok) prompter.tell({std::string("Especifique o drive com ':' após a letra"_cp)});
  return ok;
}

bool CRI_NDIR(std::string_view path, std::string_view label, Prompter& prompter) {
  namespace fs = std::filesystem;
  // Settings hold CP850 text; the file system takes UTF-8 names.
  fs::path folder(cp850::to_utf8(BAR_FORA(text::trim(path))));
  std::error_code ec;
  if (fs::is_directory(folder, ec)) return true;
  if (!prompter.ask({std::string("Pasta nova para "_cp) + std::string(label) + "?",
                     std::string("Cria a nova pasta?"_cp)})) {
    return false;
  }
  fs::create_directories(folder, ec);
  if (ec || !fs::is_directory(folder, ec)) {
    prompter.tell({std::string("Problemas ao criar a pasta "_cp) + std::string(path)});
    return false;
  }
  return true;
}

}  // namespace kx::ui
