#include "shell/program.h"

#include "base/cp850.h"
#include "base/text.h"
#include "declaration/open_declaration.h"
#include "shell/backup_reminder.h"
#include "shell/configuration.h"
#include "shell/folders.h"
#include "shell/password.h"
#include "store/access.h"
#include "store/folder.h"
#include "store/reorg.h"
#include "store/upgrade.h"
#include "ui/keys.h"

namespace kx::shell {
namespace {

constexpr int kRegistry = 9;
constexpr int kAgenda = 72;

}  // namespace

void FIMSISTEMA(entry::Session& s) { s.screen.discard_input(); }

Program::Program(entry::Session& s, StartOptions options, MainLoopMenu& menu, UpdateSettings update)
    : s_(s), options_(std::move(options)), menu_(menu), update_(std::move(update)) {}

void Program::stop() {
  s_.workspace.close_all();
  s_.screen.fill({0, 0, ui::kRows - 1, ui::kCols - 1}, {' ', 0x07});
  end = true;
}

void Program::program_folder() {
  store::Globals& g = s_.globals;
  g.DIRDEF = options_.DKAPRIX;
  const std::string named(text::trim(options_.DKAPRIX));
  g.ROTADEF = options_.current_folder;
  if (!named.empty()) {
    if (store::VERDIR(named))
      g.ROTADEF = named;
    else
      s_.messages.tell({"<Dir> " + named + std::string("não encontrado. Assumindo o padrão!"_cp)});
  }
  g.ROTADEF = store::BAR_FORA(g.ROTADEF);
  g.ARQDEF = store::BAR_DIR(g.ROTADEF);
  g.LOCARQ = g.ARQDEF;
}

bool Program::work_folder() {
  store::Globals& g = s_.globals;
  if (!store::VERDIR(g.ROTADOANO)) {
    if (!s_.messages.ask({"A Pasta " + std::string(text::trim(g.ROTADOANO)) +
                              std::string(" não foi encontrada!"_cp),
                          "Sim - Assume: " + g.ROTADEF, std::string("Não - Sai do programa!"_cp)}))
      return false;
    g.ROTADOANO = g.ROTADEF;
    store_configuration(s_, {"ROTADOANO"});
  }
  g.ROTA = std::string(text::trim(g.ROTADOANO));
  if (!store::VERDIR(g.DIRTRAB)) g.DIRTRAB = g.ROTA;
  g.LOCARQ = store::BAR_DIR(g.ROTA);
  g.LOCTRAB = store::BAR_DIR(text::trim(g.DIRTRAB));
  g.DIRORIG = g.LOCARQ;
  return true;
}

bool Program::start() {
  store::Globals& g = s_.globals;
  g.NUSU = terminal_number(options_);
  program_folder();
  CRIACOR(s_);
  store::Access a = s_.access();
  store::CORRECAO(a, 1);
  if (!CONFIGURA(s_, options_.drives)) {
    s_.workspace.close_all();
    s_.messages.tell({std::string("Arquivo de configuração sendo usado no momento"_cp)});
    stop();
    return false;
  }
  s_.windows.ENCHETELA(' ', s_.colours.COR_ENCH_C);
  remind_backup(s_);

  if (load_shared_settings(s_) && g.VER_ATUAL != "N" &&
      INTER(s_, 0, update_) == UpdateOutcome::chosen) {
    stop();
    return false;
  }
  s_.workspace.close(kSharedSettingsTable);

  if (!work_folder() || !check_entry_password(s_)) {
    stop();
    return false;
  }
  if (!store::ABERTURA(a, 0)) {
    s_.messages.tell({"O programa KAPRIX no terminal " + g.NUSU + std::string(" está em uso"_cp)});
    stop();
    return false;
  }
  select_current_folder(s_);
  g.LESTOUNADECL = g.LRECUPERA = false;
  g.DECFINAL = g.DECSAIDA = "N";
  if (store::ABERTURA(a, kAgenda) && load_reminders) load_reminders(s_);
  if (!s_.workspace.held(kRegistry)) store::MUDADIR(a, g.LOCARQ);
  // A save this terminal left unfinished is completed from its working copies.
  std::string reason;
  if (declaration::finish_interrupted_save(a, &reason) == declaration::Redo::failed)
    s_.messages.tell({reason});
  menu_.build();
  return true;
}

void Program::handle(const ui::Event& e) {
  switch (e.kind) {
    case ui::EventKind::kTick:
      s_.screen.run_tick_handler();
      break;
    case ui::EventKind::kMenu:
      menu_.menu_event(e);
      break;
    case ui::EventKind::kKey:
      if (e.code == ui::key::alt('T'))
        menu_.select(kLeave, 0);
      else if (e.code == ui::key::alt('I'))
        menu_.select(kOpenDeclaration, 0);
      else if (e.code == ui::key::kEsc)
        ROTSAIDA(kLeave);
      else if (char letter = ui::key::alt_letter(e.code)) open_menu(letter);
      break;
    default:
      break;
  }
  if (!end && check_reminders) check_reminders(s_);
}

void Program::open_menu(char letter) {
  ui::LDialog& main = s_.frame.LWINDOWMAIN();
  if (!main.oMenu || !main.oMenu->created()) return;
  if (int index = main.oMenu->bar_item_for(letter); index >= 0) s_.frame.open_menu(index);
}

void Program::run() {
  while (!end) {
    const auto e = s_.screen.next_event(-1);
    if (!e || s_.screen.filter(*e)) continue;
    handle(*e);
  }
}

bool Program::ROTSAIDA(int code) {
  if (code == kLeave && !s_.messages.ask({std::string("Confirma saída do programa?"_cp)})) return false;
  store_configuration(s_, exit_fields());
  s_.workspace.close_all();  // the folder's own tables are rebuilt only when no one holds them
  if (s_.globals.OPCAO_1 == kImport) {
    store::Access a = s_.access();
    store::REORG(a, s_.globals.ROTADOANO, store::ReorgMode::declarations);
  }
  stop();
  return true;
}

}  // namespace kx::shell
