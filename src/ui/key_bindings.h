// Actions bound to keys for the time of a screen (the xBase SET KEY table). Binding returns what
// it replaced, and a KeyScope puts back everything it replaced when it ends, so that a nested
// screen restores the bindings of the screen that called it.
#pragma once

#include <functional>
#include <map>
#include <vector>

namespace kx::ui {

using KeyAction = std::function<void()>;

class KeyBindings {
 public:
  // nullptr when the key has no action.
  const KeyAction* find(int key) const;
  // Binds (an empty action frees the key) and returns the previous action.
  KeyAction set(int key, KeyAction action);
  // Runs the key's action; false when it has none.
  bool run(int key);

 private:
  std::map<int, KeyAction> actions_;
};

class KeyScope {
 public:
  explicit KeyScope(KeyBindings& bindings) : bindings_(bindings) {}
  ~KeyScope() { restore(); }
  KeyScope(const KeyScope&) = delete;
  KeyScope& operator=(const KeyScope&) = delete;

  void set(int key, KeyAction action);
  // Puts back what this scope replaced, the latest first.
  void restore();

 private:
  KeyBindings& bindings_;
  std::vector<std::pair<int, KeyAction>> replaced_;
};

}  // namespace kx::ui
