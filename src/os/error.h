// The exception of the operating-system layer: a failed system call on a path.
#pragma once

#include <stdexcept>
#include <string>

namespace kx::os {

class Error : public std::runtime_error {
 public:
  // what() reads "<action> <path>: <system message>", e.g. "open /x/IMP0115.DBF: Permission
  // denied". `code` is the errno value; 0 when the failure has no system cause (the system
  // message is then left out).
  Error(const std::string& action, const std::string& path, int code);

  int code() const noexcept { return code_; }
  const std::string& path() const noexcept { return path_; }

 private:
  std::string path_;
  int code_;
};

}  // namespace kx::os
