// One declaration open for editing on this terminal: its rows in working copies in the
// auxiliary folder (open in slots 21..40), its registry and summary rows in values, and the
// load, restore, save and discard of the editor. Nothing here draws: waits and questions go
// through the table layer's Operator, failures come back as a reason (CP850) for the caller to
// show.
//
// Saving is safe at any instant: the working copies and the terminal's marker (save_marker.h)
// form a redo log. A save writes the copies first, records "saving", replaces the declaration's
// rows table by table (a shared open, the table's file lock, the CPF's rows deleted and the
// copy's appended: the cost does not grow with the folder), and only then clears the registry's
// NUSUAT (final save) and the marker. A save interrupted at any instant is finished from the
// copies by finish_interrupted_save.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "declaration/declaration_values.h"
#include "declaration/origin.h"
#include "declaration/save_marker.h"
#include "store/access.h"

namespace kx::declaration {


enum class SaveMode {
  intermediate,  // the declaration stays open (Alt-W, automatic)
  final,         // the declaration is closed: NUSUAT cleared, copies removed
};

class OpenDeclaration {
 public:
  // The settings of `access` give the work folder (LOCARQ), the auxiliary folder (LOCTRAB),
  // the terminal (NUSU) and the program folder (ARQDEF, for the SELIC register). `operator_name`
  // is NOMEAG, stored with every save.
  OpenDeclaration(store::Access access, std::string operator_name);
  ~OpenDeclaration();
  OpenDeclaration(const OpenDeclaration&) = delete;
  OpenDeclaration& operator=(const OpenDeclaration&) = delete;

  // Loads the declaration of `cpf` of the current work folder into new working copies. An
  // interrupted save of this terminal is finished first. When the marker names another
  // unfinished declaration the operator is asked before its copies go (the restore of the same
  // declaration is the caller's to offer before). With `mark_open` (editing) the registry row's
  // NUSUAT gets this terminal. False with reason() when the load was given up.
  bool load(const std::string& cpf, Origin origin, bool mark_open);
  // Reopens the working copies of the unfinished declaration of `cpf` named by the marker:
  // only in the folder the marker names, only when every copy exists and holds only this CPF.
  bool restore(const std::string& cpf, bool mark_open);
  // Recomputes the declaration and writes it back into the work folder. False with reason():
  // the copies and the marker stay, the declaration stays open and a later save finishes it.
  bool save(SaveMode mode);
  // Leaves without saving: NUSUAT cleared, copies removed, marker cleared. A write-back left
  // unfinished by a failed save is finished first (false with reason() when that fails).
  bool discard();

  bool is_open() const { return open_; }
  const std::string& cpf() const { return cpf_; }
  const std::string& reason() const { return reason_; }
  DeclarationValues& values() { return values_; }
  // The working copy of table n (1..20 but 13), open in slot n + 20.
  dbf::Table& copy(int n);

  // Writes the summary values into the summary table's working copy.
  void store_summary();
  // The full recomputation: the computation's results into the values.
  void recompute();
  // Seconds spent on the declaration (earlier saves included); the clock stopped does not
  // count. Across midnight 86399 seconds are added.
  int elapsed_seconds();
  void stop_clock(bool stopped);
  // Bytes of declaration data in the copies of tables 1..14, at most 999999.
  int data_size();

  // Called at every step of writing back (after the marker, each row, each table): tests stop
  // or kill the process there.
  void set_step_hook(std::function<void()> hook) { hook_ = std::move(hook); }

 private:
  bool fail(std::string reason);
  bool open_copies();
  void read_values(Origin origin);
  bool mark_registry(const std::string& terminal);
  void close_copies();
  void restart_clock();
  // The usage log's row of a finished editing session (table 73).
  void log_usage(int begun, int ended);

  store::Access a_;
  std::string operator_name_;
  DeclarationValues values_;
  std::string cpf_, folder_, country_;
  std::string reason_;
  bool open_ = false;
  bool stopped_ = false;
  int started_ = 0;  // second of the day the clock was last started
  std::function<void()> hook_;
};

// The unfinished declaration of this terminal (its marker), or nullopt.
std::optional<SaveMarker> unfinished_declaration(const store::Settings& settings);

enum class Redo { nothing, finished, failed };
// Finishes a save of this terminal interrupted before its end, from the working copies (at
// start-up, or before a declaration is opened). A final save ends with NUSUAT cleared and the
// copies removed; an intermediate one leaves the declaration unfinished (to restore). `reason`
// (may be null) receives what failed; the marker and copies then stay.
Redo finish_interrupted_save(store::Access& a, std::string* reason = nullptr);

// Drops the unfinished declaration of this terminal (the operator declined its restore):
// NUSUAT cleared where it names this terminal, copies removed, marker cleared. An interrupted
// save is finished first; false (with `reason`) when that fails.
bool drop_unfinished(store::Access& a, std::string* reason = nullptr);

}  // namespace kx::declaration
