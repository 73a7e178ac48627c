// Month and weekday names, times of day, and the accent conversion of texts read from the
// official program's files.
#pragma once

#include <string>
#include <string_view>

#include "base/date.h"

namespace kx::ui {

// "Janeiro  " .. "Dezembro " (9 characters); "" outside 1..12.
std::string TRAZ_MES(int month);
// "Domingo" .. "Sabado"; "" for the empty date.
std::string DIA_SEMANA(Date date);

// "hh:mm:ss" -> seconds of the day.
int HORA_SEG(std::string_view time);
// Seconds -> "hh:mm:ss" (hours mod 24).
std::string SEG_HORA(long seconds);
// Seconds -> "01D02h03m" (days mod 99, hours mod 24).
std::string SEG_HOR_2(long seconds);
// Seconds from t1 to t2 ("hh:mm:ss"), past midnight when t2 < t1. SEG_HORA of it gives the
// mode-1 form.
long TEMPO_PAS(std::string_view t1, std::string_view t2);

// Windows (Latin-1) accented letters of a text turned into the screen's letters: á é í ó ú É à
// ç Ç â ê ô û kept, ã õ become ä ö, and Á Í Ó Ú Ã Õ Â Ê Ô Û lose their accent. Trimmed; every
// other byte is kept.
std::string AJUS_CAR(std::string_view windows_text);

}  // namespace kx::ui
