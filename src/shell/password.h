// The entry password of a terminal. Only a salted hash is kept (libsodium's password hash
// string), in the file "SENHA" + terminal of the program folder, replaced in one step; the
// configuration record holds no password.
#pragma once

#include <string>
#include <string_view>

#include "entry/session.h"

namespace kx::shell {

inline constexpr int kPasswordWidth = 6;

// The file that holds the hash of `terminal`'s password.
std::string password_file(std::string_view program_folder, std::string_view terminal);

// Sets (replaces) the password; `password` is CP850 text as typed.
void set_password(std::string_view program_folder, std::string_view terminal,
                  std::string_view password);
// Whether a password is set for the terminal.
bool has_password(std::string_view program_folder, std::string_view terminal);
// Whether `password` is the terminal's password; false when none is set or the file is damaged.
bool verify_password(std::string_view program_folder, std::string_view terminal,
                     std::string_view password);
// Removes the terminal's password.
void clear_password(std::string_view program_folder, std::string_view terminal);

// Reads a password after `prompt` in a small window titled "Senha", echoing "*": up to
// kPasswordWidth characters, Enter ends, Esc gives an empty entry.
std::string read_password(entry::Session& s, std::string_view prompt);

// The entry check of start-up: when QUERSEN is on and a password is set, up to three entries,
// each wrong one told "Senha inválida!". False after the third wrong entry.
bool check_entry_password(entry::Session& s);

}  // namespace kx::shell
