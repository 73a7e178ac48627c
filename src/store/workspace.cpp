#include "store/workspace.h"

#include <exception>
#include <stdexcept>
#include <utility>

namespace kx::store {

void Workspace::check(int slot) {
  if (slot < 1 || slot > kSlots) throw std::out_of_range("no slot " + std::to_string(slot));
}

void Workspace::select(int slot) {
  check(slot);
  current_ = slot;
}

OpenTable* Workspace::held(int slot) {
  check(slot);
  return slots_[slot] ? &*slots_[slot] : nullptr;
}

dbf::Table& Workspace::table(int slot) {
  OpenTable* open = held(slot);
  if (!open) throw std::logic_error("no table open in slot " + std::to_string(slot));
  return open->table;
}

OpenTable& Workspace::current_table() {
  OpenTable* open = held(current_);
  if (!open) throw std::logic_error("no table open in slot " + std::to_string(current_));
  return *open;
}

OpenTable& Workspace::put(int slot, OpenTable open) {
  close(slot);
  slots_[slot].emplace(std::move(open));
  return *slots_[slot];
}

void Workspace::close(int slot) {
  check(slot);
  if (!slots_[slot]) return;
  OpenTable open = std::move(*slots_[slot]);
  slots_[slot].reset();
  open.table.close();
}

void Workspace::close_range(int first, int last, int keep) {
  std::exception_ptr failure;
  for (int slot = first; slot <= last; ++slot) {
    if (slot == keep) continue;
    try {
      close(slot);
    } catch (...) {
      if (!failure) failure = std::current_exception();
    }
  }
  if (failure) std::rethrow_exception(failure);
}

}  // namespace kx::store
