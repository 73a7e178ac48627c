#include "ui/entry_field.h"

#include <algorithm>

#include "base/cp850.h"
#include "base/text.h"
#include "ui/keys.h"

namespace kx::ui {

EntryField::EntryField(Screen& screen, int row, int col, Value& var, std::string_view picture,
                       unsigned char attr, unsigned char active_attr)
    : screen_(screen), row_(row), col_(col), var_(var), picture_(Picture::parse(picture)),
      attr_(attr), active_attr_(active_attr) {
  if (std::holds_alternative<Decimal>(var)) kind_ = Kind::kNumber;
  else if (std::holds_alternative<Date>(var)) kind_ = Kind::kDate;
  else if (std::holds_alternative<bool>(var)) kind_ = Kind::kLogical;
  else kind_ = Kind::kText;
  load(var_);
  first_key_ = picture_.clear_first || kind_ == Kind::kNumber;
}

bool EntryField::is_exit_key(int k) {
  switch (k) {
    case key::kEnter: case key::kEsc: case key::kUp: case key::kDown: case key::kPgUp:
    case key::kPgDn: case key::kTab: case key::kShiftTab: case key::kCtrlEnd:
    case key::kCtrlEnter: case key::kCtrlPgUp: case key::kCtrlPgDn:
      return true;
    default:
      return false;
  }
}

void EntryField::load(const Value& v) {
  switch (kind_) {
    case Kind::kText: {
      const std::string& s = std::get<std::string>(v);
      text_width_ = static_cast<int>(s.size());
      if (picture_.tmpl.empty()) {
        tmpl_ = std::string(s.size(), picture_.upper ? '!' : 'X');
        buffer_ = picture_.upper ? cp850::upper(s) : s;
      } else {
        tmpl_ = picture_.tmpl;
        buffer_ = format(picture_, s);
      }
      break;
    }
    case Kind::kNumber: {
      const Decimal& d = std::get<Decimal>(v);
      tmpl_ = picture_.tmpl;
      if (tmpl_.empty()) {
        tmpl_ = std::string(10, '9');
        if (d.scale() > 0) tmpl_ += "." + std::string(static_cast<std::size_t>(d.scale()), '9');
      }
      Picture plain = picture_;
      plain.brazilian = false;
      plain.blank_zero = false;
      plain.tmpl = tmpl_;
      buffer_ = format(plain, d);
      break;
    }
    case Kind::kDate:
      tmpl_ = "99/99/9999";
      buffer_ = std::get<Date>(v).dmy();
      break;
    case Kind::kLogical:
      tmpl_ = "L";
      buffer_ = std::get<bool>(v) ? "S" : "N";
      break;
  }
}

bool EntryField::editable(int pos) const {
  if (pos < 0 || pos >= static_cast<int>(tmpl_.size())) return false;
  char t = tmpl_[static_cast<std::size_t>(pos)];
  return Picture::is_placeholder(t) || t == 'L';
}

int EntryField::next_editable(int pos, int step) const {
  for (int p = pos + step; p >= 0 && p < static_cast<int>(tmpl_.size()); p += step) {
    if (editable(p)) return p;
  }
  return -1;
}

int EntryField::shown_width() const {
  int w = static_cast<int>(buffer_.size());
  return picture_.scroll_width > 0 ? std::min(picture_.scroll_width, w) : w;
}

void EntryField::display(bool active) {
  std::string shown = buffer_;
  if (kind_ == Kind::kNumber && picture_.brazilian) {
    for (char& c : shown) c = c == ',' ? '.' : c == '.' ? ',' : c;
  }
  int w = shown_width();
  if (pos_ < offset_) offset_ = pos_;
  if (pos_ >= offset_ + w) offset_ = pos_ - w + 1;
  screen_.write(row_, col_, shown.substr(static_cast<std::size_t>(offset_), static_cast<std::size_t>(w)),
                active ? active_attr_ : attr_);
  if (active) screen_.set_cursor(row_, col_ + pos_ - offset_);
}

void EntryField::clear_buffer() {
  for (std::size_t i = 0; i < buffer_.size(); ++i) {
    if (editable(static_cast<int>(i))) buffer_[i] = ' ';
  }
  if (kind_ == Kind::kNumber) {
    // Separators come back with the digits.
    for (std::size_t i = 0; i < buffer_.size(); ++i) {
      if (tmpl_[i] == ',') buffer_[i] = ' ';
    }
  }
}

void EntryField::delete_at(int pos) {
  if (!editable(pos)) return;
  // Shift the following characters of the same run of placeholders left.
  int p = pos;
  for (int n = next_editable(p, 1); n >= 0 && n == p + 1; n = next_editable(p, 1)) {
    buffer_[static_cast<std::size_t>(p)] = buffer_[static_cast<std::size_t>(n)];
    p = n;
  }
  buffer_[static_cast<std::size_t>(p)] = ' ';
  changed_ = true;
}

void EntryField::to_decimals() {
  auto point = tmpl_.find('.');
  if (point == std::string::npos) return;
  std::string digits;
  for (std::size_t i = 0; i < point; ++i) {
    char c = buffer_[i];
    if ((c >= '0' && c <= '9') || c == '-') digits += c;
  }
  for (std::size_t i = point; i-- > 0;) {
    if (!editable(static_cast<int>(i)) && tmpl_[i] != ',') continue;
    if (tmpl_[i] == ',') {
      buffer_[i] = ' ';
      continue;
    }
    buffer_[i] = digits.empty() ? ' ' : digits.back();
    if (!digits.empty()) digits.pop_back();
  }
  pos_ = next_editable(static_cast<int>(point), 1);
  if (pos_ < 0) pos_ = static_cast<int>(point);
  changed_ = true;
}

void EntryField::type(unsigned char c) {
  char t = tmpl_[static_cast<std::size_t>(pos_)];
  if (kind_ == Kind::kLogical) {
    unsigned char u = cp850::upper(c);
    if (u != 'S' && u != 'N' && u != 'T' && u != 'F' && u != 'Y') return;
    buffer_[0] = static_cast<char>(u == 'S' || u == 'T' || u == 'Y' ? 'S' : 'N');
    changed_ = true;
    return;
  }
  if (!Picture::admits(t, c, kind_ == Kind::kNumber)) return;
  if (t == '!' || picture_.upper) c = cp850::upper(c);
  if (insert_ && kind_ == Kind::kText) {
    // Shift the run from the cursor right; the last character falls off.
    int last = pos_;
    for (int n = next_editable(last, 1); n >= 0 && n == last + 1; n = next_editable(last, 1)) last = n;
    for (int p = last; p > pos_; --p) buffer_[static_cast<std::size_t>(p)] = buffer_[static_cast<std::size_t>(p - 1)];
  }
  buffer_[static_cast<std::size_t>(pos_)] = static_cast<char>(c);
  changed_ = true;
}

Value EntryField::parse() const {
  switch (kind_) {
    case Kind::kText: {
      std::string out;
      for (std::size_t i = 0; i < buffer_.size(); ++i) {
        if (!picture_.insert_literals || editable(static_cast<int>(i))) out += buffer_[i];
      }
      if (picture_.upper) out = cp850::upper(out);
      return text::pad_right(out, static_cast<std::size_t>(std::max(text_width_, 0)));
    }
    case Kind::kNumber: {
      std::string s;
      bool negative = false;
      auto point = tmpl_.find('.');
      for (std::size_t i = 0; i < buffer_.size(); ++i) {
        char c = buffer_[i];
        if (i == point) s += '.';
        else if (c >= '0' && c <= '9') s += c;
        else if (c == '-') negative = true;
      }
      if (!s.empty() && s.back() == '.') s.pop_back();
      if (s.empty() || s.front() == '.') s.insert(0, "0");
      Decimal d = Decimal::parse(s).value_or(Decimal{});
      return negative ? -d : d;
    }
    case Kind::kDate: {
      auto d = Date::parse_dmy(buffer_);
      return d ? *d : Date{};
    }
    case Kind::kLogical:
      return buffer_ == "S";
  }
  return std::string();
}

Value EntryField::value() const { return parse(); }

void EntryField::assign(const Value& v) {
  if (v.index() != var_.index()) return;
  load(v);
  changed_ = true;
  first_key_ = false;
  display(true);
}

int EntryField::read(KeyBindings* keys, Frame* frame, const std::set<int>* extra_exit) {
  pos_ = std::max(first_editable(), 0);
  offset_ = 0;
  if (frame) frame->set_editing(this);
  screen_.show_cursor(true);
  int exit_key = 0;
  while (exit_key == 0) {
    display(true);
    Event e = screen_.wait_input();
    int k = e.code;
    if (keys && keys->find(k)) {
      keys->run(k);
      continue;
    }
    if (is_exit_key(k) || (extra_exit && extra_exit->count(k))) {
      exit_key = k;
      break;
    }
    switch (k) {
      case key::kLeft: {
        int p = next_editable(pos_, -1);
        if (p >= 0) pos_ = p;
        first_key_ = false;
        break;
      }
      case key::kRight: {
        int p = next_editable(pos_, 1);
        if (p >= 0) pos_ = p;
        first_key_ = false;
        break;
      }
      case key::kHome:
        pos_ = std::max(first_editable(), 0);
        first_key_ = false;
        break;
      case key::kEnd: {
        int last = static_cast<int>(buffer_.size()) - 1;
        while (last > 0 && (!editable(last) || buffer_[static_cast<std::size_t>(last)] == ' ')) --last;
        int p = next_editable(last, 1);
        pos_ = p >= 0 ? p : std::max(last, 0);
        first_key_ = false;
        break;
      }
      case key::kIns:
        insert_ = !insert_;
        break;
      case key::kDel:
        delete_at(pos_);
        first_key_ = false;
        break;
      case key::kBackspace: {
        int p = next_editable(pos_, -1);
        if (p >= 0) {
          pos_ = p;
          delete_at(pos_);
        }
        first_key_ = false;
        break;
      }
      default: {
        unsigned char c = key::character(k);
        if (!c) break;
        if (first_key_) {
          clear_buffer();
          first_key_ = false;
        }
        if (kind_ == Kind::kNumber && (c == '.' || c == ',')) {
          to_decimals();
          break;
        }
        if (kind_ != Kind::kLogical &&
            !Picture::admits(tmpl_[static_cast<std::size_t>(pos_)], c, kind_ == Kind::kNumber)) {
          break;  // refused by the template
        }
        type(c);
        int p = next_editable(pos_, 1);
        if (p < 0) exit_key = key::kEnter;  // typed past the end
        else pos_ = p;
      }
    }
  }
  if (exit_key != key::kEsc) {
    var_ = parse();
    load(var_);
  }
  pos_ = 0;
  offset_ = 0;
  display(false);
  if (frame) frame->set_editing(nullptr);
  return exit_key;
}

}  // namespace kx::ui
