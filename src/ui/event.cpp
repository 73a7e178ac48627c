#include "ui/event.h"

#include "ui/keys.h"

namespace kx::ui {

std::string describe(const Event& e) {
  switch (e.kind) {
    case EventKind::kKey:
      return "Key " + key::name(e.code);
    case EventKind::kMenu:
      return "Menu " + std::to_string(e.code);
    case EventKind::kTick:
      return "Tick";
    case EventKind::kMouse:
      return "Click " + std::to_string(e.row) + "," + std::to_string(e.col) +
             (e.button == 1 ? "" : " button " + std::to_string(e.button));
    case EventKind::kResize:
      return "Resize " + std::to_string(e.row) + "x" + std::to_string(e.col);
  }
  return "?";
}

}  // namespace kx::ui
