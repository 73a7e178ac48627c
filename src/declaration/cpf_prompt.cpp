#include "declaration/cpf_prompt.h"

#include <set>

#include "base/cp850.h"
#include "base/text.h"
#include "declaration/folder_search.h"
#include "declaration/taxpayer_screens.h"
#include "store/access.h"
#include "store/folder.h"
#include "ui/entry_field.h"
#include "ui/identifiers.h"
#include "ui/keys.h"
#include "ui/picture.h"

namespace kx::declaration {

namespace {

constexpr int kRegistry = 9;
constexpr int kEdit = 11;
constexpr int kNameWidth = 53;

using ui::key::f;

const std::set<int> kPromptKeys = {f(1), f(2), f(3), f(4), f(5), f(6), f(7), f(8), f(11)};
// Keys that only the edit command takes.
const std::set<int> kEditOnlyKeys = {f(4), f(5), f(6), f(11)};

std::vector<std::string> lines(std::initializer_list<std::string_view> texts) {
  return {texts.begin(), texts.end()};
}

std::string text_of(const ui::Value& v) { return std::get<std::string>(v); }

// The registry of the current folder in slot 9, in CPF order and without filter; false when it
// cannot be opened.
bool registry_ready(entry::Session& s) {
  if (!s.workspace.held(kRegistry)) {
    store::Access a = s.access();
    if (!store::ABERTURA(a, kRegistry)) return false;
  }
  dbf::Table& t = s.workspace.table(kRegistry);
  t.set_filter({});
  t.set_order(1);
  return true;
}

class Prompt {
 public:
  Prompt(entry::Session& s, int command, const PromptServices& services)
      : s_(s), command_(command), services_(services) {}

  PromptResult run();

 private:
  void show() { MOSTR_PAG(s_, text_of(cpf_), text_of(name_)); }
  void show_keys();
  // Runs a prompt key; true when the prompt is to go on with the CPF in the field (F4).
  bool prompt_key(int key);
  void take(const std::optional<ListChoice>& choice);
  PromptResult choose(const std::string& cpf);
  // The question for a declaration marked open (NUSUAT) in the registry's current row; false
  // when the operator declines.
  bool open_elsewhere_accepted(const std::string& cpf, PromptResult& result);
  PromptResult result(PromptResult::Outcome outcome, const std::string& cpf = {});

