// Command-line arguments of one kxdbf verb: positional words and "--name [VALUE]" options.
#pragma once

#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace kx::tools {

// A command line that does not follow the verb's syntax (exit status 2).
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct OptionSpec {
  std::string_view name;  // with the leading "--"
  bool takes_value = false;
};

class Args {
 public:
  // Splits `words` (the words after the verb). Options may appear anywhere; "--" ends them.
  // Throws UsageError on an unknown option, a missing option value, or a positional count
  // outside [min_positional, max_positional] (max -1: without limit).
  Args(std::span<const std::string> words, std::span<const OptionSpec> options,
       int min_positional, int max_positional);

  const std::vector<std::string>& positional() const { return positional_; }
  const std::string& at(std::size_t i) const { return positional_.at(i); }
  bool has(std::string_view option) const;
  std::optional<std::string> value(std::string_view option) const;

 private:
  std::vector<std::string> positional_;
  std::vector<std::pair<std::string, std::string>> options_;
};

}  // namespace kx::tools
