#include "declaration/editor_menu.h"

#include <array>

#include "base/cp850.h"

namespace kx::declaration {
namespace {

using D = ForDependants;

constexpr std::string_view kJur = "p.&Jur", kFis = "p.&Fis", kIsento = "is&Ento",
                           kDep = "de&Pendente", kBem = "&Bem", kIden = "&Iden.",
                           kCalc = "&Cálculo"_cp, kGanho = "&Ganho", kRural = "&Rural",
                           kHelp = "he&Lp", kSai = "s&Ai";

constexpr std::string_view kGainImoveis = "Ganho de capital na venda de bens imóveis "_cp,
                           kGainMoveis = "Ganho de capital na venda de bens móveis "_cp,
                           kGainSoc = "Ganho de capital na venda de Participação Societária "_cp,
                           kRvComum = "Ganhos ou perdas na renda variável em Operação comum"_cp,
                           kRvDay = "Ganhos ou perdas na renda variável em operação Day Trade"_cp,
                           kRvFundo = "Ganhos ou perdas em fundo de investimento imobiliário"_cp;

constexpr std::string_view kBens = "Somente a Declaração dos Bens"_cp,
                           kDividas = "Somente a Declaração das dívidas e ônus"_cp;

const std::array kItems = {
    EditorMenuItem{kJur, "rendimento do &Titular   ", "F1",
                   "Rendimentos tributados ou isentos do titular recebidos de Pessoa Jurídica"_cp, 11},
    EditorMenuItem{kJur, "&Acumulado  do titular    ", "",
                   "(RRA) Rendimentos Tributáveis recebidos acumuladamente pelo titular"_cp, 12},
    EditorMenuItem{kJur, "rendimento do &Dependente", "",
                   "Rendimentos tributados ou isentos dos dependentes recebidos de Pessoa Jurídica"_cp, 13},
    EditorMenuItem{kJur, "a&Cumulado  do dependente ", "",
                   "(RRA) Rendimentos Tributáveis recebidos acumuladamente pelo Dependente"_cp, 14, true},
    EditorMenuItem{kJur, "&Fim da declaração"_cp, "Alt-F",
                   "Termina a declaração podendo ou não salvar os dados"_cp, 17},

    EditorMenuItem{kFis, "rendimento do &Titular   ", "F2",
                   "Rendimentos do titular recebidos de Pessoa Física"_cp, 21},
    EditorMenuItem{kFis, "rendimento do &Dependente", "",
                   "Rendimentos dos dependentes recebidos de Pessoa Física"_cp, 22},

    EditorMenuItem{kIsento, "rendimentos &Isentos e não tributáveis"_cp, "F3",
                   "Rendimentos Isentos e não tributáveis"_cp, 31},
    EditorMenuItem{kIsento, "rendimentos de &Tributação exclusiva"_cp, "",
                   "Rendimentos Sujeitos a tributação exclusiva na fonte"_cp, 32},

    EditorMenuItem{kDep, "De&pendentes     ", "F4", "Relação dos dependentes"_cp, 41},
    EditorMenuItem{kDep, "&Alimentandos    ", "",
                   "Relação dos alimentandos que recebem pensão alimentícia"_cp, 42},
    EditorMenuItem{kDep, "&Pagamentos e doações"_cp, "",
                   "Relação dos Pagamentos e doaçoes efetuadas"_cp, 43},
    EditorMenuItem{kDep, "&Doações diretas"_cp, "",
                   "Doações para Estatuto da Criança diretas na declaração"_cp, 44},
    EditorMenuItem{kDep, "&Herdeiros/Meeiro", "",
                   "Relação dos herdeiros em uma declaração final"_cp, 45},

    EditorMenuItem{kBem, "&Decl. Bens e dívidas   "_cp, "F5",
                   "Declaração dos Bens e das dívidas"_cp, 51},
    EditorMenuItem{kBem, "Só a Declar. de &Bens   "_cp, "", kBens, 52},
    EditorMenuItem{kBem, "Só a Declar. de Dí&vidas"_cp, "", kDividas, 53},
    EditorMenuItem{kBem, "&Zoom Declar. de Bens   ", "", kBens, 54},
    EditorMenuItem{kBem, "Z&oom Declar. de Dívidas"_cp, "", kDividas, 55, true},
    EditorMenuItem{kBem, "&Informação do Cônjugue"_cp, "", "Informações do conjuge"_cp, 56},
    EditorMenuItem{kBem, "&Espólio"_cp, "", "Informações do espólio"_cp, 57},
    EditorMenuItem{kBem, "&Saída definitiva"_cp, "", "Informações para saída definitiva"_cp, 58},

    EditorMenuItem{kIden, "&Identificação"_cp, "F6", "Identificação"_cp, 61},
    EditorMenuItem{kIden, "&Notas e Obsv.", "F11", "Anotações e observações"_cp, 62},

    EditorMenuItem{kCalc, "&Cálculo"_cp, "F7", "Cálculo do Imposto"_cp, 71},
    EditorMenuItem{kCalc, "&Balanco", "F10", "Balanço da declaração"_cp, 72},

    EditorMenuItem{kGanho, "G.Cap.Bens &Imoveis Titular ", "", kGainImoveis, 81, false, D::kWith},
    EditorMenuItem{kGanho, "G.Cap.Bens &Moveis Titular  ", "", kGainMoveis, 82, false, D::kWith},
    EditorMenuItem{kGanho, "G.Cap.Part.&Societaria Titular", "", kGainSoc, 83, true, D::kWith},
    EditorMenuItem{kGanho, "G.Cap.Bens Imoveis &Dependente", "", kGainImoveis, 84, false, D::kWith},
    EditorMenuItem{kGanho, "G.Cap.&Bens Moveis Dependente ", "", kGainMoveis, 85, false, D::kWith},
    EditorMenuItem{kGanho, "G.Cap.&Part.Societaria Dependente", "", kGainSoc, 86, true, D::kWith},
    EditorMenuItem{kGanho, "RVar. &Op.Comum  Titular", "", kRvComum, 91, false, D::kWith},
    EditorMenuItem{kGanho, "RVar. &Day-Trade Titular", "", kRvDay, 92, false, D::kWith},
    EditorMenuItem{kGanho, "&F.Investimento  Titular", "", kRvFundo, 93, true, D::kWith},
    EditorMenuItem{kGanho, "RVar. Op.&Comum  Dependente", "", kRvComum, 94, false, D::kWith},
    EditorMenuItem{kGanho, "RVar. Day-&Trade Dependente", "", kRvDay, 95, false, D::kWith},
    EditorMenuItem{kGanho, "F.&Investimento  Dependente", "", kRvFundo, 96, false, D::kWith},
    EditorMenuItem{kGanho, "G.Cap.Bens &Imóveis  "_cp, "", kGainImoveis, 81, false, D::kWithout},
    EditorMenuItem{kGanho, "G.Cap.Bens &Móveis   "_cp, "", kGainMoveis, 82, false, D::kWithout},
    EditorMenuItem{kGanho, "G.Cap.Part.&Societária "_cp, "", kGainSoc, 83, true, D::kWithout},
    EditorMenuItem{kGanho, "RVar. &Op.Comum  ", "", kRvComum, 91, false, D::kWithout},
    EditorMenuItem{kGanho, "RVar. &Day-Trade ", "", kRvDay, 92, false, D::kWithout},
    EditorMenuItem{kGanho, "&F.Investimento  ", "", kRvFundo, 93, false, D::kWithout},

    EditorMenuItem{kRural, "&Identificação"_cp, "F12", "Identificação da Atividade e do imóvel"_cp, 101},
    EditorMenuItem{kRural, "&Receita e Despesas", "", "Lançamento das Receitas e Despesas "_cp, 102},
    EditorMenuItem{kRural, "&Apuração"_cp, "", "Apuração do Resultado Tributável"_cp, 103},
    EditorMenuItem{kRural, "&Mov. Rebanho", "", "Movimentação do Rebanho"_cp, 104},
    EditorMenuItem{kRural, "&Bens Rural", "", "Bens da Atividade Rural", 105},
    EditorMenuItem{kRural, "&Dívidas Rural"_cp, "", "Dívidas vinculadas a Atividade rural"_cp, 106},

    EditorMenuItem{kHelp, "&Geral", "", "Ajudas gerais", 121},
    EditorMenuItem{kHelp, "&Funcoes", "", "Teclas especiais", 122},

    EditorMenuItem{kSai, "Sai", "Alt-T", "Sai da declaração"_cp, 111},
};

bool shown(const EditorMenuItem& item, bool with_dependants) {
  return item.shown == D::kAlways || (item.shown == D::kWith) == with_dependants;
}

}  // namespace

std::span<const EditorMenuItem> editor_menu_items() { return kItems; }

const EditorMenuItem* editor_menu_item(int code) {
  for (const auto& item : kItems) {
    if (item.code == code) return &item;
  }
  return nullptr;
}

std::vector<std::string_view> editor_menus() {
  std::vector<std::string_view> menus;
  for (const auto& item : kItems) {
    if (menus.empty() || menus.back() != item.menu) menus.push_back(item.menu);
  }
  return menus;
}

ui::LMenu& create_editor_menu(ui::LDialog& window, bool with_dependants,
                              const std::function<void(int)>& choose) {
  ui::LMenu& bar = window.menu();
  std::string_view open;
  for (const auto& item : kItems) {
    if (!shown(item, with_dependants)) continue;
    if (item.menu != open) {
      if (!open.empty()) bar.endMenu();
      bar.subMenu(std::string(item.menu));
      open = item.menu;
    }
    std::string caption(item.label);
    if (!item.shortcut.empty()) caption += " " + std::string(item.shortcut);
    int code = item.code;
    ui::LMenuItem& added = bar.menuItem(caption, [choose, code](ui::LMenuItem&, ui::LDialog&) { choose(code); });
    added.cargo = code;
    if (item.separator_after) bar.separator();
  }
  if (!open.empty()) bar.endMenu();
  bar.create();
  return bar;
}

MenuDecision menu2select(int code, const MenuFlags& f) {
  MenuDecision d;
  d.sub = code;
  auto message = [&](std::initializer_list<std::string_view> lines) {
    for (auto l : lines) d.message.emplace_back(l);
    return d;
  };
  auto screen = [&](int n) {
    d.screen = n;
    return d;
  };
  constexpr std::string_view kMarked = "Essa declaração está marcada como uma  "_cp;

  if (code >= 101 && code <= 107 && !f.rural) {
    return message({"Esse contribuinte não esta selecionado que tenha necessidade da Atividade "
                    "Rural. Se for o caso vá na tela de identificação e marque essa condição."_cp});
  }
  bool needs_dependants = code == 13 || code == 14 || code == 22 || (code >= 84 && code <= 86) ||
                          (code >= 94 && code <= 96);
  if (needs_dependants && !f.dependants) return message({"Sem dependentes para usar essa opção"_cp});

  switch (code) {
    case 11: case 12: case 13: case 14:
      d.I1_1 = code == 11 || code == 13 ? "J" : "A";
      d.I1_11 = code <= 12 ? "S" : "N";
      return screen(1);
    case 17: case 111:
      d.leave = code;
      return d;
    case 21: case 22: return screen(2);
    case 31: case 32: return screen(3);
    case 41: case 42: case 43: return screen(4);
    case 44:
      if (f.standard) return message({"Para fazer doação direta na declaração só na Completa."_cp});
      return screen(4);
    case 45:
      if (!f.final_estate) return message({"Herdeiros só em declaração final de espólio"_cp});
      return screen(4);
    case 51: return screen(5);
    case 52: case 53:
      d.debt_half = code == 53;
      return screen(23);
    case 54: case 55:
      d.debt_half = code == 55;
      return screen(22);
    case 56:
      if (f.final_estate) {
        d.drop_spouse = true;
        return message({kMarked, "Declaração final de espólio e não pode"_cp,
                        "ter mais os rendimentos do conjugue"});
      }
      return screen(5);
    case 57:
      if (f.departure) {
        return message({kMarked, "Declaração de saída definitiva do país "_cp,
                        " e não pode, portanto, ser uma de Espólio"_cp});
      }
      return screen(5);
    case 58:
      if (f.final_estate) {
        return message({kMarked, "Declaração final de espólio "_cp,
                        " e não pode, portanto, ser uma de Saída definitiva"_cp});
      }
      return screen(5);
    case 61: return screen(6);
    case 62: return screen(11);
    case 71: return screen(7);
    case 72: return screen(10);
    case 81: case 82: case 83:
      d.TIPO_BEM = code - 80;
      return screen(8);
    case 84: case 85: case 86:
      d.TIPO_BEM = code - 83;
      return screen(8);
    case 91: case 92: case 93: case 94: case 95: case 96:
      d.TIPO_BEM = 4;
      d.DAY_TRADE = std::string(1, static_cast<char>('0' + (code - (code <= 93 ? 90 : 93))));
      return screen(9);
    case 101: return screen(12);
    case 102:
      if (f.abroad) {
        return message({"As receitas e despesas da atividade no exterior"_cp,
                        "são lançadas junto ao imóvel pelo total."_cp});
      }
      return screen(13);
    case 103: case 104: case 105: case 106: return screen(code - 89);
    case 121: case 122:
      d.help = true;
      return d;
    default:
      return d;
  }
}

}  // namespace kx::declaration
