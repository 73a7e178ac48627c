// The taxpayers of a work folder as the lists show them: the registry's rows in one of its three
// orders, and the folder's totals.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/decimal.h"
#include "dbf/table.h"

namespace kx::declaration {

// The registry's index orders.
enum class ListOrder { cpf = 1, name = 2, status = 3 };

// "cpf", "nome", "status"; nullopt for anything else.
std::optional<ListOrder> list_order(std::string_view word);

struct TaxpayerLine {
  std::string cpf;   // digits
  std::string name;  // CP850, trailing blanks removed
  int status = 0;    // ESTATUS
  Decimal balance;   // IMPPGRE: above 0 to pay, below 0 to receive
};

// The registry's live rows in `order` (the registry is left in that order).
std::vector<TaxpayerLine> taxpayer_lines(dbf::Table& registry, ListOrder order);

struct ListTotals {
  int rows = 0, simplified = 0, complete = 0, rural = 0;
  // Shares of the whole in percent, two decimals; blank (nullopt) with no rows.
  std::optional<Decimal> simplified_share() const;
  std::optional<Decimal> complete_share() const;
};

// Counted over the live rows the registry shows (set no filter first): USAPADRAO "S"/"N",
// TEMRURAL "S".
ListTotals list_totals(dbf::Table& registry);

}  // namespace kx::declaration
