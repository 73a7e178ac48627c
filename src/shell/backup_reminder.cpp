#include "shell/backup_reminder.h"

#include "base/cp850.h"
#include "base/text.h"
#include "shell/configuration.h"

namespace kx::shell {

std::optional<std::vector<std::string>> backup_reminder(Date today, Date last) {
  if (today.year() != 2015 || today.month() >= 5) return std::nullopt;
  if (last.empty()) return std::nullopt;  // no backup date kept: nothing to count from
  const int64_t days = today - last;
  if (days <= 3) return std::nullopt;
  const std::string count = text::pad_left(std::to_string(days), 3);
  return std::vector<std::string>{
      std::string(" Atenção "_cp) + count + " dia" + (days > 1 ? "s" : " ") +
          " sem fazer o backup compactado.",
      " Sim - Obrigado pelo aviso. Vou fazer agora ",
      std::string(" Não - Novo aviso só daqui 7 dias      "_cp),
  };
}

void remind_backup(entry::Session& s) {
  const Date today = s.clock.today();
  const auto lines = backup_reminder(today, s.globals.ULTBACK);
  if (!lines || s.messages.ask(*lines)) return;
  s.globals.ULTBACK = today + 4;
  store_configuration(s, {"ULTBACK"});
}

}  // namespace kx::shell
