#include "os/path.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "base/text.h"

namespace kx::os {

namespace {

struct SplitPath {
  std::string root;  // "/" for an absolute path, "" for a relative one
  std::vector<std::string> parts;
};

SplitPath split_path(const std::string& path) {
  SplitPath s;
  if (!path.empty() && path[0] == '/') s.root = "/";
  for (std::string_view part : text::split(path, '/'))
    if (!part.empty()) s.parts.emplace_back(part);
  return s;
}

bool exists_exactly(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0;
}

// Names in `folder` equal to `part` without regard to case, except `part` itself; byte order.
std::vector<std::string> case_variants(const std::string& folder, const std::string& part) {
  std::vector<std::string> names;
  std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.empty() ? "." : folder.c_str()),
                                          ::closedir);
  if (!dir) return names;
  while (const dirent* e = ::readdir(dir.get())) {
    std::string_view name = e->d_name;
    if (name != part && text::iequals(name, part)) names.emplace_back(name);
  }
  std::sort(names.begin(), names.end());
  return names;
}

// Depth-first over the spellings of parts[i..]: `base` exists; the exact spelling first.
std::optional<std::string> search(const std::string& base, const std::vector<std::string>& parts,
                                  std::size_t i) {
  if (i == parts.size()) return base;
  const std::string& part = parts[i];
  std::string exact = join_path(base, part);
  if (exists_exactly(exact))
    if (auto found = search(exact, parts, i + 1)) return found;
  if (part == "." || part == "..") return std::nullopt;
  for (const std::string& name : case_variants(base, part))
    if (auto found = search(join_path(base, name), parts, i + 1)) return found;
  return std::nullopt;
}

bool is_kind(const std::string& path, mode_t kind) {
  auto found = find_nocase(path);
  struct stat st;
  return found && ::stat(found->c_str(), &st) == 0 && (st.st_mode & S_IFMT) == kind;
}

char fold(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// '*' and '?' over bytes, ASCII case folded; backtracks to the last '*' on a mismatch.
bool plain_match(std::string_view pattern, std::string_view name) {
  std::size_t p = 0, n = 0;
  std::size_t star = std::string_view::npos, resume = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      star = p++;
      resume = n;
    } else if (p < pattern.size() && (pattern[p] == '?' || fold(pattern[p]) == fold(name[n]))) {
      ++p;
      ++n;
    } else if (star != std::string_view::npos) {
      p = star + 1;
      n = ++resume;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

}  // namespace

std::optional<std::string> find_nocase(const std::string& path) {
  if (path.empty()) return std::nullopt;
  if (exists_exactly(path)) return path;
  SplitPath s = split_path(path);
  return search(s.root, s.parts, 0);
}

std::string resolve_nocase(const std::string& path) {
  if (auto found = find_nocase(path)) return *found;
  SplitPath s = split_path(path);
  for (std::size_t kept = s.parts.size(); kept-- > 0;) {
    std::string prefix = s.root;
    for (std::size_t i = 0; i < kept; ++i) prefix = join_path(prefix, s.parts[i]);
    std::optional<std::string> base = kept == 0 ? std::optional(prefix) : find_nocase(prefix);
    if (!base) continue;
    std::string result = *base;
    for (std::size_t i = kept; i < s.parts.size(); ++i) result = join_path(result, s.parts[i]);
    return result;
  }
  return path;
}

bool file_exists(const std::string& path) { return is_kind(path, S_IFREG); }
bool folder_exists(const std::string& path) { return is_kind(path, S_IFDIR); }

bool wildcard_match(std::string_view pattern, std::string_view name) {
  if (pattern == "*.*") return true;
  if (pattern.size() >= 2 && pattern.substr(pattern.size() - 2) == ".*" &&
      name.find('.') == std::string_view::npos &&
      plain_match(pattern.substr(0, pattern.size() - 2), name))
    return true;
  return plain_match(pattern, name);
}

bool name_less_nocase(std::string_view a, std::string_view b) {
  auto folded_less = [](char x, char y) { return fold(x) < fold(y); };
  if (std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), folded_less))
    return true;
  if (std::lexicographical_compare(b.begin(), b.end(), a.begin(), a.end(), folded_less))
    return false;
  return a < b;
}

std::string parent_of(const std::string& path) {
  std::string p = path;
  while (p.size() > 1 && p.back() == '/') p.pop_back();
  std::size_t slash = p.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return p.substr(0, slash);
}

std::string name_of(const std::string& path) {
  std::string p = path;
  while (p.size() > 1 && p.back() == '/') p.pop_back();
  std::size_t slash = p.rfind('/');
  return slash == std::string::npos ? p : p.substr(slash + 1);
}

std::string join_path(const std::string& folder, std::string_view name) {
  if (folder.empty()) return std::string(name);
  if (folder.back() == '/') return folder + std::string(name);
  return folder + "/" + std::string(name);
}

}  // namespace kx::os
