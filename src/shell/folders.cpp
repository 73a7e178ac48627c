#include "shell/folders.h"

#include <set>

#include "base/cp850.h"
#include "base/text.h"
#include "shell/configuration.h"
#include "store/access_lock.h"
#include "store/folder.h"
#include "store/upgrade.h"
#include "ui/entry_field.h"
#include "ui/keys.h"

namespace kx::shell {
namespace {

std::string folder_of_row(const dbf::Table& t) { return std::string(text::rtrim(t.get_text("DIRETOR"))); }

}  // namespace

std::string DIRPADRAO(std::string_view home) {
  return std::string(home) + "/ProgramasRFB/IRPF2015/aplicacao/dados";
}

bool TROCASIM(entry::Session& s, int mode) {
  store::Access a = s.access();
  store::Globals& g = s.globals;
  dbf::Table& list = s.workspace.table(kFolderList);
  s.workspace.select(kFolderList);
  const bool empty = list.record_count() == 0;
  const uint32_t current = empty ? 0 : list.recno();
  if (!empty) {
    list.go_top();
    for (; !list.eof(); list.skip()) {
      if (list.recno() == current || text::trim(list.get_text("SELEC")) != "S") continue;
      if (!store::REC_LOCK(a)) continue;  // that row keeps its mark
      list.set_text("SELEC", "N");
      list.unlock_all();
    }
    list.go_to(current);
  }
  if (mode == 1) {
    if (empty) {
      if (!store::ADD_REC(a, 2)) return false;
    } else if (!store::REC_LOCK(a)) {
      return false;
    }
    std::string folder = folder_of_row(list);
    if (text::is_blank(folder)) {
      folder = store::BAR_FORA(g.ARQDEF);
    } else if (!store::CRI_NDIR(s.op, folder, kOwnPurpose)) {
      list.unlock_all();
      return false;
    }
    list.set_text("DIRETOR", folder);
    list.set_text("SELEC", "S");
    list.unlock_all();
    g.ROTADOANO = g.ROTA = folder;
    g.LOCARQ = store::BAR_DIR(folder);
    store::CORRECAO(a, 0);
  }
  store::MUDADIR(a, g.LOCARQ);
  store_configuration(s, {"ROTADOANO"});
  s.workspace.select(kFolderList);
  return true;
}

bool select_current_folder(entry::Session& s) {
  store::Access a = s.access();
  dbf::Table& list = s.workspace.table(kFolderList);
  s.workspace.select(kFolderList);
  const std::string folder = store::BAR_FORA(s.globals.LOCARQ);
  for (list.go_top(); !list.eof(); list.skip()) {
    if (!store::same_folder(folder_of_row(list), folder)) continue;
    if (text::trim(list.get_text("SELEC")) == "S") return true;
    return TROCASIM(s, 1);
  }
  if (!store::ADD_REC(a, 2)) return false;
  list.set_text("DIRETOR", folder);
  list.unlock_all();
  return TROCASIM(s, 1);
}

std::string NOVA_ROTA(entry::Session& s, std::string_view current, std::string_view purpose,
                      int width, std::string_view home) {
  constexpr int kEntryWidth = 76;
  const bool official = purpose == kOfficialPurpose;
  const std::string title = official ? "Local do programa da Receita"
                                     : "Pasta de Trabalho dos arquivos auxiliares";
  ui::LDialog& dialog = s.frame.LDLGSHOW(1, 1, 5, 78, title);
  const unsigned char attr = ui::standard_colour(s.colours.CORNORM);
  const unsigned char shown = ui::standard_colour(s.colours.COR_2_CLI);
  const unsigned char active = ui::colour_of(s.colours.CORNORM, ui::ColourRole::kEnhanced, attr);
  if (official)
    s.screen.write(2, 2, "Pasta vazia não transfere p/a Receita. ALT P preenche com o Padrão"_cp, attr);
  std::string result(text::rtrim(current));
  const std::set<int> alt_p{ui::key::alt('P')};
  for (;;) {
    s.screen.write(3, 2, text::pad_right(std::string(text::rtrim(current)).substr(0, kEntryWidth), kEntryWidth), shown);
    ui::Value value = std::string(kEntryWidth, ' ');
    int k = 0;
    for (;;) {
      ui::EntryField field(s.screen, 4, 2, value, "@S76", attr, active);
      k = field.read(&s.frame.keys(), &s.frame, official ? &alt_p : nullptr);
      if (k != ui::key::alt('P')) break;
      value = text::pad_right(DIRPADRAO(home), kEntryWidth);
    }
    if (k == ui::key::kEsc) break;
    std::string typed(text::trim(std::get<std::string>(value)));
    if (typed.empty()) {
      if (official) {
        s.messages.tell({std::string("Ao deixar em branco NÃO haverá transferência para o programa da receita!"_cp)});
        result.clear();
      }
      break;
    }
    if (typed.size() == 2 && typed[1] == ':') typed = store::BAR_DIR(typed);
    if (typed.size() > 3 && !store::CRI_NDIR(s.op, typed, purpose)) continue;
    result = typed;
    break;
  }
  s.frame.LDLGCLOSE();
  (void)dialog;
  return text::pad_right(result, static_cast<size_t>(width));
}

void SELAREA(entry::Session& s, int n, std::string_view home) {
  store::Globals& g = s.globals;
  if (n == 1) {
    g.DIRTRAB = std::string(text::rtrim(NOVA_ROTA(s, g.DIRTRAB, kOwnPurpose, 80, home)));
    g.LOCTRAB = store::BAR_DIR(g.DIRTRAB);
    store_configuration(s, {"DIRTRAB"});
  } else {
    const std::string folder(text::rtrim(NOVA_ROTA(s, g.ROTAJAVA, kOfficialPurpose, 80, home)));
    g.LOCIRPF = folder.empty() ? "" : store::BAR_DIR(folder);
    g.ROTAJAVA = g.ROTARECEI = folder;
    store_configuration(s, {"ROTAJAVA", "ROTARECEI"});
  }
}

}  // namespace kx::shell
