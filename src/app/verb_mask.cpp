#include <cstdio>
#include <string>

#include "app/verbs.h"
#include "base/cp850.h"
#include "base/date.h"
#include "base/decimal.h"
#include "ui/picture.h"

namespace kx::app {
namespace {

// A template meant for text: R inserts literals, X and ! take any character.
bool text_mask(const ui::Picture& p) {
  return p.insert_literals || p.tmpl.find_first_of("X!") != std::string::npos ||
         (p.upper && p.tmpl.empty());
}

}  // namespace

int verb_mask(const Args& args) {
  if (args.size() != 2) {
    std::fputs("Uso: kaprix mask MASCARA VALOR\n", stderr);
    return 2;
  }
  const std::string mask = cp850::from_utf8(args[0]);
  const std::string value = cp850::from_utf8(args[1]);
  ui::Picture p = ui::Picture::parse(mask);
  std::string shown;
  if (value.find('/') != std::string::npos && Date::parse_dmy(value)) {
    shown = ui::format(p, *Date::parse_dmy(value));
  } else if (auto number = Decimal::parse(value); number && !text_mask(p) && !value.empty()) {
    shown = ui::format(p, *number);
  } else {
    shown = ui::format(p, value);
  }
  std::printf("[%s]\n", cp850::to_utf8(shown).c_str());
  return 0;
}

}  // namespace kx::app
