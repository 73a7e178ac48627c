// The declaration editor on the screen: the entry of the one-taxpayer commands (DECLARA), the
// declaration's menu bar and its dispatcher, the screen sequence (GIRO), the editing keys, the
// intermediate and automatic saves and the leaving of a declaration.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "base/cp850.h"
#include "declaration/editor_menu.h"
#include "declaration/editor_services.h"
#include "declaration/giro.h"
#include "entry/session.h"

namespace kx::declaration {

// Runs screen `screen` at sub-screen `sub` and returns the key that ended it (0 when the
// declaration is being left, see DeclarationEditor::leaving()).
using ScreenRunner = std::function<int(int screen, int sub)>;

// The open declaration's state that the screens read.
struct EditorState {
  int TELA = 0, OPCIR_1 = 0, ULTTECLA = 0;
  bool PVEZ = false;
  bool debt_half = false;       // screens 22, 23
  std::string INI = "N";        // "S" save, "I" discard, "N" not decided
  bool SEMHORA = false;         // editing clock stopped
  int64_t SEM_SALV = 0;         // monotonic ms of the last save
  int QTD_DEP = 0;
  std::string I1_1 = "J", I1_11 = "S", DAY_TRADE;
  int TIPO_BEM = 0;
};

class DeclarationEditor {
 public:
  DeclarationEditor(entry::Session& session, EditorServices& services);

  // The runner of the entry screens; by default each screen shows its frame and title and
  // waits for a key that ends it.
  void set_screen_runner(ScreenRunner runner) { runner_ = std::move(runner); }

  // The one-taxpayer command globals.OPCAO_1.
  void DECLARA();

  void MENU2SELECT(int code);
  void GIRO();
  void SAL_DEC();
  // True when leaving is decided.
  bool SAI_DA_DEC(int code);

  bool leaving() const { return leaving_; }
  const EditorState& state() const { return state_; }

 private:
  enum class After { kPrompt, kEnd };
  After edit(const CpfChoice& choice);
  void bind_keys(ui::KeyScope& keys);
  void function_key(int key);
  int placeholder_screen(int screen, int sub);
  void draw_screen_line();
  GiroFlags giro_flags() const;
  MenuFlags menu_flags() const;
  bool protected_status() const;
  void protection_message();
  std::string text(std::string_view name) const;
  void not_available();

  entry::Session& s_;
  EditorServices& data_;
  ScreenRunner runner_;
  EditorState state_;
  std::optional<Place> pending_;  // a screen asked for from the menu bar
  bool leaving_ = false;
  ui::LDialog* window_ = nullptr;
};

// The message of a final save that failed: the operator stays in the declaration.
inline constexpr std::string_view kNotSaved =
    "Os dados NÃO foram salvos. Continue na declaração e tente salvar de novo."_cp;

}  // namespace kx::declaration
