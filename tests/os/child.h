// A forked child process for multi-process tests, with a byte channel each way. Every wait is
// bounded; a child still running when its Child is destroyed is killed.
#pragma once

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <stdexcept>
#include <utility>

namespace kx::os::testing {

inline constexpr int kPatienceMs = 5000;

// One end of the channel, as each process sees it.
class Channel {
 public:
  Channel(int in, int out) : in_(in), out_(out) {}
  void send(char c) const {
    if (::write(out_, &c, 1) != 1) throw std::runtime_error("channel write failed");
  }
  // The next byte, or 0 when none came within `timeout_ms` (or the other side is gone).
  char receive(int timeout_ms = kPatienceMs) const {
    pollfd p{in_, POLLIN, 0};
    char c = 0;
    if (::poll(&p, 1, timeout_ms) == 1 && (p.revents & POLLIN) && ::read(in_, &c, 1) == 1) return c;
    return 0;
  }
 private:
  int in_, out_;
};

class Child {
 public:
  // Runs `body` in a new process; its return value is the exit status.
  explicit Child(const std::function<int(const Channel&)>& body) {
    int down[2], up[2];
    if (::pipe(down) != 0 || ::pipe(up) != 0) throw std::runtime_error("pipe failed");
    pid_ = ::fork();
    if (pid_ < 0) throw std::runtime_error("fork failed");
    if (pid_ == 0) {
      ::close(down[1]);
      ::close(up[0]);
      int status = 100;
      try {
        status = body(Channel(down[0], up[1]));
      } catch (...) {
        status = 101;
      }
      ::_exit(status);
    }
    ::close(down[0]);
    ::close(up[1]);
    from_child_ = up[0];
    to_child_ = down[1];
  }
  ~Child() {
    kill();
    ::close(from_child_);
    ::close(to_child_);
  }
  Child(const Child&) = delete;
  Child& operator=(const Child&) = delete;

  Channel channel() const { return Channel(from_child_, to_child_); }

  // Exit status of the child, or -1 when it did not end within `timeout_ms` (it is then killed)
  // or died by a signal.
  int wait(int timeout_ms = kPatienceMs) {
    // The channel reaches end of file when the child is gone; bytes still unread are dropped.
    pollfd p{from_child_, POLLIN, 0};
    char drain;
    for (;;) {
      if (::poll(&p, 1, timeout_ms) != 1) {
        kill();
        return -1;
      }
      if (::read(from_child_, &drain, 1) <= 0) break;
    }
    int status = 0;
    ::waitpid(std::exchange(pid_, 0), &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  void kill() {
    if (pid_ <= 0) return;  // already reaped; never signal a process group
    ::kill(pid_, SIGKILL);
    ::waitpid(std::exchange(pid_, 0), nullptr, 0);
  }

 private:
  pid_t pid_ = 0;
  int from_child_ = -1, to_child_ = -1;
};

}  // namespace kx::os::testing
