#include "store/access_lock.h"

#include <stdexcept>
#include <string>

#include "base/cp850.h"

namespace kx::store {
namespace {

constexpr int64_t kRetryMs = 500;
// The texts differ on purpose: each is the one its operation has always shown.
constexpr std::string_view kRecordNotSaved =
    "ATENÇÃO! Registro não ficou disponível. Dado nÃo será gravado."_cp;
constexpr std::string_view kFileNotSaved =
    "ATENÇÃO! Registro não ficou disponÍvel. Dado não será gravado."_cp;
constexpr std::string_view kAppendNotSaved =
    "ATENÇÃO! Registro não ficou disponível. Dado não será gravado."_cp;

// A single attempt (a negative timeout is used up from the start).
const dbf::LockWait kOnce{-1, kRetryMs, {}};

// How a wait with a limit of `seconds` (0: none) ends: Esc gives up, unless the wait may not
// give up, when typed keys are consumed and ignored.
dbf::LockWait waiting(Access& a, int seconds, bool escape_gives_up) {
  return {int64_t{seconds} * 1000, kRetryMs, [&a, escape_gives_up] {
            return a.op.escape_pressed() && escape_gives_up;
          }};
}

bool give_up(Access& a, std::string_view box) {
  a.op.message_box({std::string(box)});
  return false;
}

}  // namespace

bool REC_LOCK(Access& a, int seconds) {
  OpenTable& open = a.workspace.current_table();
  dbf::Table& t = open.table;
  if (t.eof()) throw std::logic_error("REC_LOCK: no current record in " + open.alias);
  const uint32_t recno = t.recno();
  if (t.try_lock_record(recno)) return true;
  a.op.show_message(std::string("Aguardando registro ficar disponivel no arquivo "_cp) +
                    open.alias);
  const bool locked = t.lock_record(recno, waiting(a, seconds, true));
  a.op.clear_message();
  return locked || give_up(a, kRecordNotSaved);
}

bool FIL_LOCK(Access& a, std::optional<int> seconds) {
  dbf::Table& t = a.workspace.current_table().table;
  if (t.try_lock_file()) return true;
  if (!seconds) return give_up(a, kFileNotSaved);
  a.op.show_waiting("Aguardando arquivo ficar disponivel"_cp);
  const bool locked = t.lock_file(waiting(a, *seconds, *seconds != 0));
  a.op.clear_waiting();
  return locked || give_up(a, kFileNotSaved);
}

bool ADD_REC(Access& a, std::optional<int> seconds) {
  dbf::Table& t = a.workspace.current_table().table;
  if (t.append_blank(kOnce) != 0) return true;
  if (!seconds) return give_up(a, kAppendNotSaved);
  a.op.show_message("Aguardando registro ficar disponível"_cp);
  const bool appended = t.append_blank(waiting(a, *seconds, *seconds != 0)) != 0;
  a.op.clear_message();
  return appended || give_up(a, kAppendNotSaved);
}

}  // namespace kx::store
