// The operator of the table access layer on the screen: progress and waiting messages on the
// message line and in the message window, boxes and questions through the message operations,
// and Esc read from the keys typed meanwhile.
#pragma once

#include "store/operator.h"
#include "ui/messages.h"

namespace kx::entry {

class ScreenOperator : public store::Operator {
 public:
  explicit ScreenOperator(ui::Messages& messages) : messages_(messages) {}

  void show_message(std::string_view text) override;
  void clear_message() override;
  void show_waiting(std::string_view text) override;
  void clear_waiting() override;
  void message_box(const std::vector<std::string>& lines) override;
  bool ask(const std::vector<std::string>& lines) override;
  bool escape_pressed() override;

 private:
  ui::Messages& messages_;
  bool waiting_ = false;
};

}  // namespace kx::entry
