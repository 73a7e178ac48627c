// Finding files and folders without regard to case: tables written elsewhere arrive as
// IMP0115.DBF, imp0115.dbf or Imp0115.Dbf. Case is folded for ASCII letters only; other bytes
// must match exactly.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kx::os {

// The existing path that equals `path` when the case of letters is ignored, component by
// component ("/x/Dados/IMP0115.DBF" finds "/x/dados/imp0115.dbf"). The exact path is tried
// first. When several entries differ only in case, the exact spelling wins, then the first in
// byte order that leads to an existing path. nullopt when nothing matches.
std::optional<std::string> find_nocase(const std::string& path);

// The path to use for `path`: the existing one when find_nocase finds it; otherwise the longest
// existing leading folders (found without regard to case) followed by the rest as given, so a new
// file gets the case the program gives it inside the folder that is already there.
std::string resolve_nocase(const std::string& path);

// Whether a regular file / a folder exists at `path`, without regard to case.
bool file_exists(const std::string& path);
bool folder_exists(const std::string& path);

// Wildcard match without regard to case: '*' any run of bytes, '?' exactly one byte. As with
// the wildcards the tables' users know, "*.*" matches every name and "NAME.*" also matches
// "NAME" without an extension.
bool wildcard_match(std::string_view pattern, std::string_view name);

// Order of names without regard to case, then by bytes (so the order is total).
bool name_less_nocase(std::string_view a, std::string_view b);

// The folder part of `path` ("." when it has none) and its last component.
std::string parent_of(const std::string& path);
std::string name_of(const std::string& path);
// `name` inside `folder`, with one "/" between them ("" as folder gives `name` alone).
std::string join_path(const std::string& folder, std::string_view name);

}  // namespace kx::os
