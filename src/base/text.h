// Small helpers on byte strings (CP850 or ASCII).
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kx::text {

std::string_view trim(std::string_view s);   // blanks (spaces, tabs, CR, LF) at both ends
std::string_view rtrim(std::string_view s);
std::string_view ltrim(std::string_view s);
// Exactly `width` bytes: cut, or padded with `fill` on the right / on the left.
std::string pad_right(std::string_view s, std::size_t width, char fill = ' ');
std::string pad_left(std::string_view s, std::size_t width, char fill = ' ');
bool iequals(std::string_view a, std::string_view b);  // ASCII case-insensitive
std::vector<std::string_view> split(std::string_view s, char sep);
bool is_blank(std::string_view s);
bool all_digits(std::string_view s);  // non-empty and only 0-9

}  // namespace kx::text
