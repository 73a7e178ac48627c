#include "declaration/save_marker.h"

#include <sstream>

#include "os/file.h"
#include "os/folder.h"
#include "os/path.h"
#include "os/replace.h"

namespace kx::declaration {

namespace {

constexpr const char* kStates[] = {"loading", "editing", "saving"};

std::optional<MarkerState> state_of(const std::string& word) {
  for (int i = 0; i < 3; ++i)
    if (word == kStates[i]) return static_cast<MarkerState>(i);
  return std::nullopt;
}

}  // namespace

std::string marker_path(const std::string& aux, const std::string& nusu) {
  return os::resolve_nocase(os::join_path(aux, "MARCA" + nusu + ".TXT"));
}

std::optional<SaveMarker> read_marker(const std::string& aux, const std::string& nusu) {
  const auto path = os::find_nocase(marker_path(aux, nusu));
  if (!path) return std::nullopt;
  std::string contents;
  try {
    const os::File file = os::File::open(*path, os::File::Mode::read);
    contents.resize(static_cast<size_t>(file.size()));
    contents.resize(file.pread(contents.data(), contents.size(), 0));
  } catch (const std::exception&) {
    return std::nullopt;
  }
  SaveMarker m;
  bool has_state = false;
  std::istringstream lines(contents);
  for (std::string line; std::getline(lines, line);) {
    const auto eq = line.find('=');
    if (eq == std::string::npos) continue;
    const std::string key = line.substr(0, eq), value = line.substr(eq + 1);
    if (key == "folder") m.folder = value;
    else if (key == "cpf") m.cpf = value;
    else if (key == "country") m.country = value;
    else if (key == "final") m.final_save = value == "S";
    else if (key == "rural") m.rural = value == "S";
    else if (key == "state") {
      const auto s = state_of(value);
      if (!s) return std::nullopt;
      m.state = *s;
      has_state = true;
    }
  }
  if (!has_state || m.cpf.empty() || m.folder.empty()) return std::nullopt;
  return m;
}

void write_marker(const std::string& aux, const std::string& nusu, const SaveMarker& m) {
  std::string text = "folder=" + m.folder + "\ncpf=" + m.cpf + "\nstate=" +
                     kStates[static_cast<int>(m.state)] + "\nfinal=" + (m.final_save ? "S" : "N") +
                     "\nrural=" + (m.rural ? "S" : "N") + "\ncountry=" + m.country + "\n";
  os::replace_file(marker_path(aux, nusu), text);
}

void clear_marker(const std::string& aux, const std::string& nusu) {
  if (const auto path = os::find_nocase(marker_path(aux, nusu))) os::remove_file(*path);
}

}  // namespace kx::declaration
