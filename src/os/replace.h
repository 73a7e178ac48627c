// Replacing a file as one step: the new contents are written completely into a temporary file
// beside the target (same folder, unique hidden name), flushed, renamed over the target and the
// folder flushed. Readers see either the old file or the whole new one, also after a crash.
// The caller holds whatever lock protects the target (a table's exclusive lock).
#pragma once

#include <string>
#include <string_view>

#include "os/file.h"

namespace kx::os {

class AtomicReplace {
 public:
  // Creates the temporary beside `target`. The target is found without regard to case
  // (resolve_nocase), so an existing imp0115.dbf is what IMP0115.DBF replaces. The new file keeps
  // the permissions of an existing target. A target that is a symbolic link has the file it
  // points to replaced.
  explicit AtomicReplace(const std::string& target);
  AtomicReplace(const AtomicReplace&) = delete;
  AtomicReplace& operator=(const AtomicReplace&) = delete;
  ~AtomicReplace();  // removes the temporary unless committed

  // Appends bytes after those written so far.
  void write(std::string_view bytes);
  // The temporary file itself, for positioned writes.
  File& file() { return file_; }
  const std::string& target() const { return target_; }
  const std::string& temp_path() const { return file_.path(); }

  // Flushes the temporary, renames it over the target and flushes the folder. After a failure
  // the target is unchanged and the temporary is removed by the destructor.
  void commit();

 private:
  std::string target_;
  File file_;
  int64_t end_ = 0;
  bool committed_ = false;
};

// The whole contents of `target`, replaced in one step.
void replace_file(const std::string& target, std::string_view contents);

// Copies `from` over `to` in one step (through AtomicReplace); the copy keeps the source's
// modification time. Both are found without regard to case.
void copy_file(const std::string& from, const std::string& to);

}  // namespace kx::os
