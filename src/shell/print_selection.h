// The print selection of a terminal: what to print (QUEIMP), on which paper or label model
// (QUEMOD), which pages (QUEPAG) and whose declarations (QUECON), the lists that name them, and
// the menu texts ITEM1..ITEM7 that describe the current choice.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "store/globals.h"

namespace kx::shell {

// The fixed lists of the selection (CP850; trailing blanks belong to the texts). Entry i of a
// list is element i - 1.
extern const std::array<std::string_view, 15> ALISTIMP;   // what to print
extern const std::array<std::string_view, 3> MODO1OP;     // DARF paper
extern const std::array<std::string_view, 2> MODOETI;     // registry print
extern const std::array<std::string_view, 4> MODETID;     // disc labels
extern const std::array<std::string_view, 1> NOMCONT;
extern const std::array<std::string_view, 1> MODOUNI;
extern const std::array<std::string_view, 11> NOMEPAGR;   // pages of the declaration
extern const std::array<std::string_view, 3> NOMEPRUR;    // pages of the rural report
extern const std::array<std::string_view, 13> NOMEPAGS;   // page names of the declaration print
extern const std::array<std::string_view, 1> NOMEPAGCV;
extern const std::array<std::string_view, 5> NOMECON;     // whose declarations
extern const std::array<int, 15> AQUEIT2;                 // largest QUEMOD per QUEIMP
extern const std::array<int, 15> AQUEIT3;                 // largest QUEPAG per QUEIMP

// The menu texts of the selection.
struct PrintItems {
  std::string ITEM1, ITEM2, ITEM3, ITEM4, ITEM5, ITEM6, ITEM7;
};

// Commands 41..44: the entry `argument` of the list of `code` becomes the choice, within the
// limits of what is printed.
void choose_print_item(store::Globals& g, int code, int argument);

// Makes the selection consistent (every number within its list, QUEMOD and QUEPAG within the
// limits of QUEIMP, NRO_VIAS 1..9) and returns the texts that describe it.
PrintItems MONTA_ITENS(store::Globals& g);

}  // namespace kx::shell
