// The per-terminal marker of the declaration being edited: which folder and CPF the working
// copies hold and what was being done with them. With the working copies it is a redo log: a
// save records "saving" before it touches a shared table, so a save interrupted at any instant
// can be finished from the copies. The file is replaced in one step (os::AtomicReplace).
#pragma once

#include <optional>
#include <string>

namespace kx::declaration {

enum class MarkerState {
  loading,  // the copies are being built: they are incomplete
  editing,  // the copies hold the declaration as edited so far
  saving,   // the copies are being written back into the folder's tables
};

struct SaveMarker {
  std::string folder;  // work folder of the declaration (CP850, as LOCARQ holds it)
  std::string cpf;
  MarkerState state = MarkerState::editing;
  bool final_save = false;  // saving: the declaration is closed once written back
  bool rural = false;       // the rural tables 15..19 belong to the declaration
  std::string country;      // ATV_BRASIL: the rural activity the copies of 15..19 hold
};

// The marker file of terminal `nusu` in the auxiliary folder `aux`.
std::string marker_path(const std::string& aux, const std::string& nusu);

// The marker of the terminal; nullopt when there is none or it cannot be read.
std::optional<SaveMarker> read_marker(const std::string& aux, const std::string& nusu);
void write_marker(const std::string& aux, const std::string& nusu, const SaveMarker& marker);
void clear_marker(const std::string& aux, const std::string& nusu);

}  // namespace kx::declaration
