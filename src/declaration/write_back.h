// The steps of saving a declaration that a save of the editor and the finishing of an
// interrupted save share (not for callers outside the declaration editor).
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "dbf/table.h"
#include "declaration/save_marker.h"
#include "store/access.h"

namespace kx::declaration::detail {

// The file-system paths of the work folder and the auxiliary folder of the settings.
std::string work_folder(const store::Settings& s);
std::string aux_folder(const store::Settings& s);
// The file-system path of a folder as the settings and the marker hold it (CP850).
std::string folder_path(const std::string& cp850_folder);

enum class Wait {
  ask,      // "Outro terminal esta usando o arquivo ..." / "Aguarde ?": No gives up
  retry,    // "Aguardando outro Terminal carregar dados..." until it opens; Esc gives up
};
// Declaration table n of `folder` (file system) opened shared with its index files, created
// when missing; nullopt when the operator gave up.
std::optional<dbf::Table> open_table(store::Access& a, const std::string& folder, int n, Wait wait);
// A lock wait without limit that Esc gives up.
dbf::LockWait lock_wait(store::Access& a, int seconds = 0);

// Writes the copies back into the tables of the marker's folder (the marker says "saving").
// nullopt when done, otherwise what stopped it (CP850).
std::optional<std::string> write_back(store::Access& a, const SaveMarker& m,
                                      const std::function<dbf::Table&(int)>& copy,
                                      const std::function<void()>& step);

// Sets NUSUAT of the registry row of `cpf` to `terminal` under its record lock; with
// `only_from` given, only when NUSUAT holds that terminal. False when the lock was not obtained.
bool set_nusuat(store::Access& a, const std::string& folder, const std::string& cpf,
                const std::string& terminal, std::optional<std::string> only_from = {});

}  // namespace kx::declaration::detail
