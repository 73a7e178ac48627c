// What the declaration editor's screens need of the data side (loading, saving and discarding
// the working copies) and of the taxpayer selection (the CPF prompt). The running program
// connects the real ones; tests pass fakes.
#pragma once

#include <optional>
#include <string>

#include "declaration/declaration_values.h"
#include "declaration/origin.h"

namespace kx::declaration {

// The taxpayer chosen at the CPF prompt.
struct CpfChoice {
  std::string cpf;
  Origin origin = Origin::existing;
  bool restore = false;  // reuse the terminal's working copies of an interrupted declaration
};

class EditorServices {
 public:
  virtual ~EditorServices() = default;

  // The CPF prompt and taxpayer lists; nullopt when the operator leaves with Esc.
  virtual std::optional<CpfChoice> choose_cpf() = 0;
  // Builds the working copies and the values of `cpf`; false (reason shown) when it could not.
  virtual bool load(const std::string& cpf, Origin origin, bool restore) = 0;
  // Mode 0 intermediate (the copies stay open), 1 final. False when nothing or not everything
  // was saved; the reason has been shown.
  virtual bool save(int mode) = 0;
  // Leaves without saving: clears the open mark of the registry row, closes the copies.
  virtual void discard() = 0;
  // Closes the working copies without saving anything.
  virtual void close_copies() = 0;
  // The registry and summary fields of the open declaration.
  virtual DeclarationValues& values() = 0;
  // Editing time in seconds (earlier saves included) and bytes of declaration data.
  virtual long elapsed_seconds() = 0;
  virtual long data_size() = 0;
  // Stops or restarts the editing clock; stopped time is not counted.
  virtual void stop_clock(bool stopped) = 0;
  // Writes the summary values into the working copy of the summary table.
  virtual void store_summary() = 0;
  // Rows of the dependants table of the open declaration.
  virtual int dependants() = 0;
};

}  // namespace kx::declaration
