#include "ui/key_script.h"

#include <charconv>

#include "base/cp850.h"
#include "base/text.h"
#include "ui/keys.h"

namespace kx::ui {
namespace {

bool parse_int(std::string_view s, int64_t& out) {
  s = text::trim(s);
  auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), out);
  return ec == std::errc() && p == s.data() + s.size();
}

// "a<sep>b[<sep>c]" into up to three numbers.
bool parse_numbers(std::string_view s, char sep, std::vector<int64_t>& out) {
  for (auto part : text::split(s, sep)) {
    int64_t v;
    if (!parse_int(part, v)) return false;
    out.push_back(v);
  }
  return !out.empty();
}

ScriptItem parse_tag(std::string_view tag) {
  auto fail = [&]() -> ScriptItem { throw ScriptError("unknown key in script: <" + std::string(tag) + ">"); };
  auto word = [&](std::string_view w) {
    return tag.size() > w.size() && text::iequals(tag.substr(0, w.size() + 1), std::string(w) + " ");
  };
  std::vector<int64_t> n;
  if (text::iequals(tag, "Tick")) return ScriptWait{1000};
  if (word("Wait")) {
    if (!parse_numbers(tag.substr(5), ',', n) || n.size() != 1 || n[0] < 0) return fail();
    return ScriptWait{n[0]};
  }
  if (word("Menu")) {
    if (!parse_numbers(tag.substr(5), ',', n) || n.size() != 1) return fail();
    return Event::menu(static_cast<int>(n[0]));
  }
  if (word("Click")) {
    if (!parse_numbers(tag.substr(6), ',', n) || n.size() < 2 || n.size() > 3) return fail();
    return Event::click(static_cast<int>(n[0]), static_cast<int>(n[1]),
                        n.size() == 3 ? static_cast<int>(n[2]) : 1);
  }
  if (word("Resize")) {
    if (!parse_numbers(tag.substr(7), 'x', n) || n.size() != 2) return fail();
    return Event::resize(static_cast<int>(n[0]), static_cast<int>(n[1]));
  }
  if (auto code = key::from_name(tag)) return Event::key(*code);
  return fail();
}

}  // namespace

std::vector<ScriptItem> parse_key_script(std::string_view script) {
  std::vector<ScriptItem> out;
  std::string plain;
  auto flush_plain = [&] {
    for (unsigned char c : cp850::from_utf8(plain)) out.emplace_back(Event::key(c));
    plain.clear();
  };
  for (std::size_t i = 0; i < script.size(); ++i) {
    if (script[i] != '<') {
      plain += script[i];
      continue;
    }
    if (i + 1 < script.size() && script[i + 1] == '<') {
      plain += '<';
      ++i;
      continue;
    }
    auto close = script.find('>', i + 1);
    if (close == std::string_view::npos) throw ScriptError("script has '<' without '>'");
    flush_plain();
    out.push_back(parse_tag(script.substr(i + 1, close - i - 1)));
    i = close;
  }
  flush_plain();
  return out;
}

}  // namespace kx::ui
