#include "os/file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

#include "os/error.h"

namespace kx::os {

File File::open(const std::string& path, Mode mode) {
  int flags = O_CLOEXEC;
  switch (mode) {
    case Mode::read: flags |= O_RDONLY; break;
    case Mode::read_write: flags |= O_RDWR; break;
    case Mode::create_new: flags |= O_RDWR | O_CREAT | O_EXCL; break;
  }
  int fd;
  do {
    fd = ::open(path.c_str(), flags, 0666);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) throw Error(mode == Mode::create_new ? "create" : "open", path, errno);
  return File(fd, path);
}

File::File(File&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), path_(std::move(other.path_)) {}

File& File::operator=(File&& other) noexcept {
  if (this != &other) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = std::exchange(other.fd_, -1);
    path_ = std::move(other.path_);
  }
  return *this;
}

File::~File() {
  if (fd_ >= 0) ::close(fd_);
}

std::size_t File::pread(void* buf, std::size_t n, int64_t offset) const {
  auto* p = static_cast<char*>(buf);
  std::size_t done = 0;
  while (done < n) {
    ssize_t r = ::pread(fd_, p + done, n - done, offset + static_cast<int64_t>(done));
    if (r < 0) {
      if (errno == EINTR) continue;
      throw Error("read", path_, errno);
    }
    if (r == 0) break;
    done += static_cast<std::size_t>(r);
  }
  return done;
}

void File::pread_exact(void* buf, std::size_t n, int64_t offset) const {
  if (pread(buf, n, offset) != n) throw Error("short read in", path_, 0);
}

void File::pwrite(const void* buf, std::size_t n, int64_t offset) {
  const auto* p = static_cast<const char*>(buf);
  std::size_t done = 0;
  while (done < n) {
    ssize_t r = ::pwrite(fd_, p + done, n - done, offset + static_cast<int64_t>(done));
    if (r < 0) {
      if (errno == EINTR) continue;
      throw Error("write", path_, errno);
    }
    if (r == 0) throw Error("write", path_, EIO);
    done += static_cast<std::size_t>(r);
  }
}

int64_t File::size() const {
  struct stat st;
  if (::fstat(fd_, &st) != 0) throw Error("stat", path_, errno);
  return st.st_size;
}

void File::truncate(int64_t size) {
  int r;
  do {
    r = ::ftruncate(fd_, size);
  } while (r != 0 && errno == EINTR);
  if (r != 0) throw Error("truncate", path_, errno);
}

void File::fsync() {
  if (::fsync(fd_) != 0) throw Error("fsync", path_, errno);
}

void File::close() {
  if (fd_ < 0) return;
  int fd = std::exchange(fd_, -1);
  // The descriptor is released even when close reports an error; retrying could close another.
  if (::close(fd) != 0 && errno != EINTR) throw Error("close", path_, errno);
}

}  // namespace kx::os
