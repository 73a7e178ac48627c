// The read loop of a form: entry fields read in turn, each with an enabling rule (when) and a
// validation rule (valid). Keys bound for the time of the screen run inside the fields.
//
// Enter, Down and Tab go to the next enabled field, Up and Shift-Tab to the previous one (every
// exit but Esc validates first; a field that fails is read again); leaving the last field
// forward, PgDn, PgUp and Ctrl-End end the read; so do the extra exit keys of the form. Esc ends
// it at once, the field being edited keeping its old value.
#pragma once

#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "ui/entry_field.h"
#include "ui/frame.h"

namespace kx::ui {

struct FormField {
  int row = 0, col = 0;
  Value* var = nullptr;
  std::string picture;
  std::function<bool()> when;   // empty: always enabled
  std::function<bool()> valid;  // empty: always valid
};

class Form {
 public:
  // The attributes of fields not being edited and of the one being edited.
  Form(Frame& frame, unsigned char attr, unsigned char active_attr);
  // With the dialogs' colours (csColorGet, csColorGetActive).
  explicit Form(Frame& frame);

  void add(FormField field);
  // Gives every character field without a mask the mask "@!" (a window's lGetUpperCase).
  void upper_case_plain_text();
  std::set<int>& exit_keys() { return exit_keys_; }
  // Shows every field.
  void display();
  // Reads from field `start` (0-based); returns the key that ended the read.
  int read(std::size_t start = 0);
  // The field being read, or the one the read ended in.
  std::size_t current() const { return current_; }
  // The first enabled field whose validation fails; npos when all pass.
  std::size_t first_invalid() const;

 private:
  std::unique_ptr<EntryField> make_field(const FormField& form_field);
  bool enabled(std::size_t i) const;
  // The next enabled field from i in direction step; npos when none.
  std::size_t next(std::size_t i, int step) const;

  Frame& frame_;
  unsigned char attr_, active_attr_;
  std::vector<FormField> specs_;
  std::vector<std::unique_ptr<EntryField>> fields_;
  std::set<int> exit_keys_;
  std::size_t current_ = 0;
};

// Reads a form in the active window. When the window's lGetUpperCase is set, character fields
// without a mask are read with "@!". When the frame's nsValidRead is 1, a read that ends (other
// than by Esc or cancel) passes over every field, and one that fails is read again from there.
// Returns the key that ended the read.
int LREADMODAL(Frame& frame, Form& form);

}  // namespace kx::ui
