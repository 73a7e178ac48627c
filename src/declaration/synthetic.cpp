#include "declaration/synthetic.h"

#include "base/cp850.h"
#include "base/date.h"
#include "ui/identifiers.h"

namespace kx::declaration {

namespace {

constexpr int kSummary = 1, kIncome = 2, kDependants = 3, kAssets = 4, kDebts = 5,
              kPayments = 6, kRegistry = 9;

std::string cp(std::string_view utf8) { return cp850::from_utf8(utf8); }

const std::vector<std::string_view> kFirstNames = {
    "José", "João", "Antônio", "Francisco", "Luís", "Sebastião", "Conceição", "Lúcia",
    "Márcia", "Inês", "Fátima", "Cecília", "Mônica", "Vitória", "Letícia", "Júlia",
    "André", "Fábio", "Rogério", "Sérgio", "Otávio", "Flávia", "Cláudio", "Débora"};
const std::vector<std::string_view> kSurnames = {
    "Silva", "Araújo", "Gonçalves", "Conceição", "Simões", "Magalhães", "Assunção", "Brandão",
    "Falcão", "Guimarães", "Romão", "Estêvão", "Patrício", "Lemos", "Nóbrega", "Ribeiro",
    "Damião", "Calixto", "Sá", "Gusmão", "Rebouças", "Pimentel", "Frazão", "Tavares"};
const std::vector<std::string_view> kCompanies = {
    "Padaria São João Ltda", "Indústria Paulista de Plásticos S.A.", "Comércio de Calçados Irmãos Gonçalves",
    "Transportadora Três Corações Ltda", "Construtora Atlântico S.A.", "Farmácia Popular do Paraná",
    "Metalúrgica União Ltda", "Banco Cooperativo do Sertão S.A.", "Hospital Santa Luzia",
    "Prefeitura Municipal de São José"};
const std::vector<std::string_view> kClinics = {
    "Clínica São Lucas", "Laboratório Análises Clínicas Ltda", "Odontologia Sorriso Ltda",
    "Hospital Nossa Senhora da Conceição"};
const std::vector<std::string_view> kSchools = {
    "Colégio Santo Inácio", "Escola Técnica Paulista", "Faculdade de Ciências Econômicas",
    "Instituto de Educação São Bento"};
const std::vector<std::string_view> kPensionFunds = {"Previdência Privada Brasil S.A.",
                                                     "Seguradora Horizonte Previdência"};
const std::vector<std::string_view> kCharities = {"Fundo Municipal da Criança e do Adolescente",
                                                  "Associação Cultural Mãos Dadas"};
struct Place { std::string_view city, state, district, street; };
const std::vector<Place> kPlaces = {
    {"São Paulo", "SP", "Vila Mariana", "Rua Domingos de Morais"},
    {"Belo Horizonte", "MG", "Savassi", "Avenida Getúlio Vargas"},
    {"Curitiba", "PR", "Água Verde", "Rua Brigadeiro Franco"},
    {"Recife", "PE", "Boa Viagem", "Avenida Conselheiro Aguiar"},
    {"Goiânia", "GO", "Setor Bueno", "Rua T-30"},
    {"Florianópolis", "SC", "Trindade", "Rua Lauro Linhares"}};

std::string person_name(Random& random) {
  std::string name(random.pick(kFirstNames));
  name += " ";
  name += random.pick(kSurnames);
  if (random.chance(60)) {
    name += random.chance(30) ? " da " : " ";
    name += random.pick(kSurnames);
  }
  return cp850::upper(cp(name));
}

Date random_day(Random& random, int first_year, int last_year) {
  const int year = static_cast<int>(random.between(first_year, last_year));
  const int month = static_cast<int>(random.between(1, 12));
  const int day = static_cast<int>(random.between(1, Date::days_in_month(year, month)));
  return *Date::from_ymd(year, month, day);
}

std::string month_field(const std::string& prefix, int month) {
  return prefix + (month < 10 ? "0" : "") + std::to_string(month);
}

// Withholding of an employee's year: a rough share of the income after social security, as
// employers' monthly withholdings add up to.
Decimal withheld(Decimal taxable) {
  if (taxable < Decimal(22000)) return Decimal();
  const Decimal share = taxable < Decimal(40000)   ? "0.03"_dec
                        : taxable < Decimal(60000) ? "0.07"_dec
                        : taxable < Decimal(100000) ? "0.12"_dec
                                                   : "0.17"_dec;
  return (taxable * share).cut(2);
}

struct Person {
  int number;
  std::string cpf;
};

void registry(Random& random, SyntheticDeclaration& d, bool complete) {
  const Place& place = random.pick(kPlaces);
  d.rows[kRegistry].push_back({
      {"CPF", d.cpf},
      {"NOMECONTR", person_name(random)},
      {"TIPOEND", std::string(cp("RUA"))},
      {"ENDERECO", cp850::upper(cp(place.street))},
      {"NUMERO", std::to_string(random.between(1, 3000))},
      {"BAIRRO", cp850::upper(cp(place.district))},
      {"CEP", random.digits(5) + "-" + random.digits(3)},
      {"MUNICIPIO", cp850::upper(cp(place.city))},
      {"UF", std::string(place.state)},
      {"CODPAIS", std::string("105")},
      {"NASCIMENTO", random_day(random, 1935, 1994)},
      {"CODAT", std::string(random.chance(80) ? "11" : "31")},
      {"EBRASIL", std::string("S")},
      {"EXTERIOR", std::string("N")},
      {"TEMRURAL", std::string("N")},
      {"E_INVALIDO", std::string("N")},
      {"ESTATUS", 2},
      {"I9_4", std::string("N")},
      {"I9_5", std::string("N")},
      {"I9_6", std::string("S")},
      {"SO_SIMPLES", std::string("S")},
      {"USAPADRAO", std::string(complete ? "N" : "S")},
      {"DEBITAUT", std::string("N")},
  });
}

void summary(SyntheticDeclaration& d) {
  d.rows[kSummary].push_back(
      {{"CPF", d.cpf}, {"INDALERTA", 10}, {"CAL_AUTO", 1}, {"SO_REC", true}});
}

std::vector<Person> dependants(Random& random, SyntheticDeclaration& d) {
  std::vector<Person> people;
  const int count = static_cast<int>(random.between(0, 3));
  for (int n = 1; n <= count; ++n) {
    Person p{n, synthetic_cpf(random)};
    people.push_back(p);
    d.rows[kDependants].push_back({{"CPF", d.cpf},
                                   {"NOMEDEPEN", person_name(random)},
                                   {"CODIDEPEN", random.chance(80) ? 3 : 4},
                                   {"DATADEPEN", random_day(random, 1993, 2013)},
                                   {"CPFDEPEN", p.cpf},
                                   {"NRODEPEN", n}});
  }
  return people;
}

void employment(Random& random, SyntheticDeclaration& d, const std::vector<Person>& people) {
  const int employers = static_cast<int>(random.between(1, 2));
  for (int i = 0; i < employers; ++i) {
    const Decimal income = random.money(14000, 220000);
    const Decimal social = Decimal::min((income * "0.11"_dec).cut(2), "5645.80"_dec);
    d.rows[kIncome].push_back({{"CPF", d.cpf},
                               {"I1_1", std::string("J")},
                               {"I1_2", cp850::upper(cp(random.pick(kCompanies)))},
                               {"I1_3", synthetic_cnpj(random)},
                               {"I1_4", income},
                               {"I1_5", withheld(income - social)},
                               {"I1_6", social},
                               {"I1_7", (income / 12).cut(2)},
                               {"I1_11", std::string("S")},
                               {"NEW2", 1}});
  }
  if (!people.empty() && random.chance(15)) {
    const Decimal income = random.money(6000, 30000);
    d.rows[kIncome].push_back({{"CPF", d.cpf},
                               {"I1_1", std::string("D")},
                               {"I1_2", cp850::upper(cp(random.pick(kCompanies)))},
                               {"I1_3", synthetic_cnpj(random)},
                               {"I1_4", income},
                               {"I1_6", (income * "0.08"_dec).cut(2)},
                               {"I1_8", people.front().cpf},
                               {"I1_11", std::string("N")},
                               {"NEW2", 1}});
  }
}

// Income from individuals in some months and the carnê-leão paid on most of them.
void carne_leao(Random& random, SyntheticDeclaration& d) {
  RowValues received{{"CPF", d.cpf}, {"I1_1", std::string("F")}, {"I1_11", std::string("S")},
                     {"NEW2", 1}};
  RowValues paid{{"CPF", d.cpf}, {"I1_1", std::string("I")}, {"I1_11", std::string("S")},
                 {"NEW2", 1}};
  Decimal total_received, total_paid;
  const int first = static_cast<int>(random.between(1, 9));
  const int last = static_cast<int>(random.between(first, 12));
  for (int m = first; m <= last; ++m) {
    const Decimal amount = random.money(1200, 9000);
    received.push_back({month_field("I1_4", m), amount});
    total_received += amount;
    if (amount > "1787.78"_dec && random.chance(75)) {
      const Decimal tax = ((amount - "1787.78"_dec) * "0.15"_dec).cut(2);
      paid.push_back({month_field("I1_4", m), tax});
      total_paid += tax;
    }
  }
  received.push_back({"I1_4", total_received});
  d.rows[kIncome].push_back(received);
  if (!total_paid.is_zero()) {
    paid.push_back({"I1_4", total_paid});
    d.rows[kIncome].push_back(paid);
  }
}

RowValues payment(const SyntheticDeclaration& d, int code, std::string payee, std::string id,
                  Decimal amount, const Person* person = nullptr) {
  RowValues row{{"CPF", d.cpf}, {"I6_1", std::move(payee)}, {"I6_2", std::move(id)},
                {"I6_3", code},  {"I6_4", amount},           {"I6_6", person ? person->number : 0}};
  if (person) row.push_back({"I6_7", person->cpf});
  return row;
}

void payments(Random& random, SyntheticDeclaration& d, const std::vector<Person>& people) {
  auto someone = [&]() -> const Person* {
    if (people.empty() || random.chance(50)) return nullptr;
    return &random.pick(people);
  };
  const int medical = static_cast<int>(random.between(0, 3));
  for (int i = 0; i < medical; ++i) {
    RowValues row = payment(d, 10, cp850::upper(cp(random.pick(kClinics))), synthetic_cnpj(random),
                            random.money(150, 9000), someone());
    if (random.chance(20)) row.push_back({"I6_5", random.money(50, 150)});
    d.rows[kPayments].push_back(row);
  }
  if (random.chance(40))
    d.rows[kPayments].push_back(payment(d, 1, cp850::upper(cp(random.pick(kSchools))),
                                        synthetic_cnpj(random), random.money(1200, 15000),
                                        someone()));
  if (random.chance(20))
    d.rows[kPayments].push_back(payment(d, 36, cp850::upper(cp(random.pick(kPensionFunds))),
                                        synthetic_cnpj(random), random.money(1000, 18000)));
  if (random.chance(15)) {
    const std::string nit = random.digits(10);
    d.rows[kPayments].push_back(payment(d, 50, person_name(random),
                                        ui::POEPONTO(nit + ui::nit_check_digit(nit), 1, 50),
                                        random.money(700, 1400)));
  }
  if (random.chance(5))
    d.rows[kPayments].push_back(payment(d, 41, cp850::upper(cp(random.pick(kCharities))),
                                        synthetic_cnpj(random), random.money(100, 1500)));
}

void assets_and_debts(Random& random, SyntheticDeclaration& d) {
  struct Kind { int code; std::string_view text; int64_t lo, hi; };
  static const std::vector<Kind> kinds = {
      {11, "Apartamento residencial em São Paulo, adquirido de construtora", 150000, 900000},
      {12, "Casa térrea com quintal, escritura lavrada em cartório", 120000, 700000},
      {21, "Veículo automóvel de passeio, adquirido à vista", 20000, 120000},
      {61, "Saldo em conta corrente no Banco Cooperativo do Sertão", 100, 40000},
      {41, "Aplicação em caderneta de poupança", 500, 80000}};
  const int count = static_cast<int>(random.between(1, 4));
  for (int i = 1; i <= count; ++i) {
    const Kind& k = random.pick(kinds);
    const Decimal before = random.chance(80) ? random.money(k.lo, k.hi) : Decimal();
    const Decimal after = random.chance(90) ? random.money(k.lo, k.hi) : Decimal();
    d.rows[kAssets].push_back({{"CPF", d.cpf}, {"I7_0", 10 * i}, {"I7_1", i},
                               {"I7_2", cp850::upper(cp(k.text))}, {"I7_3", before},
                               {"I7_4", after}, {"I7_5", k.code}, {"I7_8", std::string("105")}});
  }
  if (random.chance(30)) {
    const Decimal before = random.money(10000, 300000);
    const Decimal paid = random.money(1000, 30000);
    d.rows[kDebts].push_back(
        {{"CPF", d.cpf}, {"I8_0", 10}, {"I8_1", 1},
         {"I8_2", cp850::upper(cp("Financiamento imobiliário com a Caixa Econômica"))},
         {"I8_3", before}, {"I8_4", Decimal::max(before - paid, Decimal())}, {"I8_5", 11},
         {"I8_6", paid}});
  }
}

}  // namespace

std::string synthetic_cpf(Random& random) {
  for (;;) {
    const std::string base = random.digits(9);
    if (base.find_first_not_of(base[0]) == std::string::npos) continue;
    return base + ui::cpf_check_digits(base);
  }
}

std::string synthetic_cnpj(Random& random) {
  const std::string base = random.digits(8) + "0001";
  return ui::CONTAPONTO(base + ui::cnpj_check_digits(base));
}

SyntheticDeclaration synthetic_declaration(Random& random, const std::string& cpf) {
  SyntheticDeclaration d;
  d.cpf = cpf;
  const bool complete = random.chance(40);
  registry(random, d, complete);
  summary(d);
  const std::vector<Person> people = dependants(random, d);
  employment(random, d, people);
  if (random.chance(20)) carne_leao(random, d);
  payments(random, d, people);
  assets_and_debts(random, d);
  return d;
}

}  // namespace kx::declaration
