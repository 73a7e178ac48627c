// Copying between the fields of a table record and the members of a settings struct that carry
// the same names: one table of {field, member} per record, used both ways.
#pragma once

#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "base/date.h"
#include "base/decimal.h"
#include "base/text.h"
#include "dbf/table.h"

namespace kx::shell {

template <class S>
struct Binding {
  std::string_view field;
  std::variant<std::string S::*, int S::*, long S::*, bool S::*, Date S::*, Decimal S::*> member;
};

// Reads the bound fields of the current record into `s`; text fields lose their trailing
// blanks. Fields the table does not have are left as they are.
template <class S>
void load_record(const dbf::Table& t, const std::vector<Binding<S>>& bindings, S& s) {
  for (const auto& b : bindings) {
    if (!t.schema().find(b.field)) continue;
    std::visit(
        [&](auto m) {
          using T = std::remove_reference_t<decltype(s.*m)>;
          if constexpr (std::is_same_v<T, std::string>)
            s.*m = std::string(text::rtrim(t.get_text(b.field)));
          else if constexpr (std::is_same_v<T, bool>)
            s.*m = t.get_logical(b.field);
          else if constexpr (std::is_same_v<T, Date>)
            s.*m = t.get_date(b.field);
          else if constexpr (std::is_same_v<T, Decimal>)
            s.*m = t.get_number(b.field);
          else
            s.*m = static_cast<T>(t.get_number(b.field).to_int());
        },
        b.member);
  }
}

// Sets the bound fields of the current record from `s` (the caller holds the record lock and
// commits).
template <class S>
void store_record(dbf::Table& t, const std::vector<Binding<S>>& bindings, const S& s) {
  for (const auto& b : bindings) {
    if (!t.schema().find(b.field)) continue;
    std::visit(
        [&](auto m) {
          using T = std::remove_cvref_t<decltype(s.*m)>;
          if constexpr (std::is_same_v<T, std::string>)
            t.set_text(b.field, s.*m);
          else if constexpr (std::is_same_v<T, bool>)
            t.set_logical(b.field, s.*m);
          else if constexpr (std::is_same_v<T, Date>)
            t.set_date(b.field, s.*m);
          else if constexpr (std::is_same_v<T, Decimal>)
            t.set_number(b.field, s.*m);
          else
            t.set_number(b.field, Decimal(static_cast<int64_t>(s.*m)));
        },
        b.member);
  }
}

// The bindings whose field is one of `fields`, in the order of `fields`.
template <class S>
std::vector<Binding<S>> select_bindings(const std::vector<Binding<S>>& all,
                                        const std::vector<std::string_view>& fields) {
  std::vector<Binding<S>> out;
  for (std::string_view f : fields)
    for (const auto& b : all)
      if (b.field == f) out.push_back(b);
  return out;
}

}  // namespace kx::shell
