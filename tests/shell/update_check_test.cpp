#include "shell/update_check.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <fstream>
#include <thread>

#include "../support/session_fixture.h"
#include "base/cp850.h"
#include "shell/configuration.h"
#include "store/folder.h"

namespace kx::shell {
namespace {

// A one-request HTTP server on 127.0.0.1: answers the first connection with `reply` (sent as
// is, headers included) and keeps the request it read.
class OneShotServer {
 public:
  explicit OneShotServer(std::string reply) : reply_(std::move(reply)) {
    fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(fd_, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
    socklen_t len = sizeof addr;
    ::getsockname(fd_, reinterpret_cast<sockaddr*>(&addr), &len);
    port_ = ntohs(addr.sin_port);
    ::listen(fd_, 1);
    thread_ = std::thread([this] { serve(); });
  }
  ~OneShotServer() {
    ::shutdown(fd_, SHUT_RDWR);
    thread_.join();
    ::close(fd_);
  }
  std::string url() const { return "http://127.0.0.1:" + std::to_string(port_) + "/"; }
  const std::string& request() const { return request_; }

 private:
  void serve() {
    const int c = ::accept(fd_, nullptr, nullptr);
    if (c < 0) return;
    char buf[4096];
    while (request_.find("\r\n\r\n") == std::string::npos) {
      const ssize_t n = ::read(c, buf, sizeof buf);
      if (n <= 0) break;
      request_.append(buf, static_cast<size_t>(n));
    }
    size_t sent = 0;
    while (sent < reply_.size()) {
      const ssize_t n = ::write(c, reply_.data() + sent, reply_.size() - sent);
      if (n <= 0) break;
      sent += static_cast<size_t>(n);
    }
    ::close(c);
  }

  std::string reply_;
  int fd_ = -1;
  int port_ = 0;
  std::string request_;
  std::thread thread_;
};

std::string http(const std::string& body) {
  return "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nContent-Length: " +
         std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n" + body;
}

TEST(UpdateCheck, TheVersionFollowsTheMarkerAndEveryOffsetIsChecked) {
  const auto found = find_update("<p>VERS:Lib.1 12/06/15</p>", "VERS:");
  ASSERT_TRUE(found);
  EXPECT_EQ(found->version, "Lib.1");
  EXPECT_EQ(found->date, "12/06/15");
  EXPECT_TRUE(find_update("VERS:Lib.1 12/06/15", "VERS:"));   // exactly p + 19
  EXPECT_FALSE(find_update("VERS:Lib.1 12/06/1", "VERS:"));   // one short
  EXPECT_FALSE(find_update("VERS:", "VERS:"));
  EXPECT_FALSE(find_update("no version here", "VERS:"));
  EXPECT_FALSE(find_update("VERS:Lib.1 12/06/15", ""));
}

TEST(UpdateCheck, OneGetAgainstTheServerAndEveryOutcomeToldInMode1) {
  struct Case {
    std::string body;
    const char* keys;
    UpdateOutcome outcome;
  } cases[] = {
      {"<b>VERS:Lib.0 04/05/15</b>", "<Enter>", UpdateOutcome::current},
      {"<b>VERS:Lib.1 12/06/15</b>", "n", UpdateOutcome::declined},
      {"<b>nada</b>", "<Enter>", UpdateOutcome::no_marker},
      {"VERS:Lib.1 12/0", "<Enter>", UpdateOutcome::no_marker},
  };
  for (const Case& c : cases) {
    kx::testing::SessionFixture f;
    OneShotServer server(http(c.body));
    UpdateSettings settings;
    settings.url = server.url();
    f.h.type(c.keys);
    EXPECT_EQ(INTER(f.session, 1, settings), c.outcome) << c.body;
    EXPECT_EQ(server.request().rfind("GET / HTTP/1.1\r\n", 0), 0u) << server.request();
    EXPECT_NE(server.request().find("User-Agent: Programa KAPRIX\r\n"), std::string::npos);
  }
}

TEST(UpdateCheck, ALongPageIsReadOnlyUpToTheLimit) {
  kx::testing::SessionFixture f;
  // The marker lies past the first 8000 bytes: it is never seen.
  OneShotServer server(http(std::string(9000, 'x') + "VERS:Lib.1 12/06/15"));
  UpdateSettings settings;
  settings.url = server.url();
  EXPECT_EQ(INTER(f.session, 0, settings), UpdateOutcome::no_marker);
}

TEST(UpdateCheck, ChoosingToUpdateOpensTheShortcutsAddress) {
  kx::testing::SessionFixture f;
  std::ofstream(store::fs_path(store::in_folder(f.globals.ARQDEF, "zent.url")))
      << "[InternetShortcut]\r\nURL=http://example.invalid/atualiza\r\n";
  OneShotServer server(http("VERS:Lib.1 12/06/15"));
  UpdateSettings settings;
  settings.url = server.url();
  std::string opened;
  settings.open_address = [&](const std::string& a) {
    opened = a;
    return true;
  };
  f.h.type("s<Enter>");
  EXPECT_EQ(INTER(f.session, 0, settings), UpdateOutcome::chosen);
  EXPECT_EQ(opened, "http://example.invalid/atualiza");
}

TEST(UpdateCheck, AnUnreachableServerMayTurnTheCheckOff) {
  kx::testing::SessionFixture f;
  std::string url;
  {
    OneShotServer closed(http(""));
    url = closed.url();
  }  // nothing listens there any more
  ASSERT_TRUE(load_shared_settings(f.session));
  f.globals.VER_ATUAL = "S";
  UpdateSettings settings;
  settings.url = url;
  f.h.type("<Enter>n<Enter>");  // the error, "Continua ...?" answered No, the final notice
  EXPECT_EQ(INTER(f.session, 0, settings), UpdateOutcome::unreachable);
  EXPECT_EQ(f.globals.VER_ATUAL, "N");
  f.globals.VER_ATUAL = "";
  ASSERT_TRUE(load_shared_settings(f.session));
  EXPECT_EQ(f.globals.VER_ATUAL, "N");

  // With no server configured the start-up check is silent.
  EXPECT_EQ(INTER(f.session, 0, UpdateSettings{}), UpdateOutcome::unreachable);
}

}  // namespace
}  // namespace kx::shell
