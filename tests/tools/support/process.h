// Running kxdbf (and python3) as real processes from the tests. Every wait is bounded: a
// process still running after its time is killed and the run reported as timed out.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace kx::tools::testing {

inline constexpr int kTimeoutMs = 60'000;

struct Result {
  int status = -1;  // exit status; -1 when killed by a signal or timed out
  std::string out, err;
};

// Runs `argv` with `input` on standard input and waits for it to end.
Result run(const std::vector<std::string>& argv, const std::string& input = "",
           int timeout_ms = kTimeoutMs);

// "${KX_BINARY_DIR}/src/tools/kxdbf" followed by `args`.
Result kxdbf(const std::vector<std::string>& args, const std::string& input = "");
std::vector<std::string> kxdbf_argv(const std::vector<std::string>& args);

// A process started in the background, killed with SIGKILL when still running at destruction.
class Process {
 public:
  Process(const std::vector<std::string>& argv, const std::string& input);
  ~Process();
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;

  // Reads what the process wrote on standard output so far, waiting at most `timeout_ms` for
  // something new; false once its output has ended.
  bool read_some(int timeout_ms);
  const std::string& out() const { return out_; }
  void kill();
  // Exit status (after reading the rest of its output); -1 when it died by a signal or had to
  // be killed after `timeout_ms`.
  int wait(int timeout_ms = kTimeoutMs);

 private:
  void feed();
  pid_t pid_ = 0;
  int in_ = -1, out_fd_ = -1;
  std::string input_;
  std::size_t fed_ = 0;
  std::string out_;
};

}  // namespace kx::tools::testing
