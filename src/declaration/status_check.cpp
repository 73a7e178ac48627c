// The status code check against table STATUS.
#include <string>

#include "base/text.h"
#include "declaration/lookup.h"
#include "declaration/lookup_lists.h"
#include "declaration/lookup_run.h"
#include "store/access.h"

namespace kx::declaration {
namespace {

constexpr int kStatusTable = 66;
constexpr std::size_t kDescriptionWidth = 13;
constexpr int kRegistrySlot = 9;
constexpr int kRegistryCopySlot = 29;

// The description of `code`, nullopt when the code is not registered (or the table cannot be
// opened, which has been told).
std::optional<std::string> description_of(entry::Session& s, int code) {
  store::Access a = s.access();
  const bool opened_here = s.workspace.held(kStatusTable) == nullptr;
  if (opened_here && !store::ABERTURA(a, kStatusTable)) return std::nullopt;
  dbf::Table& t = s.workspace.table(kStatusTable);
  std::optional<std::string> out;
  t.scan([&](uint32_t, const dbf::RecordView& r) {
    if (r.number(*r.schema().find("COD")) != Decimal(code)) return true;
    out = text::pad_right(r.text(*r.schema().find("DESCRICAO")), kDescriptionWidth)
              .substr(0, kDescriptionWidth);
    return false;
  });
  if (opened_here) s.workspace.close(kStatusTable);
  return out;
}

}  // namespace

StatusCheck VE_STAT(Lookup& lookup, int code, int mode, const LookupRequest& request) {
  entry::Session& s = lookup.session();
  const int previous = s.workspace.current();
  const auto found = description_of(s, code);
  StatusCheck out;
  out.description = found.value_or(std::string(kDescriptionWidth, ' '));
  s.workspace.select(previous);
  if ((mode == 1 || mode == 5) && !found) {
    LookupRequest r = request;
    if (!has_lookup(r.field)) r.field = "M->ESTATUS";
    out.chosen = lookup.GERAL(r, 2);
    const Decimal* chosen = out.chosen ? std::get_if<Decimal>(&out.chosen->value) : nullptr;
    if (chosen && mode == 1) {
      out.description = description_of(s, static_cast<int>(chosen->to_int()))
                            .value_or(std::string(kDescriptionWidth, ' '));
      s.workspace.select(previous);
    }
  }
  if (mode == 1 || mode == 2)
    s.screen.write(2, 37, out.description, static_cast<unsigned char>(s.colours.COR_TEL1));
  if (mode == 3 || mode == 4) {
    const int slot = mode == 3 ? kRegistrySlot : kRegistryCopySlot;
    if (s.workspace.held(slot)) s.workspace.select(slot);
  }
  return out;
}

}  // namespace kx::declaration
