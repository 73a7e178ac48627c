#include "ui/form.h"

#include "base/text.h"
#include "ui/keys.h"

namespace kx::ui {

Form::Form(Frame& frame, unsigned char attr, unsigned char active_attr)
    : frame_(frame), attr_(attr), active_attr_(active_attr) {}

Form::Form(Frame& frame)
    : Form(frame, standard_colour(frame.csColorGet), standard_colour(frame.csColorGetActive)) {}

std::size_t Form::first_invalid() const {
  for (std::size_t i = 0; i < specs_.size(); ++i) {
    if (enabled(i) && specs_[i].valid && !specs_[i].valid()) return i;
  }
  return std::string::npos;
}

std::unique_ptr<EntryField> Form::make_field(const FormField& form_field) {
  return std::make_unique<EntryField>(frame_.screen(), form_field.row, form_field.col, *form_field.var, form_field.picture,
                                      attr_, active_attr_);
}

void Form::add(FormField field) {
  fields_.push_back(make_field(field));
  specs_.push_back(std::move(field));
}

void Form::upper_case_plain_text() {
  for (std::size_t i = 0; i < specs_.size(); ++i) {
    FormField& form_field = specs_[i];
    if (!std::holds_alternative<std::string>(*form_field.var) || !text::is_blank(form_field.picture)) continue;
    form_field.picture = "@!";
    fields_[i] = make_field(form_field);
  }
}

void Form::display() {
  for (auto& f : fields_) f->display(false);
}

bool Form::enabled(std::size_t i) const { return !specs_[i].when || specs_[i].when(); }

std::size_t Form::next(std::size_t i, int step) const {
  for (long j = static_cast<long>(i) + step; j >= 0 && j < static_cast<long>(specs_.size()); j += step) {
    if (enabled(static_cast<std::size_t>(j))) return static_cast<std::size_t>(j);
  }
  return std::string::npos;
}

int Form::read(std::size_t start) {
  if (specs_.empty()) return key::kEnter;
  display();
  std::size_t i = start < specs_.size() && enabled(start) ? start : next(start, 1);
  LDialog* window = frame_.LWindowActive();
  if (window) ++window->reading;
  int exit_key = key::kEnter;
  while (i != std::string::npos) {
    current_ = i;
    // A field that fails its validation is read again.
    int k;
    do {
      k = fields_[i]->read(&frame_.keys(), &frame_, &exit_keys_);
    } while (k != key::kEsc && specs_[i].valid && !specs_[i].valid());
    exit_key = k;
    if (k == key::kEsc || k == key::kPgDn || k == key::kPgUp || k == key::kCtrlEnd || exit_keys_.count(k)) break;
    bool back = k == key::kUp || k == key::kShiftTab;
    std::size_t n = next(i, back ? -1 : 1);
    if (back && n == std::string::npos) continue;  // Up on the first field stays there
    i = n;
  }
  if (window) --window->reading;
  display();
  return exit_key;
}

}  // namespace kx::ui

namespace kx::ui {

int LREADMODAL(Frame& frame, Form& form) {
  LDialog* window = frame.LWindowActive();
  if (window && window->lGetUpperCase) form.upper_case_plain_text();
  std::size_t start = 0;
  for (;;) {
    if (window) window->nExit = 0;
    int k = form.read(start);
    bool cancelled = window && window->nExit == 1;
    if (k == key::kEsc || cancelled || frame.nsValidRead != 1) return k;
    start = form.first_invalid();
    if (start == std::string::npos) return k;
  }
}

}  // namespace kx::ui
