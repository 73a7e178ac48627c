#include "declaration/darf_counts.h"

#include <array>
#include <string>

#include "base/text.h"

namespace kx::declaration {

namespace {

constexpr int kMonthlyGrid = 12, kGains = 7;

std::string two(int m) { return (m < 10 ? "0" : "") + std::to_string(m); }

Decimal number(const dbf::RecordView& row, const std::string& name) {
  const dbf::Field* f = row.schema().find(name);
  return f ? row.number(*f) : Decimal();
}

struct MonthTotals {
  std::array<Decimal, 13> month{};
  int counted = 0;  // sales or operations seen

  // Number and sum of the months above 0; -1 when there were sales but no month to pay.
  std::pair<int, Decimal> result() const {
    int n = 0;
    Decimal sum;
    for (int m = 1; m <= 12; ++m) {
      if (month[m] > Decimal(0)) {
        ++n;
        sum += month[m];
      }
    }
    return {n == 0 && counted > 0 ? -1 : n, sum};
  }
};

}  // namespace

DarfCounts darf_counts(DeclarationRows& rows, int quotas, Decimal quota_value) {
  DarfCounts c;
  rows.visit(kMonthlyGrid, [&](const dbf::RecordView& row) {
    for (int m = 1; m <= 12; ++m) {
      const Decimal v = number(row, "I2_7" + two(m));
      if (v > Decimal(0)) {
        ++c.NRCLEAO;
        c.DFCLEAO += v;
      }
    }
  });
  MonthTotals gains, variable;
  rows.visit(kGains, [&](const dbf::RecordView& row) {
    const Decimal kind = number(row, "TIPO_BEM");
    if (kind != Decimal(4)) {
      const Decimal sale = number(row, "VAL_ALI"), cost = number(row, "CUS_ATUAL");
      if (sale <= cost || number(row, "VAL_TRIBU") == Decimal(0)) {
        ++gains.counted;
        return;
      }
      for (int m = 1; m <= 12; ++m) {
        const Decimal due = number(row, "IMP_DEV" + two(m));
        gains.month[m] += due - number(row, "IMP_PAG" + two(m));
        if (due > Decimal(0)) ++gains.counted;
      }
      return;
    }
    const dbf::Field* day_trade = row.schema().find("DAY_TRADE");
    const Decimal line = number(row, "RVAR_NRO");
    if (line <= Decimal(24) || (day_trade && !text::is_blank(row.text(*day_trade)))) return;
    for (int m = 1; m <= 12; ++m) {
      const Decimal received = number(row, "REC_MES" + two(m));
      if (line == Decimal(25)) {
        variable.month[m] += received;
        if (received > Decimal(0)) ++variable.counted;
      } else {
        variable.month[m] -= received;
      }
    }
  });
  std::tie(c.NRGCAPIT, c.DFGCAPIT) = gains.result();
  std::tie(c.NRRVARIV, c.DFRVARIV) = variable.result();
  c.NRQUOTA = quotas;
  c.DFQUOTA = quota_value;
  return c;
}

std::vector<NamedValue> darf_values(const DarfCounts& c) {
  return {{"NRCLEAO", c.NRCLEAO},   {"DFCLEAO", c.DFCLEAO},   {"NRGCAPIT", c.NRGCAPIT},
          {"DFGCAPIT", c.DFGCAPIT}, {"NRRVARIV", c.NRRVARIV}, {"DFRVARIV", c.DFRVARIV},
          {"NRQUOTA", c.NRQUOTA},   {"DFQUOTA", c.DFQUOTA}};
}

}  // namespace kx::declaration
