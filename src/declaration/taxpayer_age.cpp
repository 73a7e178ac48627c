#include "declaration/taxpayer_age.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "base/cp850.h"

namespace kx::declaration {

namespace {

constexpr int kBaseYear = 2014;

// By xBase weekday (1 = Sunday).
constexpr std::array<std::string_view, 7> kWeekdayPhrases = {
    "o Domingo"_cp, "a Segunda"_cp, "a Terça  "_cp, "a Quarta "_cp,
    "a Quinta "_cp, "a Sexta  "_cp, "o Sábado "_cp};

}  // namespace

Age DIZANOS(Date birth, Date today) {
  Age age;
  const Date reference = *Date::from_ymd(kBaseYear, 12, 31);
  if (birth.empty() || birth > reference) return age;
  age.years = kBaseYear - birth.year();
  age.months = 12 - birth.month();
  if (birth.month() != today.month()) return age;
  const int day = std::min(birth.day(), Date::days_in_month(today.year(), birth.month()));
  const Date birthday = *Date::from_ymd(today.year(), birth.month(), day);
  const int64_t days = birthday - today;
  if (days == 0) {
    age.notice = "Faz Aniversário Hoje  "_cp;
    age.attention = true;
  } else if (days == 1) {
    age.notice = "Faz Aniversário Amanha"_cp;
    age.attention = true;
  } else if (days >= 2 && days <= 5) {
    age.notice = std::string("Aniversário n"_cp).append(kWeekdayPhrases[birthday.weekday() - 1]);
  }
  return age;
}

}  // namespace kx::declaration
