#include "declaration/editor.h"

#include <algorithm>

#include "ui/keys.h"
#include "ui/picture.h"
#include "ui/windows.h"

namespace kx::declaration {
namespace {

namespace key = ui::key;

bool is_ending_key(int k) {
  if (k == key::kEsc || k == key::kTab || k == key::kShiftTab || k == key::kPgUp ||
      k == key::kPgDn || k == key::kEnter || k == key::alt_f(1) || k == key::alt_f(2)) {
    return true;
  }
  for (int n = 1; n <= 12; ++n) {
    if (k == key::f(n)) return true;
  }
  return false;
}

// The title a screen shows: the status text of its sub-screen's menu item.
std::string screen_title(int sub) {
  const EditorMenuItem* item = editor_menu_item(sub);
  return item ? std::string(item->status) : std::string();
}

}  // namespace

DeclarationEditor::DeclarationEditor(entry::Session& session, EditorServices& services)
    : s_(session), data_(services) {
  runner_ = [this](int screen, int sub) { return placeholder_screen(screen, sub); };
}

std::string DeclarationEditor::text(std::string_view name) const {
  const ui::Value* v = data_.values().find(name);
  if (!v || !std::holds_alternative<std::string>(*v)) return {};
  std::string t = std::get<std::string>(*v);
  while (!t.empty() && t.back() == ' ') t.pop_back();
  return t;
}

bool DeclarationEditor::protected_status() const {
  const ui::Value* v = data_.values().find("ESTATUS");
  int status = v && std::holds_alternative<Decimal>(*v) ? static_cast<int>(std::get<Decimal>(*v).to_int()) : 0;
  return status == s_.globals.STATRAVA;
}

void DeclarationEditor::protection_message() {
  s_.messages.AVISOSN({std::string("Declaração com Status de proteção contra alteração."_cp),
                       std::string("Logo não é permitido salvar qualquer modificação!"_cp)},
                      0);
}

void DeclarationEditor::not_available() { s_.messages.AVISOSN({std::string(ui::kNotAvailable)}, 0); }

GiroFlags DeclarationEditor::giro_flags() const {
  return {text("TEMRURAL") == "S", text("ATV_BRASIL") == "N", state_.PVEZ};
}

MenuFlags DeclarationEditor::menu_flags() const {
  return {state_.QTD_DEP > 0,        text("TEMRURAL") == "S",       text("ATV_BRASIL") == "N",
          text("USAPADRAO") == "S",  s_.globals.DECFINAL == "S",    s_.globals.DECSAIDA == "S"};
}

void DeclarationEditor::DECLARA() {
  ui::KeyScope main_keys(s_.frame.keys());
  main_keys.set(key::alt('I'), {});
  main_keys.set(key::alt('T'), {});
  data_.close_copies();
  int command = s_.globals.OPCAO_1;
  if (command == 51) return not_available();
  if (command == 62 || command == 63) {
    if (!data_.load(s_.globals.CPF, Origin::existing, false)) return;
    not_available();
    data_.close_copies();
    return;
  }
  for (;;) {
    s_.globals.LRECUPERA = false;
    std::optional<CpfChoice> choice = data_.choose_cpf();
    if (!choice) break;
    s_.globals.ULT_CPF = s_.globals.CPF = choice->cpf;
    if (command == 11) {
      if (edit(*choice) == After::kEnd) break;
      continue;
    }
    if (command == 61) {
      data_.close_copies();
      if (data_.load(choice->cpf, Origin::existing, false)) {
        not_available();
        data_.close_copies();
      }
    } else {
      not_available();  // 12, 13, 51
    }
    break;
  }
  s_.globals.LESTOUNADECL = false;
}

void DeclarationEditor::bind_keys(ui::KeyScope& keys) {
  for (int n = 1; n <= 12; ++n) keys.set(key::f(n), [this, n] { function_key(key::f(n)); });
  keys.set(key::alt_f(1), [this] { function_key(key::alt_f(1)); });
  keys.set(key::alt_f(2), [this] { function_key(key::alt_f(2)); });
  if (s_.globals.TEMP_SAL < 99) keys.set(key::alt('W'), [this] { SAL_DEC(); });
  keys.set(key::alt('S'), [this] { not_available(); });
  keys.set(key::alt('H'), [this] {
    state_.SEMHORA = !state_.SEMHORA;
    data_.stop_clock(state_.SEMHORA);
  });
  keys.set(key::alt('T'), [this] {
    SAI_DA_DEC(111);
    if (window_) window_->end();
  });
}

void DeclarationEditor::function_key(int k) {
  if (k == key::f(1)) data_.store_summary();
  pending_ = next_place({}, k, giro_flags());
  if (window_) window_->end();
}

DeclarationEditor::After DeclarationEditor::edit(const CpfChoice& choice) {
  if (!data_.load(choice.cpf, choice.origin, choice.restore)) return After::kPrompt;
  state_ = EditorState{};
  state_.PVEZ = choice.origin == Origin::new_taxpayer;
  state_.SEM_SALV = s_.clock.monotonic_ms();
  leaving_ = false;
  pending_.reset();

  ui::KeyScope keys(s_.frame.keys());
  bind_keys(keys);
  state_.QTD_DEP = data_.dependants();
  std::string title;
  if (s_.globals.OPCIRPF == "J") {
    title = "CPF:" + ui::transform(choice.cpf, "@R 999.999.999-99") + " - " + text("NOMECONTR");
  } else {
    s_.globals.LESTOUNADECL = true;
  }
  ui::LDialog& window = s_.frame.LDLGSHOW(1, 0, 24, 79, title);
  window_ = &window;
  window.sbDraw({""});
  create_editor_menu(window, state_.QTD_DEP > 0, [this](int code) {
    MENU2SELECT(code);
    if (window_) window_->end();
  });
  auto menus = editor_menus();
  int highlight = 0;
  if (state_.PVEZ) {
    highlight = static_cast<int>(std::find(menus.begin(), menus.end(), "&Iden.") - menus.begin());
  }
  bool first = true;
  After after = After::kPrompt;
  for (;;) {
    while (!leaving_) {
      if (pending_) {
        GIRO();
        continue;
      }
      if (first) {
        first = false;
        s_.frame.open_menu(highlight);
        continue;
      }
      s_.frame.LACTIVATE(false);
    }
    if (state_.INI == "I") {
      data_.discard();
      after = After::kEnd;
      break;
    }
    if (data_.save(1)) {
      after = s_.globals.OPCFIM == 1 ? After::kEnd : After::kPrompt;
      break;
    }
    s_.messages.AVISOSN({std::string(kNotSaved)}, 0);
    leaving_ = false;
    state_.INI = "N";
  }
  window_ = nullptr;
  window.close();
  return after;
}

void DeclarationEditor::MENU2SELECT(int code) {
  state_.OPCIR_1 = code;
  MenuDecision d = menu2select(code, menu_flags());
  if (d.drop_spouse) {
    for (const char* name : {"I9_4", "I9_5"}) {
      if (data_.values().has(name)) data_.values().set(name, std::string("N"));
    }
    for (int n = 1; n <= 5; ++n) {
      std::string name = "I13_" + std::to_string(n) + "C";
      if (data_.values().has(name)) data_.values().set(name, Decimal(0));
    }
  }
  if (!d.message.empty()) s_.messages.AVISOSN(d.message, 0);
  if (!d.I1_1.empty()) state_.I1_1 = d.I1_1;
  if (!d.I1_11.empty()) state_.I1_11 = d.I1_11;
  if (d.TIPO_BEM) state_.TIPO_BEM = d.TIPO_BEM;
  if (!d.DAY_TRADE.empty()) state_.DAY_TRADE = d.DAY_TRADE;
  if (d.help) not_available();
  if (d.leave) SAI_DA_DEC(d.leave);
  if (d.screen) pending_ = Place{d.screen, d.sub, d.debt_half};
  state_.QTD_DEP = data_.dependants();
}

void DeclarationEditor::draw_screen_line() {
  s_.screen.write(1, 0, index_line(), static_cast<unsigned char>(s_.colours.COR_TEL2));
  std::string info = "Tempo: " + std::to_string(data_.elapsed_seconds() / 60) + " min  Bytes: " +
                     std::to_string(data_.data_size());
  s_.screen.write(24, 0, info, static_cast<unsigned char>(s_.colours.COR_TEL1));
}

void DeclarationEditor::GIRO() {
  Place p = pending_.value_or(Place{});
  pending_.reset();
  for (;;) {
    p = normalise(p, giro_flags());
    state_.TELA = p.screen;
    if (p.screen == 0) break;
    state_.OPCIR_1 = p.sub;
    state_.debt_half = p.debt_half;
    draw_screen_line();
    int k = runner_(p.screen, p.sub);
    state_.ULTTECLA = k;
    if (leaving_) break;
    int minutes = static_cast<int>((s_.clock.monotonic_ms() - state_.SEM_SALV) / 60000);
    int every = s_.globals.TEMP_SAL;
    if (every >= 1 && every <= 97 && minutes >= every) SAL_DEC();
    if (k == key::f(1)) data_.store_summary();
    GiroFlags flags = giro_flags();
    Place next = next_place(p, k, flags);
    if (p.screen == 6) state_.PVEZ = false;
    p = next;
  }
  state_.TELA = 0;
}

int DeclarationEditor::placeholder_screen(int, int sub) {
  auto attr = static_cast<unsigned char>(s_.colours.COR_TEL1);
  constexpr int kTop = 2, kBottom = 23;
  s_.screen.fill(ui::Rect{kTop, 0, kBottom, 79}, ui::Cell{' ', attr});
  std::string_view box = ui::kBoxChars;  // corners and sides, clockwise from the top left
  s_.screen.write(kTop, 0, std::string(1, box[0]) + std::string(78, box[1]) + box[2], attr);
  s_.screen.write(kBottom, 0, std::string(1, box[6]) + std::string(78, box[5]) + box[4], attr);
  for (int row = kTop + 1; row < kBottom; ++row) {
    s_.screen.write(row, 0, std::string(1, box[7]), attr);
    s_.screen.write(row, 79, std::string(1, box[3]), attr);
  }
  std::string title = " " + screen_title(sub) + " ";
  s_.screen.write(kTop, std::max(1, (80 - static_cast<int>(title.size())) / 2), title,
                  static_cast<unsigned char>(s_.colours.COR_TEL3));
  for (;;) {
    auto e = s_.screen.next_event(1000);
    if (!e) continue;
    if (e->kind == ui::EventKind::kTick) {
      s_.frame.tick();
      continue;
    }
    if (e->kind != ui::EventKind::kKey) continue;
    if (is_ending_key(e->code)) return e->code;
    s_.frame.keys().run(e->code);
    if (leaving_) return 0;
  }
}

void DeclarationEditor::SAL_DEC() {
  if (protected_status()) return protection_message();
  if (s_.globals.TEMP_SAL < 98 && data_.save(0)) state_.SEM_SALV = s_.clock.monotonic_ms();
}

bool DeclarationEditor::SAI_DA_DEC(int code) {
  if (protected_status()) {
    protection_message();
    state_.INI = "I";
    return leaving_ = true;
  }
  if (code == 17) {
    ui::Value answer = s_.messages.AVISOSN(
        {std::string("Termina a Declaração?"_cp), "Sim...  Salva tudo e sai.       ",
         std::string("Não...  Volte para a declaração."_cp), std::string("Ignore. Sai sem salvar as alterações."_cp)},
        3);
    const std::string& a = std::get<std::string>(answer);
    if (a == "N") return false;
    state_.INI = a == "I" ? "I" : "S";
    return leaving_ = true;
  }
  return leaving_ = true;
}

}  // namespace kx::declaration
