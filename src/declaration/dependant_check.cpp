// Whether a CPF belongs to a dependant or an alimony recipient of the open declaration.
#include <string>

#include "base/cp850.h"
#include "base/text.h"
#include "declaration/lookup.h"
#include "declaration/lookup_lists.h"
#include "declaration/lookup_run.h"
#include "store/access.h"
#include "store/catalogue.h"
#include "ui/identifiers.h"

namespace kx::declaration {
namespace {

constexpr int kDependants = 3;
constexpr int kAlimonyFirst = 98;  // relation codes 98 and 99: alimony recipients

dbf::Table::Filter relation_filter(int kind) {
  return [kind](const dbf::RecordView& r) {
    const Decimal code = r.number(*r.schema().find("CODIDEPEN"));
    return kind == 2 ? code >= Decimal(kAlimonyFirst) && code <= Decimal(99)
                     : code < Decimal(kAlimonyFirst);
  };
}

}  // namespace

DependantCheck VE_RELDEP(Lookup& lookup, std::string_view cpf, const LookupRequest& request,
                         int kind) {
  DependantCheck out;
  const ListDef* list = find_list(request.field);
  if (!list || list->source != ListSource::copy || list->table != kDependants)
    list = find_list("M->CPFDEPEN");
  entry::Session& s = lookup.session();
  const int slot = list_slot(*list);
  const int previous = s.workspace.current();
  if (!s.workspace.held(slot)) {
    store::Access a = s.access();
    if (!store::ABREARQ(
            a, slot, false,
            a.settings.LOCTRAB + store::working_copy_name(kDependants, a.settings.NUSU)))
      return out;
    s.workspace.select(previous);
  }
  const std::string wanted(text::trim(cpf));
  const auto of_kind = relation_filter(kind);
  if (!wanted.empty()) {
    s.workspace.table(slot).scan([&](uint32_t, const dbf::RecordView& r) {
      if (of_kind(r) && text::trim(r.text(*r.schema().find("CPFDEPEN"))) == wanted)
        out.found = true;
      return !out.found;
    });
    if (out.found) return out;
    s.messages.AVISOSN({std::string("CPF digitado não consta na relação dos "_cp) +
                        (kind == 2 ? "alimentandos" : "dependentes")},
                       0);
  }
  out.chosen = run_list(lookup, *list, request, of_kind);
  return out;
}

DependantCheck VERCPFDEPE(Lookup& lookup, const LookupRequest& request) {
  const auto* typed = std::get_if<std::string>(&request.value);
  const std::string cpf = typed ? *typed : std::string();
  if (ui::IdCheck check = ui::VAL_CPF(cpf, false); !check) {
    if (!check.message.empty()) lookup.session().messages.AVISOSN(check.message, 0);
    return {};
  }
  return VE_RELDEP(lookup, cpf, request, 1);
}

}  // namespace kx::declaration
