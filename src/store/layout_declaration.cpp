// The twenty declaration tables of a work folder. Every table begins with the taxpayer's CPF.
#include <array>
#include <stdexcept>
#include <string>

#include "store/layout.h"
#include "store/layout_rules.h"

namespace kx::store {
namespace {

using namespace rules;

dbf::Field cpf() { return C("CPF", 11); }
dbf::Field atv_brasil() { return C("ATV_BRASIL", 1); }

Fields summary() {
  return join({
      {cpf()},
      expand({N("I3_#", 12, 2), N("I4_#", 12, 2)}, 1, 10, 2),
      expand({N("I3_#", 12, 2)}, 11, 24, 2),
      money({"I3_04GCPV", "I3_04UNIC", "I3_04REDU", "I3_04EXTR", "I3_04GCPVC", "I3_04UNICC",
             "I3_04REDUC"}),
      {C("DESPINST", 1), N("DESPALIM", 1), C("RELDEPEN", 20)},
      {C("CPFINVENT", 11), C("NOMINVENT", 40), C("ENDINVENT", 70)},
      {D("DATAPARTI"), D("DATADECIS")},
      {C("NROPROCES", 25), C("VARACIVIL", 4), C("COMARCA", 25), C("UFPROCES", 2)},
      {N("ANOOBITO", 4), C("DECFINAL", 1), C("DECSAIDA", 1), D("DATASAIDA"), C("DECJUDI", 1)},
      {D("DATALAVRA"), C("NOMECARTO", 80), C("CNPJCARTO", 14), C("MUNICARTO", 30),
       N("LIVRCARTO", 7), N("FOLHCARTO", 7)},
      {C("MORTE2", 1), C("INVCONJ", 1), C("CPFCOMPA", 11), C("NOMCOMPA", 40)},
      expand({N("I13_#", 12, 2)}, 1, 50, 2),
      {N("QTD_QUOTA", 1)},
      money({"CARNEINSS", "CARNEDEPEN", "PREVIDENC", "EMPRUR", "AMORUR", "OUTREC", "VALFUTUR",
             "OUTRDES", "PREJVEN", "PREJVEN1", "PREJRUR", "PREJRVA", "LUCRRVA", "DESPNAO",
             "EMPREST", "DESPDECLA", "DESPADRAO"}),
      {N("INDALERTA", 2)},
      money({"IMPOANTER", "CUSTOANT", "CUSTOANO", "ENTRADGP", "ISENTNAO"}),
      {N("CAL_AUTO", 1), L("SO_REC"), L("NOVREG")},
  });
}

Fields income() {
  return join({
      {cpf(), C("I1_1", 1), C("I1_2", 60), C("I1_3", 18)},
      expand({N("I1_#", 12, 2)}, 4, 7, 1),
      {C("I1_8", 11), C("TIPOCR", 1), D("DT_LC")},
      money({"I1_9", "I1_10"}),
      {C("I1_11", 1)},
      expand({N("I1_#", 12, 2)}, 12, 20, 1),
      {N("I1_21", 5, 1), C("I1_22", 11)},
      expand({N("I1_#", 12, 2)}, 23, 34, 1),
      {C("I1_35", 50), C("I1_36", 2)},
      money({"I1_37", "I1_38", "I1_39"}),
      {L("NEW1"), N("NEW2", 1)},
      expand({N("I1_4#", 12, 2), N("I1_5#", 12, 2), N("I1_6#", 12, 2)}, 1, 12, 2),
  });
}

Fields dependants() {
  return {cpf(),           C("NOMEDEPEN", 41), N("CODIDEPEN", 3), D("DATADEPEN"),
          C("CPFDEPEN", 11), N("NRODEPEN", 2), C("CPFHERDE", 18), C("SAIUJUNT", 1)};
}

Fields assets() {
  return join({
      {cpf(), N("I7_0", 4), N("I7_1", 3), C("I7_2", 512)},
      money({"I7_3", "I7_4"}),
      {N("I7_5", 3), N("I7_6", 4), C("I7_7", 1), C("I7_8", 3), N("I7_9", 12, 2), C("I7_10", 1)},
      {C("ENDEIMO", 30), C("NUMIMO", 6), C("COMPIMO", 30), C("BAIRIMO", 30), C("CEPIMO", 8),
       C("MUNICIMO", 30), C("UFIMO", 2), C("CODMIMO", 4)},
      {C("MATRICU", 40), C("LIVRORG", 40), C("CARTORIO", 40)},
      {N("AREAIMO", 9, 1), C("UNIDADE", 1), C("REGISTRO", 1)},
  });
}

Fields debts() {
  return join({
      {cpf(), N("I8_0", 4), N("I8_1", 3), C("I8_2", 512)},
      money({"I8_3", "I8_4"}),
      {N("I8_5", 3), N("I8_6", 12, 2)},
  });
}

Fields payments() {
  return join({
      {cpf(), C("I6_1", 50), C("I6_2", 18), N("I6_3", 2)},
      money({"I6_4", "I6_5"}),
      {N("I6_6", 2), C("I6_7", 11), N("ACER", 1)},
      expand({N("I6_4#", 14, 2)}, 1, 12, 2),
  });
}

Fields capital_gains() {
  return join({
      {cpf(), C("CPFALIEN", 11), N("BEM_NRO", 2), N("RVAR_NRO", 2), C("DAY_TRADE", 1),
       N("TIPO_BEM", 1), N("NRO_ITEM", 3), C("CPF_DEPE", 11), C("CPFADQ", 18), C("MAISDE1", 1),
       C("CPFNOME", 250), N("PER_TRI", 10, 6), C("NOME_ADQ", 53), C("ESPC_BEM", 152)},
      {C("RUAIMO", 11), C("ENDEIMO", 30), C("NUMIMO", 6), C("COMPIMO", 21), C("BAIRIMO", 20),
       C("CEPIMO", 8), C("MUNICIMO", 30), C("UFIMO", 2)},
      {D("DATA_ALI"), D("DATA_ADQ")},
      {C("NOME_SOCIE", 32), C("CGC_SOCIE", 14), C("CID_SOCIE", 30), C("EST_SOCIE", 2)},
      {N("IND_ALI", 11, 4)},
      money({"VAL_ALI", "CUS_ATUAL", "VAL_CORR", "VAL_RECOL", "VAL_TRIBU", "VAL_NAOTRI",
             "VAL_IMPOSV", "VAL_IMPOSP", "IMPPAGO"}),
      {C("VEN_PRAZO", 1), C("PEQ_VALOR", 1), C("USU_440", 1), C("NATUOPER", 30),
       C("PARCOMPRA", 1), C("VENDAANT", 1), C("USA_ART31", 1)},
      {N("VAL_PARTE", 12, 2), N("PERART31", 10, 6), N("TIPOPART", 1), N("FR1", 18, 8),
       N("FR2", 18, 8)},
      money({"REDUCAO", "FATOR1", "FATOR2", "GAN_TRIV", "GAN_TRIP", "VAL_ANTE", "VAL_DIFE",
             "IMP_ANTE", "IMP_DIFE"}),
      {C("FOIDIFE", 1), C("SUJREG", 1), L("NEW")},
      expand({N("REC_MES#", 12, 2), N("VAL_TRI#", 12, 2), N("DIA_REC#", 2),
              N("IMP_DEV#", 12, 2), N("IMP_PAG#", 12, 2), N("IMP_LEI#", 12, 2)},
             1, 12, 2),
  });
}

Fields acquisition_costs() {
  return {cpf(),
          N("BEM_NRO", 2),
          N("RVAR_NRO", 2),
          C("DAY_TRADE", 1),
          N("VALOR_REDU", 12, 2),
          N("VALOR_CUST", 12, 2),
          D("DATA_CUST"),
          N("IND_CUST", 10, 4),
          N("PER_RED", 3),
          N("PER_RED1", 11, 8),
          N("PER_RED2", 11, 8),
          N("PER_CUST", 12, 6),
          N("RESUL_2", 12, 2),
          N("RESUL_3", 12, 2),
          N("SALDO_COEF", 14, 4),
          N("CM_PONDER", 15, 6),
          N("SALDO_ACAO", 9),
          N("MOV_ACAO", 9),
          N("CUST_UNI", 12, 2),
          N("CMED_COEF", 18, 4),
          N("TIPO_OPER", 1),
          N("TIPO_ACAO", 1),
          C("LOTE", 17)};
}

Fields registry() {
  return join({
      {cpf(), C("RETIFICA", 1), C("NOMECONTR", 53)},
      {C("TIPOEND", 11), C("ENDERECO", 37), C("NUMERO", 6), C("COMPLEM", 21), C("BAIRRO", 20),
       C("CEP", 9)},
      {C("CODMUNI", 4), C("MUNICIPIO", 30), C("UF", 2), C("CODPAIS", 3), C("CODEMB", 3)},
      {C("DDDTEL", 4), C("TELEFO", 9), C("DDDFAX", 4), C("NROFAX", 9), C("EMAIL", 40)},
      {D("NASCIMENTO"), C("TITULO", 13), C("CGCPAGADOR", 18), C("OCUPACAO", 69), C("CDPRO", 3),
       C("CODAT", 2), C("DESCRAT", 58)},
      {C("NRORECIBO", 12), C("RECIBOATU", 12), C("RECIBOANT", 12), N("CODACESSO", 12),
       C("SENACESSO", 15)},
      {C("TEMRURAL", 1), atv_brasil(), C("E_INVALIDO", 1), C("PROCBRASIL", 11), C("EBRASIL", 1),
       C("EXTERIOR", 1), C("CPFCONJU", 11), C("NOVOEND", 1)},
      {N("TEM_USO", 6), N("TAM_USO", 6), C("IMPRE", 1), N("ESTATUS", 2), N("ORDEM", 2),
       C("SOMAG", 1)},
      money({"I9_2", "I9_3"}),
      {C("I9_4", 1), C("I9_5", 1), C("I9_6", 1), C("DIRCONJU", 80), N("VALOREC", 12, 2)},
      {C("BANCO", 3), C("AGENCIA", 6), C("CONTACO", 15), C("DEBITAUT", 1)},
      {N("SALDO", 12, 2), N("INDGAS", 6, 2), C("USAPADRAO", 1), C("CONJPAD", 1),
       N("IMPPGRE", 12, 2)},
      money({"I13_20", "I13_24", "I13_27", "I13_28", "I13_35", "I13_44", "I13_45", "EXGSUSP"}),
      {N("QTD_QUOTA", 1)},
      expand({N("I13_#C", 12, 2)}, 1, 5, 1),
      {C("NUSUAT", 2), C("SO_SIMPLES", 1), C("NOVO", 1)},
      {C("TELCELU", 9), C("TELESCR", 9), C("TELSECR", 9), D("ULTRESI"), D("ULTIMOV")},
      {N("NRQUOTA", 1), N("DFQUOTA", 12, 2), N("NRCLEAO", 2), N("DFCLEAO", 12, 2),
       N("NRGCAPIT", 2), N("DFGCAPIT", 12, 2), N("NRRVARIV", 2), N("DFRVARIV", 12, 2)},
      money({"TRIB_EX", "NTRIB_EX", "PREJU_EX", "DIVAD_EX", "DIVPG_EX"}),
      money({"TRIB_BR", "NTRIB_BR", "PREJU_BR", "DIVAD_BR", "DIVPG_BR"}),
      {C("NOMEAG", 22)},
  });
}

Fields balance_expenses() {
  return {cpf(), N("CODDESP", 3), C("DESCDESP", 25), N("VALODESP", 12, 2), C("DESCRITEM", 25)};
}

Fields notes() { return {cpf(), C("OBSERV", 60), N("CODERR", 2), N("PAGINA", 2)}; }

// Seven values a month for months 01..13 (13 is the year's total): I2_101 .. I2_701, I2_102 ...
Fields monthly_values() {
  return join({
      {cpf(), C("CPFDEPEN", 11)},
      expand(expand({N("I2_@#", 12, 2)}, 1, 7, 1, '@'), 1, 13, 2),
  });
}

Fields cash_book() {
  return {cpf(),           C("CDCONTA", 4), C("DESCONTA", 60), N("VALODESP", 13, 2),
          N("NROITEM", 3), C("NROCGCCPF", 18), L("LANCADO"),   N("MESINI", 2),
          N("MESFIM", 2),  C("CPFDEPEN", 11), C("DESCRI", 50)};
}

Fields losses() { return {cpf(), C("DESCRICAO", 40), N("PREJUIZO", 12, 2)}; }

// Herd movement: columns n = 1..5, species rows B, S, C, A and V1 ("Outros").
Fields rural_result() {
  return join({
      {cpf(), atv_brasil()},
      expand({N("I3_#OR", 12, 2), N("I3_#OD", 12, 2)}, 1, 12, 2),
      expand({N("I4R_#", 12, 2)}, 1, 7, 2),
      money({"I5_08", "I5_09", "I5_10", "I6_10"}),
      {C("OPT_20", 1), C("OPT_20E", 1)},
      expand({N("I7_#A", 6), N("I7_#B", 6), N("I7_#C", 6), N("I7_#S", 6), N("I7_#V1", 6)}, 1, 5,
             1),
      {C("I7_V1", 22), L("SO_TOTAL")},
  });
}

Fields rural_properties() {
  return join({
      {cpf(), atv_brasil(), C("I2R_01", 60), N("I2R_02", 9, 2), C("I2R_03", 8), N("I2R_04", 6, 2),
       N("I2R_05", 1), C("I2R_06", 55), N("I2R_07", 2), N("VALITR", 12, 2), C("CODPAIS", 3)},
      money({"RECEXT", "DESEXT"}),
      {N("VALUSE", 7, 2)},
      money({"RESUS", "OPC20US", "OPC20RS"}),
  });
}

Fields rural_assets() {
  return {cpf(),         atv_brasil(),          N("ITEM", 3),    N("CODIGO", 3), N("I8R_0", 4),
          C("I8R_1", 512), N("I8R_2", 12, 2), C("I8R_3", 3), N("I8R_4", 1)};
}

Fields rural_debts() {
  return join({
      {cpf(), atv_brasil(), N("I9R_0", 4), N("ITEM", 3), C("I9R_1", 512)},
      expand({N("I9R_#", 12, 2)}, 2, 5, 1),
  });
}

Fields rural_cash_book() {
  return {cpf(),          atv_brasil(),      D("DT_LC"),     C("DESCR", 41),
          N("VALOR", 14, 2), N("NROIMO", 2), C("TIPOCR", 1), C("TEMITR", 1)};
}

Fields heirs() {
  return {cpf(),           N("REFEREN", 4), C("NOMEDEPEN", 41), N("NRODEPEN", 2),
          C("CPFHERDE", 18), N("PERCENT", 6, 2)};
}

using Build = Fields (*)();
constexpr std::array<Build, kDeclarationTables> kTables = {
    summary,        income,        dependants,       assets,         debts,
    payments,       capital_gains, acquisition_costs, registry,      balance_expenses,
    notes,          monthly_values, cash_book,       losses,         rural_result,
    rural_properties, rural_assets, rural_debts,     rural_cash_book, heirs,
};

}  // namespace

const dbf::Schema& declaration_layout(int n) {
  static const auto schemas = [] {
    std::array<dbf::Schema, kDeclarationTables> out;
    for (std::size_t i = 0; i < out.size(); ++i) out[i] = dbf::Schema(kTables[i]());
    return out;
  }();
  if (n < 1 || n > kDeclarationTables)
    throw std::out_of_range("no declaration table " + std::to_string(n));
  return schemas[static_cast<std::size_t>(n - 1)];
}

}  // namespace kx::store
