#include "ui/text_helpers.h"

#include <cstdio>

#include "base/cp850.h"
#include "base/text.h"

namespace kx::ui {

std::string TRAZ_MES(int month) {
  static constexpr const char* kMonths[] = {"Janeiro  ", "Fevereiro", "Marco    ", "Abril    ",
                                            "Maio     ", "Junho    ", "Julho    ", "Agosto   ",
                                            "Setembro ", "Outubro  ", "Novembro ", "Dezembro "};
  return month >= 1 && month <= 12 ? kMonths[month - 1] : "";
}

std::string DIA_SEMANA(Date date) {
  static constexpr const char* kDays[] = {"Domingo",      "Segunda feira", "Terca feira", "Quarta feira",
                                          "Quinta feira", "Sexta feira",   "Sabado"};
  int d = date.weekday();
  return d >= 1 && d <= 7 ? kDays[d - 1] : "";
}

int HORA_SEG(std::string_view time) {
  auto field = [&](std::size_t pos) {
    int v = 0;
    for (std::size_t i = pos; i < pos + 2 && i < time.size(); ++i) {
      if (time[i] >= '0' && time[i] <= '9') v = v * 10 + (time[i] - '0');
    }
    return v;
  };
  return field(0) * 3600 + field(3) * 60 + field(6);
}

std::string SEG_HORA(long s) {
  if (s < 0) s = 0;
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02ld:%02ld:%02ld", (s / 3600) % 24, (s % 3600) / 60, s % 60);
  return buf;
}

std::string SEG_HOR_2(long s) {
  if (s < 0) s = 0;
  char buf[24];
  std::snprintf(buf, sizeof buf, "%02ldD%02ldh%02ldm", (s / 86400) % 99, (s / 3600) % 24, (s / 60) % 60);
  return buf;
}

long TEMPO_PAS(std::string_view t1, std::string_view t2) {
  long a = HORA_SEG(t1), b = HORA_SEG(t2);
  return b < a ? b + 86400 - a : b - a;
}

std::string AJUS_CAR(std::string_view windows_text) {
  // Latin-1 code points and the letters that replace them.
  static constexpr char32_t kFrom[] = {U'á', U'é', U'í', U'ó', U'ú', U'Á', U'É', U'Í', U'Ó',
                                       U'Ú', U'à', U'ã', U'õ', U'Ã', U'Õ', U'ç', U'Ç', U'â',
                                       U'ê', U'ô', U'û', U'Â', U'Ê', U'Ô', U'Û'};
  static constexpr char32_t kTo[] = {U'á', U'é', U'í', U'ó', U'ú', U'A', U'É', U'I', U'O',
                                     U'U', U'à', U'ä', U'ö', U'A', U'O', U'ç', U'Ç', U'â',
                                     U'ê', U'ô', U'û', U'A', U'E', U'O', U'U'};
  std::string out;
  for (char c : text::trim(windows_text)) {
    auto b = static_cast<unsigned char>(c);
    char replaced = c;
    for (std::size_t i = 0; i < std::size(kFrom); ++i) {
      if (kFrom[i] == b) {
        replaced = static_cast<char>(cp850::from_unicode(kTo[i]));
        break;
      }
    }
    out += replaced;
  }
  return out;
}

}  // namespace kx::ui
