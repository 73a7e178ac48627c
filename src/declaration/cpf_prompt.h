// The choice of a taxpayer at the bottom of the screen (the CPF window): a CPF with its check
// digits or a name search, the taxpayer lists on F1/F2/F3/F8, the search through the other
// folders of the folder list, the warning for a declaration open on another terminal, the new
// taxpayer, and the restart of this terminal's interrupted declaration (F4).
//
// The prompt does not load anything: it hands the choice to the command that asked, which loads
// (or prints) the declaration. The registry of the current folder (LOCARQ) is held in slot 9.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "entry/session.h"

namespace kx::declaration {

// This terminal's interrupted declaration, as its restore marker records it.
struct Unfinished {
  std::string folder;  // as the settings hold folders
  std::string cpf;
};

// What the prompt needs from the other parts of the program. Empty functions: not available.
struct PromptServices {
  std::function<std::optional<Unfinished>()> unfinished;
  std::function<void()> choose_folder;  // F7: the folder dialog; may change LOCARQ
};

struct PromptResult {
  enum class Outcome {
    chosen,    // a taxpayer was chosen
    left,      // Esc
    declined,  // the operator or a check declined this one (the prompt may be asked again)
  };
  Outcome outcome = Outcome::left;
  std::string cpf;       // digits
  std::string name;      // CP850
  std::string folder;    // LOCARQ of the choice (it may have changed to another folder)
  bool is_new = false;   // not registered anywhere: a first entry for this CPF
  bool restore = false;  // take the declaration from this terminal's working copies
  bool chosen() const { return outcome == Outcome::chosen; }
};

// The commands the prompt serves: 11 edit, 12 cash book, 13 consistency check, 51 print, 61
// hand-over. F4, F5, F6 and F11 work for command 11 only.
PromptResult GET_CODIGO(entry::Session& s, int command, const PromptServices& services);

// Draws the CPF window with `cpf`, `name` and the current folder.
void MOSTR_PAG(entry::Session& s, const std::string& cpf, const std::string& name);

}  // namespace kx::declaration
