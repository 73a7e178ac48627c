// The working copies of one declaration: for each declaration table but the cash book (13), the
// file "TMP_" + nn + terminal in the auxiliary folder holding exactly the taxpayer's rows (for the
// rural tables 15..19 those of the current activity), with one index file of the same name.
// Paths here are file-system paths.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "base/clock.h"
#include "dbf/table.h"

namespace kx::declaration {

inline constexpr int kSummaryTable = 1;
inline constexpr int kRegistryTable = 9;
inline constexpr int kMonthlyTable = 12;
inline constexpr int kCashBookTable = 13;
inline constexpr int kRuralResultTable = 15;

// The tables a declaration has copies of, in the order they are built: the registry, the
// summary, then the item tables.
std::vector<int> copied_tables();
// The tables a save writes back, in that order: the rural ones only with rural activity.
std::vector<int> saved_tables(bool rural);
// Tables 15..19: their rows belong to one activity (ATV_BRASIL) of the taxpayer.
bool by_activity(int n);

// The copy of table n (1..20) of terminal `nusu` in `aux`, without extension.
std::string copy_stem(const std::string& aux, int n, const std::string& nusu);
// The key of the copy's index file while the declaration is open.
std::string copy_index_key(int n);

// Whether `row` of table n belongs to the declaration of `cpf` (and activity `country`).
bool belongs(int n, const dbf::RecordView& row, const std::string& cpf, const std::string& country);

// Creates the copy file of table n from the declaration's rows of `source` (a declaration table
// with its CPF index active), found by the index. A copy left there is replaced.
void build_copy(dbf::Table& source, const std::string& stem, int n, const std::string& cpf,
                const std::string& country);
// Opens the copy exclusively with its index file.
dbf::Table open_copy(const std::string& stem, int n, Clock& clock);
// Removes every copy file of terminal `nusu` (data, index and memo files).
void remove_copies(const std::string& aux, const std::string& nusu);

// What is wrong with the copies of `cpf`, or nullopt when every copy exists, opens and holds
// only rows of that CPF (and exactly one registry and one summary row). CP850 text.
std::optional<std::string> check_copies(const std::string& aux, const std::string& nusu,
                                        const std::string& cpf, Clock& clock);

// The copy's rows (record bytes in the table's layout `to`) in the order the shared table gets
// them: table 2 by date, 4 and 5 by their order number, 6 by payment code, the others as stored.
std::vector<std::string> rows_to_write(dbf::Table& copy, int n, const dbf::Schema& to);

// Renumbers the order numbers of the asset (4) and debt (5) copies 10, 20, 30, ... in their
// order (1, 2, 3, ... where ten times the number would not fit); fills an empty CPFALIEN of the
// non-variable-income rows of the capital gains copy (7). Other tables: nothing.
void prepare_copy(dbf::Table& copy, int n);

// In `shared` (open shared, its file lock held, CPF index active): deletes the declaration's
// rows and appends `rows`. Calls `step` after every row deleted or appended.
void replace_rows(dbf::Table& shared, int n, const std::string& cpf, const std::string& country,
                  const std::vector<std::string>& rows, const std::function<void()>& step);
// The single row of `cpf` in the registry or the summary (`shared` open shared, CPF index
// active) overwritten with `row` under its record lock, or appended when there is none. False
// when the lock was not obtained within `wait`. The field `keep` (when given) keeps the value
// the shared row has.
bool write_single_row(dbf::Table& shared, const std::string& cpf, const std::string& row,
                      const dbf::LockWait& wait, std::string_view keep = {});

}  // namespace kx::declaration
