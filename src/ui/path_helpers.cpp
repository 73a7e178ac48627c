#include "ui/path_helpers.h"

#include <string>

#include "base/cp850.h"
#include "base/text.h"

namespace kx::ui {

bool ESPCIF(std::string_view path, Prompter& prompter) {
  std::string_view p = text::trim(path);
  bool ok = (!p.empty() && p[0] == '/') || (p.size() >= 2 && p[0] == '~' && p[1] == '/') ||
            (p.size() >= 2 && p[1] == ':');
  if (!ok) prompter.tell({std::string("Especifique o drive com ':' após a letra"_cp)});
  return ok;
}

}  // namespace kx::ui
