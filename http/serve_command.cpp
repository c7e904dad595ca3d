// The `tavrel serve` command: options, the listening line, and a clean stop on
// SIGINT or SIGTERM.
#include <arpa/inet.h>
#include <malloc.h>
#include <pthread.h>
#include <signal.h>
#include <sysexits.h>

#include <atomic>
#include <charconv>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <thread>

#include "internal/server.h"
#include "tavrel/http.h"

namespace tavrel::http {
namespace {

constexpr unsigned kMaxThreads = 1024;
constexpr int kExitMalformedDirectory = 2;

constexpr std::string_view kHelp = R"(usage: tavrel serve [--bind ADDRESS] [--port N] [--threads N]
                    [--directory NAME|FILE]
Serves the account check as a JSON API over HTTP/1.1, and a page that checks
as you type, until SIGINT or SIGTERM. Prints "listening on URL" when ready.

Options:
  --directory NAME|FILE
                  the directory served to requests that name none: "current"
                  (the Bundesbank's file of 2026-03-09, the default), "2009",
                  or the path of a Bundesbank bank-code file; its checks run
                  by its own rules unless a request names others
  --bind ADDRESS  IPv4 or IPv6 address to listen on (default 127.0.0.1, only
                  this machine; "localhost" is 127.0.0.1)
  --port N        port, 0 to 65535 (default 8080; 0 picks a free port)
  --threads N     connections served at once, 1 to 1024 (default 64); each
                  keeps its thread while it stays open, further connections wait
  -h, --help      print this help and exit

Endpoints (UTF-8 JSON):
  GET  /api/v1/check?bank_code=B&account=A[&directory=D][&rules=R]
       {"result", "code", "message", "verdict", "field", "bank", "successor"}:
       bank is the record (bank_code, name, bic, method_code,
       deletion_notice, successor, iban_rule) or null; successor a finding
       {"finding", "bank_code", "as_of", "note"} or null. D and R are 2009
       or current (default: the served directory and its rules)
  POST /api/v1/check[?directory=D][&rules=R]
       a JSON array of up to 10000 {"bank_code", "account"} objects, or NDJSON
       (Content-Type: application/x-ndjson): the answers in input order, an
       item that is no such object answered by {"error", "message"} in place
  GET  /api/v1/banks?q=TEXT[&limit=N][&directory=D]
       the bank search: {"total", "hits": [{"bank_code", "name"}, ...]}
  GET  /api/v1/banks/BANKCODE[?directory=D]   one bank's record, 404 when unknown
  GET  /api/v1/directory[?directory=D]
       {"source", "compiled_in", "valid_from", "valid_until", "entries",
       "rule_generation", "method_counts"}
  GET  /api/v1/iban/IBAN[?directory=D][&rules=R]
       {"result", "code", "message", "valid", "iban", "print_format",
       "country", "german"}: german is {"bank_code", "account",
       "account_check", "bank"} for a German IBAN, else null; valid is true
       only when the checksum and the account both are
  GET  /api/v1/iban?bank_code=B&account=A[&directory=D][&rules=R]
       the IBAN by the standard conversion: {"iban", "print_format",
       "conversion", "note", "account_check", "bank"}; iban is null for an
       account that is not valid
  GET  /api/v1/explain?bank_code=B&account=A[&directory=D][&rules=R]
  GET  /api/v1/explain?method=KEY&account=A[&bank_code=B][&rules=R]
       why the check gives its verdict: the input tests, the method's steps
       and their figures
  GET  /api/v1/suggest?bank_code=B&account=A[&max=N][&bank_codes=1]
       [&directory=D][&rules=R]
       accounts (and with bank_codes=1 bank codes) one slip away that pass
       the check; at most N of each kind, 1 to 1000 (default 5)
  GET  /healthz                 {"status": "ok", "version"}
  GET  /                        the page

Input faults of a check are results (HTTP 200). Errors are {"error", "message"}
with 400 (missing, unknown or repeated parameter, text without a Windows-1252
form, malformed body), 404, 405, 413 (body over 1 MiB or over 10000 items),
414, 415 or 431.

Exit status: 0 stopped by a signal, 2 a malformed directory file, 64 usage
error, 74 cannot listen or cannot read the directory file.
)";

constexpr std::string_view kHint =
    "usage: tavrel serve [--bind ADDRESS] [--port N] [--threads N] [--directory NAME|FILE]\n";

struct ServeOptions {
  std::string bind = "127.0.0.1";
  int port = 8080;
  unsigned threads = ServerSettings{}.threads;
  std::string directory = "current";
  bool help = false;
};

std::optional<unsigned> ParseNumber(std::string_view text, unsigned max) {
  unsigned value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size() || value > max) return std::nullopt;
  return value;
}

bool IsAddress(const std::string& text) {
  unsigned char address[sizeof(in6_addr)];
  return inet_pton(AF_INET, text.c_str(), address) == 1 ||
         inet_pton(AF_INET6, text.c_str(), address) == 1;
}

// Takes one option and its value; returns the usage error, if any.
std::optional<std::string> TakeOption(std::string_view name, std::string_view value,
                                      ServeOptions& options) {
  if (name == "--bind") {
    options.bind = value == "localhost" ? "127.0.0.1" : std::string(value);
    if (!IsAddress(options.bind)) return "--bind takes an IPv4 or IPv6 address";
  } else if (name == "--port") {
    const std::optional<unsigned> port = ParseNumber(value, 65535);
    if (!port) return "--port takes a number from 0 to 65535";
    options.port = static_cast<int>(*port);
  } else if (name == "--threads") {
    const std::optional<unsigned> threads = ParseNumber(value, kMaxThreads);
    if (!threads || *threads == 0) {
      return "--threads takes a number from 1 to " + std::to_string(kMaxThreads);
    }
    options.threads = *threads;
  } else if (name == "--directory") {
    if (value.empty()) return "--directory takes 2009, current or a file's path";
    options.directory = value;
  } else {
    return "unknown option '" + std::string(name) + "'";
  }
  return std::nullopt;
}

std::optional<std::string> ParseOptions(int argc, const char* const* argv, ServeOptions& options) {
  std::optional<std::string> error;
  for (int i = 0; i < argc && !error; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      options.help = true;
      return std::nullopt;
    }
    if (!arg.starts_with("--")) return "unexpected argument '" + std::string(arg) + "'";
    const std::size_t equals = arg.find('=');
    if (equals != std::string_view::npos) {
      error = TakeOption(arg.substr(0, equals), arg.substr(equals + 1), options);
    } else if (i + 1 < argc) {
      error = TakeOption(arg, argv[++i], options);
    } else {
      error = "option '" + std::string(arg) + "' needs a value";
    }
  }
  return error;
}

