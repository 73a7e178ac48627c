// CPF (11 digits), CNPJ (14) and NIT (11): which one was typed, display forms and check digits.
// The checks return their verdict with the message the operator is to see (CP850 lines, shown
// in an OK box by the caller); the row and column arguments of the screens place nothing and
// are not taken.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kx::ui {

struct IdCheck {
  bool ok = false;
  std::vector<std::string> message;  // empty: nothing to show
  bool blank_name = false;           // VAL_CPF mode 1 on an empty required CPF: clear the name
  explicit operator bool() const { return ok; }
};

// The CPF/CNPJ field of forms, typed with its separators.
IdCheck CPFCGC(std::string_view text, bool required);
// `digits`: the digits-only form followed by blanks. mode 0 reports, 1 also asks to clear the
// taxpayer name when the CPF is missing, 2 checks silently.
IdCheck VAL_CPF(std::string_view digits, bool required, int mode = 0);
IdCheck VAL_CGC(std::string_view digits, bool required);
IdCheck VAL_NIT(std::string_view text);
// One check digit by weights n+1 .. 2 (n digits); "" for an empty argument.
std::string MODULO_11(std::string_view digits);

// The check digits a CPF or CNPJ base should carry ("35"); "" when the base is not all digits.
std::string cpf_check_digits(std::string_view base9);
std::string cnpj_check_digits(std::string_view base12);
std::string nit_check_digit(std::string_view base10);

std::string TIRA_PONTO(std::string_view text);
// Already formatted text is kept; otherwise 14 characters give "99.999.999/9999-99", 11 give
// "999.999.999-99" and 4 blanks, other lengths are kept.
std::string CONTAPONTO(std::string_view text);
// By the payment code of the current payment item (mode 1): company payees the CNPJ form, person
// payees the CPF form, code 50 the NIT form 999.99999.99-9; otherwise CONTAPONTO.
std::string POEPONTO(std::string_view text, int mode, int payment_code);
bool is_company_payment_code(int code);
bool is_person_payment_code(int code);

}  // namespace kx::ui
