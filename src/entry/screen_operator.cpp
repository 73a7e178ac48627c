#include "entry/screen_operator.h"

#include "ui/keys.h"

namespace kx::entry {

void ScreenOperator::show_message(std::string_view text) { messages_.MENS(0, text); }

void ScreenOperator::clear_message() { messages_.MENS(0, ""); }

void ScreenOperator::show_waiting(std::string_view text) {
  clear_waiting();
  ui::MensArgs args;
  args.col = 'C';
  messages_.MENS(3, text, args);
  waiting_ = true;
}

void ScreenOperator::clear_waiting() {
  if (!waiting_) return;
  messages_.windows().FECHAJAN(10);
  waiting_ = false;
}

void ScreenOperator::message_box(const std::vector<std::string>& lines) {
  messages_.AVISOSN(lines, 0);
}

bool ScreenOperator::ask(const std::vector<std::string>& lines) { return messages_.ask(lines); }

bool ScreenOperator::escape_pressed() {
  ui::Screen& screen = messages_.frame().screen();
  bool escape = false;
  while (auto e = screen.next_event(0)) {
    if (e->kind == ui::EventKind::kTick) {
      screen.run_tick_handler();
    } else if (e->kind == ui::EventKind::kKey && e->code == ui::key::kEsc) {
      escape = true;
    }
  }
  return escape;
}

}  // namespace kx::entry