  entry::Session& s_;
  int command_;
  const PromptServices& services_;
  ui::Value cpf_ = std::string(11, ' ');
  ui::Value name_ = std::string(kNameWidth, ' ');
  bool restore_ = false;
};

void Prompt::show_keys() {
  const std::string_view keys =
      command_ == kEdit ? "F1=Nome F2=CPF F3=Stat F4=Rec. F5=Corr. F6=Det. F7=Pasta F8=MVN F11=Pend"
                        : "ESC Sai - Ordenado por (F1=Nome F2=CPF F3=Status) F7=Pasta F8=So MVN";
  s_.screen.write(23, 1, text::pad_right(keys, 79), ui::standard_colour(s_.colours.COR_SAY));
}

void Prompt::take(const std::optional<ListChoice>& choice) {
  if (!choice) return;
  cpf_ = text::pad_right(choice->cpf, 11);
  name_ = text::pad_right(choice->name, kNameWidth);
}

bool Prompt::prompt_key(int key) {
  if (command_ != kEdit && kEditOnlyKeys.count(key)) return false;
  // The lists and the details start at the CPF of the prompt, or at the first row.
  dbf::Table& t = s_.workspace.table(kRegistry);
  const std::string typed(text::trim(text_of(cpf_)));
  if (typed.empty() || !t.seek(typed, dbf::SeekMode::soft) || t.eof()) t.go_top();
  switch (key) {
    case f(1): take(GERAL(s_, ListOrder::name)); break;
    case f(2): take(GERAL(s_, ListOrder::cpf)); break;
    case f(3): take(GERAL(s_, ListOrder::status)); break;
    case f(8): take(GERAL(s_, ListOrder::cpf, true)); break;
    case f(5): IMPCORRIG(s_); break;
    case f(6): MOS_DETAL(s_); break;
    case f(11): MOS_PEND(s_); break;
    case f(7):
      if (services_.choose_folder) services_.choose_folder();
      s_.workspace.close(kRegistry);
      registry_ready(s_);
      break;
    case f(4): {
      const std::optional<Unfinished> marker =
          services_.unfinished ? services_.unfinished() : std::nullopt;
      if (!marker || text::is_blank(marker->cpf)) {
        s_.messages.AVISOSN(lines({"Impossível recuperar o último CPF."_cp}), 0);
        break;
      }
      // The working copies belong to the folder the marker names: restore only there.
      if (!store::same_folder(marker->folder, s_.globals.LOCARQ) &&
          !make_folder_current(s_, marker->folder))
        break;
      cpf_ = text::pad_right(marker->cpf, 11);
      restore_ = true;
      return true;
    }
    default: break;
  }
  return false;
}

PromptResult Prompt::result(PromptResult::Outcome outcome, const std::string& cpf) {
  PromptResult r;
  r.outcome = outcome;
  r.cpf = cpf;
  r.folder = s_.globals.LOCARQ;
  return r;
}

bool Prompt::open_elsewhere_accepted(const std::string& cpf, PromptResult& r) {
  if (restore_) return true;
  const std::string terminal(text::trim(s_.workspace.table(kRegistry).get_text("NUSUAT")));
  if (terminal.empty()) return true;
  if (terminal == s_.globals.NUSU) {
    const std::optional<Unfinished> marker =
        services_.unfinished ? services_.unfinished() : std::nullopt;
    r.restore =
        marker && marker->cpf == cpf && store::same_folder(marker->folder, s_.globals.LOCARQ) &&
        s_.messages.ask(lines({"A declaração desse contribuinte não terminou corretamente."_cp,
                               "Deseja recuperar as últimas informações trabalhadas?"_cp}));
    return true;
  }
  return s_.messages.ask(
      {std::string("A declaração desse contribuinte está ou ficou aberta no terminal "_cp) +
           terminal,
       std::string(
           "Caso tenha outra pessoa utilizando os dados daquele que salvar por último que"_cp),
       std::string("prevalecera. Isso pode alterar o feito naquele terminal. Continua?"_cp)});
}

PromptResult Prompt::choose(const std::string& cpf) {
  dbf::Table& t = s_.workspace.table(kRegistry);
  t.set_filter({});
  t.set_order(1);
  bool found = t.seek(cpf);
  if (!found && restore_) {
    // An interrupted first entry: its only data are the working copies.
    PromptResult r = result(PromptResult::Outcome::chosen, cpf);
    r.restore = true;
    return r;
  }
  if (!found) {
    std::string value = cpf;
    found = BUSCA_OUTRO(s_, value, 1, 1);
    if (!found) {
      if (command_ != kEdit) {
        s_.messages.AVISOSN(lines({"O contribuinte não foi localizado em nenhum das pastas "_cp,
                                   "indicadas. Confira o CPF e/ou a lista das pastas   "_cp}),
                            0);
        return result(PromptResult::Outcome::declined, cpf);
      }
      if (!s_.messages.ask(lines({" Esse Contribuinte não está cadastrado  "_cp,
                                  "em nenhuma das Pastas indicadas. Inclui?"_cp})))
        return result(PromptResult::Outcome::declined, cpf);
      PromptResult r = result(PromptResult::Outcome::chosen, cpf);
      r.is_new = true;
      return r;
    }
  }
  PromptResult r = result(PromptResult::Outcome::chosen, cpf);
  r.name = std::string(text::rtrim(t.get_text("NOMECONTR")));
  r.restore = restore_;
  cpf_ = text::pad_right(cpf, 11);
  name_ = text::pad_right(r.name, kNameWidth);
  show();
  if ((command_ == kEdit || command_ == 13) && !open_elsewhere_accepted(cpf, r))
    return result(PromptResult::Outcome::declined, cpf);
  return r;
}

PromptResult Prompt::run() {
  if (!registry_ready(s_)) return result(PromptResult::Outcome::left);
  cpf_ = text::pad_right(s_.globals.CPF, 11);
  name_ = text::pad_right(s_.globals.NOMECONTR, kNameWidth);
  const unsigned char attr = ui::standard_colour(s_.colours.COR_SAY);
  const unsigned char active = ui::standard_colour(s_.colours.COR_GET);
  for (;;) {
    show();
    show_keys();
    ui::EntryField cpf_field(s_.screen, 17, 3, cpf_, "@R 999.999.999-99", attr, active);
    const int k = cpf_field.read(&s_.frame.keys(), &s_.frame, &kPromptKeys);
    if (kPromptKeys.count(k)) {
      if (prompt_key(k)) return choose(std::string(text::trim(text_of(cpf_))));
      continue;
    }
    if (k == ui::key::kEsc) return result(PromptResult::Outcome::left);
    const std::string digits(text::trim(text_of(cpf_)));
    if (digits.empty()) {
      name_ = std::string(kNameWidth, ' ');
      ui::EntryField name_field(s_.screen, 17, 19, name_, "@!", attr, active);
      const int nk = name_field.read(&s_.frame.keys(), &s_.frame, &kPromptKeys);
      if (kPromptKeys.count(nk)) {
        if (prompt_key(nk)) return choose(std::string(text::trim(text_of(cpf_))));
        continue;
      }
      if (nk == ui::key::kEsc) return result(PromptResult::Outcome::left);
      if (text::is_blank(text_of(name_))) continue;
      const std::optional<ListChoice> choice = BNOME2(s_, text_of(name_));
      if (!choice) continue;
      take(choice);
      return choose(choice->cpf);
    }
    if (const ui::IdCheck check = ui::VAL_CPF(text_of(cpf_), true, 0); !check) {
      if (!check.message.empty()) s_.messages.AVISOSN(check.message, 0);
      continue;
    }
    return choose(digits);
  }
}

}  // namespace

void MOSTR_PAG(entry::Session& s, const std::string& cpf, const std::string& name) {
  const unsigned char attr = ui::standard_colour(s.colours.COR_SAY);
  const std::string top{"┌─ C P F ────────┬─ Nome"_cp};
  s.screen.fill({16, 1, 22, 72}, ui::Cell{' ', attr});
  s.screen.write(16, 1, top, attr);
  for (int x = 1 + static_cast<int>(top.size()); x < 72; ++x) s.screen.put(16, x, {0xC4, attr});
  s.screen.put(16, 72, {0xBF, attr});
  for (int y = 17; y < 22; ++y) {
    s.screen.put(y, 1, {0xB3, attr});
    s.screen.put(y, 72, {0xB3, attr});
  }
  s.screen.put(22, 1, {0xC0, attr});
  for (int x = 2; x < 72; ++x) s.screen.put(22, x, {0xC4, attr});
  s.screen.put(22, 72, {0xD9, attr});
  s.screen.write(17, 3, ui::transform(text::pad_right(cpf, 11), "@R 999.999.999-99"), attr);
  s.screen.write(17, 19, text::pad_right(name, kNameWidth), attr);
  s.screen.write(19, 2, "  Pasta atual  :", attr);
  s.screen.write(19, 19, std::string(40, ' '), attr);
  s.screen.write(19, 19, s.globals.LOCARQ.substr(0, 40), attr);
}

PromptResult GET_CODIGO(entry::Session& s, int command, const PromptServices& services) {
  Prompt prompt(s, command, services);
  PromptResult r = prompt.run();
  if (r.chosen()) {
    s.globals.CPF = r.cpf;
    s.globals.NOMECONTR = r.name;
    s.globals.ULT_CPF = r.cpf;
    s.globals.LRECUPERA = r.restore;
  }
  return r;
}

}  // namespace kx::declaration
