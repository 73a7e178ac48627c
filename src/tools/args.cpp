#include "tools/args.h"

#include <algorithm>

namespace kx::tools {

Args::Args(std::span<const std::string> words, std::span<const OptionSpec> options,
           int min_positional, int max_positional) {
  bool options_ended = false;
  for (std::size_t i = 0; i < words.size(); ++i) {
    const std::string& w = words[i];
    if (options_ended || w.size() < 3 || w.compare(0, 2, "--") != 0) {
      positional_.push_back(w);
      continue;
    }
    if (w == "--") {
      options_ended = true;
      continue;
    }
    auto option = std::find_if(options.begin(), options.end(),
                             [&](const OptionSpec& o) { return o.name == w; });
    if (option == options.end()) throw UsageError("unknown option " + w);
    if (has(w)) throw UsageError("option " + w + " given twice");
    std::string value;
    if (option->takes_value) {
      if (i + 1 == words.size()) throw UsageError("option " + w + " needs a value");
      value = words[++i];
    }
    options_.emplace_back(w, std::move(value));
  }
  const auto n = static_cast<int>(positional_.size());
  if (n < min_positional) throw UsageError("missing arguments");
  if (max_positional >= 0 && n > max_positional) throw UsageError("too many arguments");
}

bool Args::has(std::string_view option) const {
  return std::any_of(options_.begin(), options_.end(),
                     [&](const auto& o) { return o.first == option; });
}

std::optional<std::string> Args::value(std::string_view option) const {
  for (const auto& o : options_)
    if (o.first == option) return o.second;
  return std::nullopt;
}

}  // namespace kx::tools
