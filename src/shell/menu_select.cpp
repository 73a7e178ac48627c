#include "shell/menu_select.h"

#include "shell/password.h"

#include <algorithm>
#include <exception>
#include <initializer_list>

#include "base/cp850.h"
#include "base/text.h"
#include "os/error.h"
#include "os/path.h"
#include "shell/menu_settings.h"
#include "store/access.h"
#include "ui/entry_field.h"
#include "ui/keys.h"

namespace kx::shell {
namespace {

constexpr int kRegistry = 9, kStatusTable = 66;

Decimal number(int n) { return Decimal(n); }
int integer(const ui::Value& v) {
  const auto* d = std::get_if<Decimal>(&v);
  return d ? static_cast<int>(d->to_int()) : 0;
}
std::string yes_no(bool yes) { return yes ? "S" : "N"; }
std::vector<std::string> owned(std::initializer_list<std::string_view> lines) {
  return {lines.begin(), lines.end()};
}

}  // namespace

MainMenu::MainMenu(entry::Session& session, MenuOperations operations)
    : s_(session), ops_(std::move(operations)) {
  items = MONTA_ITENS(s_.globals);
}

MenuLabels MainMenu::labels() const {
  const store::Globals& g = s_.globals;
  return {g.QUERSEN, g.TEMP_SAL, g.XDRIVE, NOMEIMP, items.ITEM6, items.ITEM7};
}

void MainMenu::MENUCOMMAND(int n) {
  bar_ = n;
  built_ = labels();
  MenuHandlers handlers{
      [this](int code, int argument) { MENUSELECT(code, argument); },
      [this](int part) {
        if (s_.globals.LESTOUNADECL) return;
        if (ops_.colour_editor) ops_.colour_editor(part);
        else not_available();
      },
      [this] {
        if (!s_.globals.LESTOUNADECL) password_toggle();
      },
      [this] {
        if (!s_.globals.LESTOUNADECL) password_change();
      },
  };
  shell::MENUCOMMAND(s_.frame.LWINDOWMAIN(), n, built_, handlers);
}

void MainMenu::refresh_bar() {
  if (bar_ != 1 && labels() != built_) MENUCOMMAND(bar_);
}

void MainMenu::not_available() { tell({ui::kNotAvailable}); }

void MainMenu::tell(std::initializer_list<std::string_view> lines) { s_.messages.AVISOSN(owned(lines), 0); }
bool MainMenu::ask(std::initializer_list<std::string_view> lines) {
  return std::get<std::string>(s_.messages.AVISOSN(owned(lines), 2)) == "S";
}

void MainMenu::MENUSELECT(int code, int argument) {
  store::Globals& g = s_.globals;
  g.OPCAO_1 = code;
  if (g.LESTOUNADECL) return;
  const bool settings_tables = code >= 21 && code <= 36;
  const bool closes_registry = code == 17 || code == 52 || (code >= 71 && code <= 76);
  guarded(code, [&] {
    if (settings_tables) {
      store::Access a = s_.access();
      store::ABERTURA(a, kDefineTable);
      if (store::ABERTURA(a, kConfigTable)) s_.workspace.table(kConfigTable).seek(g.NUSU);
    }
    run(code, argument);
  });
  // What the command closed is open again, whether it ended well or not.
  if (closes_registry) guarded(code, [&] { reopen_registry(); });
  if (settings_tables) {
    guarded(code, [&] {
      s_.workspace.close(kConfigTable);
      s_.workspace.close(kDefineTable);
    });
  }
  refresh_bar();
}

void MainMenu::guarded(int code, const std::function<void()>& work) {
  try {
    work();
  } catch (const dbf::TableError& e) {
    report_failure(code, e);
  } catch (const dbf::FieldOverflow& e) {
    report_failure(code, e);
  } catch (const os::Error& e) {
    report_failure(code, e);
  } catch (const DecimalOverflow& e) {
    report_failure(code, e);
  }
}

void MainMenu::report_failure(int code, const std::exception& e) {
  tell({"Erro inesperado no comando " + std::to_string(code) + ":", e.what(),
        "O comando foi interrompido."});
}

void MainMenu::run(int code, int argument) {
  store::Access a = s_.access();
  switch (code) {
    case 11: call(ops_.declaration_entry, "Declaracão"_cp); break;
    case 12: call(ops_.declaration_entry, "Lançamentos"_cp); break;
    case 13: call(ops_.declaration_entry, "Conferência"_cp); break;
    case 14: call(ops_.agenda); break;
    case 15: call(ops_.folder_dialog); break;
    case 16:
      call(ops_.exclusion, argument,
           argument == 1 ? "Exclusão de toda a declaração"_cp : "Exclusão apenas da Atividade Rural"_cp);
      break;
    case 17:
      if (!ops_.import_previous_year) return not_available();
      s_.workspace.close(kRegistry);
      ops_.import_previous_year();
      break;
    case 18:
    case 91: call(ops_.leave, code); break;
    case 21: call(ops_.select_area, 1); break;
    case 22:
      tell({"Para usar a transferência é preciso estar só. "_cp,
            "Se equipamento está na rede fique só em um terminal"_cp, "saindo do programa nos demais."});
      call(ops_.transfer);
      break;
    case 24: break;
    case 25: call(ops_.fees); break;
    case 26: save_mode(argument); break;
    case 27:
      if (!ops_.status) return not_available();
      reopen_registry();
      ops_.status(argument);
      break;
    case 28: call(ops_.selic); break;
    case 29:
      if (call(ops_.reindex)) {
        store::ABERTURA(a, kDefineTable);
        if (store::ABERTURA(a, kConfigTable)) s_.workspace.table(kConfigTable).seek(s_.globals.NUSU);
      }
      break;
    case 30: call(ops_.change_cpf); break;
    case 31: call(ops_.copy_part, argument); break;
    case 32: call(ops_.export_table, argument); break;
    case 33: call(ops_.bank_slips, argument); break;
    case 34: call(ops_.email, argument); break;
    case 35: update_setting(); break;
    case 36: adjustments(argument); break;
    case 41:
    case 42:
    case 43:
    case 44: print_selection(code, argument); break;
    case 45:
    case 46:
    case 47: SELITEMIMP(code, argument); break;
    case 48:
      items = MONTA_ITENS(s_.globals);
      MOS_CONFIMP();
      store_print_selection(true);
      break;
    case 51: call(ops_.print); break;
    case 52: reprint(); break;
    case 53: call(ops_.letters); break;
    case 61:
      if (!ops_.declaration_entry) return not_available();
      if (AVISOSRF()) ops_.declaration_entry("Transferência para o programa da Receita"_cp);
      break;
    case 62:
    case 63:
      if (!ops_.hand_over_many) return not_available();
      if (AVISOSRF()) ops_.hand_over_many(code);
      break;
    case 64:
    case 65:
    case 66: transfer_settings(code, argument); break;
    case 67: call(ops_.select_area, 2); break;
    case 68: call(ops_.recover_index); break;
    case 71:
    case 72:
    case 73:
    case 74:
    case 75:
    case 76: backup(code, argument); break;
    case 77: compressor(); break;
    case 78: processor(); break;
    default: break;
  }
}

bool MainMenu::AVISOSRF() {
  if (text::trim(s_.globals.LOCIRPF).empty()) {
    tell({"Preencha abaixo em Pasta do IRPF a pasta do programa da receita"});
    return false;
  }
  tell({"Evite o envio da declaração com o IRPF da Receita aberto. "_cp,
        "O programa aceita, mas pode causar problemas"});
  return true;
}

void MainMenu::reopen_registry() {
  if (!s_.workspace.held(kRegistry)) {
    store::Access a = s_.access();
    store::ABERTURA(a, kRegistry);
  }
}

void MainMenu::reprint() {
  const auto file = os::find_nocase(s_.globals.LOCTRAB + "NAO-DOS.TXT");
  if (!file) return tell({"Gere antes o arquivo NAO DOS usando no item acima"});
  if (!ops_.reprint) return not_available();
  reopen_registry();
  ops_.reprint();
}

// ---- Print selection -------------------------------------------------------------------------

void MainMenu::print_selection(int code, int argument) {
  choose_print_item(s_.globals, code, argument);
  items = MONTA_ITENS(s_.globals);
  store_print_selection(true);
}

void MainMenu::store_print_selection(bool all) {
  const store::Globals& g = s_.globals;
  store_settings(s_, kConfigTable, [&](dbf::Table& t) {
    t.set_number("QUEIMP", number(g.QUEIMP));
    t.set_number("QUEMOD", number(g.QUEMOD));
    t.set_number("QUEPAG", number(g.QUEPAG));
    t.set_number("QUECON", number(g.QUECON));
    if (!all) return;
    t.set_number("COMPAGA", number(g.COMPAGA));
    t.set_text("IMPBEM", g.IMPBEM);
    t.set_text("IMPBAL", g.IMPBAL);
    t.set_text("MOSIMP", g.MOSIMP);
    t.set_text("MOSTEL", g.MOSTEL);
    t.set_text("MOSCPF", g.MOSCPF);
    t.set_number("MARESQ", number(g.MARESQ));
    t.set_number("INIFOL", number(g.INIFOL));
    t.set_number("LINETI", number(g.LINETI));
    t.set_number("NRO_LIN", number(g.NRO_LIN));
  });
}

void MainMenu::SELITEMIMP(int code, int argument) {
  store::Globals& g = s_.globals;
  switch (code) {
    case 45: {
      if (!ops_.choose_printer) return not_available();
      if (auto name = ops_.choose_printer(argument)) NOMEIMP = *name;
      break;
    }
    case 46:
      g.MOSIMP = yes_no(ask({"Mostre antes de imprimir as Impressoras Existentes"}));
      g.MOSTEL = yes_no(ask({"Mostre antes de imprimir no video o texto a ser impresso"}));
      g.MOSCPF = yes_no(ask({"Crie uma copia do arquivo TXT com o CPF do arquivo impresso?"}));
      store_print_selection(true);
      break;
    case 47: {
      ui::Value copies = number(g.NRO_VIAS);
      ui::MensArgs args;
      args.var = &copies;
      args.picture = "@ 9";
      args.col = 'C';
      s_.messages.MENS(4, "Informe o nro vias (vezes) a imprimir", args);
      g.NRO_VIAS = std::clamp(integer(copies), 1, 9);
      items.ITEM7 = "&7-Vias " + std::to_string(g.NRO_VIAS);
      store_print_selection(false);
      break;
    }
    default: break;
  }
}

void MainMenu::MOS_CONFIMP() {
  s_.messages.AVISOSN({items.ITEM1, items.ITEM2, items.ITEM3, items.ITEM4, "Impressora " + NOMEIMP, items.ITEM7},
                      0, {}, "Selecao para impressao");
}

// ---- Settings of the declaration editor and of the hand-over ---------------------------------

void MainMenu::save_mode(int argument) {
  store::Globals& g = s_.globals;
  if (argument == 1) {
    if (g.TEMP_SAL == 0 || g.TEMP_SAL >= 99) g.TEMP_SAL = 15;
    ui::LDialog& d = s_.frame.LDLGSHOW(0, 0, 5, 35, "Tempo de gravação "_cp);
    const std::string_view prompt = "Tempo para gravar em minutos";
    const unsigned char attr = ui::standard_colour(s_.frame.csColorWin);
    s_.screen.write(2, 1, prompt, attr);
    ui::Value minutes = number(g.TEMP_SAL);
    ui::EntryField field(s_.screen, 2, 1 + static_cast<int>(prompt.size()) + 1, minutes, "@z 99",
                         ui::standard_colour(s_.frame.csColorGet), ui::standard_colour(s_.frame.csColorGetActive));
    s_.screen.show_cursor(true);
    ++d.reading;
    int exit_key;
    do {  // at least one minute
      exit_key = field.read(&s_.frame.keys(), &s_.frame);
    } while (exit_key != ui::key::kEsc && integer(minutes) < 1);
    --d.reading;
    s_.screen.show_cursor(false);
    d.close();
    if (integer(minutes) >= 1) g.TEMP_SAL = integer(minutes);
  } else if (argument == 2) {
    g.TEMP_SAL = 0;
  } else if (argument == 3) {
    g.TEMP_SAL = 99;
  } else {
    return;
  }
  g.COMO_SAL = argument;
  store_settings(s_, kDefineTable, [&](dbf::Table& t) {
    t.set_number("COMO_SAL", number(g.COMO_SAL));
    t.set_number("TEMP_SAL", number(g.TEMP_SAL));
    t.set_number("TEMP_DES", number(g.TEMP_DES));
  });
}

void MainMenu::update_setting() {
  store::Globals& g = s_.globals;
  const bool always = ask({"Deseja fazer essa verificação sempre na entrada?"_cp});
  g.VER_ATUAL = yes_no(always);
  store_settings(s_, kDefineTable, [&](dbf::Table& t) { t.set_text("VER_ATUAL", g.VER_ATUAL); });
  if (always) call(ops_.update_check, 1);
}

void MainMenu::adjustments(int argument) {
  store::Globals& g = s_.globals;
  if (argument == 1) {
    g.OPCIRPF = ask({"Sim - Tela da declaracao com janela", "Nao - Tela inteira na Declaracao"}) ? "J" : "N";
    store_settings(s_, kConfigTable, [&](dbf::Table& t) { t.set_text("OPCIRPF", g.OPCIRPF); });
  } else if (argument == 2) {
    g.OPCFIM = s_.messages.MSGALERT({"1 - Declaracao termina vai para o menu inicial",
                                     "2 - Declaracao termina e fica na selecao"},
                                    {"1", "2"}, "", "Escolha", true);
    store_settings(s_, kConfigTable, [&](dbf::Table& t) { t.set_number("OPCFIM", number(g.OPCFIM)); });
  }
}

std::optional<int> MainMenu::ask_status(std::string_view prompt, int current) {
  store::Access a = s_.access();
  const bool was_open = s_.workspace.held(kStatusTable) != nullptr;
  if (!was_open && !store::ABERTURA(a, kStatusTable)) return std::nullopt;
  dbf::Table& statuses = s_.workspace.table(kStatusTable);
  auto exists = [&](int code) {
    for (statuses.go_top(); !statuses.eof(); statuses.skip()) {
      if (statuses.get_number("COD") == number(code)) return true;
    }
    return false;
  };
  ui::Value value = number(current);
  ui::MensArgs args;
  args.var = &value;
  args.picture = "@z 99";
  args.col = 'C';
  args.valid = [&](const ui::Value& v) { return exists(integer(v)); };
  s_.messages.MENS(4, prompt, args);
  const int code = integer(value);
  const bool valid = exists(code);  // Esc leaves the prompt with no valid code
  if (!was_open) s_.workspace.close(kStatusTable);
  if (!valid) return std::nullopt;
  return code;
}

void MainMenu::transfer_settings(int code, int argument) {
  store::Globals& g = s_.globals;
  const auto only_status = [&] {
    tell({std::string("A partir de agora somente as declarações com o Status "_cp) + STR(g.SOESTE, 2),
          "serão transferidas para o IRPF ao terminar a declaração"_cp});
  };
  const auto never = [&] {
    tell({"A partir de agora nenhuma declaração será transferida"_cp, " para o IRPF ao terminar a declaração"_cp});
  };
  if (code == 64 && argument == 1) {
    auto status = ask_status("Informe o código do Estatus para declaração transferida! "_cp, g.SOESTE);
    if (!status) return;
    g.SOESTE = *status;
    only_status();
    g.OPTTRAN = 2;
  } else if (code == 64 && argument == 2) {
    never();
    g.OPTTRAN = 0;
  } else if (code == 65 && argument == 1) {
    tell({"A partir de agora todas as declarações independente do status"_cp,
          "serão transferidas para o IRPF ao terminar a declaração"_cp});
    g.OPTTRAN = 1;
  } else if (code == 65 && argument == 2) {
    if (g.OPTTRAN == 2) {
      only_status();
    } else {
      never();
      g.OPTTRAN = 0;
    }
  } else if (code == 66) {
    if (ask({"Após o envio deseja que o Estatus passe para transmitidas?"_cp})) {
      g.ENV_STAT = 1;
      if (auto status = ask_status("Informe o código do Estatus de declaração transmitidas? "_cp, g.OPC_TRAN))
        g.OPC_TRAN = *status;
    } else {
      g.ENV_STAT = 0;
    }
  } else {
    return;
  }
  store_settings(s_, kConfigTable, [&](dbf::Table& t) {
    t.set_number("OPTTRAN", number(g.OPTTRAN));
    t.set_number("SOESTE", number(g.SOESTE));
    t.set_number("ENV_STAT", number(g.ENV_STAT));
    t.set_number("OPC_TRAN", number(g.OPC_TRAN));
  });
}

// ---- Backups ---------------------------------------------------------------------------------

std::optional<std::string> MainMenu::ask_drive() {
  ui::Value drive = s_.globals.XDRIVE;
  ui::MensArgs args;
  args.var = &drive;
  args.picture = "@ !";
  args.col = 'C';
  s_.messages.MENS(4, "Informe a letra do Drive", args);
  std::string letter(text::trim(std::get<std::string>(drive)));
  if (letter.empty()) return std::nullopt;
  return letter;
}

void MainMenu::backup(int code, int argument) {
  store::Globals& g = s_.globals;
  if (!ops_.backup) return not_available();
  bool made = false;
  switch (code) {
    case 71:
      if (argument == 1) {
        tell({"Essa opção faz uma cópia direta dos dados"_cp, "Somente de uma pasta escolhida.",
              "Para copiar todas as pastas use Compacta todos"});
      }
      made = ops_.backup(code, argument);
      break;
    case 72:
    case 75: {
      if (code == 75) s_.workspace.close(kRegistry);
      auto drive = ask_drive();
      g.XDRIVE = drive.value_or("A");
      if (!drive) break;
      s_.workspace.close(kRegistry);
      made = ops_.backup(code, argument);
      break;
    }
    case 73:
    case 76:
      s_.workspace.close(kRegistry);
      made = ops_.backup(code, argument);
      break;
    case 74:
      if (argument == 1 &&
          !ask({"Atenção! Recuperar uma cópia significa copiar TODOS os CPF"_cp,
                "contidos na pasta de origem sobre a pasta destino. ",
                "Se a intenção é copiar apenas alguns CPFs feito em outro local"_cp,
                "deve ser usada em Opção / Transfere declaração. Continua?"_cp}))
        break;
      made = ops_.backup(code, argument);
      break;
    default: break;
  }
  reopen_registry();
  if (made && argument == 1 && (code == 71 || code == 73 || code == 74)) {
    g.ULTBACK = s_.clock.today() + 4;
    store_settings(s_, kConfigTable, [&](dbf::Table& t) {
      t.set_date("ULTBACK", g.ULTBACK);
      t.set_text("XDRIVE", g.XDRIVE);
      t.set_text("ROTABACK", g.ROTABACK);
    });
  }
}

void MainMenu::store_compression() {
  const store::Globals& g = s_.globals;
  store_settings(s_, kDefineTable, [&](dbf::Table& t) {
    t.set_text("PROCESSA", g.PROCESSA);
    t.set_text("PROGCOMP", g.PROGCOMP);
  });
}

void MainMenu::compressor() {
  store::Globals& g = s_.globals;
  const bool seven = g.PROGCOMP == "S";
  const std::string current = seven ? "7zip" : "ICE", other = seven ? "ICE" : "7zip";
  if (ask({"Para compactar esta configurado para utilizar",
           "o programa " + current + ". Troca para o " + other + " ?"}))
    g.PROGCOMP = seven ? "N" : "S";
  store_compression();
}

void MainMenu::processor() {
  store::Globals& g = s_.globals;
  if (g.PROGCOMP == "N") {
    tell({"O programa ICE não funciona em 64 bits. Troque para o 7Z"_cp});
  } else {
    const bool bits32 = g.PROCESSA == "S";
    const std::string current = bits32 ? "32" : "64", other = bits32 ? "64" : "32";
    if (ask({"O programa para compactar esta configurado para ser ",
             "usado em processador de " + current + " bits. Troca para " + other + " bits?"}))
      g.PROCESSA = bits32 ? "N" : "S";
  }
  store_compression();
}

// ---- Password items --------------------------------------------------------------------------

void MainMenu::password_toggle() {
  store::Globals& g = s_.globals;
  if (!g.QUERSEN) {
    tell({"Na próxima entrada será pedida a senha"_cp});
    g.QUERSEN = true;
  } else {
    if (!ops_.password_verify) return not_available();
    if (!ops_.password_verify(read_password(s_, "Informe a Senha Atual "))) return tell({"Senha inválida!"_cp});
    g.QUERSEN = false;
  }
  store_settings(s_, kConfigTable, [&](dbf::Table& t) { t.set_logical("QUERSEN", g.QUERSEN); });
  refresh_bar();
}

void MainMenu::password_change() {
  if (!ops_.password_verify || !ops_.password_set) return not_available();
  const std::string_view kept = "ATENÇÃO! A senha anterior foi mantida"_cp;
  std::string current;
  bool right = false;
  for (int attempt = 0; attempt < 2 && !right; ++attempt) {
    current = read_password(s_, "Digite a Senha Atual");
    if (current.empty()) return;
    right = ops_.password_verify(current);
    if (!right) tell({"Senha inválida!"_cp});
  }
  if (!right) return;

  std::string fresh;
  bool accepted = false;
  for (int attempt = 0; attempt < 2 && !accepted; ++attempt) {
    fresh = read_password(s_, "Digite a Nova Senha");
    if (fresh.empty()) return tell({kept});
    accepted = fresh != current;
    if (!accepted) tell({"A senha anterior não serve mais - Digite outra"_cp});
  }
  if (!accepted) return tell({kept});

  bool repeated = false;
  for (int attempt = 0; attempt < 2 && !repeated; ++attempt) {
    const std::string again = read_password(s_, "Repita a Nova Senha");
    if (again.empty()) return tell({kept});
    repeated = again == fresh;
    if (!repeated) tell({"Senha não consistente. Digite-a novamente"_cp});
  }
  if (!repeated) return tell({kept});
  ops_.password_set(fresh);
}

}  // namespace kx::shell
