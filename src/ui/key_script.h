// Key scripts for driving screens headless: "<F1>SIL<Enter><Alt-W>".
//
//   plain text       each character is a key (UTF-8 in the script, CP850 keys)
//   <Name>           a named key: <Enter>, <F2>, <Alt-W>, <Ctrl-C>, <Shift-Tab>, <#-9> (keys.h)
//   <Menu 1003>      a menu command
//   <Click r,c>      a left click on grid cell (r, c); <Click r,c,3> with another button
//   <Resize 30x100>  the terminal changes size
//   <Wait 1500>      that many milliseconds pass with no input (ticks fall due)
//   <Tick>           the same as <Wait 1000>
//   <<               a literal "<"
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string_view>
#include <variant>
#include <vector>

#include "ui/event.h"

namespace kx::ui {

struct ScriptWait {
  int64_t ms = 0;
  friend bool operator==(ScriptWait, ScriptWait) = default;
};
using ScriptItem = std::variant<Event, ScriptWait>;

class ScriptError : public std::invalid_argument {
 public:
  using std::invalid_argument::invalid_argument;
};

// Throws ScriptError on an unknown <name> or a "<" without ">".
std::vector<ScriptItem> parse_key_script(std::string_view script);

}  // namespace kx::ui
