#include "shell/configuration.h"

#include "base/cp850.h"
#include "os/path.h"
#include "shell/record_binding.h"
#include "store/access.h"
#include "store/access_lock.h"
#include "store/folder.h"

namespace kx::shell {
namespace {

using store::Globals;
using ui::ColourSettings;

const std::vector<Binding<Globals>>& config_bindings() {
  static const std::vector<Binding<Globals>> b = {
      {"ROTAANTER", &Globals::ROTAANTER}, {"ROTADOANO", &Globals::ROTADOANO},
      {"ROTAREANT", &Globals::ROTAREANT}, {"ROTARECEI", &Globals::ROTARECEI},
      {"ROTAJAVA", &Globals::ROTAJAVA},   {"ROTABACK", &Globals::ROTABACK},
      {"DIRTRAB", &Globals::DIRTRAB},     {"DIRPROV", &Globals::DIRPROV},
      {"DIRINST", &Globals::DIRINST},     {"QUEIMP", &Globals::QUEIMP},
      {"QUEMOD", &Globals::QUEMOD},       {"QUEPAG", &Globals::QUEPAG},
      {"QUECON", &Globals::QUECON},       {"ENV_STAT", &Globals::ENV_STAT},
      {"MARESQ", &Globals::MARESQ},       {"INIFOL", &Globals::INIFOL},
      {"LINETI", &Globals::LINETI},       {"NRO_LIN", &Globals::NRO_LIN},
      {"OPC_TRAN", &Globals::OPC_TRAN},   {"COMPAGA", &Globals::COMPAGA},
      {"IMPBEM", &Globals::IMPBEM},       {"IMPBAL", &Globals::IMPBAL},
      {"MOSIMP", &Globals::MOSIMP},       {"MOSTEL", &Globals::MOSTEL},
      {"MOSCPF", &Globals::MOSCPF},       {"QUERSEN", &Globals::QUERSEN},
      {"ULT_TER", &Globals::ULT_TER},     {"ULT_MOD", &Globals::ULT_MOD},
      {"ULT_CPF", &Globals::ULT_CPF},     {"XDRIVE", &Globals::XDRIVE},
      {"SOESTE", &Globals::SOESTE},       {"OPTTRAN", &Globals::OPTTRAN},
      {"ULTBACK", &Globals::ULTBACK},     {"OPCIRPF", &Globals::OPCIRPF},
      {"NOMEAG", &Globals::NOMEAG},       {"OPCFIM", &Globals::OPCFIM},
  };
  return b;
}

// The folders of the configuration record: a value stored in Windows form is mapped on load.
constexpr std::string Globals::*kConfigFolders[] = {
    &Globals::ROTAANTER, &Globals::ROTADOANO, &Globals::ROTAREANT, &Globals::ROTARECEI,
    &Globals::ROTAJAVA,  &Globals::ROTABACK,  &Globals::DIRTRAB,   &Globals::DIRPROV,
    &Globals::DIRINST,
};

const std::vector<Binding<ColourSettings>>& colour_bindings() {
  static const std::vector<Binding<ColourSettings>> b = {
      {"COR_TEL1", &ColourSettings::COR_TEL1},     {"COR_TEL2", &ColourSettings::COR_TEL2},
      {"COR_TEL3", &ColourSettings::COR_TEL3},     {"COR_MENS", &ColourSettings::COR_MENS},
      {"COR_PEGA", &ColourSettings::COR_PEGA},     {"COR_HELP", &ColourSettings::COR_HELP},
      {"COR_ESCOL", &ColourSettings::COR_ESCOL},   {"COR_FERID", &ColourSettings::COR_FERID},
      {"COR_ENCHE", &ColourSettings::COR_ENCHE},   {"COR_1_CLI", &ColourSettings::COR_1_CLI},
      {"COR_2_CLI", &ColourSettings::COR_2_CLI},   {"COR_INI", &ColourSettings::COR_INI},
      {"COR_SAY", &ColourSettings::COR_SAY},       {"COR_GET", &ColourSettings::COR_GET},
      {"COR_CLI_HE", &ColourSettings::COR_CLI_HE}, {"COR_ESC_CL", &ColourSettings::COR_ESC_CL},
      {"COR_ENCH_C", &ColourSettings::COR_ENCH_C},
  };
  return b;
}

const std::vector<Binding<Globals>>& shared_bindings() {
  static const std::vector<Binding<Globals>> b = {
      {"VAL_SEG", &Globals::VAL_SEG},       {"VAL_BYTE", &Globals::VAL_BYTE},
      {"VAL_MIN", &Globals::VAL_MIN},       {"COMO_SAL", &Globals::COMO_SAL},
      {"TEMP_SAL", &Globals::TEMP_SAL},     {"TEMP_DES", &Globals::TEMP_DES},
      {"VAL_CPMF", &Globals::VAL_CPMF},     {"VAL_DOLAR", &Globals::NVALDOLAR},
      {"BOL_NOSNRO", &Globals::BOL_NOSNRO}, {"SER_SMTP", &Globals::SER_SMTP},
      {"NOM_USUA", &Globals::NOM_USUA},     {"EMA_USUA", &Globals::EMA_USUA},
      {"SEN_USUA", &Globals::SEN_USUA},     {"MEMORIZ", &Globals::MEMORIZ},
      {"VER_ATUAL", &Globals::VER_ATUAL},   {"PROCESSA", &Globals::PROCESSA},
      {"PROGCOMP", &Globals::PROGCOMP},     {"STATRAVA", &Globals::STATRAVA},
  };
  return b;
}

// Positions the table of `slot` on the record of NUSU, appending it (locked) when `create`
// says so. Returns whether the record is current; `appended` tells a new one.
bool terminal_record(entry::Session& s, store::Access& a, int slot, bool create, bool& appended) {
  dbf::Table& t = s.workspace.table(slot);
  s.workspace.select(slot);
  appended = false;
  if (t.seek(s.globals.NUSU)) return true;
  if (!create || !store::ADD_REC(a, 5)) return false;
  t.set_text("NRO_TERM", s.globals.NUSU);
  appended = true;
  return true;
}

template <class S>
bool store_terminal_record(entry::Session& s, int slot, const std::vector<Binding<S>>& bindings,
                           const S& values) {
  store::Access a = s.access();
  if (!s.workspace.held(slot) && !store::ABERTURA(a, slot)) return false;
  bool appended = false;
  if (!terminal_record(s, a, slot, false, appended)) return false;
  if (!store::REC_LOCK(a)) return false;
  dbf::Table& t = s.workspace.table(slot);
  store_record(t, bindings, values);
  t.unlock_all();
  return true;
}

}  // namespace

bool CRIACOR(entry::Session& s) {
  store::Access a = s.access();
  if (!store::ABERTURA(a, kColourTable)) return false;
  dbf::Table& t = s.workspace.table(kColourTable);
  bool appended = false;
  const bool ok = terminal_record(s, a, kColourTable, true, appended);
  if (ok && appended) {
    store_record(t, colour_bindings(), ui::ColourSettings{});
    t.unlock_all();
  }
  if (ok) load_record(t, colour_bindings(), s.colours);
  s.colours.rebuild_composites();
  s.workspace.close(kColourTable);
  return ok;
}

bool GRAVACOR(entry::Session& s) {
  const bool ok = store_terminal_record(s, kColourTable, colour_bindings(), s.colours);
  s.workspace.close(kColourTable);
  return ok;
}

bool CONFIGURA(entry::Session& s, const DriveMap& drives) {
  store::Access a = s.access();
  Globals& g = s.globals;
  if (!store::ABERTURA(a, kConfigTable)) return false;
  dbf::Table& t = s.workspace.table(kConfigTable);
  bool appended = false;
  if (!terminal_record(s, a, kConfigTable, true, appended)) return false;
  if (appended) {
    Globals fresh;
    const std::string official = drives.home + "/ProgramasRFB/IRPF2015/aplicacao/dados";
    fresh.ROTAANTER = fresh.DIRINST = drives.home + "/KAPRIX14";
    fresh.ROTADOANO = fresh.DIRTRAB = g.ROTADEF;
    fresh.ROTARECEI = fresh.ROTAJAVA = official;
    fresh.ROTAREANT = drives.home + "/ProgramasRFB/IRPF2014/transmitidas";
    fresh.DIRPROV = g.DIRDEF;
    fresh.ULTBACK = s.clock.today();
    store_record(t, config_bindings(), fresh);
    t.unlock_all();
  }
  load_record(t, config_bindings(), g);
  for (auto member : kConfigFolders) g.*member = linux_path(g.*member, drives);
  g.LOCIRPF = text::is_blank(g.ROTAJAVA) ? "" : store::BAR_DIR(g.ROTAJAVA);
  if (text::is_blank(g.NOMEAG)) g.NOMEAG = "USUARIO DO TERMINAL " + g.NUSU;
  g.CPF = g.ULT_CPF;
  return true;
}

bool store_configuration(entry::Session& s, const std::vector<std::string_view>& fields) {
  return store_terminal_record(s, kConfigTable, select_bindings(config_bindings(), fields),
                               s.globals);
}

bool load_shared_settings(entry::Session& s) {
  store::Access a = s.access();
  if (!store::ABERTURA(a, kSharedSettingsTable)) return false;
  dbf::Table& t = s.workspace.table(kSharedSettingsTable);
  t.go_top();
  if (t.eof()) return false;
  load_record(t, shared_bindings(), s.globals);
  for (int i = 0; i < 8; ++i) s.globals.DAT_VENC[i] = t.get_date("VCTO" + std::to_string(i + 1));
  s.globals.BOL_BANCO = 341;
  return true;
}

bool store_shared_settings(entry::Session& s, const std::vector<std::string_view>& fields) {
  store::Access a = s.access();
  if (!s.workspace.held(kSharedSettingsTable) && !store::ABERTURA(a, kSharedSettingsTable))
    return false;
  dbf::Table& t = s.workspace.table(kSharedSettingsTable);
  s.workspace.select(kSharedSettingsTable);
  t.go_top();
  if (t.eof() || !store::REC_LOCK(a)) return false;
  store_record(t, select_bindings(shared_bindings(), fields), s.globals);
  t.unlock_all();
  return true;
}

const std::vector<std::string_view>& exit_fields() {
  static const std::vector<std::string_view> f = {
      "NOMEAG",  "ROTADOANO", "ROTARECEI", "ROTAJAVA", "ULT_CPF", "QUERSEN", "DIRTRAB",
      "OPTTRAN", "SOESTE",    "ULTBACK",   "OPCIRPF",  "OPCFIM",  "ENV_STAT", "MARESQ",
      "INIFOL",  "LINETI",    "NRO_LIN",   "OPC_TRAN", "XDRIVE",
  };
  return f;
}

}  // namespace kx::shell
