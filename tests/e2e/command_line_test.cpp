// kaprix from the outside: the identifier and mask verbs.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <sys/wait.h>

namespace {

struct Result {
  std::string out;
  int status;
};

Result kaprix(const std::string& args) {
  Result r{{}, -1};
  std::FILE* p = ::popen((std::string("'") + KX_KAPRIX + "' " + args + " 2>&1").c_str(), "r");
  if (!p) return r;
  char buf[4096];
  std::size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) r.out.append(buf, n);
  int rc = ::pclose(p);
  r.status = WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
  return r;
}

TEST(CommandLine, IdChecksEveryNumber) {
  Result ok = kaprix("id cpf 111.444.777-35 12345678909");
  EXPECT_EQ(ok.out, "111.444.777-35 valido\n123.456.789-09 valido\n");
  EXPECT_EQ(ok.status, 0);
  Result bad = kaprix("id cpf 11144477736 111.444.777-35");
  EXPECT_EQ(bad.out, "111.444.777-36 invalido (digitos corretos: 35)\n111.444.777-35 valido\n");
  EXPECT_EQ(bad.status, 1);
  EXPECT_EQ(kaprix("id cnpj 11222333000181").out, "11.222.333/0001-81 valido\n");
  EXPECT_EQ(kaprix("id nit 12345678901").out, "123.45678.90-1 invalido (digitos corretos: 0)\n");
  Result short_one = kaprix("id cnpj 1122233300018");
  EXPECT_EQ(short_one.out, "1122233300018 invalido (deve ter 14 digitos)\n");
  EXPECT_EQ(short_one.status, 1);
  EXPECT_EQ(kaprix("id rg 123").status, 2);
  EXPECT_EQ(kaprix("id cpf").status, 2);
}

TEST(CommandLine, MaskFormatsNumbersDatesAndText) {
  const std::pair<const char*, const char*> cases[] = {
      {"'@Ez 999,999,999.99' 1234.5", "[      1.234,50]\n"},
      {"'@Ez 999,999,999.99' -1500", "[     -1.500,00]\n"},
      {"'@Ez 999,999,999.99' 0", "[              ]\n"},
      {"'@Ez 999,999,999.99' 1000000000", "[**************]\n"},
      {"'@R 999.999.999-99' 12345678901", "[123.456.789-01]\n"},
      {"@D 30/04/2015", "[30/04/2015]\n"},
      {"@! 'conceição'", "[CONCEIÇÃO]\n"},
      {"'@R 99999-999' 01310100", "[01310-100]\n"},
  };
  for (auto [args, out] : cases) {
    Result r = kaprix(std::string("mask ") + args);
    EXPECT_EQ(r.out, out) << args;
    EXPECT_EQ(r.status, 0) << args;
  }
  EXPECT_EQ(kaprix("mask onlyone").status, 2);
}

TEST(CommandLine, HelpVersionAndUnknownVerbs) {
  EXPECT_EQ(kaprix("--version").out, "kaprix 0.1.0\n");
  Result help = kaprix("--help");
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("kaprix id cpf|cnpj|nit NUMERO..."), std::string::npos);
  EXPECT_EQ(kaprix("frobnicate").status, 2);
}

}  // namespace
