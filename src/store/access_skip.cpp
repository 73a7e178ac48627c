#include "store/access_skip.h"

namespace kx::store {

int64_t SKIPPED(dbf::Table& t, int64_t wanted, bool append_row) {
  if (t.record_count() == 0) return 0;
  int64_t moved = 0;
  if (wanted == 0) {
    t.skip(0);
  } else if (wanted > 0) {
    while (moved < wanted && !t.eof()) {
      t.skip(1);
      if (t.eof()) {
        if (append_row) {
          ++moved;
        } else {
          t.skip(-1);
        }
        break;
      }
      ++moved;
    }
  } else {
    while (moved > wanted) {
      t.skip(-1);
      if (t.bof()) break;
      --moved;
    }
  }
  return moved;
}

}  // namespace kx::store
