#include "os/folder.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <memory>

#include "base/text.h"
#include "os/error.h"
#include "os/path.h"

namespace kx::os {

namespace {

bool is_folder(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace

CreateFoldersResult create_folders(const std::string& path) {
  if (path.empty()) return {path, ENOENT};
  std::string current = !path.empty() && path[0] == '/' ? "/" : "";
  for (std::string_view piece : text::split(path, '/')) {
    if (piece.empty()) continue;
    std::string next = join_path(current, piece);
    if (auto found = find_nocase(next)) {
      if (!is_folder(*found)) return {*found, ENOTDIR};
      current = *found;
      continue;
    }
    if (::mkdir(next.c_str(), 0777) != 0) {
      int code = errno;
      // Another process may have made the same level in the meantime.
      if (code != EEXIST || !is_folder(next)) return {next, code};
    } else {
      try {
        fsync_folder(parent_of(next));
      } catch (const Error&) {
        // The folder exists; a parent that cannot be flushed does not undo that.
      }
    }
    current = next;
  }
  return {};
}

int64_t free_space(const std::string& folder) {
  std::string real = find_nocase(folder).value_or(folder);
  struct statvfs st;
  if (::statvfs(real.c_str(), &st) != 0) throw Error("statvfs", real, errno);
  return static_cast<int64_t>(st.f_bavail) * static_cast<int64_t>(st.f_frsize);
}

std::vector<FolderEntry> list_folder(const std::string& folder, std::string_view pattern) {
  std::string real = find_nocase(folder).value_or(folder);
  std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(real.c_str()), ::closedir);
  if (!dir) throw Error("list", real, errno);
  std::vector<FolderEntry> entries;
  errno = 0;
  while (const dirent* e = ::readdir(dir.get())) {
    std::string_view name = e->d_name;
    if (name == "." || name == ".." || !wildcard_match(pattern, name)) continue;
    FolderEntry entry{std::string(name)};
    struct stat st;
    // An entry that cannot be examined (a dangling link) is listed as an empty file.
    if (::fstatat(::dirfd(dir.get()), e->d_name, &st, 0) == 0) {
      entry.folder = S_ISDIR(st.st_mode);
      entry.size = entry.folder ? 0 : st.st_size;
    }
    entries.push_back(std::move(entry));
    errno = 0;
  }
  if (errno != 0) throw Error("list", real, errno);
  std::sort(entries.begin(), entries.end(), [](const FolderEntry& a, const FolderEntry& b) {
    return name_less_nocase(a.name, b.name);
  });
  return entries;
}

void fsync_folder(const std::string& folder) {
  int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) throw Error("open folder", folder, errno);
  int r = ::fsync(fd);
  int code = errno;
  ::close(fd);
  // File systems that cannot flush a folder say EINVAL; their entries are as safe as they get.
  if (r != 0 && code != EINVAL) throw Error("fsync", folder, code);
}

bool remove_file(const std::string& path) {
  if (::unlink(path.c_str()) != 0) {
    if (errno == ENOENT) return false;
    throw Error("remove", path, errno);
  }
  fsync_folder(parent_of(path));
  return true;
}

void rename_file(const std::string& from, const std::string& to) {
  if (::rename(from.c_str(), to.c_str()) != 0) throw Error("rename " + from + " to", to, errno);
  std::string from_folder = parent_of(from), to_folder = parent_of(to);
  fsync_folder(to_folder);
  if (from_folder != to_folder) fsync_folder(from_folder);
}

}  // namespace kx::os
