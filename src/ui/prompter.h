// What operations below the screens need of the operator: a message box and a yes/no question.
// The screen's message operations implement it (AVISOSN); tests pass a scripted one.
#pragma once

#include <string>
#include <vector>

namespace kx::ui {

class Prompter {
 public:
  virtual ~Prompter() = default;
  // A message box with an OK button (CP850 lines).
  virtual void tell(const std::vector<std::string>& lines) = 0;
  // A yes/no question: true for "S".
  virtual bool ask(const std::vector<std::string>& lines) = 0;
};

}  // namespace kx::ui
