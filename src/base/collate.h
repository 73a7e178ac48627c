// Portuguese collation of CP850 text: the one order used by every index and every sort.
// An accented letter sorts with its plain letter ("Ç" with "C", "á" with "a"); upper and lower
// case stay distinct (upper first). Ties are broken by the bytes, so the order is total.
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
