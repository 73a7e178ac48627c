#include "shell/password.h"

#include <sodium.h>

#include <algorithm>
#include <stdexcept>

#include "base/cp850.h"
#include "os/file.h"
#include "os/folder.h"
#include "os/path.h"
#include "os/replace.h"
#include "store/folder.h"
#include "ui/keys.h"

namespace kx::shell {
namespace {

void init_sodium() {
  if (sodium_init() < 0) throw std::runtime_error("libsodium could not be initialised");
}

std::string stored_hash(std::string_view folder, std::string_view terminal) {
  const auto path = os::find_nocase(password_file(folder, terminal));
  if (!path) return {};
  const os::File f = os::File::open(*path, os::File::Mode::read);
  std::string bytes(static_cast<size_t>(std::min<int64_t>(f.size(), 512)), '\0');
  bytes.resize(f.pread(bytes.data(), bytes.size(), 0));
  while (!bytes.empty() && (bytes.back() == '\n' || bytes.back() == '\0')) bytes.pop_back();
  return bytes;
}

}  // namespace

std::string password_file(std::string_view program_folder, std::string_view terminal) {
  return store::fs_path(store::in_folder(program_folder, "SENHA" + std::string(terminal)));
}

void set_password(std::string_view folder, std::string_view terminal, std::string_view password) {
  init_sodium();
  char hash[crypto_pwhash_STRBYTES];
  if (crypto_pwhash_str(hash, password.data(), password.size(),
                        crypto_pwhash_OPSLIMIT_INTERACTIVE,
                        crypto_pwhash_MEMLIMIT_INTERACTIVE) != 0)
    throw std::runtime_error("out of memory hashing the password");
  os::replace_file(password_file(folder, terminal), std::string(hash) + "\n");
}

bool has_password(std::string_view folder, std::string_view terminal) {
  return !stored_hash(folder, terminal).empty();
}

bool verify_password(std::string_view folder, std::string_view terminal,
                     std::string_view password) {
  init_sodium();
  const std::string hash = stored_hash(folder, terminal);
  if (hash.empty() || hash.size() >= crypto_pwhash_STRBYTES) return false;
  return crypto_pwhash_str_verify(hash.c_str(), password.data(), password.size()) == 0;
}

void clear_password(std::string_view folder, std::string_view terminal) {
  if (const auto path = os::find_nocase(password_file(folder, terminal))) os::remove_file(*path);
}

std::string read_password(entry::Session& s, std::string_view prompt) {
  const int width = static_cast<int>(prompt.size()) + kPasswordWidth + 3;
  const int row = 11, left = (ui::kCols - width) / 2, field = left + static_cast<int>(prompt.size()) + 2;
  const unsigned char attr = ui::standard_colour(s.colours.COR_SAY);
  const int layer = s.screen.open_layer({row, left, row, left + width - 1}, "Senha", {' ', attr},
                                        ui::Frame::kTitleAttr);
  s.screen.write(row, left + 1, prompt, attr);
  std::string typed;
  for (;;) {
    s.screen.write(row, field, std::string(typed.size(), '*') +
                                   std::string(kPasswordWidth - typed.size(), '_'), attr);
    s.screen.set_cursor(row, field + static_cast<int>(typed.size()));
    s.screen.show_cursor(true);
    const int k = s.screen.wait_key();
    if (k == ui::key::kEnter) break;
    if (k == ui::key::kEsc) {
      typed.clear();
      break;
    }
    if (k == ui::key::kBackspace) {
      if (!typed.empty()) typed.pop_back();
    } else if (unsigned char c = ui::key::character(k);
               c && typed.size() < static_cast<size_t>(kPasswordWidth)) {
      typed += static_cast<char>(c);
    }
  }
  s.screen.show_cursor(false);
  s.screen.close_layer(layer);
  return typed;
}

bool check_entry_password(entry::Session& s) {
  const store::Globals& g = s.globals;
  if (!g.QUERSEN || !has_password(g.ARQDEF, g.NUSU)) return true;
  for (int attempt = 0; attempt < 3; ++attempt) {
    if (verify_password(g.ARQDEF, g.NUSU, read_password(s, "Senha:"))) return true;
    s.messages.tell({std::string("Senha inválida!"_cp)});
  }
  return false;
}

}  // namespace kx::shell
