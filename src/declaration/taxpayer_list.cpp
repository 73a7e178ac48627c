#include "declaration/taxpayer_list.h"

#include "base/text.h"

namespace kx::declaration {

std::optional<ListOrder> list_order(std::string_view word) {
  if (word == "cpf") return ListOrder::cpf;
  if (word == "nome") return ListOrder::name;
  if (word == "status") return ListOrder::status;
  return std::nullopt;
}

std::vector<TaxpayerLine> taxpayer_lines(dbf::Table& registry, ListOrder order) {
  registry.set_order(static_cast<int>(order));
  std::vector<TaxpayerLine> lines;
  for (registry.go_top(); !registry.eof(); registry.skip()) {
    lines.push_back({std::string(text::trim(registry.get_text("CPF"))),
                     std::string(text::rtrim(registry.get_text("NOMECONTR"))),
                     static_cast<int>(registry.get_number("ESTATUS").to_int()),
                     registry.get_number("IMPPGRE")});
  }
  return lines;
}

namespace {

std::optional<Decimal> share(int part, int whole) {
  if (whole == 0) return std::nullopt;
  return (Decimal(part) * 100 / Decimal(whole)).round(2);
}

}  // namespace

std::optional<Decimal> ListTotals::simplified_share() const { return share(simplified, rows); }
std::optional<Decimal> ListTotals::complete_share() const { return share(complete, rows); }

ListTotals list_totals(dbf::Table& registry) {
  ListTotals totals;
  const dbf::Field& model_field = registry.field("USAPADRAO");
  const dbf::Field& rural_field = registry.field("TEMRURAL");
  registry.scan([&](uint32_t, const dbf::RecordView& row) {
    ++totals.rows;
    const std::string_view model = row.text(model_field);
    if (model == "S")
      ++totals.simplified;
    else if (model == "N")
      ++totals.complete;
    if (row.text(rural_field) == "S") ++totals.rural;
    return true;
  });
  return totals;
}

}  // namespace kx::declaration
