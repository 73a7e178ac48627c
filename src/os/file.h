// An open file: an owned descriptor with positioned reads and writes that either complete or
// throw kx::os::Error. Paths are used exactly as given; find_nocase (os/path.h) finds them first.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace kx::os {

class File {
 public:
  enum class Mode {
    read,        // existing file, read only
    read_write,  // existing file, read and write
    create_new,  // new file, read and write; fails with EEXIST when the path exists
  };

  File() = default;  // not open
  static File open(const std::string& path, Mode mode);

  File(File&& other) noexcept;
  File& operator=(File&& other) noexcept;
  File(const File&) = delete;
  File& operator=(const File&) = delete;
  ~File();  // closes quietly; call close() where a failure to close must be seen

  bool is_open() const { return fd_ >= 0; }
  int fd() const { return fd_; }
  const std::string& path() const { return path_; }

  // Reads up to `n` bytes at `offset`, retrying short reads and EINTR. Returns the number of
  // bytes read, which is less than `n` only at the end of the file.
  std::size_t pread(void* buf, std::size_t n, int64_t offset) const;
  // Reads exactly `n` bytes; a file that ends sooner is an Error ("short read", code 0).
  void pread_exact(void* buf, std::size_t n, int64_t offset) const;
  // Writes all `n` bytes at `offset`, retrying short writes and EINTR.
  void pwrite(const void* buf, std::size_t n, int64_t offset);

  int64_t size() const;
  void truncate(int64_t size);
  void fsync();
  void close();  // throws when the system reports a failure (e.g. a delayed write error)

 private:
  File(int fd, std::string path) : fd_(fd), path_(std::move(path)) {}
  int fd_ = -1;
  std::string path_;
};

}  // namespace kx::os
