#include "shell/menu_tree.h"

#include <array>
#include <memory>

#include "base/cp850.h"

namespace kx::shell {
namespace {

using N = MenuNode;
using V = MenuValue;

constexpr MenuEntry menu(std::string_view text) { return {N::kMenu, text}; }
constexpr MenuEntry end() { return {N::kEnd}; }
constexpr MenuEntry item(std::string_view text, int code, int argument = 0) {
  return {N::kCommand, text, code, argument};
}
constexpr MenuEntry heading(std::string_view text) { return {N::kHeading, text}; }
constexpr MenuEntry separator() { return {N::kSeparator}; }
constexpr MenuEntry colour(std::string_view text, int part) { return {N::kColour, text, 0, part}; }
constexpr MenuEntry shown(MenuEntry e, MenuValue value, std::string_view suffix = {}) {
  e.value = value;
  e.suffix = suffix;
  return e;
}

const auto kTree = std::to_array<MenuEntry>({
    menu("&Declaração"_cp),
      item("&Declaração (Alt I)"_cp, 11),
      item("&Lancamentos", 12),
      item("&Conferência"_cp, 13),
      item("&Agenda", 14),
      item("&Pastas", 15),
      menu("&Exclusão"_cp),
        item("Exclui &IR e MVN", 16, 1),
        item("Exclui somente o &MVN", 16, 2),
        item("&Recupera declaração Excluida recentemente"_cp, 16, 3),
      end(),
      item("&Importação"_cp, 17),
      separator(),
      item("&Terminar (Alt T)", 18),
    end(),

    menu("&Opções"_cp),
      item("&Local de trabalho", 21),
      item("&Transfere declaração"_cp, 22),
      menu("&Senha"),
        shown({N::kPasswordToggle}, V::kPasswordVerb, " a senha na entrada"),
        {N::kPasswordChange, "Altera a senha atual"},
      end(),
      menu("&Mudar as cores"),
        colour(" &Texto              ", 1),
        colour(" &Contorno das telas ", 2),
        colour(" &Item Escolhido     ", 3),
        colour(" &Entr. de dados     ", 4),
        colour(" &Mensagens          ", 5),
        colour(" &Help e Avisos      ", 6),
        colour(" &Fundo Geral        ", 7),
      end(),
      item("&Valores a Cobrar", 25),
      menu("&Gravar os dados"),
        shown(item("&Automático a cada "_cp, 26, 1), V::kSaveMinutes, " minutos"),
        item("&Manual usando Alt W", 26, 2),
        item("&Somente no final ", 26, 3),
      end(),
      menu("status da &Declaração"_cp),
        item(" Alterar situação "_cp, 27, 1),
        item(" Cadastrar status ", 27, 2),
        item(" Trava alteração  "_cp, 27, 3),
      end(),
      item("cadastro &SELIC", 28),
      item("&Reindexar Dados", 29),
      item("Mudar C&PF", 30),
      menu("copia &Parte declaração"_cp),
        item(" Toda a declaração  "_cp, 31, 1),
        item(" Declaração de Bens "_cp, 31, 2),
        item(" Livro Caixa        ", 31, 3),
        item(" Rendime. P.Jurídica "_cp, 31, 4),
        item(" Pagamentos         ", 31, 5),
        item(" Ganho de capital   ", 31, 6),
        separator(),
        item(" Atividade Rural    ", 31, 7),
        item(" Bens/dividas MVN   ", 31, 8),
        item(" livro Caixa rural  ", 31, 9),
        item(" Imóveis Rurais     "_cp, 31, 10),
      end(),
      menu("e&Xporta Arquivo"),
        item(" declaração Bens  "_cp, 32, 1),
        item(" declaração Dívidas "_cp, 32, 2),
        item(" Pagamentos       ", 32, 3),
        item(" Cadastro         ", 32, 4),
        separator(),
        item(" Bens Rurais      ", 32, 5),
        item(" díVidas Rurais   "_cp, 32, 6),
        item(" Imóveis Rurais   "_cp, 32, 7),
      end(),
      menu("&Boletos"),
        item("Configura emitente", 33, 1),
        menu("Prepara os Boletos "),
          item("Cria boleto individual", 33, 2),
          item("Cria vários boletos   "_cp, 33, 3),
          item("Edita os Boletos   ", 33, 4),
        end(),
        item("Gera o Arquivo    ", 33, 5),
      end(),
      menu("&E-mail"),
        item("Configura Email ", 34, 1),
        item("Prepara o Email", 34, 2),
        item("Envia o Email", 34, 3),
      end(),
      menu("&Ajustes"),
        item("&Janela na declaração"_cp, 36, 1),
        item("&Fechando uma declaração"_cp, 36, 2),
      end(),
      item("&Ver Atualização"_cp, 35),
    end(),

    menu("&Selecão"_cp),
      menu("&1- O que imprimir"),
        item("IRenda modo Receita", 41, 1),
        item("IRenda modo  ZENT  ", 41, 2),
        item("Atividade Rural    ", 41, 3),
        item("Livro caixa Rural  ", 41, 4),
        item("Darfes             ", 41, 5),
        item("Ganho de capital   ", 41, 6),
        item("Renda variável     "_cp, 41, 7),
        item("carta Personalizada", 41, 8),
        item("Anotações especiais"_cp, 41, 9),
        item("Livro caixa Normal ", 41, 10),
        item("Valores a cobrar   ", 41, 11),
        item("Cadastro           ", 41, 12),
        item("Comprovante rendime", 41, 13),
        item("Etiquetas para CD  ", 41, 14),
        item("relatório Usuário  "_cp, 41, 15),
      end(),
      menu("&2 - Tipo de Folha"),
        heading("Impressão do Imposto /Outros"_cp),
        item("    na Folha avulsa  ", 42, 1),
        separator(),
        heading("Impressão do Darf "_cp),
        item("    na Folha Avulsa       ", 42, 1),
        item("    no Formulário Continuo"_cp, 42, 2),
        item("    no Papel pre-impresso ", 42, 3),
        separator(),
        heading("Impressão do cadastro "_cp),
        item("    Em Etiquetas     ", 42, 1),
        item("    Na Folha avulsa  ", 42, 2),
        separator(),
        heading("Impressão das Etiquetas do CD"_cp),
        item("    8 Eti. 116x37 ", 42, 1),
        item("    12 Eti. 90x24 ", 42, 2),
        item("    2*5 Eti.70x50 ", 42, 3),
        item("    Pimaco 8296   ", 42, 4),
      end(),
      menu("&3 - Qual pagina"),
        heading("Escolha para o IR  "),
        item("   Tudo na declaração "_cp, 43, 1),
        item("   Tudo menos Balanço "_cp, 43, 2),
        item("   Só IR s/Bal/Malha  "_cp, 43, 3),
        item("   Só IR Sem a Malha  "_cp, 43, 4),
        item("   Rendimentos        ", 43, 5),
        item("   Rendimentos P.Fisica", 43, 6),
        item("   Pagamentos/Isentos ", 43, 7),
        item("   Bens e Dívidas     "_cp, 43, 8),
        item("   Resumo c/Balanço   "_cp, 43, 9),
        item("   Resumo s/Balanço   "_cp, 43, 10),
        item("   Só a Malha fina    "_cp, 43, 11),
        separator(),
        heading("Escolha para o MVN  "),
        item("   Todas páginas "_cp, 43, 1),
        item("   só a página 1 "_cp, 43, 2),
        item("   só a página 2 "_cp, 43, 3),
        separator(),
        heading("Outros Itens  "),
        item("   Folha única"_cp, 43, 1),
      end(),
      menu("&4 - Quem imprimir"),
        item("Individual       ", 44, 1),
        item("Vários           "_cp, 44, 2),
        item("Todos            ", 44, 3),
        item("todas Pastas     ", 44, 4),
        item("Grupo selecionado", 44, 5),
      end(),
      menu("&5 - Qual Impressora"),
        shown(item("", 45, 1), V::kPrinter),
        shown(item("Porta de saida ", 45, 2), V::kPortItem),
      end(),
      shown(item("", 46, 1), V::kItem6),
      shown(item("", 47, 1), V::kItem7),
      item("Mostra a Selecao", 48, 1),
    end(),

    menu("&Impressão"_cp),
      item("Imprime os itens selecionados", 51),
      item("Mostra a Selecao", 48, 1),
      separator(),
      item("Imprime a última impressão NAO-DOS"_cp, 52),
      item("Edita Cartas", 53),
    end(),

    menu("&Envia p/ Receita"),
      item("Somente um contribuinte selecionado", 61),
      item("Todos Cpfs selecionados ", 62),
      item("Todos os CPFs da pasta atual", 63),
      separator(),
      menu("Envia ao terminar só a declaracão com status escolhido"_cp),
        item("SIM - Envia para a receita só com o status indicado"_cp, 64, 1),
        item("NÃO - Não envia ao terminar com o status indicado"_cp, 64, 2),
      end(),
      menu("Automático no fim da declaracao "_cp),
        item("SIM - Envia para a receita ao terminar a declaracão"_cp, 65, 1),
        item("NÃO - Não envia ao terminar uma declaração"_cp, 65, 2),
      end(),
      item("Muda ou não Status ao enviar"_cp, 66),
      separator(),
      item("Local do programa da Receita", 67),
      item("Recupera Declaração do IRPF "_cp, 68),
    end(),

    menu("&Backup"),
      menu("Fazer a cópia    "_cp),
        item("Do Zent 2015", 71, 1),
        item("Da Receita 2015", 71, 2),
      end(),
      shown(item("Compacta todos no ", 72, 1), V::kBackupDrive),
      menu("Compacta uma Pasta"),
        item("Do Zent 2015", 73, 1),
        item("Da Receita 2015", 73, 2),
      end(),
      separator(),
      menu("Recuperar a cópia"_cp),
        item("Do Zent 2015", 74, 1),
        item("Da Receita 2015", 74, 2),
      end(),
      shown(item("Descompacta todos do ", 75, 1), V::kBackupDrive),
      menu("Descompacta uma Pasta"),
        item("Do Zent 2015", 76, 1),
        item("Da Receita 2015", 76, 2),
      end(),
      separator(),
      item("Informa o Compactador", 77),
      item("Informa o processador", 78),
    end(),

    item("&Fim", 91),
});

}  // namespace

std::string STR(int n, int width) {
  std::string digits = std::to_string(n);
  const auto w = static_cast<std::size_t>(width);
  if (digits.size() > w) return std::string(w, '*');
  return std::string(w - digits.size(), ' ') + digits;
}

std::span<const MenuEntry> main_menu_tree() { return kTree; }

std::string menu_label(const MenuEntry& e, const MenuLabels& labels) {
  std::string value;
  switch (e.value) {
    case V::kNone: break;
    case V::kPasswordVerb: value = labels.QUERSEN ? "Retira" : "Coloca"; break;
    case V::kSaveMinutes: value = STR(labels.TEMP_SAL, 2); break;
    case V::kBackupDrive: value = labels.XDRIVE + ":"; break;
    case V::kPrinter: value = labels.NOMEIMP; break;
    case V::kPortItem:
      if (labels.NOMEIMP == "NAO DOS") return {};
      break;
    case V::kItem6: value = labels.ITEM6; break;
    case V::kItem7: value = labels.ITEM7; break;
  }
  return std::string(e.text) + value + std::string(e.suffix);
}

void MENUCOMMAND(ui::LDialog& window, int n, const MenuLabels& labels, const MenuHandlers& handlers) {
  ui::LMenu& bar = window.menu();
  auto h = std::make_shared<const MenuHandlers>(handlers);  // the items outlive the caller's copy
  if (n != 1) {
    for (const MenuEntry& e : kTree) {
      switch (e.node) {
        case N::kMenu: bar.subMenu(std::string(e.text)); break;
        case N::kEnd: bar.endMenu(); break;
        case N::kSeparator: bar.separator(); break;
        case N::kHeading: bar.menuItem(std::string(e.text), {}, false); break;
        case N::kCommand: {
          std::string label = menu_label(e, labels);
          if (label.empty()) break;
          bar.menuItem(label, [h, e](ui::LMenuItem&, ui::LDialog&) { h->select(e.code, e.argument); });
          break;
        }
        case N::kColour:
          bar.menuItem(std::string(e.text), [h, e](ui::LMenuItem&, ui::LDialog&) { h->colour(e.argument); });
          break;
        case N::kPasswordToggle:
          bar.menuItem(menu_label(e, labels), [h](ui::LMenuItem&, ui::LDialog&) { h->password_toggle(); });
          break;
        case N::kPasswordChange:
          bar.menuItem(std::string(e.text), [h](ui::LMenuItem&, ui::LDialog&) { h->password_change(); });
          break;
      }
    }
  }
  bar.create();
}

}  // namespace kx::shell
