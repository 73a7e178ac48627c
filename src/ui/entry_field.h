// An entry field: a value edited on one row of the grid through its picture mask.
//
// Typed characters are checked against the template and fill its placeholders only; cursor keys,
// Home/End, Backspace, Del and Ins (insert or overwrite) edit; "K" (and every number field)
// clears on the first ordinary key; "S n" shows n columns that scroll with the cursor; in a
// number field "." or "," moves to the decimals, and the number read back is the digits shown,
// blanks between them ignored. The edit ends on an exit key, or when typing
// runs past the last position (as Enter).
#pragma once

#include <functional>
#include <set>
#include <string>

#include "ui/frame.h"
#include "ui/picture.h"
#include "ui/screen.h"
#include "ui/value.h"

namespace kx::ui {

class EntryField : public ClipboardField {
 public:
  // `colours`: the unselected attribute and the one while being edited.
  EntryField(Screen& screen, int row, int col, Value& var, std::string_view picture,
             unsigned char attr, unsigned char active_attr);

  int row() const { return row_; }
  int col() const { return col_; }
  // Columns on the screen.
  int shown_width() const;
  const Picture& picture() const { return picture_; }
  Value& var() { return var_; }

  void display(bool active);
  // Edits until an exit key, which it returns (Enter, Esc, Up, Down, PgUp, PgDn, Tab, Shift-Tab,
  // Ctrl-End, Ctrl-Enter, Ctrl-PgUp, Ctrl-PgDn, and the keys of `extra_exit`). Keys with an
  // action in `keys` run it instead. The variable gets the edited value unless the edit ended
  // with Esc.
  int read(KeyBindings* keys = nullptr, Frame* frame = nullptr, const std::set<int>* extra_exit = nullptr);
  bool changed() const { return changed_; }

  // ClipboardField
  Value value() const override;
  void assign(const Value& v) override;
  int width() const override { return static_cast<int>(buffer_.size()); }

  static bool is_exit_key(int code);

 private:
  enum class Kind { kText, kNumber, kDate, kLogical };
  void load(const Value& v);
  Value parse() const;
  bool editable(int pos) const;
  int next_editable(int pos, int step) const;
  int first_editable() const { return next_editable(-1, 1); }
  void clear_buffer();
  void type(unsigned char c);
  void to_decimals();
  void delete_at(int pos);

  Screen& screen_;
  int row_, col_;
  Value& var_;
  Picture picture_;
  Kind kind_;
  std::string tmpl_;    // one template character per buffer position
  std::string buffer_;  // the text being edited (separators unswapped)
  int text_width_ = 0;  // width of the text variable
  unsigned char attr_, active_attr_;
  int pos_ = 0, offset_ = 0;
  bool insert_ = false, first_key_ = true, changed_ = false;
};

}  // namespace kx::ui
