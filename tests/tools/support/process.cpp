#include "process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <stdexcept>
#include <utility>

extern char** environ;

namespace kx::tools::testing {

namespace {

int64_t now_ms() {
  timespec ts{};
  ::clock_gettime(CLOCK_MONOTONIC, &ts);
  return ts.tv_sec * 1000 + ts.tv_nsec / 1'000'000;
}

pid_t spawn(const std::vector<std::string>& argv, int* in, int* out, int* err) {
  // Without `err` the child writes to the test's own standard error.
  int pin[2], pout[2], perr[2] = {-1, -1};
  if (::pipe2(pin, O_CLOEXEC) || ::pipe2(pout, O_CLOEXEC) || (err && ::pipe2(perr, O_CLOEXEC)))
    throw std::runtime_error("pipe failed");
  posix_spawn_file_actions_t fa;
  posix_spawn_file_actions_init(&fa);
  posix_spawn_file_actions_adddup2(&fa, pin[0], 0);
  posix_spawn_file_actions_adddup2(&fa, pout[1], 1);
  if (err) posix_spawn_file_actions_adddup2(&fa, perr[1], 2);
  std::vector<char*> args;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  pid_t pid = 0;
  const int rc = ::posix_spawnp(&pid, args[0], &fa, nullptr, args.data(), environ);
  posix_spawn_file_actions_destroy(&fa);
  for (int fd : {pin[0], pout[1], perr[1]})
    if (fd >= 0) ::close(fd);
  if (rc != 0) {
    for (int fd : {pin[1], pout[0], perr[0]})
      if (fd >= 0) ::close(fd);
    throw std::runtime_error("cannot start " + argv[0]);
  }
  *in = pin[1];
  *out = pout[0];
  if (err) *err = perr[0];
  ::fcntl(*in, F_SETFL, O_NONBLOCK);
  return pid;
}

int reap(pid_t pid, bool killed) {
  int status = 0;
  ::waitpid(pid, &status, 0);
  return !killed && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

Result run(const std::vector<std::string>& argv, const std::string& input, int timeout_ms) {
  ::signal(SIGPIPE, SIG_IGN);
  int in = -1, out = -1, err = -1;
  const pid_t pid = spawn(argv, &in, &out, &err);
  Result r;
  std::size_t fed = 0;
  if (input.empty()) ::close(std::exchange(in, -1));
  const int64_t deadline = now_ms() + timeout_ms;
  bool killed = false;
  while (out >= 0 || err >= 0) {
    pollfd p[3] = {{out, POLLIN, 0}, {err, POLLIN, 0}, {in, POLLOUT, 0}};
    const int64_t left = deadline - now_ms();
    if (left <= 0 || ::poll(p, 3, static_cast<int>(left)) == 0) {
      ::kill(pid, SIGKILL);
      killed = true;
      break;
    }
    char buf[65536];
    for (int i = 0; i < 2; ++i) {
      int& fd = i == 0 ? out : err;
      if (fd >= 0 && (p[i].revents & (POLLIN | POLLHUP))) {
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n <= 0) ::close(std::exchange(fd, -1));
        else (i == 0 ? r.out : r.err).append(buf, static_cast<std::size_t>(n));
      }
    }
    if (in >= 0 && (p[2].revents & (POLLOUT | POLLERR | POLLHUP))) {
      const ssize_t n = ::write(in, input.data() + fed, input.size() - fed);
      if (n > 0) fed += static_cast<std::size_t>(n);
      if (n < 0 || fed == input.size()) ::close(std::exchange(in, -1));
    }
  }
  for (int fd : {in, out, err})
    if (fd >= 0) ::close(fd);
  r.status = reap(pid, killed);
  return r;
}

std::vector<std::string> kxdbf_argv(const std::vector<std::string>& args) {
  std::vector<std::string> argv{KX_BINARY_DIR "/src/tools/kxdbf"};
  argv.insert(argv.end(), args.begin(), args.end());
  return argv;
}

Result kxdbf(const std::vector<std::string>& args, const std::string& input) {
  return run(kxdbf_argv(args), input);
}

Process::Process(const std::vector<std::string>& argv, const std::string& input)
    : input_(input) {
  ::signal(SIGPIPE, SIG_IGN);
  pid_ = spawn(argv, &in_, &out_fd_, nullptr);
  feed();
}

Process::~Process() {
  kill();
  for (int fd : {in_, out_fd_})
    if (fd >= 0) ::close(fd);
}

void Process::feed() {
  while (in_ >= 0 && fed_ < input_.size()) {
    const ssize_t n = ::write(in_, input_.data() + fed_, input_.size() - fed_);
    if (n <= 0) break;
    fed_ += static_cast<std::size_t>(n);
  }
  if (in_ >= 0 && fed_ == input_.size()) ::close(std::exchange(in_, -1));
}

bool Process::read_some(int timeout_ms) {
  feed();
  if (out_fd_ < 0) return false;
  pollfd p{out_fd_, POLLIN, 0};
  if (::poll(&p, 1, timeout_ms) <= 0) return true;
  char buf[4096];
  const ssize_t n = ::read(out_fd_, buf, sizeof buf);
  if (n <= 0) {
    ::close(std::exchange(out_fd_, -1));
    return false;
  }
  out_.append(buf, static_cast<std::size_t>(n));
  return true;
}

void Process::kill() {
  if (pid_ <= 0) return;
  ::kill(pid_, SIGKILL);
  reap(std::exchange(pid_, 0), true);
}

int Process::wait(int timeout_ms) {
  const int64_t deadline = now_ms() + timeout_ms;
  while (read_some(50)) {
    if (now_ms() > deadline) {
      kill();
      return -1;
    }
  }
  if (pid_ <= 0) return -1;
  return reap(std::exchange(pid_, 0), false);
}

}  // namespace kx::tools::testing
