#include <cstdio>
#include <string>

#include "app/verbs.h"
#include "ui/identifiers.h"
#include "ui/picture.h"

namespace kx::app {
namespace {

struct Kind {
  const char* name;
  std::size_t digits;   // the whole number
  std::size_t base;     // digits before the check digits
  const char* mask;
  std::string (*check)(std::string_view base);
};

constexpr Kind kKinds[] = {
    {"cpf", 11, 9, "@R 999.999.999-99", ui::cpf_check_digits},
    {"cnpj", 14, 12, "@R 99.999.999/9999-99", ui::cnpj_check_digits},
    {"nit", 11, 10, "@R 999.99999.99-9", ui::nit_check_digit},
};

}  // namespace

int verb_id(const Args& args) {
  const Kind* kind = nullptr;
  if (!args.empty()) {
    for (const auto& k : kKinds) {
      if (args[0] == k.name) kind = &k;
    }
  }
  if (!kind || args.size() < 2) {
    std::fputs("Uso: kaprix id cpf|cnpj|nit NUMERO...\n", stderr);
    return 2;
  }
  bool all_valid = true;
  for (std::size_t i = 1; i < args.size(); ++i) {
    std::string digits = ui::TIRA_PONTO(args[i]);
    if (digits.size() != kind->digits) {
      std::printf("%s invalido (deve ter %zu digitos)\n", args[i].c_str(), kind->digits);
      all_valid = false;
      continue;
    }
    std::string expected = kind->check(std::string_view(digits).substr(0, kind->base));
    std::string shown = ui::transform(digits, kind->mask);
    if (digits.substr(kind->base) == expected) {
      std::printf("%s valido\n", shown.c_str());
    } else {
      std::printf("%s invalido (digitos corretos: %s)\n", shown.c_str(), expected.c_str());
      all_valid = false;
    }
  }
  return all_valid ? 0 : 1;
}

}  // namespace kx::app
