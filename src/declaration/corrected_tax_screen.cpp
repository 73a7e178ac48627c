// The corrected-tax list (F5 of the prompt).
#include "base/cp850.h"
#include "base/text.h"
#include "declaration/command_environment.h"
#include "declaration/corrected_tax.h"
#include "declaration/taxpayer_screens.h"
#include "entry/table_rows.h"
#include "store/access.h"
#include "ui/browser.h"
#include "ui/keys.h"

namespace kx::declaration {

namespace {

constexpr int kRegistry = 9;
constexpr int kCorrectedTax = 44;

// The corrected-tax table refilled from the registry's rows with a tax to pay or to receive.
void fill(dbf::Table& list, dbf::Table& registry, Decimal interest) {
  list.zap();
  const dbf::Field& cpf = registry.field("CPF");
  const dbf::Field& name = registry.field("NOMECONTR");
  const dbf::Field& balance = registry.field("IMPPGRE");
  const dbf::Field& quotas = registry.field("QTD_QUOTA");
  registry.scan([&](uint32_t, const dbf::RecordView& row) {
    const Decimal impgre = row.number(balance);
    if (impgre.is_zero()) return true;
    const int qtd = static_cast<int>(row.number(quotas).to_int());
    const CorrectedTax c = correct_tax(impgre, qtd, interest);
    list.append_blank();
    list.set_text("CPF", row.text(cpf));
    list.set_text("NOMECONTR", row.text(name));
    list.set_number("IMPPGRE", impgre);
    list.set_number("QTD_QUOTA", qtd);
    list.set_number("IMPOSTO", c.IMPOSTO);
    list.set_number("RESTITU", c.RESTITU);
    list.set_number("CORRIGI", c.CORRIGI);
    return true;
  });
  list.commit();
}

}  // namespace

void IMPCORRIG(entry::Session& s) {
  const Date today = s.clock.today();
  const std::vector<tax::SelicMonth> selic =
      tax_context(CommandEnvironment{s.clock, s.globals.ROTADEF}).selic;
  if (const auto refusal = corrected_tax_refusal(today, selic)) {
    s.messages.AVISOSN(*refusal, 0);
    return;
  }
  store::Access a = s.access();
  if (!store::ABERTURA(a, kCorrectedTax, true)) {
    s.messages.AVISOSN({std::string("Opção sendo usada em outro terminal"_cp)}, 0);
    return;
  }
  dbf::Table& list = s.workspace.table(kCorrectedTax);
  dbf::Table& registry = s.workspace.table(kRegistry);
  registry.set_filter({});
  fill(list, registry, corrected_tax_interest(today, selic));
  {
    ui::LDialog& dialog = s.frame.LDLGSHOW(2, 1, 20, 78, "Imposto Corrigido");
    entry::TableRows rows(list);
    const unsigned char cell = ui::standard_colour(s.colours.COR_CLI_HE);
    ui::Browser browser(s.screen, {2, 1, 20, 78}, rows,
                        {cell, ui::standard_colour(s.colours.COR_ESC_CL), cell, cell});
    ui::BrowseColumn name;
    name.heading = " Nome do Contribuinte ";
    name.width = 23;
    name.value = [&rows] {
      return ui::Value(text::pad_right(std::get<std::string>(rows.value("NOMECONTR")), 23));
    };
    browser.columns = {rows.column("CPF", " CPF ", "@R 999.999.999-99"),
                       name,
                       rows.column("QTD_QUOTA", "Quota", "@ez 9"),
                       rows.column("IMPOSTO", "Imposto", "@EZ 999,999.99"),
                       rows.column("RESTITU", "Restitucao", "@EZ 999,999.99"),
                       rows.column("CORRIGI", "Corrigido", "@EZ 999,999.99")};
    browser.on_key = [](int key, ui::Browser&) {
      return key == ui::key::kEsc || key == ui::key::kEnter;
    };
    browser.first_row();
    browser.run();
    dialog.close();
  }
  s.workspace.close(kCorrectedTax);
}

}  // namespace kx::declaration
