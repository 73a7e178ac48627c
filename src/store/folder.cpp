#include "store/folder.h"

#include <sys/stat.h>

#include <optional>

#include "base/cp850.h"
#include "base/text.h"
#include "os/folder.h"
#include "os/path.h"

namespace kx::store {
namespace {

std::optional<struct stat> identity(std::string_view path) {
  auto found = os::find_nocase(std::string(path));
  struct stat st {};
  if (!found || ::stat(found->c_str(), &st) != 0) return std::nullopt;
  return st;
}

std::string two_digits(int i) { return (i < 10 ? "0" : "") + std::to_string(i); }

}  // namespace

std::string in_folder(std::string_view folder, std::string_view name) {
  return BAR_DIR(folder) + std::string(name);
}

std::string fs_path(std::string_view path) { return cp850::to_utf8(path); }

bool same_file(std::string_view a, std::string_view b) {
  auto x = identity(a), y = identity(b);
  return x && y && x->st_dev == y->st_dev && x->st_ino == y->st_ino;
}

bool same_folder(std::string_view a, std::string_view b) {
  const std::string x = BAR_FORA(text::rtrim(a)), y = BAR_FORA(text::rtrim(b));
  return x == y || same_file(fs_path(x), fs_path(y));
}

bool CRI_NDIR(Operator& op, std::string_view folder, std::string_view purpose) {
  const std::string p = BAR_FORA(text::rtrim(folder));
  if (VERDIR(p)) return true;
  const auto cannot = [&] {
    op.message_box({std::string("Problemas ao criar a pasta "_cp) + std::string(folder)});
    return false;
  };
  if (p.empty() || p.front() != '/') return cannot();
  if (!op.ask({std::string("Pasta nova para "_cp) + std::string(purpose) + "?",
               std::string("Cria a nova pasta?"_cp)}))
    return false;
  return os::create_folders(fs_path(p)).ok() || cannot();
}

bool VEJA_ARQ(Operator& op, int count, std::string_view folder, std::string_view prefix,
              std::string_view suffix) {
  const bool one_digit = text::iequals(prefix, "MVN") || text::iequals(prefix, "IRM");
  for (int i = 1; i <= count; ++i) {
    const std::string file = in_folder(folder, std::string(prefix) +
                                                   (one_digit ? std::to_string(i) : two_digits(i)) +
                                                   std::string(suffix) + ".DBF");
    if (!os::file_exists(fs_path(file))) {
      op.message_box({std::string("Não encontrado o Arquivo "_cp) + file});
      return true;
    }
  }
  return false;
}

}  // namespace kx::store