std::string UrlOf(const std::string& address, int port) {
  const bool v6 = address.find(':') != std::string::npos;
  return "http://" + (v6 ? "[" + address + "]" : address) + ":" + std::to_string(port) + "/";
}

bool IsLoopback(const std::string& address) {
  return address.starts_with("127.") || address == "::1";
}

sigset_t StopSignals() {
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGINT);
  sigaddset(&signals, SIGTERM);
  return signals;
}

// Waits for SIGINT or SIGTERM (blocked in every thread) and stops the server.
// Run() returning on its own wakes the waiter with a SIGTERM of its own.
int Serve(Server& server) {
  const sigset_t signals = StopSignals();
  std::atomic<bool> signalled = false;
  std::thread waiter([&] {
    int signal = 0;
    sigwait(&signals, &signal);
    signalled = true;
    server.Stop();
  });
  const bool served = server.Run();
  if (!signalled) pthread_kill(waiter.native_handle(), SIGTERM);
  waiter.join();
  if (served) return EX_OK;
  std::fputs("tavrel: accepting connections failed\n", stderr);
  return EX_IOERR;
}

}  // namespace

int RunServeCommand(int argc, const char* const* argv) {
  ServeOptions options;
  if (const std::optional<std::string> error = ParseOptions(argc, argv, options)) {
    std::fprintf(stderr, "tavrel serve: %s\n%.*s", error->c_str(), static_cast<int>(kHint.size()),
                 kHint.data());
    return EX_USAGE;
  }
  if (options.help) {
    std::fwrite(kHelp.data(), 1, kHelp.size(), stdout);
    return std::fflush(stdout) == 0 ? EX_OK : EX_IOERR;
  }
  // Blocked before any thread starts, so that every thread inherits the mask and
  // only the waiter takes the signals.
  const sigset_t signals = StopSignals();
  pthread_sigmask(SIG_BLOCK, &signals, nullptr);
  signal(SIGPIPE, SIG_IGN);
  // Large blocks are mapped and unmapped on their own: glibc's rising threshold
  // would keep them in each thread's arena, and the server's memory would grow
  // with the threads that ever ran a batch. The batch slots keep their buffers.
  mallopt(M_MMAP_THRESHOLD, 256 * 1024);

  const OpenedCore opened = OpenCore(options.directory);
  for (const std::string& message : opened.messages) {
    std::fprintf(stderr, "tavrel: %s\n", message.c_str());
  }
  if (!opened.core) return opened.unreadable ? EX_IOERR : kExitMalformedDirectory;

  ServerSettings settings;
  settings.threads = options.threads;
  Server server(settings, opened.core);
  if (const std::optional<std::string> error = server.Bind(options.bind, options.port)) {
    std::fprintf(stderr, "tavrel: cannot listen on %s port %d: %s\n", options.bind.c_str(),
                 options.port, error->c_str());
    return EX_IOERR;
  }
  if (!IsLoopback(options.bind)) {
    std::fputs("tavrel: note: reachable from other machines, without TLS or authentication\n",
               stderr);
  }
  const std::string line = "listening on " + UrlOf(options.bind, server.Port()) + "\n";
  if (std::fputs(line.c_str(), stdout) < 0 || std::fflush(stdout) != 0) {
    std::fputs("tavrel: writing standard output failed\n", stderr);
    return EX_IOERR;
  }
  return Serve(server);
}

}  // namespace tavrel::http
