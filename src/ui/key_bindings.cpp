#include "ui/key_bindings.h"

namespace kx::ui {

const KeyAction* KeyBindings::find(int key) const {
  auto it = actions_.find(key);
  return it == actions_.end() ? nullptr : &it->second;
}

KeyAction KeyBindings::set(int key, KeyAction action) {
  KeyAction previous;
  if (auto it = actions_.find(key); it != actions_.end()) {
    previous = std::move(it->second);
    actions_.erase(it);
  }
  if (action) actions_[key] = std::move(action);
  return previous;
}

bool KeyBindings::run(int key) {
  auto it = actions_.find(key);
  if (it == actions_.end()) return false;
  KeyAction copy = it->second;  // the action may rebind its own key
  copy();
  return true;
}

void KeyScope::set(int key, KeyAction action) {
  replaced_.emplace_back(key, bindings_.set(key, std::move(action)));
}

void KeyScope::restore() {
  while (!replaced_.empty()) {
    auto& [key, action] = replaced_.back();
    bindings_.set(key, std::move(action));
    replaced_.pop_back();
  }
}

}  // namespace kx::ui
