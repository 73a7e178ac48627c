#include "ui/identifiers.h"

#include <algorithm>

#include "base/cp850.h"
#include "base/text.h"
#include "ui/picture.h"

namespace kx::ui {
namespace {

constexpr int kCompanyCodes[] = {1, 21, 26, 36, 37, 38, 40, 41, 42, 43, 98};
constexpr int kPersonCodes[] = {9, 10, 11, 12, 13, 14, 15, 30, 31, 33, 34, 66, 76, 80, 81, 94};

char at(std::string_view s, std::size_t one_based) {
  return one_based <= s.size() ? s[one_based - 1] : '\0';
}

bool formatted(std::string_view s) { return at(s, 4) == '.' || at(s, 4) == ' ' || at(s, 3) == '.'; }

std::string str(std::string_view sv) { return std::string(sv); }

int digit_value(char c) { return c - '0'; }

// D = 0 for a remainder of 0 or 1, else 11 - remainder.
int mod11_digit(int total) {
  int r = total % 11;
  return r < 2 ? 0 : 11 - r;
}

std::string cnpj_digits_of(std::string_view base) {
  static constexpr int w1[] = {5, 4, 3, 2, 9, 8, 7, 6, 5, 4, 3, 2};
  static constexpr int w2[] = {6, 5, 4, 3, 2, 9, 8, 7, 6, 5, 4, 3};
  int t1 = 0, t2 = 0;
  for (int i = 0; i < 12; ++i) {
    t1 += digit_value(base[static_cast<std::size_t>(i)]) * w1[i];
    t2 += digit_value(base[static_cast<std::size_t>(i)]) * w2[i];
  }
  int d1 = mod11_digit(t1);
  int d2 = mod11_digit(t2 + 2 * d1);
  return {static_cast<char>('0' + d1), static_cast<char>('0' + d2)};
}

}  // namespace

std::string cpf_check_digits(std::string_view base) {
  if (base.size() != 9 || !text::all_digits(base)) return "";
  int s1 = 0, s2 = 0;
  for (int i = 1; i <= 9; ++i) {
    s1 += digit_value(base[static_cast<std::size_t>(i - 1)]) * i;
    s2 += digit_value(base[static_cast<std::size_t>(9 - i)]) * i;
  }
  int d1 = s1 % 11;
  if (d1 == 10) {
    d1 = 0;
    s2 += 9;
  }
  int d2 = s2 % 11;
  if (d2 == 10) d2 = 0;
  return {static_cast<char>('0' + d1), static_cast<char>('0' + d2)};
}

std::string cnpj_check_digits(std::string_view base) {
  if (base.size() != 12 || !text::all_digits(base)) return "";
  return cnpj_digits_of(base);
}

std::string nit_check_digit(std::string_view base) {
  if (base.size() != 10 || !text::all_digits(base)) return "";
  static constexpr int w[] = {3, 2, 9, 8, 7, 6, 5, 4, 3, 2};
  int t = 0;
  for (int i = 0; i < 10; ++i) t += digit_value(base[static_cast<std::size_t>(i)]) * w[i];
  return std::string(1, static_cast<char>('0' + mod11_digit(t)));
}

IdCheck VAL_CPF(std::string_view digits, bool required, int mode) {
  if (text::is_blank(digits)) {
    if (!required) return {true};
    if (mode == 1) return {true, {}, true};
    return {false};
  }
  std::string_view base = text::trim(digits.substr(0, 9));
  if (base.size() < 9 || !text::all_digits(base)) {
    if (mode == 0) return {false, {str("ATENÇÃO! CPF está incompleto."_cp)}};
    return {false};
  }
  std::string expected = cpf_check_digits(base);
  std::string given = str(digits.substr(std::min<std::size_t>(9, digits.size()), 2));
  if (expected == given) return {true};
  if (mode == 2) return {false};
  std::string shown = transform(text::trim(digits), "@R 999.999.999-99");
  return {false,
          {str("ATENÇÃO! CPF "_cp) + shown + str(" está incorreto. "_cp),
           str("O dígito para esse número é:"_cp) + expected}};
}

IdCheck VAL_CGC(std::string_view digits, bool required) {
  if (text::is_blank(digits)) return {!required};
  std::string_view base = text::trim(digits.substr(0, 12));
  // Fewer than 14 digits in all is incomplete too: a 13-digit number would otherwise be checked
  // with a blank for its last digit.
  if (base.size() < 12 || !text::all_digits(base) || text::trim(digits).size() < 14) {
    return {false, {str("ATENÇÃO! CNPJ está incompleto."_cp)}};
  }
  std::string expected = cnpj_digits_of(base);
  std::string given = str(digits.substr(std::min<std::size_t>(12, digits.size()), 2));
  if (expected == given) return {true};
  return {false,
          {str("ATENÇÃO! CNPJ "_cp) + CONTAPONTO(digits) + str(" está incorreto. "_cp),
           str("O dígito para esse número é:"_cp) + expected}};
}

IdCheck VAL_NIT(std::string_view text) {
  if (text::is_blank(text)) return {true};
  std::string digits = TIRA_PONTO(text);
  if (digits.size() != 11) return {false, {str("ATENÇÃO! O NIT do empregado está errado "_cp)}};
  if (nit_check_digit(std::string_view(digits).substr(0, 10)) == digits.substr(10)) return {true};
  return {false,
          {str("ATENÇÃO! NIT está incorreto. "_cp), str("Se estiver digitado CPF use seta direita"_cp),
           str("até a última coluna e digite lá. "_cp)}};
}

IdCheck CPFCGC(std::string_view text, bool required) {
  if (text::is_blank(text)) return {!required};
  if (at(text, 10) == '.') return {true};
  bool cpf = at(text, 4) == '.' || at(text, 4) == ' ';
  if (!cpf && at(text, 3) != '.') {
    return {false,
            {str(" Digite o CPF/CNPJ com número correto "_cp),
             str("de dígitos, 11 para CPF e 14 para CNPJ,"_cp),
             str("ou coloque os separadores no lugar correto."_cp),
             str("CPF=nnn.nnn.nnn-nn CNPJ=nn.nnn.nnn/nnnn-nn "_cp)}};
  }
  std::string digits = TIRA_PONTO(text) + "  ";
  return cpf ? VAL_CPF(digits, required, 0) : VAL_CGC(digits, required);
}

std::string MODULO_11(std::string_view digits) {
  if (digits.empty()) return "";
  int n = static_cast<int>(digits.size());
  int sum = 0;
  for (int i = 0; i < n; ++i) {
    char c = digits[static_cast<std::size_t>(i)];
    sum += (c >= '0' && c <= '9' ? c - '0' : 0) * (n + 1 - i);
  }
  int d = 11 - sum % 11;
  return std::string(1, static_cast<char>('0' + (d > 9 ? 0 : d)));
}

std::string TIRA_PONTO(std::string_view text) {
  std::string out;
  for (char c : text) {
    if (c >= '0' && c <= '9') out += c;
  }
  return out;
}

std::string CONTAPONTO(std::string_view text) {
  if (formatted(text)) return str(text);
  std::string_view t = text::trim(text);
  if (t.size() == 14) return transform(t, "@R 99.999.999/9999-99");
  if (t.size() == 11) return transform(t, "@R 999.999.999-99") + "    ";
  return str(text);
}

bool is_company_payment_code(int code) {
  return std::find(std::begin(kCompanyCodes), std::end(kCompanyCodes), code) != std::end(kCompanyCodes);
}

bool is_person_payment_code(int code) {
  return std::find(std::begin(kPersonCodes), std::end(kPersonCodes), code) != std::end(kPersonCodes);
}

std::string POEPONTO(std::string_view text, int mode, int payment_code) {
  if (formatted(text)) return str(text);
  if (mode == 1) {
    std::string_view t = text::trim(text);
    if (is_company_payment_code(payment_code)) return transform(t, "@R 99.999.999/9999-99");
    if (is_person_payment_code(payment_code)) return transform(t, "@R 999.999.999-99") + "    ";
    if (payment_code == 50) return transform(t, "@R 999.99999.99-9") + "    ";
  }
  return CONTAPONTO(text);
}

}  // namespace kx::ui
