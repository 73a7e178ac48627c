#include "tax/late_payment.h"

#include "tax/rounding.h"

namespace kx::tax {

namespace {

constexpr int kSunday = 1, kSaturday = 7;

int month_number(int year, int month) { return year * 12 + (month - 1); }

}  // namespace

Date next_working_day(Date d) {
  Date next = d + 1;
  if (next.weekday() == kSaturday) return next + 2;
  if (next.weekday() == kSunday) return next + 1;
  return next;
}

Date due_date(int month, int year, int offset) {
  int m = month + offset;
  int y = year;
  while (m > 12) {
    m -= 12;
    ++y;
  }
  Date date = *Date::from_ymd(y, m, 1) - 1;
  if (date.weekday() == kSunday) date = date - 2;
  else if (date.weekday() == kSaturday) date = date - 1;
  if (date.month() == 12) date = date - 1;
  return date;
}

LateCharge late_charge(Decimal principal, Date due, Date payment,
                       const std::vector<SelicMonth>& selic) {
  LateCharge charge;
  charge.total = principal;
  if (due.empty() || payment.empty()) return charge;
  const Date first_late = next_working_day(due);
  if (payment < first_late) return charge;

  charge.days_late = payment - first_late + 1;
  charge.fine_rate = Decimal::min(Decimal(charge.days_late) * "0.33"_dec, Decimal(20));

  const int due_month = month_number(due.year(), due.month());
  const int pay_month = month_number(payment.year(), payment.month());
  if (pay_month > due_month) {
    charge.interest_rate = Decimal(1);
    for (int m = due_month + 1; m < pay_month; ++m) {
      bool found = false;
      for (const auto& s : selic) {
        if (month_number(s.year, s.month) == m) {
          charge.interest_rate += s.TJM;
          found = true;
          break;
        }
      }
      if (!found) charge.register_incomplete = true;
    }
  }
  charge.fine = despreza(principal * charge.fine_rate / 100, 15);
  charge.interest = despreza(principal * charge.interest_rate / 100, 15);
  charge.total = principal + charge.fine + charge.interest;
  return charge;
}

}  // namespace kx::tax
