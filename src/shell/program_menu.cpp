#include "shell/program_menu.h"

#include <cstdlib>
#include <string>

#include "declaration/editing.h"
#include "shell/folder_dialog.h"
#include "shell/folders.h"
#include "shell/password.h"

namespace kx::shell {
namespace {

std::string home() {
  const char* h = std::getenv("HOME");
  return h ? h : "";
}

}  // namespace

ProgramMenu::ProgramMenu(entry::Session& s, UpdateSettings update,
                         const std::function<void(MenuOperations&)>& more)
    : s_(s), update_(std::move(update)), menu_(s, operations(more)) {}

MenuOperations ProgramMenu::operations(const std::function<void(MenuOperations&)>& more) {
  MenuOperations ops;
  ops.leave = [this](int code) { program_->ROTSAIDA(code); };
  ops.folder_dialog = [this] { folder_dialog(s_); };
  ops.declaration_entry = [this](std::string_view) {
    declaration::run_declaration_command(s_, [this] { folder_dialog(s_); });
  };
  ops.select_area = [this](int n) { SELAREA(s_, n, home()); };
  ops.update_check = [this](int mode) {
    if (INTER(s_, mode, update_) == UpdateOutcome::chosen) program_->ROTSAIDA(kEndAtOnce);
  };
  ops.password_verify = [this](std::string_view password) {
    return verify_password(s_.globals.ARQDEF, s_.globals.NUSU, password);
  };
  ops.password_set = [this](std::string_view password) {
    set_password(s_.globals.ARQDEF, s_.globals.NUSU, password);
  };
  if (more) more(ops);
  return ops;
}

}  // namespace kx::shell
