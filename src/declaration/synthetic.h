// Synthetic but plausible declarations for demonstrations, tests and benchmarks: valid CPFs and
// CNPJs, employers, dependants, payments with their codes, assets and debts, some carnê-leão
// months. Every value comes from the Random given, so a seed gives the same declarations.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "declaration/declaration_rows.h"
#include "declaration/random.h"
#include "store/layout.h"

namespace kx::declaration {

using RowValues = std::vector<NamedValue>;  // text in CP850

struct SyntheticDeclaration {
  std::string cpf;
  // rows[n]: the rows of table n (1..20), each the values of its fields; CPF included.
  std::array<std::vector<RowValues>, store::kDeclarationTables + 1> rows;
};

// A valid CPF (check digits right, not all one digit), digits only.
std::string synthetic_cpf(Random& random);
// A valid CNPJ in the form "99.999.999/9999-99".
std::string synthetic_cnpj(Random& random);

// One declaration of the taxpayer `cpf`.
SyntheticDeclaration synthetic_declaration(Random& random, const std::string& cpf);

}  // namespace kx::declaration
