// The server over real sockets: keep-alive, the bounds on heads and bodies, and
// `tavrel serve` as a program (listening line, signals, exit statuses).
#include "http/internal/server.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <random>
#include <string>
#include <thread>

#include "http/internal/api.h"
#include "http/internal/simple_get.h"

namespace tavrel::http {
namespace {

using namespace std::chrono_literals;

class RunningServer {
 public:
  explicit RunningServer(const ServerSettings& settings = {}) : server_(settings) {
    EXPECT_EQ(server_.Bind("127.0.0.1", 0), std::nullopt);
    thread_ = std::thread([this] { server_.Run(); });
  }
  ~RunningServer() {
    server_.Stop();
    thread_.join();
  }
  int Port() const { return server_.Port(); }

 private:
  Server server_;
  std::thread thread_;
};

int Connect(int port) {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  EXPECT_EQ(::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  return fd;
}

// Sends `request` (what the server refuses to read may fail to send) and reads
// until the server closes or `answers` answers have come.
std::string Exchange(int fd, const std::string& request, int answers = 1) {
  ::send(fd, request.data(), request.size(), MSG_NOSIGNAL);
  std::string got;
  char block[65536];
  pollfd wait{fd, POLLIN, 0};
  while (::poll(&wait, 1, 5000) > 0) {
    const ssize_t n = ::recv(fd, block, sizeof block, 0);
    if (n <= 0) break;
    got.append(block, static_cast<std::size_t>(n));
    std::size_t complete = 0;
    for (std::size_t at = 0; (at = got.find("\r\n\r\n", at)) != std::string::npos; at += 4) {
      ++complete;
    }
    if (answers > 0 && complete >= static_cast<std::size_t>(answers) && got.back() == '}') break;
  }
  return got;
}

std::string Get(const std::string& target, const std::string& headers = {}) {
  return "GET " + target + " HTTP/1.1\r\nHost: x\r\n" + headers + "\r\n";
}

TEST(ServerTest, KeepsTheConnectionForMoreRequests) {
  RunningServer server;
  const int fd = Connect(server.Port());
  const std::string check = Get("/api/v1/check?bank_code=12030000&account=9290701");
  const std::string both = Exchange(fd, check + check, 2);
  EXPECT_EQ(both.find("HTTP/1.1 200 OK"), 0U) << both;
  EXPECT_NE(both.find("HTTP/1.1 200 OK", 10), std::string::npos) << both;
  const std::string third = Exchange(fd, Get("/healthz"));
  EXPECT_NE(third.find("\"status\":\"ok\""), std::string::npos) << third;
  ::close(fd);
}

// Reads one answer whole, by its Content-Length.
std::string ReadAnswer(int fd) {
  std::string got;
  char block[65536];
  pollfd wait{fd, POLLIN, 0};
  for (;;) {
    const std::size_t headEnd = got.find("\r\n\r\n");
    const std::size_t length = got.find("Content-Length: ");
    if (headEnd != std::string::npos && length < headEnd &&
        got.size() >= headEnd + 4 + std::stoul(got.substr(length + 16))) {
      return got;
    }
    if (::poll(&wait, 1, 5000) <= 0) return got;
    const ssize_t n = ::recv(fd, block, sizeof block, 0);
    if (n <= 0) return got;
    got.append(block, static_cast<std::size_t>(n));
  }
}

std::size_t Count(std::string_view text, std::string_view part) {
  std::size_t count = 0;
  for (std::size_t at = 0; (at = text.find(part, at)) != std::string_view::npos;
       at += part.size()) {
    ++count;
  }
  return count;
}

// Batches one after another on one connection, a large one first: each answer
// is the handler's, whole, with one Content-Type, and shows nothing of the one
// before it.
TEST(ServerTest, AnswersBatchesOneAfterAnother) {
  const std::string item = R"({"bank_code":"12030000","account":"9290701"})";
  std::string many = "[" + item;
  for (int i = 0; i < 3000; ++i) many += "," + item;
  const std::pair<std::string, std::string> batches[] = {
      {"application/json", many + "]"}, {"application/json", "[" + item + "]"},
      {"application/json", many},       {"application/x-ndjson", item + "\n[\n" + item},
      {"text/plain", "[" + item + "]"}, {"application/json", "[]"},
  };
  RunningServer server;
  const Api api;
  const int fd = Connect(server.Port());
  for (const auto& [type, body] : batches) {
    const Response expected = api.Handle({"POST", "/api/v1/check", {}, type, body});
    const std::string request = "POST /api/v1/check HTTP/1.1\r\nHost: x\r\nContent-Type: " + type +
                                "\r\nContent-Length: " + std::to_string(body.size()) + "\r\n\r\n" +
                                body;
    ::send(fd, request.data(), request.size(), MSG_NOSIGNAL);
    const std::string answer = ReadAnswer(fd);
    const std::size_t headEnd = answer.find("\r\n\r\n");
    ASSERT_NE(headEnd, std::string::npos) << type << " " << body.substr(0, 60);
    EXPECT_EQ(answer.find("HTTP/1.1 " + std::to_string(expected.status)), 0U) << answer;
    EXPECT_EQ(Count(std::string_view(answer).substr(0, headEnd), "Content-Type:"), 1U) << answer;
    EXPECT_EQ(answer.substr(headEnd + 4), expected.body) << type << " " << body.substr(0, 60);
  }
  ::close(fd);
}

// The usual GET is answered without httplib; every answer, and whether the
// connection stays open, is byte for byte the one httplib gives. Each request is
// followed by a second, the connection's last (two requests a connection).
TEST(ServerTest, SimpleGetsAnswerAsHttplibDoes) {
  ServerSettings settings;
  settings.limits.keepAliveRequests = 2;
  RunningServer shortcut(settings);
  settings.simpleGets = false;
  RunningServer plain(settings);

  std::vector<std::string> heads = {
      Get("/api/v1/check?bank_code=12030000&account=9290701"),
      Get("/api/v1/check?account=9290702&bank_code=12030000&rules=current&directory=2009"),
      Get("/api/v1/check?bank_code=12030000&account=1&account=2"),
      Get("/api/v1/check?zeta=1&alpha=2&account=3"),
      Get("/api/v1/check?bank_code=12030000"),
      Get("/api/v1/check?"),
      Get("/api/v1/check?bank_code=12030000&account=9290701", "Connection: close\r\n"),
      Get("/api/v1/check?bank_code=12030000&account=9290701", "connection: keep-alive\r\n"),
      Get("/api/v1/check?bank_code=12030000&account=9290701", "Connection: Upgrade\r\n"),
      Get("/api/v1/check?bank_code=12030000&account=9290701", "Range: bytes=0-9\r\n"),
      Get("/api/v1/check?bank_code=12030000&account=9290701", "Content-Length: 0\r\n"),
      Get("/api/v1/check?bank_code=1203%300000&account=9290701"),
      Get("/api/v1/check?bank_code=12030000&account=929+0701"),
      Get("/api/v1/iban/DE89370400440532013000"),
      Get("/api/v1/banks/12030000"),
      Get("/api/v1/banks?q=Berlin&limit=2"),
      Get("/healthz"),
      Get("/"),
      Get("/nowhere"),
      "GET /api/v1/check?bank_code=12030000&account=9290701 HTTP/1.0\r\n\r\n",
      "HEAD /api/v1/check?bank_code=12030000&account=9290701 HTTP/1.1\r\nHost: x\r\n\r\n",
  };
  // Random queries over the names and the characters the shortcut takes or refuses.
  std::mt19937 random(20091207);
  const std::string names[] = {"bank_code", "account", "rules", "directory", "q", "zeta", ""};
  const std::string values[] = {"12030000", "9290701", "current", "2009", "", "1%32", "a+b", "x=y"};
  for (int i = 0; i < 60; ++i) {
    std::string query;
    for (int n = random() % 4; n >= 0; --n) {
      query += (query.empty() ? "" : "&") + names[random() % std::size(names)];
      if (random() % 5 != 0) query += "=" + values[random() % std::size(values)];
    }
    heads.push_back(Get("/api/v1/check?" + query));
  }

  const std::string last = Get("/api/v1/check?bank_code=12030000&account=9290701");
  const Api api;
  for (const std::string& head : heads) {
    std::string answers[2];
    for (int i = 0; i < 2; ++i) {
      const int fd = Connect((i == 0 ? shortcut : plain).Port());
      answers[i] = Exchange(fd, head + last, 0);
      ::close(fd);
    }
    EXPECT_EQ(answers[0], answers[1]) << head;
    EXPECT_EQ(answers[0].find("HTTP/1.1 "), 0U) << head;
  }
  // The usual requests do take the shortcut.
  for (std::size_t i = 0; i < 8; ++i) {
    EXPECT_TRUE(AnswerSimpleGet(api, heads[i], false, settings.limits).has_value()) << heads[i];
  }
  for (std::size_t i = 8; i < 13; ++i) {
    EXPECT_FALSE(AnswerSimpleGet(api, heads[i], false, settings.limits).has_value()) << heads[i];
  }
}

struct LimitCase {
  const char* name;
  std::string request;
  const char* statusLine;
  const char* error;
};

class LimitTest : public ::testing::TestWithParam<LimitCase> {};

// Each refusal carries its JSON error and ends the connection.
TEST_P(LimitTest, RefusesAndCloses) {
  RunningServer server;
  const int fd = Connect(server.Port());
  const std::string answer = Exchange(fd, GetParam().request, 0);
  ::close(fd);
  EXPECT_EQ(answer.find(GetParam().statusLine), 0U) << answer.substr(0, 200);
  EXPECT_NE(answer.find("Connection: close"), std::string::npos);
  EXPECT_NE(answer.find(std::string("\"error\":\"") + GetParam().error), std::string::npos);
}

const std::string kChunkedMegabytes = [] {
  std::string chunk(64 * 1024, ' ');
  std::string body = "POST /api/v1/check HTTP/1.1\r\nHost: x\r\nTransfer-Encoding: chunked\r\n\r\n";
  for (int i = 0; i < 20; ++i) body += "10000\r\n" + chunk + "\r\n";
  return body + "0\r\n\r\n";
}();

INSTANTIATE_TEST_SUITE_P(
    Limits, LimitTest,
    ::testing::Values(
        LimitCase{"LongRequestLine", Get("/api/v1/check?account=" + std::string(9000, '1')),
                  "HTTP/1.1 414", "uri_too_long"},
        LimitCase{"EndlessRequestLine", "GET /" + std::string(20000, 'a'), "HTTP/1.1 414",
                  "uri_too_long"},
        LimitCase{"LargeHeaders", Get("/healthz", "X-Filler: " + std::string(20000, 'x') + "\r\n"),
                  "HTTP/1.1 431", "headers_too_large"},
        LimitCase{"DeclaredLargeBody",
                  "POST /api/v1/check HTTP/1.1\r\nHost: x\r\nContent-Length: 2000000\r\n\r\n[",
                  "HTTP/1.1 413", "body_too_large"},
        LimitCase{"ChunkedLargeBody", kChunkedMegabytes, "HTTP/1.1 413", "body_too_large"},
        LimitCase{"NotHttp", "HELLO\r\n\r\n", "HTTP/1.1 400", "bad_request"}),
    [](const auto& info) { return std::string(info.param.name); });

// `tavrel serve` started as a program, its standard output read line by line.
struct Child {
  pid_t pid = -1;
  int out = -1;
  int err = -1;
};

Child Spawn(const std::vector<std::string>& args) {
  int out[2], err[2];
  EXPECT_EQ(::pipe(out), 0);
  EXPECT_EQ(::pipe(err), 0);
  Child child;
  child.pid = ::fork();
  if (child.pid == 0) {
    ::dup2(out[1], STDOUT_FILENO);
    ::dup2(err[1], STDERR_FILENO);
    std::vector<char*> argv{const_cast<char*>(TAVREL_BINARY), const_cast<char*>("serve")};
    for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    ::execv(TAVREL_BINARY, argv.data());
    std::_Exit(127);
  }
  ::close(out[1]);
  ::close(err[1]);
  child.out = out[0];
  child.err = err[0];
  return child;
}

std::string ReadLine(int fd) {
  std::string line;
  char c;
  pollfd wait{fd, POLLIN, 0};
  while (::poll(&wait, 1, 10000) > 0 && ::read(fd, &c, 1) == 1 && c != '\n') line += c;
  return line;
}

int Wait(Child& child) {
  int status = 0;
  ::waitpid(child.pid, &status, 0);
  ::close(child.out);
  ::close(child.err);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(ServeCommandTest, PrintsTheUrlAndStopsCleanlyOnSignals) {
  for (const int signal : {SIGTERM, SIGINT}) {
    Child child = Spawn({"--port", "0", "--threads", "2"});
    const std::string line = ReadLine(child.out);
    ASSERT_TRUE(line.starts_with("listening on http://127.0.0.1:")) << line;
    const int port = std::stoi(line.substr(line.rfind(':') + 1));
    const int fd = Connect(port);
    EXPECT_NE(Exchange(fd, Get("/healthz")).find("200 OK"), std::string::npos);
    ::kill(child.pid, signal);
    EXPECT_EQ(Wait(child), 0) << "signal " << signal;
    ::close(fd);
  }
}

TEST(ServeCommandTest, RefusesBadOptionsAndABusyPort) {
  RunningServer busy;
  const std::pair<std::vector<std::string>, int> cases[] = {
      {{"--port", "65536"}, 64},
      {{"--threads", "0"}, 64},
      {{"--bind", "example.org"}, 64},
      {{"--colour"}, 64},
      {{"extra"}, 64},
      {{"--port", std::to_string(busy.Port())}, 74},
      {{"--directory", "no/such/file", "--port", "0"}, 74},
      {{"--directory=", "--port", "0"}, 64},
  };
  for (const auto& [args, status] : cases) {
    Child child = Spawn(args);
    const std::string error = ReadLine(child.err);
    EXPECT_EQ(Wait(child), status) << args[0];
    EXPECT_TRUE(error.starts_with("tavrel")) << error;
  }
}

// The served directory is the current one unless --directory names another.
TEST(ServeCommandTest, ServesTheChosenDirectory) {
  const std::pair<std::vector<std::string>, const char*> cases[] = {
      {{"--port", "0"}, "\"rule_generation\":\"current\""},
      {{"--port", "0", "--directory", "2009"}, "\"valid_from\":\"2009-09-07\""},
  };
  for (const auto& [args, part] : cases) {
    Child child = Spawn(args);
    const std::string line = ReadLine(child.out);
    ASSERT_TRUE(line.starts_with("listening on http://127.0.0.1:")) << line;
    const int fd = Connect(std::stoi(line.substr(line.rfind(':') + 1)));
    EXPECT_NE(Exchange(fd, Get("/api/v1/directory")).find(part), std::string::npos) << part;
    ::kill(child.pid, SIGTERM);
    EXPECT_EQ(Wait(child), 0);
    ::close(fd);
  }
}

}  // namespace
}  // namespace tavrel::http
