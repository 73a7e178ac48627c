// What the program takes from its command line and environment at start-up: the terminal
// number, the program folder and the drive table that maps folders stored in Windows form.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace kx::shell {

// Where a stored "X:\A\B" lands: the folder of its drive letter followed by "A/B". Every letter
// without an entry maps to `home`. KAPRIX_DRIVES lists entries as "D=/mnt/d;E=/srv/e".
struct DriveMap {
  std::string home;
  std::map<char, std::string> drives;  // upper-case letter -> folder

  std::string root(char letter) const;
};

// `stored` unchanged unless it starts with a drive letter and ":"; then the drive's folder, and
// the rest with "\" turned into "/". "C:" alone is the drive's folder.
std::string linux_path(std::string_view stored, const DriveMap& drives);

struct StartOptions {
  std::optional<std::string> argument;  // the command-line terminal number
  std::string TERMINAL;                 // environment
  std::string DKAPRIX;                  // environment
  std::string current_folder;
  DriveMap drives;

  // Reads TERMINAL, DKAPRIX, HOME, KAPRIX_DRIVES and the current folder.
  static StartOptions from_environment(std::optional<std::string> argument);
};

// The terminal number: TERMINAL when not empty, else the argument, zero-filled to two digits.
// A value that is not one or two digits is ignored as if it had not been given; with none the
// terminal is "00" (a local drive: there is no network prompt).
std::string terminal_number(const StartOptions& o);

// Whether `s` is a terminal number as typed: one or two digits.
bool valid_terminal(std::string_view s);

}  // namespace kx::shell
