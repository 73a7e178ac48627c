#include "declaration/lookup_lists.h"

#include <vector>

#include "base/cp850.h"

namespace kx::declaration {
namespace {

using F = std::string_view;
using D = Dest;

constexpr const char* kMoney = "@Ez 99,999,999.99";

// Taxpayer lists (the registry).
constexpr F kRegistryFields[] = {"M->CPF",      "M->NOMECONTR", "M->CPF1",    "M->CPF2",
                                 "M->CPFEMAIL", "M->CPFSAC",    "M->DIRCONJU"};

constexpr F kPayerFields[] = {"M->CGCPAGADOR"};
constexpr ListColumn kPayerColumns[] = {
    {" Firma pagadora ", "I1_2", "@S28"},
    {"CGC/CPF", "I1_3", "@s18"},
    {"Valor", "I1_4", "@Ez 999,999,999.99"},
};
constexpr WriteBack kPayerWrites[] = {{{}, D::value, "CGCPAGADOR", "I1_3"}};

constexpr F kOccupationFields[] = {"M->CDPRO", "M->OCUPACAO"};
constexpr ListColumn kOccupationColumns[] = {
    {"Cód", "CDPRO", "@S3"},
    {" Nome da Ocupacao ", "OCUPACAO", "@S69"},
};
constexpr WriteBack kOccupationWrites[] = {{{}, D::value, "OCUPACAO", "OCUPACAO"},
                                           {{}, D::value, "CDPRO", "CDPRO"}};
constexpr ShownField kOccupationShown[] = {{"CDPRO", 17, 5}, {"OCUPACAO", 17, 9}};

constexpr F kNatureFields[] = {"M->CODAT", "M->DESCRAT"};
constexpr ListColumn kNatureColumns[] = {
    {"Cód", "CODAT", "@S3"},
    {" Nome da Ocupacao ", "DESCRAT", "@S58"},
};
constexpr WriteBack kNatureWrites[] = {{{}, D::value, "CODAT", "CODAT"},
                                       {{}, D::value, "DESCRAT", "DESCRAT"}};
constexpr ShownField kNatureShown[] = {{"CODAT", 16, 6}, {"DESCRAT", 16, 9}};

constexpr F kDependantFields[] = {"M->CPFDEPEN", "I1_8", "M->CPFALIEN"};
constexpr ListColumn kDependantColumns[] = {
    {"Nome Dependente ", "NOMEDEPEN", "@S28"},
    {"CPF", "CPFDEPEN", "@R 999.999.999-99"},
};
constexpr WriteBack kDependantWrites[] = {{{}, D::field, {}, "CPFDEPEN"},
                                          {"I1_8", D::row, "I1_8", "CPFDEPEN"}};

constexpr F kIncomeBankFields[] = {"I1_2", "I1_3"};
constexpr ListColumn kIncomeBankColumns[] = {
    {"Nro.", "NUMBAN", "@S3"},
    {" Nome do Banco ", "NOMEBAN", "@S48"},
    {"CNPJ", "CNPJBAN", "@S18"},
};
constexpr WriteBack kIncomeBankWrites[] = {{{}, D::row, "I1_3", "CNPJBAN"},
                                           {{}, D::row, "I1_2", "NOMEBAN"}};

constexpr F kBankFields[] = {"M->BANCO"};
constexpr ListColumn kBankColumns[] = {
    {"Nro.", "NUMBAN", "@S3"},
    {" Nome do Banco ", "NOMEBAN", "@S48"},
};
constexpr WriteBack kBankWrites[] = {{{}, D::value, "BANCO", "NUMBAN"}};

constexpr F kRelationFields[] = {"CODIDEPEN"};
constexpr ListColumn kRelationColumns[] = {
    {"Cod.", "CODDEP", "@Z 99"},
    {"Relação de dependência", "DESCRICAO", "@S60"},
};
constexpr WriteBack kRelationWrites[] = {{{}, D::cod, {}, "CODDEP"}};

constexpr F kAssetCodeFields[] = {"nDesIni", "I7_5", "nDesFim"};
constexpr ListColumn kAssetCodeColumns[] = {
    {"Cod.", "CODBEM", "@Z 99"},
    {"Bens e Direitos", "DESCBENS", "@S45"},
};
constexpr WriteBack kAssetCodeWrites[] = {{"I7_5", D::row, "I7_5", "CODBEM"},
                                          {"nDesIni", D::field, {}, "CODBEM"},
                                          {"nDesFim", D::field, {}, "CODBEM"}};

constexpr F kDebtCodeFields[] = {"I8_5"};
constexpr ListColumn kDebtCodeColumns[] = {
    {"Cod.", "CODDIV", "@Z 99"},
    {"Dividas e Onus", "DESCDIV", "@S45"},
};
constexpr WriteBack kDebtCodeWrites[] = {{{}, D::row, "I8_5", "CODDIV"}};

constexpr F kPaymentCodeFields[] = {"I6_3", "CODIGO"};
constexpr ListColumn kPaymentCodeColumns[] = {
    {"Cod.", "CODDES", "@Z 99"},
    {"Doação ou Pagamento", "DESCDOA", "@S65"},
};
constexpr WriteBack kPaymentCodeWrites[] = {
    {"I6_3", D::row, "I6_3", "CODDES"},
    {"CODIGO", D::row, "CODIGO", "CODDES", When::always, false, true}};

constexpr F kFolderFields[] = {"M->ORIGEM", "M->DESTINO"};
constexpr ListColumn kFolderColumns[] = {{"Nome dos diretórios", "DIRETOR", "@S40"}};
constexpr WriteBack kFolderWrites[] = {{{}, D::field, {}, "DIRETOR"},
                                       {{}, D::value, "DIRCONJU", "DIRETOR"}};

constexpr F kGainFields[] = {"M->TIPO_BEM"};
constexpr ListColumn kGainColumns[] = {
    {"Nr", "BEM_NRO", "@Z 99", {}, When::always, "  "},
    {"Item", "NRO_ITEM", "@Z 999", {}, When::always, "..."},
    {"Descrição do Bem", "ESPC_BEM", "@s26", "Nome da Sociedade", When::gain_kind_3,
     "Totais........"},
    {"Tributado", "VAL_TRIBU", kMoney, {}, When::always, "="},
    {"Nao Tribu.", "VAL_NAOTRI", kMoney, {}, When::always, "="},
    {"Imposto", "VAL_IMPOSV", kMoney, {}, When::always, "="},
};

constexpr F kGainSumFields[] = {"M->I3_04"};
constexpr ListColumn kGainSumColumns[] = {
    {"Nr", "BEM_NRO", "@Z 99", {}, When::always, "  "},
    {"Descrição do Bem", "ESPC_BEM", "@s25", "Nome da Sociedade", When::gain_kind_3, "..."},
    {"Tributado", "VAL_TRIBU", kMoney, {}, When::always, "="},
    {"Nao Tribu.", "VAL_NAOTRI", kMoney, {}, When::always, "="},
    {"Imposto", "VAL_IMPOSV", kMoney, {}, When::always, "="},
};

constexpr F kCountryFields[] = {"CODPAIS", "I7_8", "I8R_3"};
constexpr ListColumn kCountryColumns[] = {
    {"Cod.", "CODPAIS", "@s3"},
    {"Nome do País", "NOMPAIS", "@S40"},
};
constexpr WriteBack kCountryWrites[] = {{"I7_8", D::row, "I7_8", "CODPAIS"},
                                        {"CODPAIS", D::field, {}, "CODPAIS"},
                                        {"I8R_3", D::field, {}, "CODPAIS"}};

constexpr F kEmbassyFields[] = {"M->CODEMB"};
constexpr ListColumn kEmbassyColumns[] = {
    {"Cod.", "CD_EX", "@s3"},
    {"Cidade", "NM_CIDADE", "@S20"},
    {"Nome do País", "NM_PAIS", "@s22"},
    {"Representaçao", "NM_REP", "@S30"},
};
constexpr WriteBack kEmbassyWrites[] = {{{}, D::field, {}, "CD_EX"}};

constexpr F kStatusFields[] = {"M->ESTATUS", "M->OPC_TRAN"};
constexpr ListColumn kStatusColumns[] = {
    {"Cod.", "COD", "@s2"},
    {"Estatus", "DESCRICAO", "@S13"},
};
constexpr WriteBack kStatusWrites[] = {{{}, D::field, {}, "COD"}};

constexpr F kStreetFields[] = {"M->TIPOEND", "M->RUAIMO"};
constexpr F kStreetSearch[] = {"M->TIPOEND"};
constexpr ListColumn kStreetColumns[] = {{"Tipo Endereço", "NOMELOGRA", "@S11"}};
constexpr WriteBack kStreetWrites[] = {{{}, D::field, {}, "NOMELOGRA"}};

constexpr F kTownFields[] = {"MUNICIMO", "M->MUNICIMO", "M->MUNICIPIO", "M->CID_SOCIE"};
constexpr F kTownSearch[] = {"MUNICIMO", "M->MUNICIPIO"};
constexpr ListColumn kTownColumns[] = {
    {"Nome dos municípios", "NOMEMUNI", "@S30", "Nome dos Estados", When::state_field}};
constexpr WriteBack kTownWrites[] = {
    {"M->MUNICIPIO", D::value, "UF", "NOMEMUNI", When::state_row, true},
    {"M->MUNICIPIO", D::value, "MUNICIPIO", "NOMEMUNI", When::not_state_row},
    {"M->MUNICIPIO", D::value, "CODMUNI", "NROMUNI", When::not_state_row},
    {"MUNICIMO", D::row, "MUNICIMO", "NOMEMUNI"},
    {"MUNICIMO", D::row, "CODMIMO", "NROMUNI"},
    {"M->MUNICIMO", D::field, {}, "NOMEMUNI"},
    {"M->CID_SOCIE", D::field, {}, "NOMEMUNI"},
};

constexpr F kFundFields[] = {"M->CIDDOA"};
constexpr ListColumn kFundColumns[] = {{"Nome dos municípios", "CIDADE", "@S30"}};
constexpr WriteBack kFundWrites[] = {{{}, D::value, "CIDDOA", "CIDADE"},
                                     {{}, D::value, "CNJPDOA", "CNPJ"}};

constexpr F kAccountFields[] = {"M->CDCONTA", "CDCONTA"};
constexpr ListColumn kAccountColumns[] = {
    {"Código", "CDCONTA", "@s6"},
    {"Descriçao", "NMDESCRICA", "@s60"},
};
constexpr WriteBack kAccountWrites[] = {{{}, D::field, {}, "CDCONTA"}};

constexpr F kRuralAssetFields[] = {"CODIGOA"};
constexpr ListColumn kRuralAssetColumns[] = {
    {"Cod.", "CODBEM", "@Z 99"},
    {"  Tipo  ", "DESCBENS", "@S45"},
};
constexpr WriteBack kRuralAssetWrites[] = {{{}, D::row, "CODIGO", "CODBEM"}};

ListDef make(std::span<const F> fields, ListSource source, int table, int order, ui::Rect window,
             std::span<const ListColumn> columns, std::span<const WriteBack> writes) {
  ListDef d{fields, source, table, order, window, columns, writes};
  return d;
}

ui::Rect win(int top, int left, int bottom, int right) { return {top, left, bottom, right}; }
ui::Rect bottom_right(int bottom, int right) {
  return {kDefaultWindow.top, kDefaultWindow.left, bottom, right};
}
ui::Rect right(int r) { return bottom_right(kDefaultWindow.bottom, r); }

const std::vector<ListDef>& lists() {
  static const std::vector<ListDef> all = [] {
    using S = ListSource;
    std::vector<ListDef> v;
    v.push_back(make(kRegistryFields, S::registry, 9, 2, kDefaultWindow, {}, {}));
    auto& payer = v.emplace_back(
        make(kPayerFields, S::copy, 2, 0, bottom_right(18, 70), kPayerColumns, kPayerWrites));
    payer.filter = RowFilter::payer_firms;
    auto& occ = v.emplace_back(make(kOccupationFields, S::table, 58, 1, win(8, 1, 18, 76),
                                    kOccupationColumns, kOccupationWrites));
    occ.shown = kOccupationShown;
    auto& nat = v.emplace_back(
        make(kNatureFields, S::table, 59, 1, win(8, 1, 18, 66), kNatureColumns, kNatureWrites));
    nat.shown = kNatureShown;
    v.push_back(make(kDependantFields, S::copy, 3, 0, bottom_right(18, 50), kDependantColumns,
                     kDependantWrites));
    v.push_back(make(kIncomeBankFields, S::table, 55, 2, bottom_right(18, 78), kIncomeBankColumns,
                     kIncomeBankWrites));
    v.push_back(
        make(kBankFields, S::table, 55, 2, bottom_right(18, 64), kBankColumns, kBankWrites));
    v.push_back(make(kRelationFields, S::table, 47, 1, bottom_right(22, 72), kRelationColumns,
                     kRelationWrites));
    v.push_back(
        make(kAssetCodeFields, S::table, 46, 1, right(57), kAssetCodeColumns, kAssetCodeWrites));
    v.push_back(
        make(kDebtCodeFields, S::table, 48, 1, right(57), kDebtCodeColumns, kDebtCodeWrites));
    v.push_back(make(kPaymentCodeFields, S::table, 49, 1, right(77), kPaymentCodeColumns,
                     kPaymentCodeWrites));
    v.push_back(
        make(kFolderFields, S::folder_list, 50, 1, right(47), kFolderColumns, kFolderWrites));
    auto& gain =
        v.emplace_back(make(kGainFields, S::copy, 7, 0, win(6, 2, 19, 78), kGainColumns, {}));
    gain.filter = RowFilter::gain_kind;
    gain.gain_items = true;
    auto& sum =
        v.emplace_back(make(kGainSumFields, S::copy, 7, 0, win(5, 1, 15, 76), kGainSumColumns, {}));
    sum.filter = RowFilter::gain_kinds_1_3;
    sum.needs_gain_sum = true;
    sum.choose = false;
    v.push_back(make(kCountryFields, S::table, 60, 1, right(57), kCountryColumns, kCountryWrites));
    v.push_back(make(kEmbassyFields, S::table, 61, 1, right(57), kEmbassyColumns, kEmbassyWrites));
    v.push_back(make(kStatusFields, S::table, 66, 1, right(25), kStatusColumns, kStatusWrites));
    auto& street = v.emplace_back(
        make(kStreetFields, S::table, 65, 1, win(8, 16, 21, 29), kStreetColumns, kStreetWrites));
    street.search_fields = kStreetSearch;
    auto& town =
        v.emplace_back(make(kTownFields, S::table, 64, 0, right(37), kTownColumns, kTownWrites));
    town.search_fields = kTownSearch;
    town.search_key = "UPPER(NOMEMUNI)";
    v.push_back(make(kFundFields, S::table, 75, 0, kDefaultWindow, kFundColumns, kFundWrites));
    v.push_back(
        make(kAccountFields, S::table, 62, 1, win(6, 8, 19, 76), kAccountColumns, kAccountWrites));
    v.push_back(make(kRuralAssetFields, S::table, 69, 1, win(5, 20, 19, 71), kRuralAssetColumns,
                     kRuralAssetWrites));
    return v;
  }();
  return all;
}

bool same_field(std::string_view a, std::string_view b) {
  return cp850::upper(a) == cp850::upper(b);
}

}  // namespace

const ListDef* find_list(std::string_view field) {
  for (const ListDef& d : lists()) {
    for (F f : d.fields) {
      if (same_field(f, field)) return &d;
    }
  }
  return nullptr;
}

std::span<const ListDef> all_lists() { return lists(); }

}  // namespace kx::declaration
