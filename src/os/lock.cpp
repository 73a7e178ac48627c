#include "os/lock.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <string>

#include "os/error.h"

namespace kx::os {

namespace {

// The path behind a descriptor, for error messages.
std::string fd_name(int fd) {
  std::string link = "/proc/self/fd/" + std::to_string(fd);
  char buf[4096];
  ssize_t n = ::readlink(link.c_str(), buf, sizeof buf);
  return n > 0 ? std::string(buf, static_cast<std::size_t>(n)) : "descriptor " + std::to_string(fd);
}

struct flock range(int64_t start, int64_t length, short type) {
  struct flock fl = {};
  fl.l_type = type;
  fl.l_whence = SEEK_SET;
  fl.l_start = start;
  fl.l_len = length;
  fl.l_pid = 0;  // required by OFD locks
  return fl;
}

short lock_type(LockKind kind) { return kind == LockKind::shared ? F_RDLCK : F_WRLCK; }

}  // namespace

bool try_lock(int fd, int64_t start, int64_t length, LockKind kind) {
  struct flock fl = range(start, length, lock_type(kind));
  for (;;) {
    if (::fcntl(fd, F_OFD_SETLK, &fl) == 0) return true;
    if (errno == EAGAIN || errno == EACCES) return false;
    if (errno != EINTR) throw Error("lock", fd_name(fd), errno);
  }
}

void lock_wait(int fd, int64_t start, int64_t length, LockKind kind) {
  struct flock fl = range(start, length, lock_type(kind));
  while (::fcntl(fd, F_OFD_SETLKW, &fl) != 0)
    if (errno != EINTR) throw Error("lock", fd_name(fd), errno);
}

void unlock(int fd, int64_t start, int64_t length) {
  struct flock fl = range(start, length, F_UNLCK);
  while (::fcntl(fd, F_OFD_SETLK, &fl) != 0)
    if (errno != EINTR) throw Error("unlock", fd_name(fd), errno);
}

bool lock_with_timeout(int fd, int64_t start, int64_t length, LockKind kind, Clock& clock,
                       int64_t timeout_ms, int64_t retry_ms,
                       const std::function<bool()>& cancel) {
  const int64_t started = clock.monotonic_ms();
  const int64_t step = std::max<int64_t>(retry_ms, 1);
  for (;;) {
    if (try_lock(fd, start, length, kind)) return true;
    int64_t wait = step;
    if (timeout_ms != 0) {  // a negative timeout is used up from the start
      int64_t left = timeout_ms - (clock.monotonic_ms() - started);
      if (left <= 0) return false;
      wait = std::min(wait, left);
    }
    clock.sleep_ms(wait);
    if (cancel && cancel()) return false;
  }
}

}  // namespace kx::os
