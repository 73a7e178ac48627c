// The pending items of a registry row (F11): the notes of table 11 of that taxpayer, copied into
// the terminal's scratch copy and shown there.
#include "base/cp850.h"
#include "base/text.h"
#include "declaration/taxpayer_screens.h"
#include "entry/table_rows.h"
#include "store/access.h"
#include "store/catalogue.h"
#include "store/folder.h"
#include "ui/browser.h"
#include "ui/keys.h"

namespace kx::declaration {

namespace {

constexpr int kRegistry = 9;
constexpr int kNotes = 11;
constexpr int kScratch = kNotes + 20;

// The notes of `cpf` copied into the scratch table, which is emptied first.
void copy_notes(dbf::Table& notes, dbf::Table& scratch, const std::string& cpf) {
  scratch.zap();
  notes.set_order(1);
  for (bool on = notes.seek(cpf); on && !notes.eof() && text::trim(notes.get_text("CPF")) == cpf;
       notes.skip()) {
    scratch.append_blank();
    const dbf::RecordView row = notes.record();
    for (const dbf::Field& field : notes.schema().fields()) {
      if (!scratch.schema().find(field.name)) continue;
      switch (field.type) {
        case dbf::FieldType::numeric: scratch.set_number(field.name, row.number(field)); break;
        case dbf::FieldType::date: scratch.set_date(field.name, row.date(field)); break;
        case dbf::FieldType::logical: scratch.set_logical(field.name, row.logical(field)); break;
        default: scratch.set_text(field.name, row.raw(field));
      }
    }
    scratch.commit();
  }
}

}  // namespace

void MOS_PEND(entry::Session& s) {
  dbf::Table& registry = s.workspace.table(kRegistry);
  if (registry.eof()) return;
  const std::string cpf(text::trim(registry.get_text("CPF")));
  store::Access a = s.access();
  const std::string scratch_file =
      store::in_folder(s.globals.LOCTRAB, store::working_copy_name(kNotes, s.globals.NUSU));
  if (!store::ABREARQ(a, kScratch, true, scratch_file) || !store::ABERTURA(a, kNotes)) {
    s.workspace.close(kScratch);
    s.messages.AVISOSN({std::string("Terminal com esse nro aberto em outro local"_cp)}, 0);
    return;
  }
  dbf::Table& scratch = s.workspace.table(kScratch);
  copy_notes(s.workspace.table(kNotes), scratch, cpf);
  scratch.set_order(scratch.add_temporary_index("CODERR"));
  {
    ui::LDialog& dialog = s.frame.LDLGSHOW(2, 9, 16, 70, "Pendências"_cp);
    entry::TableRows rows(scratch);
    const unsigned char cell = ui::standard_colour(s.colours.COR_CLI_HE);
    ui::Browser browser(s.screen, {2, 9, 16, 70}, rows,
                        {cell, ui::standard_colour(s.colours.COR_ESC_CL), cell, cell});
    browser.columns = {rows.column("OBSERV", std::string("           Notas e observações"_cp))};
    browser.on_key = [](int key, ui::Browser&) { return key == ui::key::kEsc; };
    browser.first_row();
    browser.run();
    dialog.close();
  }
  s.workspace.close(kScratch);
  s.workspace.close(kNotes);
}

}  // namespace kx::declaration
