// An Operator for tests: records what it was shown, answers questions from a script and
// reports Esc as told.
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "store/operator.h"

namespace kx::store::testing {

class ScriptedOperator : public Operator {
 public:
  // Everything shown, in order: "message: ...", "clear", "waiting: ...", "clear waiting",
  // "box: ..." (lines joined by " | "), "ask: ...".
  std::vector<std::string> events;
  std::deque<bool> answers;          // for ask(); a question without an answer fails the test
  std::function<bool()> escape;      // empty: Esc never pressed
  int escape_polls = 0;

  void show_message(std::string_view text) override { events.push_back("message: " + std::string(text)); }
  void clear_message() override { events.push_back("clear"); }
  void show_waiting(std::string_view text) override { events.push_back("waiting: " + std::string(text)); }
  void clear_waiting() override { events.push_back("clear waiting"); }
  void message_box(const std::vector<std::string>& lines) override {
    events.push_back("box: " + joined(lines));
  }
  bool ask(const std::vector<std::string>& lines) override {
    events.push_back("ask: " + joined(lines));
    if (answers.empty()) {
      ADD_FAILURE() << "unexpected question: " << joined(lines);
      return false;
    }
    const bool answer = answers.front();
    answers.pop_front();
    return answer;
  }
  bool escape_pressed() override {
    ++escape_polls;
    return escape && escape();
  }

  // The texts of the message boxes shown, in order.
  std::vector<std::string> boxes() const { return with_prefix("box: "); }
  std::vector<std::string> messages() const { return with_prefix("message: "); }

 private:
  static std::string joined(const std::vector<std::string>& lines) {
    std::string out;
    for (const std::string& l : lines) out += (out.empty() ? "" : " | ") + l;
    return out;
  }
  std::vector<std::string> with_prefix(std::string_view prefix) const {
    std::vector<std::string> out;
    for (const std::string& e : events)
      if (e.compare(0, prefix.size(), prefix) == 0) out.push_back(e.substr(prefix.size()));
    return out;
  }
};

}  // namespace kx::store::testing
