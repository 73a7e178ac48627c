// The declaration editor of the running program: its screens connected to the CPF prompt and
// to the working copies of the work folder.
#pragma once

#include <functional>
#include <optional>

#include "declaration/cpf_prompt.h"
#include "declaration/editor_services.h"
#include "declaration/open_declaration.h"
#include "entry/session.h"

namespace kx::declaration {

class FolderEditing : public EditorServices {
 public:
  // `choose_folder` is the folder dialog of the CPF prompt's F7 (may be empty).
  FolderEditing(entry::Session& s, std::function<void()> choose_folder);

  std::optional<CpfChoice> choose_cpf() override;
  bool load(const std::string& cpf, Origin origin, bool restore) override;
  bool save(int mode) override;
  void discard() override;
  void close_copies() override { open_.reset(); }
  DeclarationValues& values() override { return open_ ? open_->values() : none_; }
  long elapsed_seconds() override { return open_ ? open_->elapsed_seconds() : 0; }
  long data_size() override { return open_ ? open_->data_size() : 0; }
  void stop_clock(bool stopped) override {
    if (open_) open_->stop_clock(stopped);
  }
  void store_summary() override {
    if (open_) open_->store_summary();
  }
  int dependants() override;

 private:
  bool told(bool ok);

  entry::Session& s_;
  PromptServices prompt_;
  std::optional<OpenDeclaration> open_;
  DeclarationValues none_;  // the values while no declaration is open
};

// DECLARA for the main-menu command in globals.OPCAO_1 (11, 12, 13, 51, 61..63).
void run_declaration_command(entry::Session& s, std::function<void()> choose_folder);

}  // namespace kx::declaration
