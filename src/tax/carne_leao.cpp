#include "tax/carne_leao.h"

#include <algorithm>

#include "base/cp850.h"
#include "base/text.h"
#include "tax/late_payment.h"
#include "tax/progressive.h"
#include "tax/rounding.h"

namespace kx::tax {

namespace {

constexpr int kYear = 13;  // the totals row of a grid

// Monthly sums of one person, before they are written into the grid.
struct PersonSums {
  Months persons{}, abroad{}, cash_book{}, pension{}, paid{};
  Decimal pension_year;
};

bool same_person(const IncomeRow& row, const std::string& dependant_cpf) {
  if (dependant_cpf.empty()) return row.titular();
  return !row.titular() && text::trim(row.I1_8) == dependant_cpf;
}

MonthlyRow& row_of(std::vector<MonthlyRow>& rows, const std::string& dependant_cpf) {
  for (auto& row : rows)
    if (row.CPFDEPEN == dependant_cpf) return row;
  rows.push_back(MonthlyRow{dependant_cpf, {}});
  return rows.back();
}

// The persons with a grid: the titular, every dependant with a stored row, then every dependant
// with income rows of the grid's kinds.
std::vector<MonthlyRow> persons(const Declaration& d) {
  std::vector<MonthlyRow> rows;
  row_of(rows, "");
  for (const auto& stored : d.monthly) {
    const std::string cpf(text::trim(stored.CPFDEPEN));
    row_of(rows, cpf) = MonthlyRow{cpf, stored.I2};
  }
  for (const auto& income : d.income) {
    const bool grid_kind = income.I1_1.size() == 1 &&
                           std::string_view("FELPI").find(income.I1_1[0]) != std::string_view::npos;
    if (!income.titular() && grid_kind) row_of(rows, std::string(text::trim(income.I1_8)));
  }
  return rows;
}

// Fill modes 1 and 3: the month columns of one person from the income rows.
void fill_from_rows(const Declaration& d, int mode, MonthlyRow& grid, Result& r) {
  const bool titular = grid.CPFDEPEN.empty();
  PersonSums sums;
  for (size_t i = 0; i < d.income.size(); ++i) {
    const IncomeRow& row = d.income[i];
    if (!same_person(row, grid.CPFDEPEN)) continue;
    Months* target = nullptr;
    if (row.I1_1 == "F") target = &sums.persons;
    else if (row.I1_1 == "E") target = &sums.abroad;
    else if (row.I1_1 == "L") target = &sums.cash_book;
    else if (row.I1_1 == "P") target = &sums.pension;
    else if (row.I1_1 == "I") target = &sums.paid;
    if (target == nullptr) continue;
    if (row.I1_1 == "P") sums.pension_year += row.I1_4;
    Months months = row.I1_4m;
    if (mode == 3 && (row.I1_1 == "F" || row.I1_1 == "L")) {
      if (row.DT_LC.empty()) continue;  // an undated entry counts nowhere
      months[row.DT_LC.month() - 1] = row.I1_4;
      r.income[i].I1_4m = months;
      (*target)[row.DT_LC.month() - 1] += row.I1_4;
      continue;
    }
    for (int m = 0; m < 12; ++m) (*target)[m] += months[m];
  }
  (titular ? r.CARNEINSS : r.CARNEDEPEN) += sums.pension_year;

  Months alimony{};
  if (titular) {
    for (const PaymentRow& p : d.payments)
      if (p.I6_3 >= 30 && p.I6_3 <= 34)
        for (int m = 0; m < 12; ++m) alimony[m] += p.I6_4m[m];
    r.PENSAOM = Decimal();
    for (int m = 0; m < 12; ++m) r.PENSAOM += alimony[m];
  }
  for (int m = 1; m <= 12; ++m) {
    grid.at(kFromPersons, m) = sums.persons[m - 1];
    grid.at(kFromAbroad, m) = sums.abroad[m - 1];
    grid.at(kCashBook, m) = sums.cash_book[m - 1];
    grid.at(kPaid, m) = sums.paid[m - 1];
    grid.at(kDeductions, m) = sums.pension[m - 1] + alimony[m - 1];
  }
}

}  // namespace

int fill_mode(int CAL_AUTO) { return CAL_AUTO >= 1 && CAL_AUTO <= 4 ? CAL_AUTO : 1; }

Date assumed_payment_date(Date today) {
  if (today.empty()) return today;
  return due_date(today.month(), today.year(), 1);
}

void complete_grid_row(MonthlyRow& row, Date payment_date, const Context& context,
                       std::vector<Notice>& notices) {
  const TaxConstants& k = context.constants;
  bool outdated = false;
  for (int m = 1; m <= 12; ++m) {
    const Decimal base = row.at(kFromPersons, m) + row.at(kFromAbroad, m) - row.at(kCashBook, m) -
                         row.at(kDeductions, m);
    const Decimal due = monthly_tax(k, base);
    row.at(kDue, m) = due;
    const Decimal paid = row.at(kPaid, m);
    if (due <= paid) {
      row.at(kCorrected, m) = Decimal::raw(0, 2);
      continue;
    }
    const LateCharge charge =
        late_charge(due - paid, due_date(m, k.BASE_YEAR, 2), payment_date, context.selic);
    row.at(kCorrected, m) = charge.total;
    outdated = outdated || charge.register_incomplete;
  }
  for (int x = 1; x <= 7; ++x) {
    Decimal year;
    for (int m = 1; m <= 12; ++m) year += row.at(x, m);
    row.at(x, kYear) = year;
  }
  const auto already = [&notices] {
    return std::any_of(notices.begin(), notices.end(),
                       [](const Notice& n) { return n.kind == NoticeKind::SelicOutdated; });
  };
  if (outdated && !already())
    notices.push_back({NoticeKind::SelicOutdated,
                       {std::string("Atenção! O cadastro da Selic esta desatualizado."_cp)}});
}

void carne_leao(const Declaration& d, const Context& context, Result& r) {
  const TaxConstants& k = context.constants;
  const int mode = fill_mode(d.summary.CAL_AUTO);
  r.DF_PAGTO = assumed_payment_date(context.today);
  r.monthly = persons(d);
  r.CARNEINSS = Decimal();
  r.CARNEDEPEN = Decimal();
  r.NTOTDEP = Decimal();
  if (mode == 1 || mode == 3) {
    const Decimal per_month = Decimal(r.N_DEPEN) * k.NVALDEPEN;
    for (MonthlyRow& grid : r.monthly) {
      fill_from_rows(d, mode, grid, r);
      if (!grid.CPFDEPEN.empty()) continue;
      // The titular's dependants count in a month whose income reaches their deduction.
      for (int m = 1; m <= 12; ++m) {
        if (grid.at(kFromPersons, m) + grid.at(kFromAbroad, m) >= per_month && per_month > 0) {
          grid.at(kDeductions, m) += per_month;
          r.NTOTDEP += per_month;
        }
      }
    }
  } else {
    r.CARNEINSS = d.summary.CARNEINSS;
    r.CARNEDEPEN = d.summary.CARNEDEPEN;
  }
  for (MonthlyRow& grid : r.monthly) complete_grid_row(grid, r.DF_PAGTO, context, r.notices);

  for (const MonthlyRow& grid : r.monthly) {
    const bool titular = grid.CPFDEPEN.empty();
    Decimal tax_paid;
    for (int m = 1; m <= 12; ++m)
      tax_paid += d.summary.SO_REC ? grid.at(kPaid, m)
                                   : Decimal::max(grid.at(kPaid, m), grid.at(kDue, m));
    (titular ? r.I13_03 : r.I13_04) += grid.at(kFromPersons, kYear);
    (titular ? r.I13_49 : r.I13_50) += grid.at(kFromAbroad, kYear);
    r.I13_18 += grid.at(kCashBook, kYear);
    (titular ? r.I13_29 : r.I13_30) += tax_paid;
  }
}

InverseMonth inverse_month(Decimal paid, Decimal deductions, const TaxConstants& k) {
  InverseMonth found;
  for (int bracket = 3; bracket >= 0; --bracket) {
    const Decimal rate = k.RATES[bracket];
    found.gross = (paid + k.NDEDUME[bracket] + deductions * rate) / rate;
    found.paid = monthly_tax(k, found.gross - deductions);
    if (found.paid.round(0) == paid.round(0)) {
      found.paid = paid;
      break;
    }
  }
  found.gross = found.gross.round(2);
  return found;  // when no bracket agrees, the lowest bracket's try with its tax
}

Decimal to_dollars(Decimal reais, int month, const TaxConstants& k) {
  return despreza(reais / k.TAB_DOLAR[month - 1], 15);
}

Decimal to_reais(Decimal dollars, int month, const TaxConstants& k) {
  return despreza(dollars * k.TAB_DOLAR[month - 1], 15);
}

Decimal gps_employer_part(Decimal gps_total) { return despreza(gps_total / "0.2"_dec * "0.12"_dec, 15); }

}  // namespace kx::tax
