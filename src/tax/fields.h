// Access to the computation's inputs and results by table field name, for the adapter that
// fills a Declaration from the tables and writes the results back.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "tax/input.h"
#include "tax/result.h"

namespace kx::tax {

using FieldRef = std::variant<Decimal*, std::string*, Date*, int*, bool*>;

// The member named like the table field (any case), or nullopt for a field the computation does
// not use. Monthly families are named as stored: I1_401..I1_412, I6_401..I6_412, I2_101..I2_713.
std::optional<FieldRef> field(Registry& row, std::string_view name);
std::optional<FieldRef> field(Summary& row, std::string_view name);
std::optional<FieldRef> field(IncomeRow& row, std::string_view name);
std::optional<FieldRef> field(PaymentRow& row, std::string_view name);
std::optional<FieldRef> field(Dependant& row, std::string_view name);
std::optional<FieldRef> field(MonthlyRow& row, std::string_view name);
std::optional<FieldRef> field(Asset& row, std::string_view name);
std::optional<FieldRef> field(Debt& row, std::string_view name);
std::optional<FieldRef> field(Result& result, std::string_view name);

// The fields of the summary (table 1) and of the registry (table 9) that the computation sets,
// in table order; each is found in a Result with field().
const std::vector<std::string>& summary_result_fields();
const std::vector<std::string>& registry_result_fields();

}  // namespace kx::tax
