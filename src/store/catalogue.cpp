#include "store/catalogue.h"

#include <array>
#include <stdexcept>

#include "base/text.h"
#include "store/layout.h"

namespace kx::store {
namespace {

struct Key {
  const char* expression = nullptr;
  const char* file = nullptr;  // explicit file name; the default rule applies without one
};
using Keys = std::array<Key, 3>;

enum Flag : unsigned { kNone = 0, kPerTerminal = 1, kNeedsMemo = 2, kSeedsFolderRow = 4,
                       kSingleRecord = 8 };

struct Row {
  int number;
  TableKind kind;
  const char* name;  // the name, or its prefix before the terminal number
  Sharing sharing;
  Keys keys;
  unsigned flags = kNone;
};

// S: created by the program when missing; R: delivered with it.
constexpr auto S = TableKind::system;
constexpr auto R = TableKind::reference;
constexpr auto shared = Sharing::shared;
constexpr auto exclusive = Sharing::exclusive;
constexpr auto as_asked = Sharing::as_asked;

// Tables of the program folder.
constexpr Row kProgramTables[] = {
    {41, S, "PRINTS", shared, {}},
    {42, S, "CONFIG", shared, {{{"NRO_TERM"}}}},
    {43, S, "DEFINE", shared, {}, kSingleRecord},
    {44, S, "IMPCORRIG", exclusive, {}},
    {45, R, "HELPTXT", shared, {{{"UPPER(NOME)"}}}, kNeedsMemo},
    {46, R, "CODBENS", shared, {{{"CODBEM"}}}},
    {47, R, "CODEPEN", shared, {{{"CODDEP"}}}},
    {48, R, "CODDIVI", shared, {{{"CODDIV"}}}},
    {49, R, "DESPESA", shared, {{{"CODDES"}}}},
    // Keyed on the path as typed: folders whose names differ only in case are different folders.
    {50, S, "DIRET", exclusive, {{{"DIRETOR"}}}, kPerTerminal | kSeedsFolderRow},
    {51, R, "UFIRM", shared, {{{"ANOMES"}}}},
    {52, S, "AUXBENS", shared, {{{"DESCRICAO"}}}},
    {53, S, "AUXPAG", shared, {{{"NOME"}}}},
    {54, R, "LisErro", shared, {{{"CODERR"}}}},
    {55, R, "BANCOS", shared, {{{"NUMBAN"}, {"upper(NOMEBAN)"}}}},
    {56, S, "CORES", shared, {{{"NRO_TERM"}}}},
    {57, S, "CONFIMP", shared, {{{"NRO_TERM"}}}},
    {58, R, "OCUPACAO", shared, {{{"CDPRO"}, {"upper(OCUPACAO)", "OCUPACAB"}}}},
    {59, R, "CODNATUR", shared, {{{"CODAT"}, {"UPPER(DESCRAT)", "CODNATB"}}}},
    {60, R, "TABPAIS", shared, {{{"CODPAIS"}}}},
    {61, R, "TABEMBA", shared, {{{"CD_EX"}}}},
    {62, R, "CONTAS", shared, {{{"CDCONTA"}}}},
    {63, S, "FOLHAPG", as_asked, {{{"CPF"}}}},
    {64, R, "TABMUNI", shared, {}},
    {65, R, "TABLOGR", shared, {{{"upper(nomelogra)"}}}},
    {66, R, "STATUS", as_asked, {{{"cod"}}}},
    {67, S, "BOLETO", as_asked, {{{"NOSSONRO"}}}},
    {68, S, "DETALH", exclusive, {}, kPerTerminal},
    {69, R, "CODABENS", shared, {{{"CODBEM"}}}},
    {70, S, "LISNOME", exclusive, {{{"NOMECONTR"}, {"CPF"}}}},
    {72, S, "AGENDA", shared, {{{"NOMEAG"}, {"HORAG+DTOC(DATAG)"}, {"ANOTAG"}}}},
    {73, S, "USOLOG", shared, {{{"NOMEAG"}, {"CPF"}}}},
    {74, S, "AUXFON", shared, {{{"NOME"}}}},
    {75, R, "ECACIDAD", shared, {{{"NOME"}}}},
};

Keys declaration_keys(int n) {
  switch (n) {
    case 4: return {{{"CPF+str(I7_0,4)"}}};
    case 5: return {{{"CPF+STR(I8_0,4)"}}};
    case 6: return {{{"CPF+str(I6_3,2)"}}};
    case 9: return {{{"CPF"}, {"UPPER(NOMECONTR)"}, {"ESTATUS"}}};
    case 15: case 16: case 17: case 18: return {{{"CPF+ATV_BRASIL"}}};
    case 19: return {{{"CPF+ATV_BRASIL+DTOS(DT_LC)"}}};
    default: return {{{"CPF"}}};
  }
}

std::string two_digits(int n) {
  std::string s = std::to_string(n);
  return s.size() < 2 ? "0" + s : s;
}

void check_terminal(std::string_view terminal) {
  if (terminal.size() != 2 || !text::all_digits(terminal))
    throw std::invalid_argument("terminal number must be two digits: \"" + std::string(terminal) +
                                "\"");
}

std::vector<IndexFile> index_list(std::string_view table_name, const Keys& keys) {
  std::vector<IndexFile> out;
  for (int order = 1; order <= 3 && keys[order - 1].expression; ++order) {
    const Key& k = keys[order - 1];
    out.push_back({k.file ? k.file : default_index_name(table_name, order), k.expression});
  }
  return out;
}

}  // namespace

const dbf::Schema& TableEntry::layout() const {
  const dbf::Schema* schema =
      kind == TableKind::reference ? reference_layout(number) : creation_layout(number);
  if (!schema) throw std::logic_error("table " + std::to_string(number) + " has no layout");
  return *schema;
}

std::optional<TableEntry> table_entry(int number, std::string_view terminal) {
  check_terminal(terminal);
  TableEntry e;
  e.number = number;
  if (number >= 1 && number <= kDeclarationTables) {
    e.kind = TableKind::declaration;
    e.folder = TableFolder::work;
    e.name = declaration_table_name(number);
    e.sharing = Sharing::as_asked;
    e.indexes = index_list(e.name, declaration_keys(number));
    return e;
  }
  if (number >= kFirstWorkingCopy && number <= kLastWorkingCopy) {
    e.kind = TableKind::working_copy;
    e.folder = TableFolder::auxiliary;
    e.name = working_copy_name(number, terminal);
    e.sharing = Sharing::exclusive;
    return e;
  }
  for (const Row& row : kProgramTables) {
    if (row.number != number) continue;
    e.kind = row.kind;
    e.folder = TableFolder::program;
    e.name = row.name;
    if (row.flags & kPerTerminal) e.name += terminal;
    e.sharing = row.sharing;
    e.indexes = index_list(e.name, row.keys);
    e.needs_memo_file = row.flags & kNeedsMemo;
    e.seeds_folder_row = row.flags & kSeedsFolderRow;
    e.single_record = row.flags & kSingleRecord;
    return e;
  }
  return std::nullopt;
}

std::vector<IndexFile> index_files(int number, std::string_view terminal) {
  auto entry = table_entry(number, terminal);
  return entry ? std::move(entry->indexes) : std::vector<IndexFile>{};
}

std::string declaration_table_name(int n, int year) {
  if (n < 1 || n > kDeclarationTables || year < 0 || year > 99)
    throw std::out_of_range("no declaration table " + std::to_string(n) + " of year " +
                            std::to_string(year));
  return "IMP" + two_digits(n) + two_digits(year);
}

std::string working_copy_name(int n, std::string_view terminal) {
  check_terminal(terminal);
  if (n >= kFirstWorkingCopy && n <= kLastWorkingCopy) n -= 20;
  if (n < 1 || n > kDeclarationTables)
    throw std::out_of_range("no working copy of table " + std::to_string(n));
  return "TMP_" + two_digits(n) + std::string(terminal);
}

std::string default_index_name(std::string_view table_name, int order) {
  if (order == 1) return std::string(table_name);
  if (order != 2 && order != 3) throw std::out_of_range("index order must be 1 to 3");
  std::string name(table_name);
  for (char& c : name)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return name + (order == 2 ? "B" : "C");
}

}  // namespace kx::store
