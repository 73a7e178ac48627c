#include "os/error.h"

#include <cstring>

namespace kx::os {

namespace {

std::string message(const std::string& action, const std::string& path, int code) {
  std::string m = action + " " + path;
  if (code != 0) {
    char buf[256];
    m += ": ";
    m += strerror_r(code, buf, sizeof buf);  // GNU form: returns the message
  }
  return m;
}

}  // namespace

Error::Error(const std::string& action, const std::string& path, int code)
    : std::runtime_error(message(action, path, code)), path_(path), code_(code) {}

}  // namespace kx::os
