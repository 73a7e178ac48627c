// The details of a registry row (F6).
#include "base/cp850.h"
#include "base/text.h"
#include "declaration/taxpayer_age.h"
#include "declaration/taxpayer_screens.h"
#include "ui/keys.h"
#include "ui/picture.h"

namespace kx::declaration {

namespace {

// One value of the view: its label ends one column before it.
struct DetailItem {
  int row, col;
  const char* label;  // UTF-8
  const char* field;
  const char* mask;  // empty: the value as stored
};

constexpr DetailItem kDetails[] = {
    {1, 5, "CPF", "CPF", "@r 999.999.999-99"},
    {1, 32, "DIRPF Senha", "SENACESSO", ""},
    {1, 55, "Código", "CODACESSO", ""},
    {1, 77, "Tem Rural", "TEMRURAL", ""},
    {2, 5, "Nome", "NOMECONTR", ""},
    {3, 12, "Nascimento", "NASCIMENTO", ""},
    {3, 35, "Tit.Eleitor", "TITULO", "@r 99999999999-99"},
    {3, 64, "CPF do conjuge", "CPFCONJU", ""},
    {4, 8, "Brasil", "EBRASIL", ""},
    {4, 19, "Exterior", "EXTERIOR", ""},
    {4, 38, "Retificadora?", "RETIFICA", ""},
    {4, 66, "Número do Recibo Anterior", "NRORECIBO", "@r 999999999999"},
    {5, 25, "Último recibo de 2015", "RECIBOATU", ""},
    {5, 66, "Último recibo em 2014", "RECIBOANT", ""},
    {6, 29, "No caso de Devolução, Banco", "BANCO", "@r ###"},
    {6, 42, "Agência", "AGENCIA", "@r !!!!!-!"},
    {6, 56, "Conta", "CONTACO", "@r !!!!!!!!!!!!!-!!"},
    {7, 6, "Tipo", "TIPOEND", ""},
    {7, 28, "Logradouro", "ENDERECO", ""},
    {7, 76, "Novo End.", "NOVOEND", ""},
    {8, 8, "Número", "NUMERO", ""},
    {8, 28, "Complemento", "COMPLEM", ""},
    {8, 57, "Bairro", "BAIRRO", ""},
    {9, 5, "CEP", "CEP", "@r 99999-999"},
    {9, 18, "UF", "UF", ""},
    {9, 33, "Município", "MUNICIPIO", ""},
    {10, 6, "País", "CODPAIS", ""},
    {10, 20, "Embaixada", "CODEMB", ""},
    {10, 28, "DDD", "DDDTEL", "@R #999"},
    {10, 42, "Telefone", "TELEFO", "@R 99999-9999"},
    {10, 57, "FAX", "NROFAX", "@R 99999-9999"},
    {11, 29, "Correio Eletrônico (Email)", "EMAIL", ""},
};

std::string shown(const dbf::Table& t, const DetailItem& item) {
  const dbf::Field& f = t.field(item.field);
  switch (f.type) {
    case dbf::FieldType::numeric: {
      const Decimal v = t.get_number(item.field);
      return v.is_zero() ? std::string() : v.str(f.decimals);
    }
    case dbf::FieldType::date: return t.get_date(item.field).dmy();
    default: break;
  }
  const std::string text = t.get_text(item.field);
  if (*item.mask == '\0') return std::string(text::rtrim(text));
  return text::is_blank(text) ? std::string() : ui::transform(text::rtrim(text), item.mask);
}

}  // namespace

void MOS_DETAL(entry::Session& s) {
  dbf::Table& t = s.workspace.table(9);
  if (t.eof()) return;
  ui::LDialog& dialog = s.frame.LDLGSHOW(0, 0, 12, 78, "Detalhes");
  const unsigned char label = ui::standard_colour(s.colours.COR_SAY);
  const unsigned char value = ui::standard_colour(s.colours.COR_GET);
  for (const DetailItem& item : kDetails) {
    const std::string text = cp850::from_utf8(item.label);
    const int col = std::max(0, item.col - static_cast<int>(text.size()) - 1);
    s.screen.write(item.row, col, text, label);
    s.screen.write(item.row, item.col, shown(t, item), value);
  }
  const Age age = DIZANOS(t.get_date("NASCIMENTO"), s.clock.today());
  s.screen.write(2, 57, "Idade", label);
  s.screen.write(2, 67, "anos", label);
  s.screen.write(2, 74, "meses", label);
  s.screen.write(2, 63, age.years ? text::pad_left(std::to_string(*age.years), 3) : "   ", value);
  s.screen.write(2, 71, age.months ? text::pad_left(std::to_string(*age.months), 2) : "  ", value);
  if (!age.notice.empty())
    s.screen.write(1, 54, age.notice,
                   age.attention ? ui::standard_colour(s.colours.CORATEN) : label);
  while (s.screen.wait_key() != ui::key::kEsc) {
  }
  dialog.close();
}

}  // namespace kx::declaration
