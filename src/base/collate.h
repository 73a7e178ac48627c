// Portuguese collation of CP850 text: the one order used by every index and every sort.
// An accented letter sorts with its plain letter ("Ç" with "C", "á" with "a"); upper and lower
// case stay distinct (upper first). Ties are broken by the bytes, so the order is total.
//
// Primary weights, rising: control bytes (each its own), blank and no-break space, punctuation
// and symbols (each its own, in byte order: ASCII ones, then box drawing and the other signs),
// digits ("¹²³" with 1 2 3), then the letters A a B b ... Z z Þ þ, each capital before its small
// letter, every accented form with its plain letter ("ª" with a, "º" with o, "ß" with s).
// Texts compare by their weights, a shorter text before a longer one it is a prefix of; texts
// of equal weights compare by their bytes ("ALVARO" < "ÁLVARO" < "ALVES").
#pragma once

#include <string_view>

namespace kx::collate {

// Primary weight of a byte (equal for a letter and its accented forms).
unsigned char weight(unsigned char byte);
// <0, 0 or >0. Only identical texts compare equal. A shorter text that is a prefix of the longer
// sorts first.
int compare(std::string_view a, std::string_view b);
inline bool less(std::string_view a, std::string_view b) { return compare(a, b) < 0; }

}  // namespace kx::collate
