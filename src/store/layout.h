// Layouts of the program's tables by table number: the twenty declaration tables of a work
// folder, the system tables the program creates in its program folder, and the reference tables
// delivered with it. Field order is creation order; the returned schemas live for the whole run.
#pragma once

#include "dbf/schema.h"

namespace kx::store {

inline constexpr int kDeclarationTables = 20;     // tables 1..20 of a work folder
inline constexpr int kFirstWorkingCopy = 21;      // 21..40: working copy of table n - 20
inline constexpr int kLastWorkingCopy = 40;

// Declaration table n (1..20). Throws std::out_of_range for another number.
const dbf::Schema& declaration_layout(int n);

// The layout with which a missing table number n is created: declaration tables, their working
// copies (21..40 take the layout of n - 20) and the system tables. nullptr for a reference table
// (delivered with the program, never created by it) and for a number without a table.
const dbf::Schema* creation_layout(int n);

// The layout of a reference table (the installer builds it from its text source); nullptr for
// any other number.
const dbf::Schema* reference_layout(int n);

}  // namespace kx::store
