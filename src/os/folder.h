// Folders: creating, listing, free space; and the few whole-file operations (remove, rename)
// that must be made durable in their folder.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kx::os {

struct CreateFoldersResult {
  bool ok() const { return code == 0; }
  std::string failed_level;  // the first level that could not be made; empty on success
  int code = 0;              // errno of that failure; 0 on success
};

// Makes sure `path` is a folder, creating every missing level in turn ("/a/b/c" with only "/a"
// makes "/a/b" then "/a/b/c"). Existing levels are found without regard to case. Also ok when
// the folder already exists. A level that exists as something other than a folder fails with
// ENOTDIR.
CreateFoldersResult create_folders(const std::string& path);

// Bytes available to this program on the file system holding `folder` (statvfs).
int64_t free_space(const std::string& folder);

struct FolderEntry {
  std::string name;  // as stored
  bool folder = false;
  int64_t size = 0;  // bytes; 0 for folders
};

// The entries of `folder` (found without regard to case) whose names match `pattern`
// (wildcard_match), sorted by name without regard to case, then by bytes. "." and ".." are
// never listed. Throws Error when the folder cannot be read.
std::vector<FolderEntry> list_folder(const std::string& folder, std::string_view pattern = "*");

// Flushes the folder's entries (after creating, renaming or removing a file in it).
void fsync_folder(const std::string& folder);

// The paths of remove_file and rename_file are used exactly as given.
// Removes a file; false when it did not exist. The folder is flushed.
bool remove_file(const std::string& path);

// Renames `from` to `to`, replacing `to` when it exists; both folders are flushed.
void rename_file(const std::string& from, const std::string& to);

}  // namespace kx::os
