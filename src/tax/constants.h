// The tables, limits and rates of exercise 2015 (base year 2014), as one value the caller passes in.
#pragma once

#include <array>

#include "base/decimal.h"

namespace kx::tax {

struct TaxConstants {
  // Upper bounds of the first four annual brackets and the amounts to deduct in brackets 2..5.
  std::array<Decimal, 4> NBASEAN{"21453.24"_dec, "32151.48"_dec, "42869.16"_dec, "53565.72"_dec};
  std::array<Decimal, 4> NDEDUAN{"1608.99"_dec, "4020.35"_dec, "7235.54"_dec, "9913.83"_dec};
  // The same for the monthly table.
  std::array<Decimal, 4> NBASEME{"1787.78"_dec, "2679.3"_dec, "3572.44"_dec, "4463.81"_dec};
  std::array<Decimal, 4> NDEDUME{"134.08"_dec, "335.03"_dec, "602.96"_dec, "826.15"_dec};
  // Rates of brackets 2..5, annual and monthly alike.
  std::array<Decimal, 4> RATES{"0.075"_dec, "0.15"_dec, "0.225"_dec, "0.275"_dec};

  Decimal NVALDEPANO = "2156.52"_dec;  // annual deduction per dependant
  Decimal NVALDEPEN = "179.71"_dec;    // monthly deduction per dependant
  Decimal NVALESCOL = "3375.83"_dec;   // education limit per person
  Decimal NVALAPOSE = "1787.77"_dec;   // monthly exempt pension portion, 65 or more
  Decimal NVALAPOSA = "23241.01"_dec;  // annual exempt pension portion, 65 or more
  Decimal NDESCPRAD = "15880.89"_dec;  // cap of the simplified discount
  Decimal NMAXINSS = "1152.88"_dec;    // cap of the domestic employer's social security
  Decimal FIFA_LIMIT = "43440.00"_dec;  // exempt limit of the volunteer benefit

  Decimal SIMPLIFIED_RATE = "0.2"_dec;
  Decimal PENSION_LIMIT_RATE = "0.12"_dec;   // private pension, of the taxable income
  Decimal DONATION_RATE = "0.06"_dec;        // incentive donations, of the tax due
  Decimal CHILDREN_FUND_RATE = "0.03"_dec;   // direct donation in the declaration
  Decimal PROGRAMME_RATE = "0.01"_dec;       // each of the two health programmes
  Decimal MINIMUM_QUOTA = "50.00"_dec;
  int MAX_QUOTAS = 8;

  int BASE_YEAR = 2014;
  // US-dollar rate of each month of the base year.
  std::array<Decimal, 12> TAB_DOLAR{"2.4224"_dec, "2.3334"_dec, "2.263"_dec,  "2.263"_dec,
                                    "2.236"_dec,  "2.239"_dec,  "2.2025"_dec, "2.2674"_dec,
                                    "2.451"_dec,  "2.4442"_dec, "2.5601"_dec, "2.6562"_dec};
};

}  // namespace kx::tax
