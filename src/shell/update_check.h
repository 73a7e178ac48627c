// The update check (INTER): one HTTP GET of the update page, a bounded read, and the version
// and date found after the page's marker compared with this program's release date.
//
// Settings: KAPRIX_UPDATE_URL (the page; empty or unset: no server is configured) and
// KAPRIX_UPDATE_MARKER (default "VERS:"). The page carries the marker followed at p+5 by the
// version (5 characters) and at p+11 by its date "dd/mm/yy".
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "entry/session.h"

namespace kx::shell {

inline constexpr std::string_view kVersion = "Lib.0";       // VERSAO
inline constexpr std::string_view kReleaseDate = "04/05/15";  // CULTIMAVER
inline constexpr std::size_t kUpdateReadLimit = 8000;
inline constexpr long kUpdateTimeoutMs = 5000;

struct UpdateSettings {
  std::string url;
  std::string marker = "VERS:";
  // Opens the address of the update shortcut "zent.url" of the program folder (the page itself
  // when there is none); false when no opener is available, and the address is then shown. The
  // default runs xdg-open.
  std::function<bool(const std::string&)> open_address;

  static UpdateSettings from_environment();
};

struct UpdateInfo {
  std::string version;  // 5 characters
  std::string date;     // "dd/mm/yy"
};

// The version after the first `marker` of `page`; nullopt when the marker is missing or the
// page ends before the date does.
std::optional<UpdateInfo> find_update(std::string_view page, std::string_view marker);

// The page at `url` (one GET with a 5-second timeout, at most kUpdateReadLimit bytes); nullopt
// on any failure to connect or read.
std::optional<std::string> fetch_page(const std::string& url);

// The URL in a web shortcut file ("URL=..." line); empty when there is none.
std::string shortcut_address(std::string_view contents);

enum class UpdateOutcome {
  unreachable,  // no server configured, or it could not be reached
  no_marker,    // the page has no version
  current,      // the version's date is this program's
  declined,     // a different version was offered and refused
  chosen,       // the operator chose to update: the program must end
};

// INTER(mode): mode 0 at start-up (silent unless something is found), 1 from the menu (every
// outcome told). After a failed connection with VER_ATUAL "S", asks whether to keep checking
// and stores the answer in the shared settings.
UpdateOutcome INTER(entry::Session& s, int mode, const UpdateSettings& settings);

}  // namespace kx::shell
