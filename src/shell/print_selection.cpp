#include "shell/print_selection.h"

#include <algorithm>

#include "base/cp850.h"

namespace kx::shell {

const std::array<std::string_view, 15> ALISTIMP = {
    "IRenda modo Receita"_cp,  "IRenda modo  ZENT  "_cp, "Atividade Rural    "_cp,
    "Livro caixa Rural  "_cp,  "Darfes             "_cp, "Ganho de capital   "_cp,
    "Renda variável     "_cp,  "carta Personalizada"_cp, "Anotações especiais"_cp,
    "Livro caixa Normal "_cp,  "Valores a cobrar   "_cp, "Cadastro           "_cp,
    "Comprovante rendime"_cp,  "Etiquetas disquete "_cp, "relatório do Usuário  "_cp};
const std::array<std::string_view, 3> MODO1OP = {"folha Avulsa       "_cp, "Formulário Contínuo"_cp,
                                                 "Darf pré-impresso  "_cp};
const std::array<std::string_view, 2> MODOETI = {"Etiquetas     "_cp, "Folha avulsa  "_cp};
const std::array<std::string_view, 4> MODETID = {"8 Eti. 116x37 "_cp, "12 Eti. 90x24 "_cp,
                                                 "2*5 Eti.70x50 "_cp, "Pimaco 8296   "_cp};
const std::array<std::string_view, 1> NOMCONT = {"Folha avulsa  "_cp};
const std::array<std::string_view, 1> MODOUNI = {"Folha única"_cp};
const std::array<std::string_view, 11> NOMEPAGR = {
    "Tudo na declaração "_cp, "Tudo menos Balanço "_cp, "Só IR s/Bal e Malha  "_cp,
    "Só IR Sem a Malha  "_cp, "Rendimentos        "_cp, "Rendimentos PFisica"_cp,
    "Pagamentos/Isentos "_cp, "Bens e Dívidas     "_cp, "Resumo c/Balanço   "_cp,
    "Resumo s/Balanço   "_cp, "Só a Malha fina    "_cp};
const std::array<std::string_view, 3> NOMEPRUR = {"Todas pag. "_cp, "página 1   "_cp, "página 2   "_cp};
const std::array<std::string_view, 13> NOMEPAGS = {
    "Toda a declaração"_cp, "Toda s/Balanço"_cp,    "IR s/MF e Balanço"_cp,    "IR  sem a Malha "_cp,
    "Rendimentos     "_cp,  "Rendimentos P.Fisica"_cp, "Pagamentos/Isento"_cp, "Bens/Divida "_cp,
    "Resumo c/Balanço"_cp,  "Resumo s/Balanço"_cp,  "Malha Fina  "_cp,         "Pag.1 Rural"_cp,
    "Pag.2 Rural"_cp};
const std::array<std::string_view, 1> NOMEPAGCV = {"declar.Bens/Div"_cp};
const std::array<std::string_view, 5> NOMECON = {"Individual  "_cp, "Vários      "_cp, "Todos       "_cp,
                                                 "todas Pastas"_cp, "Grupo selec."_cp};
const std::array<int, 15> AQUEIT2 = {1, 1, 1, 1, 3, 1, 1, 1, 1, 1, 1, 2, 1, 4, 1};
const std::array<int, 15> AQUEIT3 = {11, 11, 3, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1};

namespace {

// `value` within 1..`last`; anything outside (a damaged or foreign record) becomes 1 or `last`.
int within(int value, int last) { return std::clamp(value, 1, last); }

template <std::size_t N>
std::string entry(const std::array<std::string_view, N>& list, int n) {
  return std::string(list[static_cast<std::size_t>(within(n, static_cast<int>(N)) - 1)]);
}

int limit(const std::array<int, 15>& limits, int queimp) {
  return limits[static_cast<std::size_t>(within(queimp, 15) - 1)];
}

}  // namespace

void choose_print_item(store::Globals& g, int code, int argument) {
  switch (code) {
    case 41: g.QUEIMP = within(argument, 15); break;
    case 42: g.QUEMOD = within(argument, limit(AQUEIT2, g.QUEIMP)); break;
    case 43: g.QUEPAG = within(argument, limit(AQUEIT3, g.QUEIMP)); break;
    case 44: g.QUECON = within(argument, static_cast<int>(NOMECON.size())); break;
    default: break;
  }
}

PrintItems MONTA_ITENS(store::Globals& g) {
  g.QUEIMP = within(g.QUEIMP, 15);
  g.QUEMOD = within(g.QUEMOD, limit(AQUEIT2, g.QUEIMP));
  g.QUEPAG = within(g.QUEPAG, limit(AQUEIT3, g.QUEIMP));
  g.QUECON = within(g.QUECON, static_cast<int>(NOMECON.size()));
  g.NRO_VIAS = within(g.NRO_VIAS, 9);

  std::string paper = entry(NOMCONT, 1);
  if (g.QUEIMP == 5) paper = entry(MODO1OP, g.QUEMOD);
  else if (g.QUEIMP == 12) paper = entry(MODOETI, g.QUEMOD);
  else if (g.QUEIMP == 14) paper = entry(MODETID, g.QUEMOD);
  std::string pages = entry(MODOUNI, 1);
  if (g.QUEIMP <= 2) pages = entry(NOMEPAGR, g.QUEPAG);
  else if (g.QUEIMP == 3) pages = entry(NOMEPRUR, g.QUEPAG);

  return {"1-" + entry(ALISTIMP, g.QUEIMP),
          "2-" + paper,
          "3-" + pages,
          "4-" + entry(NOMECON, g.QUECON),
          std::string("5-Seleção Impressora"_cp),
          "6-Configura NAO DOS",
          "7- Nro de Vias " + std::to_string(g.NRO_VIAS)};
}

}  // namespace kx::shell
