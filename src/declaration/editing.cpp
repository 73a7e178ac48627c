#include "declaration/editing.h"

#include "declaration/editor.h"

namespace kx::declaration {
namespace {

constexpr int kEditCommand = 11;
constexpr int kDependantsTable = 3;

}  // namespace

FolderEditing::FolderEditing(entry::Session& s, std::function<void()> choose_folder) : s_(s) {
  prompt_.unfinished = [this]() -> std::optional<Unfinished> {
    const auto marker = unfinished_declaration(s_.globals);
    if (!marker) return std::nullopt;
    return Unfinished{marker->folder, marker->cpf};
  };
  prompt_.choose_folder = std::move(choose_folder);
}

std::optional<CpfChoice> FolderEditing::choose_cpf() {
  for (;;) {
    const PromptResult r = GET_CODIGO(s_, s_.globals.OPCAO_1, prompt_);
    if (r.outcome == PromptResult::Outcome::left) return std::nullopt;
    if (r.chosen())
      return CpfChoice{r.cpf, r.is_new ? Origin::new_taxpayer : Origin::existing, r.restore};
  }
}

bool FolderEditing::told(bool ok) {
  if (!ok && open_ && !open_->reason().empty()) s_.messages.tell({open_->reason()});
  return ok;
}

bool FolderEditing::load(const std::string& cpf, Origin origin, bool restore) {
  open_.reset();
  open_.emplace(s_.access(), s_.globals.NOMEAG);
  const bool mark_open = s_.globals.OPCAO_1 == kEditCommand;
  const bool ok = restore ? open_->restore(cpf, mark_open) : open_->load(cpf, origin, mark_open);
  if (!told(ok)) open_.reset();
  return ok;
}

bool FolderEditing::save(int mode) {
  if (!open_) return false;
  return told(open_->save(mode == 1 ? SaveMode::final : SaveMode::intermediate));
}

void FolderEditing::discard() {
  if (open_ && told(open_->discard())) open_.reset();
}

int FolderEditing::dependants() {
  if (!open_) return 0;
  int rows = 0;
  open_->copy(kDependantsTable).scan([&](uint32_t, const dbf::RecordView&) {
    ++rows;
    return true;
  });
  return rows;
}

void run_declaration_command(entry::Session& s, std::function<void()> choose_folder) {
  FolderEditing editing(s, std::move(choose_folder));
  DeclarationEditor editor(s, editing);
  editor.DECLARA();
}

}  // namespace kx::declaration
