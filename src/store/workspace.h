// The numbered slots in which tables are open, and the global settings the table access layer
// reads. One Workspace per running program; nothing here is global.
#pragma once

#include <array>
#include <optional>
#include <string>

#include "dbf/table.h"
#include "store/catalogue.h"

namespace kx::store {

// The global settings of the same names. Folder paths are CP850 text as typed, "/" between
// levels, with or without a final "/"; they are never upper-cased.
struct Settings {
  std::string NUSU = "01";    // terminal number, two digits
  std::string ARQDEF;         // program folder: system and reference tables
  std::string LOCARQ;         // current work folder: declaration tables 1..20
  std::string LOCTRAB;        // auxiliary folder: the terminals' working copies
  bool MOS_MENS = false;      // progress messages on the message line
  bool REFAZ_IND = false;     // rebuild every index file when a table is opened
  std::string APELIDO;        // alias override for the next opens; empty: the file's name
  std::string CPF;            // taxpayer of the open registry row
  std::string NOMECONTR;      // that taxpayer's name
};

// A table open in a slot. The alias is the file name without folder and extension, or the
// override given when it was opened.
struct OpenTable {
  dbf::Table table;
  std::string alias;
};

// Every table keeps the clock it was opened with: close the workspace before that clock goes.
class Workspace {
 public:
  static constexpr int kSlots = kLastTable;  // slots 1..75

  // The current slot (xBase SELECT): where NETUSE opens and where the lock operations act.
  void select(int slot);
  int current() const { return current_; }

  // The table in `slot`, or nullptr when the slot is empty.
  OpenTable* held(int slot);
  // The table in `slot`; throws std::logic_error when the slot is empty.
  dbf::Table& table(int slot);
  // The table of the current slot; throws std::logic_error when it is empty.
  OpenTable& current_table();

  // Puts an open table into `slot`, closing what was there.
  OpenTable& put(int slot, OpenTable open);
  // Closes the table of `slot` (nothing when empty). The slot is empty afterwards even when the
  // final write fails; the failure is thrown.
  void close(int slot);
  // Closes slots first..last except `keep` (0: none). Every slot is closed before the first
  // failure is thrown.
  void close_range(int first, int last, int keep = 0);
  void close_all(int keep = 0) { close_range(1, kSlots, keep); }

 private:
  static void check(int slot);
  std::array<std::optional<OpenTable>, kSlots + 1> slots_;
  int current_ = 1;
};

}  // namespace kx::store
