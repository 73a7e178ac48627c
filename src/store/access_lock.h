// Waiting for a record, the whole table or an append on the table of the current slot. Every
// wait retries every half second through the Access clock; a lock not obtained is told in a
// box and gives false, and the caller skips its write.
#pragma once

#include <optional>

#include "store/access.h"

namespace kx::store {

// Locks the current record, waiting up to `seconds` (0: without limit) with the message
// "Aguardando registro ficar disponivel no arquivo " + alias; Esc gives up.
bool REC_LOCK(Access& a, int seconds = 2);

// Locks the whole table, waiting up to `seconds` with the centred message "Aguardando arquivo
// ficar disponivel"; Esc gives up. With 0 it waits until the lock is obtained and Esc is
// ignored (keys typed meanwhile are still consumed). Without a time: one attempt.
bool FIL_LOCK(Access& a, std::optional<int> seconds = std::nullopt);

// Appends a blank record and leaves it locked and current, waiting as FIL_LOCK does with the
// message "Aguardando registro ficar disponível".
bool ADD_REC(Access& a, std::optional<int> seconds = std::nullopt);

}  // namespace kx::store
