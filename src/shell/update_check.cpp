#include "shell/update_check.h"

#include <curl/curl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cstdlib>
#include <memory>

#include "base/cp850.h"
#include "base/text.h"
#include "os/path.h"
#include "shell/configuration.h"
#include "store/folder.h"

extern char** environ;

namespace kx::shell {
namespace {

size_t keep_bounded(char* data, size_t size, size_t count, void* user) {
  auto* page = static_cast<std::string*>(user);
  const size_t n = size * count;
  const size_t room = kUpdateReadLimit - page->size();
  page->append(data, std::min(n, room));
  return n <= room ? n : 0;  // a full buffer stops the transfer
}

bool run_xdg_open(const std::string& address) {
  pid_t pid = 0;
  const char* argv[] = {"xdg-open", address.c_str(), nullptr};
  if (posix_spawnp(&pid, "xdg-open", nullptr, nullptr, const_cast<char* const*>(argv), environ) != 0)
    return false;
  int status = 0;
  return waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

std::string read_small_file(const std::string& path) {
  std::string out;
  if (FILE* f = std::fopen(path.c_str(), "rb")) {
    char buf[4096];
    out.assign(buf, std::fread(buf, 1, sizeof buf, f));
    std::fclose(f);
  }
  return out;
}

}  // namespace

UpdateSettings UpdateSettings::from_environment() {
  UpdateSettings s;
  if (const char* url = std::getenv("KAPRIX_UPDATE_URL")) s.url = url;
  if (const char* marker = std::getenv("KAPRIX_UPDATE_MARKER"); marker && *marker) s.marker = marker;
  return s;
}

std::optional<UpdateInfo> find_update(std::string_view page, std::string_view marker) {
  if (marker.empty()) return std::nullopt;
  const size_t p = page.find(marker);
  if (p == std::string_view::npos || page.size() < p + 19) return std::nullopt;
  return UpdateInfo{std::string(page.substr(p + 5, 5)), std::string(page.substr(p + 11, 8))};
}

std::optional<std::string> fetch_page(const std::string& url) {
  static const bool initialised = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
  if (!initialised || url.empty()) return std::nullopt;
  std::unique_ptr<CURL, void (*)(CURL*)> curl(curl_easy_init(), curl_easy_cleanup);
  if (!curl) return std::nullopt;
  std::string page;
  CURL* c = curl.get();
  curl_easy_setopt(c, CURLOPT_URL, url.c_str());
  curl_easy_setopt(c, CURLOPT_USERAGENT, "Programa KAPRIX");
  curl_easy_setopt(c, CURLOPT_TIMEOUT_MS, kUpdateTimeoutMs);
  curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT_MS, kUpdateTimeoutMs);
  curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, keep_bounded);
  curl_easy_setopt(c, CURLOPT_WRITEDATA, &page);
  const CURLcode rc = curl_easy_perform(c);
  if (rc == CURLE_OK || (rc == CURLE_WRITE_ERROR && page.size() == kUpdateReadLimit)) return page;
  return std::nullopt;
}

std::string shortcut_address(std::string_view contents) {
  for (std::string_view line : text::split(contents, '\n')) {
    line = text::trim(line);
    if (line.size() > 4 && text::iequals(line.substr(0, 4), "URL=")) return std::string(line.substr(4));
  }
  return {};
}

UpdateOutcome INTER(entry::Session& s, int mode, const UpdateSettings& settings) {
  store::Operator& op = s.op;
  op.show_message(std::string("Verificando se existe atualização...."_cp));
  const auto page = fetch_page(settings.url);
  op.clear_message();
  if (!page) {
    if (mode == 0 && settings.url.empty()) return UpdateOutcome::unreachable;
    s.messages.tell({"Erro no acesso a Internet"});
    if (s.globals.VER_ATUAL == "S") {
      const bool keep = s.messages.ask({std::string("Continua a fazer essa verificação sempre na entrada?"_cp)});
      s.globals.VER_ATUAL = keep ? "S" : "N";
      store_shared_settings(s, {"VER_ATUAL"});
    }
    s.messages.tell({"Nao foi possivel saber se ha atualizacao!"});
    return UpdateOutcome::unreachable;
  }
  const auto info = find_update(*page, settings.marker);
  if (!info) {
    if (mode == 1) s.messages.tell({std::string("Não houve leitura sobre a atualização!"_cp)});
    return UpdateOutcome::no_marker;
  }
  if (info->date == kReleaseDate) {
    if (mode == 1) s.messages.tell({std::string("Não existe atualização no momento!"_cp)});
    return UpdateOutcome::current;
  }
  if (!s.messages.ask({std::string("Aviso! Existe a versão "_cp) + info->version + " diferente da sua " +
                           std::string(kVersion),
                       std::string("Atualização feita em "_cp) + info->date + ". Deseja atualizar agora?"}))
    return UpdateOutcome::declined;
  s.messages.tell({std::string("Saindo do programa para a nova atualização"_cp)});
  const std::string shortcut = store::fs_path(store::in_folder(s.globals.ARQDEF, "zent.url"));
  const auto found = os::find_nocase(shortcut);
  std::string address = found ? shortcut_address(read_small_file(*found)) : std::string();
  if (address.empty()) address = settings.url;  // no shortcut: the update page itself
  const std::function<bool(const std::string&)> open =
      settings.open_address ? settings.open_address : run_xdg_open;
  if (!open(address))
    s.messages.tell({std::string("Abra o endereço: "_cp) + address});
  return UpdateOutcome::chosen;
}

}  // namespace kx::shell
