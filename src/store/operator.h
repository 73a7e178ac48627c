// What the table access layer needs of the operator. The shell implements it over the screen;
// tests use a scripted one. Every text is CP850.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kx::store {

class Operator {
 public:
  virtual ~Operator() = default;
  // The message line: a text shown until cleared or replaced (progress and waiting messages).
  virtual void show_message(std::string_view text) = 0;
  virtual void clear_message() = 0;
  // A waiting message centred on the screen, until cleared.
  virtual void show_waiting(std::string_view text) = 0;
  virtual void clear_waiting() = 0;
  // A message box the operator confirms ("ATENÇÃO! ..." and the other failures).
  virtual void message_box(const std::vector<std::string>& lines) = 0;
  // A yes/no question; true for "S".
  virtual bool ask(const std::vector<std::string>& lines) = 0;
  // Whether Esc was typed since the last call; every key typed meanwhile is consumed. Never
  // waits.
  virtual bool escape_pressed() = 0;
};

}  // namespace kx::store
