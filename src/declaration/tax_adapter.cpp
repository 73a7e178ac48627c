#include "declaration/tax_adapter.h"

#include <algorithm>

#include "base/text.h"
#include "store/layout.h"
#include "tax/compute.h"
#include "tax/fields.h"

namespace kx::declaration {

namespace {

constexpr int kSummary = 1, kIncome = 2, kDependants = 3, kAssets = 4, kDebts = 5,
              kPayments = 6, kRegistry = 9, kMonthly = 12, kRural = 15;

// Fills the member `ref` from field `f` of the record.
void assign(const tax::FieldRef& ref, const dbf::RecordView& view, const dbf::Field& f) {
  const bool numeric = f.type == dbf::FieldType::numeric;
  std::visit(
      [&](auto* target) {
        using T = std::remove_pointer_t<decltype(target)>;
        if constexpr (std::is_same_v<T, Decimal>) {
          *target = numeric ? view.number(f) : Decimal::parse(view.text(f)).value_or(Decimal());
        } else if constexpr (std::is_same_v<T, int>) {
          *target = static_cast<int>(
              (numeric ? view.number(f) : Decimal::parse(view.text(f)).value_or(Decimal()))
                  .to_int());
        } else if constexpr (std::is_same_v<T, std::string>) {
          *target = std::string(text::rtrim(view.text(f)));
        } else if constexpr (std::is_same_v<T, Date>) {
          *target = view.date(f);
        } else {
          *target = view.logical(f);
        }
      },
      ref);
}

// One row of the computation's input from one record: every field the row has a member for.
template <class Row>
Row read_row(const dbf::RecordView& view, Row row = {}) {
  for (const dbf::Field& f : view.schema().fields())
    if (auto ref = tax::field(row, f.name)) assign(*ref, view, f);
  return row;
}

template <class Row>
std::vector<Row> read_rows(DeclarationRows& rows, int table) {
  std::vector<Row> out;
  rows.visit(table, [&](const dbf::RecordView& view) { out.push_back(read_row<Row>(view)); });
  return out;
}

std::string text_of(const dbf::RecordView& view, std::string_view name) {
  const dbf::Field* f = view.schema().find(name);
  return f ? std::string(text::rtrim(view.text(*f))) : std::string();
}

Decimal number_of(const dbf::RecordView& view, std::string_view name) {
  const dbf::Field* f = view.schema().find(name);
  return f ? view.number(*f) : Decimal();
}

FieldValue value_of(const tax::Result& result, const std::string& name) {
  tax::Result& r = const_cast<tax::Result&>(result);  // field() only reads through the reference
  const auto ref = tax::field(r, name);
  if (!ref) throw std::logic_error("the computation has no result " + name);
  return std::visit([](auto* p) { return FieldValue(*p); }, *ref);
}

// The registry's copies of lines 27 and 35: tax withheld from titular and dependants, and tax
// paid less the tax withheld on accumulated income taxed on its own.
Decimal registry_withheld(const tax::Result& r) { return r.I13_27 + r.I13_28; }
Decimal registry_tax_paid(const tax::Result& r) { return r.I13_35 - r.I13_34; }

}  // namespace

std::optional<tax::Declaration> read_declaration(DeclarationRows& rows) {
  tax::Declaration d;
  bool found = false;
  std::string country;  // ATV_BRASIL of the registry
  rows.visit(kRegistry, [&](const dbf::RecordView& view) {
    if (found) return;
    d.registry = read_row<tax::Registry>(view);
    country = text_of(view, "ATV_BRASIL");
    found = true;
  });
  if (!found) return std::nullopt;
  bool summary_found = false;
  rows.visit(kSummary, [&](const dbf::RecordView& view) {
    if (!summary_found) d.summary = read_row<tax::Summary>(view);
    summary_found = true;
  });
  d.income = read_rows<tax::IncomeRow>(rows, kIncome);
  d.dependants = read_rows<tax::Dependant>(rows, kDependants);
  d.assets = read_rows<tax::Asset>(rows, kAssets);
  d.debts = read_rows<tax::Debt>(rows, kDebts);
  d.payments = read_rows<tax::PaymentRow>(rows, kPayments);
  d.monthly = read_rows<tax::MonthlyRow>(rows, kMonthly);
  bool rural_found = false;
  rows.visit(kRural, [&](const dbf::RecordView& view) {
    const bool same_country = text_of(view, "ATV_BRASIL") == country;
    if (rural_found && !same_country) return;
    d.rural = {number_of(view, "I4R_03"), number_of(view, "I4R_04"), number_of(view, "I4R_07")};
    rural_found = same_country;
  });
  return d;
}

std::vector<NamedValue> summary_values(const tax::Result& result) {
  std::vector<NamedValue> out;
  for (const std::string& name : tax::summary_result_fields())
    out.push_back({name, value_of(result, name)});
  return out;
}

std::vector<NamedValue> registry_values(const tax::Result& result) {
  const auto& names = tax::registry_result_fields();
  std::vector<NamedValue> out;
  for (const dbf::Field& f : store::declaration_layout(kRegistry).fields()) {
    if (f.name == "I13_27") {
      out.push_back({f.name, registry_withheld(result)});
    } else if (f.name == "I13_28") {
      out.push_back({f.name, result.I13_28});
    } else if (f.name == "I13_35") {
      out.push_back({f.name, registry_tax_paid(result)});
    } else if (std::find(names.begin(), names.end(), f.name) != names.end()) {
      out.push_back({f.name, value_of(result, f.name)});
    }
  }
  return out;
}

bool write_results(DeclarationRows& rows, const tax::Result& result) {
  return rows.store({{kSummary, summary_values(result)}, {kRegistry, registry_values(result)}});
}

std::optional<tax::SpouseFetch> fetch_spouse(DeclarationRows& rows, const tax::Context& context,
                                             std::optional<bool> clear_other_mark) {
  std::optional<tax::Declaration> d = read_declaration(rows);
  if (!d) return std::nullopt;
  if (d->registry.I9_4 == "S" && clear_other_mark.value_or(false)) {
    std::vector<NamedValue> cleared = {{"I9_4", std::string("N")}};
    for (const char* name : {"I13_1C", "I13_2C", "I13_3C", "I13_4C", "I13_5C", "I9_2", "I9_3"})
      cleared.push_back({name, Decimal::raw(0, 2)});
    rows.store({{kRegistry, cleared}});
    d = read_declaration(rows);
  }
  const tax::Result r = tax::compute(*d, context);
  const tax::SpouseRow row{d->registry.USAPADRAO, d->registry.I9_4, r.SALDO, r.I13_20,
                           registry_tax_paid(r), r.I13_44, r.I13_45, r.EXGSUSP};
  return tax::take_spouse_values(row, clear_other_mark);
}

}  // namespace kx::declaration
