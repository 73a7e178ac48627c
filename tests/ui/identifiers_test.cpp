#include "ui/identifiers.h"

#include <gtest/gtest.h>

#include "base/cp850.h"

namespace kx::ui {
namespace {

std::string utf8(const std::string& s) { return cp850::to_utf8(s); }

TEST(Identifiers, CpfCheckDigits) {
  struct Case {
    const char* text;
    bool ok;
  } cases[] = {
      {"111.444.777-35", true},  {"111.444.777-36", false}, {"123.456.789-09", true},
      {"000.000.000-00", true},  {"111.111.111-11", true},  // repeated digits pass
      {"529.982.247-25", true},  {"529.982.247-52", false},
  };
  for (const auto& c : cases) EXPECT_EQ(CPFCGC(c.text, true).ok, c.ok) << c.text;

  IdCheck wrong = CPFCGC("111.444.777-36", true);
  ASSERT_EQ(wrong.message.size(), 2u);
  EXPECT_EQ(utf8(wrong.message[0]), "ATENÇÃO! CPF 111.444.777-36 está incorreto. ");
  EXPECT_EQ(utf8(wrong.message[1]), "O dígito para esse número é:35");
  EXPECT_TRUE(VAL_CPF("11144477736", true, 2).message.empty());  // mode 2 is silent
  EXPECT_EQ(utf8(VAL_CPF("1114447", true, 0).message.at(0)), "ATENÇÃO! CPF está incompleto.");
  EXPECT_TRUE(VAL_CPF("1114447", true, 1).message.empty());
  EXPECT_FALSE(VAL_CPF("1114447", true, 1).ok);
}

TEST(Identifiers, MissingValues) {
  EXPECT_FALSE(CPFCGC("", true).ok);
  EXPECT_TRUE(CPFCGC("   ", false).ok);
  EXPECT_FALSE(VAL_CPF("           ", true, 0).ok);
  IdCheck name = VAL_CPF("           ", true, 1);
  EXPECT_TRUE(name.ok);
  EXPECT_TRUE(name.blank_name);
  EXPECT_TRUE(VAL_CGC("", false).ok);
  EXPECT_FALSE(VAL_CGC("", true).ok);
  EXPECT_TRUE(VAL_NIT("   ").ok);
}

TEST(Identifiers, CnpjCheckDigits) {
  EXPECT_TRUE(CPFCGC("11.222.333/0001-81", true).ok);
  IdCheck wrong = CPFCGC("11.222.333/0001-18", true);
  ASSERT_EQ(wrong.message.size(), 2u);
  EXPECT_EQ(utf8(wrong.message[0]), "ATENÇÃO! CNPJ 11.222.333/0001-18 está incorreto. ");
  EXPECT_EQ(utf8(wrong.message[1]), "O dígito para esse número é:81");
  IdCheck short_one = CPFCGC("11.222.333/001-81", true);  // 13 digits
  EXPECT_FALSE(short_one.ok);
  EXPECT_EQ(utf8(short_one.message.at(0)), "ATENÇÃO! CNPJ está incompleto.");
  EXPECT_EQ(cnpj_check_digits("112223330001"), "81");
}

TEST(Identifiers, WhichIdentifierWasTyped) {
  IdCheck bare = CPFCGC("12345678909", true);
  EXPECT_FALSE(bare.ok);
  ASSERT_EQ(bare.message.size(), 4u);
  EXPECT_EQ(utf8(bare.message[0]), " Digite o CPF/CNPJ com número correto ");
  std::string formatted = CONTAPONTO("12345678909");
  EXPECT_EQ(formatted, "123.456.789-09    ");
  EXPECT_TRUE(CPFCGC(formatted, true).ok);
  EXPECT_TRUE(CPFCGC("123.45678.90-0", true).ok);  // a NIT: left to VAL_NIT
  EXPECT_TRUE(CPFCGC("xyz.45678.9", true).ok);      // 10th character "." is taken unchecked
}

TEST(Identifiers, NitCheckDigit) {
  EXPECT_TRUE(VAL_NIT("123.45678.90-0").ok);
  IdCheck wrong = VAL_NIT("123.45678.90-1");
  EXPECT_FALSE(wrong.ok);
  EXPECT_EQ(wrong.message.size(), 3u);
  EXPECT_EQ(utf8(VAL_NIT("123.4567").message.at(0)), "ATENÇÃO! O NIT do empregado está errado ");
}

TEST(Identifiers, Modulo11) {
  EXPECT_EQ(MODULO_11(""), "");
  EXPECT_EQ(MODULO_11("0"), "0");      // 11 - 0 = 11 -> 0
  EXPECT_EQ(MODULO_11("1"), "9");      // weight 2: 11 - 2
  EXPECT_EQ(MODULO_11("12345"), "5");  // 1*6+2*5+3*4+4*3+5*2 = 50; 11 - 6
  // Two digits: the second is computed over the number that carries the first.
  std::string n = "1234567890";
  n += MODULO_11(n);
  n += MODULO_11(n);
  EXPECT_EQ(n.size(), 12u);
  EXPECT_EQ(n.substr(10), MODULO_11("1234567890") + MODULO_11("1234567890" + MODULO_11("1234567890")));
}

TEST(Identifiers, DisplayForms) {
  EXPECT_EQ(CONTAPONTO("11222333000181"), "11.222.333/0001-81");
  EXPECT_EQ(CONTAPONTO(" 11222333000181 "), "11.222.333/0001-81");
  EXPECT_EQ(CONTAPONTO("123.456.789-09"), "123.456.789-09");
  EXPECT_EQ(CONTAPONTO("12345"), "12345");
  EXPECT_EQ(CONTAPONTO(""), "");
  EXPECT_EQ(POEPONTO("11222333000181", 1, 21), "11.222.333/0001-81");
  EXPECT_EQ(POEPONTO("12345678909", 1, 10), "123.456.789-09    ");
  EXPECT_EQ(POEPONTO("12345678900", 1, 50), "123.45678.90-0    ");
  EXPECT_EQ(POEPONTO("12345678909", 1, 99), "123.456.789-09    ");
  EXPECT_EQ(POEPONTO("12345678909", 0, 50), "123.456.789-09    ");
  EXPECT_EQ(TIRA_PONTO("11.222.333/0001-81"), "11222333000181");
}

}  // namespace
}  // namespace kx::ui
