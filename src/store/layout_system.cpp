// Tables of the program folder: the system tables the program creates when they are missing and
// the reference tables delivered with it (their widths are those of the delivered files).
#include <map>

#include "store/layout.h"
#include "store/layout_rules.h"

namespace kx::store {
namespace {

using namespace rules;

using Build = Fields (*)();
using Layouts = std::map<int, dbf::Schema>;

Layouts build(std::initializer_list<std::pair<const int, Build>> tables) {
  Layouts out;
  for (const auto& [number, fields] : tables) out.emplace(number, dbf::Schema(fields()));
  return out;
}

Fields printer_models() {
  return join({{C("CONFIM", 1), C("NOMEIMP", 15)}, expand({C("SEQ#", 60)}, 0, 3, 1)});
}

// One record per terminal, 808 bytes.
Fields configuration() {
  return join({
      {C("NRO_TERM", 2)},
      {C("ROTAANTER", 80), C("ROTADOANO", 80), C("ROTAREANT", 80), C("ROTARECEI", 80),
       C("ROTAJAVA", 80), C("ROTABACK", 80), C("DIRTRAB", 80), C("DIRPROV", 80),
       C("DIRINST", 80)},
      {N("QUEIMP", 2), N("QUEMOD", 1), N("QUEPAG", 2), N("QUECON", 1), N("ENV_STAT", 1)},
      {N("MARESQ", 2), N("INIFOL", 2), N("LINETI", 2), N("NRO_LIN", 2), N("OPC_TRAN", 2)},
      {N("COMPAGA", 1), C("IMPBEM", 1), C("IMPBAL", 1), C("MOSIMP", 1), C("MOSTEL", 1),
       C("MOSCPF", 1)},
      {L("QUERSEN"), N("ULT_TER", 1), N("ULT_MOD", 1), N("ULT_SENIR", 5), N("ULT_SENMVN", 5)},
      {C("ULT_CPF", 11), C("XDRIVE", 1), N("SOESTE", 2), N("OPTTRAN", 1), N("NOVOIT", 2)},
      {D("ULTBACK"), C("OPCIRPF", 1), C("NOMEAG", 22), N("OPCFIM", 1)},
  });
}

// The single shared record, 336 bytes.
Fields shared_settings() {
  return join({
      expand({D("VCTO#")}, 1, 8, 1),
      {N("VAL_SEG", 5, 2), N("VAL_BYTE", 5, 2), N("VAL_MIN", 8, 2)},
      {N("COMO_SAL", 1), N("TEMP_SAL", 2), N("TEMP_DES", 2)},
      {N("VAL_CPMF", 8, 4), N("VAL_DOLAR", 8, 4)},
      {C("BOL_BANCO", 4), C("BOL_AGENCI", 4), C("BOL_CONTA", 6), C("BOL_NOME", 30),
       C("BOL_CNPJ", 14), C("BOL_CPF", 11), C("BOL_CARTEI", 3), N("BOL_NOSNRO", 8)},
      {C("SER_SMTP", 47), C("NOM_USUA", 40), C("EMA_USUA", 40), C("SEN_USUA", 19)},
      {C("MEMORIZ", 1), C("VER_ATUAL", 1), C("PROCESSA", 1), C("PROGCOMP", 1)},
      {N("STATRAVA", 2)},
  });
}

Fields corrected_tax() {
  return {C("CPF", 11),        C("NOMECONTR", 53),    N("IMPPGRE", 12, 2), N("QTD_QUOTA", 1),
          N("IMPOSTO", 12, 2), N("RESTITU", 12, 2), N("CORRIGI", 12, 2)};
}

Fields folder_list() { return {C("SELEC", 1), C("DIRETOR", 80)}; }

Fields remembered_assets() { return {C("DESCRICAO", 512), N("CODIGO", 3)}; }
Fields remembered_payees() { return {C("NOME", 50), C("CGCCPF", 18), N("CODIGO", 2)}; }
Fields remembered_sources() { return {C("NOME", 50), C("CGCCPF", 18)}; }

Fields check_messages() {
  return {N("CODERR", 2), C("DESCRI", 60), N("GRAU", 1), N("PAGINA", 2)};
}

Fields colours() {
  return join({
      {C("NRO_TERM", 2)},
      {N("COR_TEL1", 3), N("COR_TEL2", 3), N("COR_TEL3", 3), N("COR_MENS", 3), N("COR_PEGA", 3),
       N("COR_HELP", 3), N("COR_FERID", 3), N("COR_ESCOL", 3), N("COR_ENCHE", 3)},
      {C("COR_1_CLI", 10), C("COR_2_CLI", 10), C("COR_INI", 10), C("COR_SAY", 10),
       C("COR_GET", 10), C("COR_CLI_HE", 10), C("COR_ESC_CL", 10), C("COR_ENCH_C", 10)},
  });
}

Fields printer_settings() {
  return join({
      {C("NRO_TERM", 2), N("NROIMPR", 1), N("NROLPT", 1), N("NROCOM", 1), C("LOCIMPR", 1),
       C("VERMELHO", 1), C("SAIDAPR", 8), C("NOMEIMP", 15), C("NOMEREDE", 60)},
      expand({C("SEQ#", 60)}, 0, 3, 1),
  });
}

Fields payroll_receipts() {
  return join({
      {C("CPF", 11), C("NOMECONTR", 47), C("NOMEFONTE", 40), C("CNPJFONTE", 18)},
      money({"RENDIMENT", "PREVOFICA", "PREVPRIVA", "PENSAOPAG", "IRRETIDO", "ISENTOAPO",
             "DIARIAS", "PENSAOREC", "LUCRODIV", "SOCIO", "IDENIZA", "DECIMO3RO"}),
      {C("COMPLENTA", 40), C("OUTROS", 40), C("OUTROSEXC", 40)},
      money({"VALOUTRO", "VALOUTRE", "IRRF13", "VALRENRRA", "VALACAO", "VALPRERRA", "VALPENRRA",
             "VALIRFRRA", "VALMOLRRA"}),
      {N("QTDMES", 5, 1)},
  });
}

Fields payment_forms() {
  return {N("NRODOCUM", 5),     N("NOSSONRO", 8),    D("DATADOC"),
          N("VALORDOC", 12, 2), C("NOMESAC", 30), C("CPFSAC", 11)};
}

Fields balance_breakdown() {
  return {C("DESCRICAO", 40), N("VALORDOC", 12, 2), N("PERCDESP", 9, 2), N("PERCRECE", 9, 2)};
}

Fields imported_taxpayers() {
  return {C("CPF", 11),  C("NOMECONTR", 40), C("NOMEARQ", 80),
          C("TIPO", 12), C("ORIGEM", 12),    C("IMPRE", 1)};
}

Fields agenda() {
  return {C("NOMEAG", 22), C("HORAG", 5), C("ANOTAG", 60), D("DATAG"), L("AVISAG")};
}

Fields usage_log() {
  return {C("NOMEAG", 22), C("CPF", 11),   C("NOMECONTR", 53), D("DATAUSO"),
          C("INIUSO", 8),  C("FIMUSO", 8), C("TEMUSO", 8)};
}

// Reference tables. Codes the screens show with "99" are numeric; descriptions are wide enough
// for the longest official text.
Fields help_texts() { return {C("NOME", 30), M("TEXTO")}; }
Fields asset_codes() { return {N("CODBEM", 2), C("DESCBENS", 120)}; }
Fields relation_codes() { return {N("CODDEP", 2), C("DESCRICAO", 120)}; }
Fields debt_codes() { return {N("CODDIV", 2), C("DESCDIV", 120)}; }
Fields payment_codes() { return {N("CODDES", 2), C("DESCDOA", 120)}; }
Fields selic_rates() {
  return {C("ANOMES", 6), N("TJM", 6, 2), N("MULTIPL", 12, 6), C("SIMB_MOED", 4)};
}
// OK "S": the bank takes automatic debits of tax to pay.
Fields banks() { return {C("NUMBAN", 3), C("NOMEBAN", 80), C("CNPJBAN", 18), C("OK", 1)}; }
Fields occupations() { return {C("CDPRO", 3), C("OCUPACAO", 69)}; }
Fields occupation_natures() { return {C("CODAT", 2), C("DESCRAT", 58)}; }
Fields countries() { return {C("CODPAIS", 3), C("NOMPAIS", 60)}; }
Fields embassies() {
  return {C("CD_EX", 3), C("NM_CIDADE", 40), C("NM_PAIS", 40), C("NM_REP", 60)};
}
Fields accounts() {
  return {C("CDCONTA", 4), C("NMDESCRICA", 80), C("CDSTATUS", 1), N("PAGINA", 2),
          N("LINHA", 2),   C("TEMCPF", 1),      C("TEMCGC", 1),   C("LIVROCX", 1),
          C("TEMDESCR", 1), C("TEMOBSV", 1)};
}
Fields municipalities() { return {C("NOMEMUNI", 30), C("NROMUNI", 4), C("UNIFED", 2)}; }
Fields street_types() { return {C("NOMELOGRA", 11)}; }
Fields status_codes() { return {N("COD", 2), C("DESCRICAO", 13)}; }
Fields childrens_funds() {
  return {C("NOME", 60), C("UF", 2), C("CIDADE", 47), C("CNPJ", 18)};
}

const Layouts& system_layouts() {
  static const Layouts layouts = build({
      {41, printer_models},     {42, configuration},      {43, shared_settings},
      {44, corrected_tax},      {50, folder_list},        {52, remembered_assets},
      {53, remembered_payees},  {56, colours},            {57, printer_settings},
      {63, payroll_receipts},   {67, payment_forms},      {68, balance_breakdown},
      {70, imported_taxpayers}, {72, agenda},             {73, usage_log},
      {74, remembered_sources},
  });
  return layouts;
}

const Layouts& reference_layouts() {
  static const Layouts layouts = build({
      {45, help_texts},         {46, asset_codes},    {47, relation_codes},
      {48, debt_codes},         {49, payment_codes},  {51, selic_rates},
      {54, check_messages},     {55, banks},          {58, occupations},
      {59, occupation_natures}, {60, countries},      {61, embassies},
      {62, accounts},           {64, municipalities}, {65, street_types},
      {66, status_codes},       {69, asset_codes},    {75, childrens_funds},
  });
  return layouts;
}

const dbf::Schema* find(const Layouts& layouts, int n) {
  const auto it = layouts.find(n);
  return it == layouts.end() ? nullptr : &it->second;
}

}  // namespace

const dbf::Schema* creation_layout(int n) {
  if (n >= 1 && n <= kDeclarationTables) return &declaration_layout(n);
  if (n >= kFirstWorkingCopy && n <= kLastWorkingCopy) return &declaration_layout(n - 20);
  return find(system_layouts(), n);
}

const dbf::Schema* reference_layout(int n) { return find(reference_layouts(), n); }

}  // namespace kx::store
