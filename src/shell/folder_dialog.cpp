#include "shell/folder_dialog.h"

#include "base/cp850.h"
#include "base/text.h"
#include "entry/table_rows.h"
#include "shell/folders.h"
#include "store/access_lock.h"
#include "store/folder.h"
#include "ui/browser.h"
#include "ui/entry_field.h"
#include "ui/keys.h"

namespace kx::shell {
namespace {

constexpr int kTop = 2, kLeft = 16, kBottom = 18, kRight = 73;
constexpr int kEditRow = kBottom;
constexpr int kFolderWidth = 80, kFolderShown = 52;

struct DialogContext {
  entry::Session& s;
  dbf::Table& list;
  unsigned char attr, active;
};

// Reads a value on the dialog's edit line; nullopt on Esc.
std::optional<std::string> edit_line(DialogContext& c, std::string_view label, std::string value,
                                     std::string_view picture) {
  c.s.screen.write(kEditRow, kLeft, text::pad_right(label, kRight - kLeft + 1), c.attr);
  ui::Value v = std::move(value);
  ui::EntryField field(c.s.screen, kEditRow, kLeft + static_cast<int>(label.size()), v, picture,
                       c.attr, c.active);
  const int k = field.read(&c.s.frame.keys(), &c.s.frame);
  c.s.screen.write(kEditRow, kLeft, std::string(kRight - kLeft + 1, ' '), c.attr);
  if (k == ui::key::kEsc) return std::nullopt;
  return std::get<std::string>(v);
}

// The folder cell: refused empty, created when missing and the operator agrees.
std::optional<std::string> ask_folder(DialogContext& c, std::string current) {
  for (;;) {
    auto typed = edit_line(c, "Pasta: ", text::pad_right(current, kFolderWidth), "@S52");
    if (!typed) return std::nullopt;
    const std::string folder(text::trim(*typed));
    if (folder.empty()) {
      c.s.messages.tell({std::string("É necessário preencher o nome da Pasta"_cp)});
      continue;
    }
    if (store::CRI_NDIR(c.s.op, folder, kOwnPurpose)) return folder;
    current = folder;
  }
}

void edit_mark(DialogContext& c) {
  const auto typed = edit_line(c, "Sel: ", c.list.get_text("SELEC"), "@!");
  if (!typed) return;
  const std::string mark(text::trim(*typed));
  if (mark == "S") {
    TROCASIM(c.s, 1);
    return;
  }
  if (!mark.empty() && mark != "N") {
    c.s.messages.tell({"Use S, N ou branco"});
    return;
  }
  store::Access a = c.s.access();
  if (!store::REC_LOCK(a)) return;
  c.list.set_text("SELEC", mark);
  c.list.unlock_all();
}

void edit_folder(DialogContext& c, bool new_row) {
  const auto folder = ask_folder(c, new_row ? "" : std::string(text::rtrim(c.list.get_text("DIRETOR"))));
  if (!folder) return;
  store::Access a = c.s.access();
  if (new_row ? !store::ADD_REC(a, 2) : !store::REC_LOCK(a)) return;
  c.list.set_text("DIRETOR", *folder);
  if (new_row) c.list.set_text("SELEC", "N");
  c.list.unlock_all();
}

}  // namespace

void folder_dialog(entry::Session& s) {
  dbf::Table& list = s.workspace.table(kFolderList);
  s.workspace.select(kFolderList);
  DialogContext c{s, list, ui::standard_colour(s.colours.CORNORM),
                  ui::colour_of(s.colours.CORNORM, ui::ColourRole::kEnhanced, 0x70)};
  s.frame.LDLGSHOW(kTop, kLeft, kBottom, kRight, "Pastas");
  entry::TableRows rows(list);
  ui::Browser browser(s.screen, {kTop, kLeft, kBottom - 1, kRight}, rows);
  browser.columns = {rows.column("SELEC", "Sel", "@!"),
                     rows.column("DIRETOR", "Drive e Pasta", "@S52")};  // shown as typed
  browser.columns[1].width = kFolderShown;
  browser.blank_row = true;
  browser.on_key = [&](int key, ui::Browser& b) {
    if (key == ui::key::kEsc) return true;
    const bool blank = b.on_blank_row() || b.empty();
    if (!blank) list.go_to(static_cast<uint32_t>(b.row_bookmark()));
    if (key == ui::key::kEnter) {
      if (b.column() == 0 && !blank)
        edit_mark(c);
      else
        edit_folder(c, blank);
    } else if (key == ui::key::kDel && !blank) {
      store::Access a = s.access();
      if (store::REC_LOCK(a)) {
        list.delete_record();
        list.unlock_all();
      }
    } else {
      return false;
    }
    s.workspace.select(kFolderList);
    b.refresh();
    return false;
  };
  browser.run();
  s.frame.LDLGCLOSE();
}

}  // namespace kx::shell
