#include "os/replace.h"

#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <stdexcept>
#include <vector>

#include "os/error.h"
#include "os/folder.h"
#include "os/path.h"

namespace kx::os {

namespace {

// The file a target path stands for: the one a symbolic link points to, else the path itself.
std::string real_target(const std::string& target) {
  struct stat st;
  if (::lstat(target.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
    char buf[PATH_MAX];
    if (::realpath(target.c_str(), buf) != nullptr) return buf;
  }
  return target;
}

// A new, hidden file beside `target`: ".<name>.kx~<pid>.<n>". A name left by a crashed process
// with the same process number is skipped.
File create_temporary(const std::string& target) {
  static std::atomic<unsigned> counter{0};
  std::string prefix = join_path(parent_of(target), "." + name_of(target) + ".kx~" +
                                                        std::to_string(::getpid()) + ".");
  for (int attempt = 0;; ++attempt) {
    std::string path = prefix + std::to_string(counter++);
    try {
      return File::open(path, File::Mode::create_new);
    } catch (const Error& e) {
      if (e.code() != EEXIST || attempt >= 1000) throw;
    }
  }
}

}  // namespace

AtomicReplace::AtomicReplace(const std::string& target)
    : target_(real_target(resolve_nocase(target))), file_(create_temporary(target_)) {
  struct stat st;
  if (::stat(target_.c_str(), &st) == 0 && ::fchmod(file_.fd(), st.st_mode & 07777) != 0) {
    int code = errno;
    ::unlink(file_.path().c_str());
    throw Error("chmod", file_.path(), code);
  }
}

AtomicReplace::~AtomicReplace() {
  if (!committed_) ::unlink(file_.path().c_str());
}

void AtomicReplace::write(std::string_view bytes) {
  file_.pwrite(bytes.data(), bytes.size(), end_);
  end_ += static_cast<int64_t>(bytes.size());
}

void AtomicReplace::commit() {
  if (committed_) throw std::logic_error("AtomicReplace committed twice: " + target_);
  file_.fsync();
  file_.close();
  if (::rename(file_.path().c_str(), target_.c_str()) != 0)
    throw Error("rename " + file_.path() + " to", target_, errno);
  committed_ = true;
  fsync_folder(parent_of(target_));
}

void replace_file(const std::string& target, std::string_view contents) {
  AtomicReplace replace(target);
  replace.write(contents);
  replace.commit();
}

void copy_file(const std::string& from, const std::string& to) {
  File source = File::open(resolve_nocase(from), File::Mode::read);
  AtomicReplace replace(to);
  std::vector<char> buf(1 << 16);
  for (int64_t offset = 0;;) {
    std::size_t n = source.pread(buf.data(), buf.size(), offset);
    replace.write(std::string_view(buf.data(), n));
    offset += static_cast<int64_t>(n);
    if (n < buf.size()) break;
  }
  struct stat st;
  if (::fstat(source.fd(), &st) != 0) throw Error("stat", source.path(), errno);
  const struct timespec times[2] = {st.st_atim, st.st_mtim};
  if (::futimens(replace.file().fd(), times) != 0)
    throw Error("set times of", replace.temp_path(), errno);
  replace.commit();
}

}  // namespace kx::os
