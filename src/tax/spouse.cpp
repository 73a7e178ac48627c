#include "tax/spouse.h"

#include "base/cp850.h"

namespace kx::tax {

Decimal spouse_result(const SpouseValues& v) {
  return v.I13_1C + v.I13_2C + v.I13_3C + v.I13_5C - v.I13_4C;
}

void spouse(const Declaration& d, Result& r) {
  const Registry& g = d.registry;
  const bool has_spouse = g.CPFCONJU.find_first_not_of(' ') != std::string::npos &&
                          d.summary.DECFINAL != "S";
  const bool fetched = has_spouse && g.I9_4 == "S";
  const bool typed = has_spouse && !fetched && g.I9_5 == "S";
  SpouseValues v;
  if (fetched || typed) {
    v = {{}, g.I13_1C, g.I13_2C, g.I13_3C, g.I13_4C, g.I13_5C, {}, {}};
    v.I9_2 = spouse_result(v);
    v.I9_3 = fetched ? g.I9_3 : v.I9_2;
  }
  r.I13_1C = v.I13_1C;
  r.I13_2C = v.I13_2C;
  r.I13_3C = v.I13_3C;
  r.I13_4C = v.I13_4C;
  r.I13_5C = v.I13_5C;
  r.I9_2 = v.I9_2;
  r.I9_3 = v.I9_3;
  r.I13_43 = v.I9_2;
}

SpouseFetch take_spouse_values(const SpouseRow& spouse, std::optional<bool> clear_other_mark) {
  SpouseFetch out;
  if (spouse.I9_4 == "S" && !clear_other_mark) {
    out.outcome = SpouseTake::ask;
    out.lines = {std::string("Na declaração do conjugue já está  marcada para buscar"_cp),
                 std::string("essas informações. Somente na declaração daquele que "_cp),
                 std::string("estiver declarado os bens em comum pode estar marcado"_cp),
                 std::string("Deseja que o programa retire a marca da outra declaração?"_cp)};
    return out;
  }
  if (spouse.I9_4 == "S" && !*clear_other_mark) {
    out.outcome = SpouseTake::refused;
    return out;
  }
  if (spouse.USAPADRAO.find_first_not_of(' ') == std::string::npos) {
    out.outcome = SpouseTake::not_defined;
    out.lines = {std::string("A declaração do conjuge não foi feita ou ainda "_cp),
                 std::string("não foi definido o tipo do formulário. Verique!"_cp)};
    return out;
  }
  SpouseValues& v = out.values;
  v.CONJPAD = spouse.USAPADRAO;
  v.I9_3 = spouse.SALDO;
  v.I13_4C = spouse.I13_35;
  v.I13_1C = spouse.I13_20;
  v.I13_2C = spouse.I13_44;
  v.I13_3C = spouse.I13_45;
  v.I13_5C = spouse.EXGSUSP;
  v.I9_2 = spouse_result(v);
  return out;
}

}  // namespace kx::tax
