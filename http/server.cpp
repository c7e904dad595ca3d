#include "internal/server.h"

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <condition_variable>
#include <cstring>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "internal/api.h"
#include "internal/simple_get.h"
#include "internal/task_queue.h"

namespace tavrel::http {
namespace {

// Set by a handler whose request body was not read to its end: the bytes that
// follow are no request, so the connection ends after the answer. A connection
// is served on one worker thread from its first request to its last.
thread_local bool tCloseAfterAnswer = false;

// Batches in work at once: each holds its body and its answers (a few MB), so
// more than the cores would only cost memory.
unsigned BatchSlots() { return std::max(2U, std::thread::hardware_concurrency()); }

// Buffers larger than this after a batch are given back rather than kept.
constexpr std::size_t kLargestKeptBuffer = 8 << 20;

// Only SO_REUSEADDR: httplib's default SO_REUSEPORT would let a second server
// share a port that is in use.
void ListenSocketOptions(socket_t socket) {
  const int on = 1;
  ::setsockopt(socket, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
}

Request ToRequest(const httplib::Request& req, const std::string& contentType,
                  std::string_view body) {
  return {req.method, req.path, {req.params.begin(), req.params.end()}, contentType, body};
}

// The status and headers of the answer, without its type and body.
void ApplyHead(const Response& answer, httplib::Response& res) {
  res.status = answer.status;
  for (const Header& header : answer.headers) {
    res.set_header(std::string(header.name), std::string(header.value));
  }
  if (answer.closeConnection) {
    tCloseAfterAnswer = true;
    res.set_header("Connection", "close");
  }
}

void Apply(Response answer, httplib::Response& res) {
  ApplyHead(answer, res);
  if (!answer.contentType.empty()) res.set_header("Content-Type", std::string(answer.contentType));
  res.body = std::move(answer.body);
}

Response Refusal(int status, std::string_view code, std::string_view message) {
  Response response = ErrorResponse(status, code, message);
  response.closeConnection = true;
  return response;
}

Response BodyTooLarge() {
  return Refusal(413, "body_too_large",
                 "a request body holds at most " + std::to_string(kMaxBody) + " bytes");
}

// The answer to a head that httplib never sees, written here because httplib
// cannot be handed a request it has not parsed.
std::string HeadRefusal(int status, std::string_view reason, std::string_view code,
                        std::string_view message) {
  const Response response = ErrorResponse(status, code, message);
  return "HTTP/1.1 " + std::to_string(status) + " " + std::string(reason) +
         "\r\nContent-Type: application/json\r\nContent-Length: " +
         std::to_string(response.body.size()) + "\r\nConnection: close\r\n\r\n" + response.body;
}

// The JSON form of the errors httplib answers by itself.
Response HttplibError(int status) {
  switch (status) {
    case 400:
      return Refusal(400, "bad_request", "the request is not well-formed HTTP/1.1");
    case 413:
      return BodyTooLarge();
    case 414:
      return Refusal(414, "uri_too_long", "the request line is too long");
    case 415:
      return Refusal(415, "unsupported_content_encoding", "the body's encoding is not supported");
    case 416:
      return ErrorResponse(416, "range_not_satisfiable", "the range is outside the answer");
    default:
      return ErrorResponse(status, "http_error", "the request cannot be answered");
  }
}

// The request as the routes see it: answers are not compressed (compressing a
// batch costs more than checking it), and a request without framing headers has
// no body (httplib would wait for the connection to close).
void PrepareRequest(httplib::Request& req) {
  req.headers.erase("Accept-Encoding");
  if (!req.has_header("Content-Length") && !req.has_header("Transfer-Encoding")) {
    req.set_header("Content-Length", "0");
  }
}

// A batch's body and answers, kept from one batch to the next: fresh buffers of
// some MB would be mapped, faulted in page by page and unmapped for every batch.
struct BatchBuffers {
  std::string body;
  std::string answers;
};

// The batch slots and their buffers. A slot is taken before the body is read
// and given back once its answers are sent.
class BatchPool {
 public:
  explicit BatchPool(unsigned slots) : buffers_(slots) {
    for (BatchBuffers& buffers : buffers_) free_.push_back(&buffers);
  }

  std::shared_ptr<BatchBuffers> Take() {
    std::unique_lock lock(mutex_);
    freed_.wait(lock, [this] { return !free_.empty(); });
    BatchBuffers* buffers = free_.back();
    free_.pop_back();
    return {buffers, [this](BatchBuffers* given) { Give(given); }};
  }

 private:
  void Give(BatchBuffers* buffers) {
    for (std::string* buffer : {&buffers->body, &buffers->answers}) {
      if (buffer->capacity() > kLargestKeptBuffer) std::string().swap(*buffer);
    }
    {
      std::lock_guard lock(mutex_);
      free_.push_back(buffers);
    }
    freed_.notify_one();
  }

  std::vector<BatchBuffers> buffers_;
  std::vector<BatchBuffers*> free_;
  std::mutex mutex_;
  std::condition_variable freed_;
};

}  // namespace

class Server::Wiring final : public httplib::Server {
 public:
  Wiring(const ServerSettings& settings, std::shared_ptr<const Core> core)
      : settings_(settings), api_(std::move(core)), batches_(BatchSlots()) {
    const ConnectionLimits& limits = settings_.limits;
    set_socket_options(ListenSocketOptions);
    set_tcp_nodelay(true);
    set_keep_alive_max_count(limits.keepAliveRequests);
    set_keep_alive_timeout(WholeSeconds(limits.keepAliveTimeout));
    set_read_timeout(WholeSeconds(limits.readTimeout));
    set_write_timeout(WholeSeconds(limits.writeTimeout));
    set_default_headers({{std::string(kNoSniff.name), std::string(kNoSniff.value)}});
    new_task_queue = [this] {
      return new BoundedTaskQueue(settings_.threads, settings_.waitingConnections);
    };
    Route();
  }

  // httplib listens with a backlog of 5: a client that opens its connections at
  // once (a pool, a load test) finds the queue full and waits a second for its
  // SYN to be sent again. listen() again widens the queue.
  void WidenBacklog() { ::listen(svr_sock_, SOMAXCONN); }

 private:
  void Route() {
    const auto serve = [this](const httplib::Request& req, httplib::Response& res) {
      Serve(req, res, {});
    };
    const auto serveWithBody = [this](const httplib::Request& req, httplib::Response& res,
                                      const httplib::ContentReader& reader) {
      ServeWithBody(req, res, reader);
    };
    Get(".*", serve);
    Options(".*", serve);
    Post(".*", serveWithBody);
    Put(".*", serveWithBody);
    Patch(".*", serveWithBody);
    Delete(".*", serveWithBody);
    set_pre_routing_handler([](const httplib::Request& req, httplib::Response& res) {
      if (req.get_header_value<std::uint64_t>("Content-Length") <= kMaxBody) {
        return HandlerResponse::Unhandled;
      }
      Apply(BodyTooLarge(), res);
      return HandlerResponse::Handled;
    });
    set_error_handler(
        HandlerWithResponse([this](const httplib::Request& req, httplib::Response& res) {
          if (!res.body.empty()) return HandlerResponse::Unhandled;
          // httplib routes no TRACE or CONNECT; the routes answer them with 405.
          if (res.status == 400 && (req.method == "TRACE" || req.method == "CONNECT")) {
            Serve(req, res, {});
          } else {
            Apply(HttplibError(res.status), res);
          }
          return HandlerResponse::Handled;
        }));
    set_exception_handler([](const httplib::Request&, httplib::Response& res, std::exception_ptr) {
      Apply(Refusal(500, "internal_error", "the request could not be answered"), res);
    });
  }

  void Serve(const httplib::Request& req, httplib::Response& res, std::string_view body) const {
    const std::string contentType = req.get_header_value("Content-Type");
    Apply(api_.Handle(ToRequest(req, contentType, body)), res);
  }

  // Reads the body (decoded, at most kMaxBody bytes) and keeps it only for the
  // route that takes one; a body read in part ends the connection.
  void ServeWithBody(const httplib::Request& req, httplib::Response& res,
                     const httplib::ContentReader& reader) {
    const bool keep = Api::TakesBody(req.method, req.path);
    std::shared_ptr<BatchBuffers> buffers = keep ? batches_.Take() : nullptr;
    std::string skipped;
    std::string& body = buffers ? buffers->body : skipped;
    body.clear();
    if (keep) body.reserve(req.get_header_value<std::uint64_t>("Content-Length"));
    std::size_t seen = 0;
    const bool read = reader([&](const char* data, std::size_t size) {
      seen += size;
      if (seen > kMaxBody) return false;
      if (keep) body.append(data, size);
      return true;
    });
    if (!read) {
      Apply(seen > kMaxBody || res.status == 413
                ? BodyTooLarge()
                : Refusal(400, "malformed_body", "the request body could not be read"),
            res);
    } else if (!buffers) {
      Serve(req, res, body);
    } else {
      ServeBatch(req, res, std::move(buffers));
    }
  }

  // The batch's answers are written into its buffers and sent from there; the
  // slot is given back when httplib is done with the response.
  void ServeBatch(const httplib::Request& req, httplib::Response& res,
                  std::shared_ptr<BatchBuffers> buffers) const {
    const std::string contentType = req.get_header_value("Content-Type");
    Request request = ToRequest(req, contentType, buffers->body);
    request.answerBuffer = &buffers->answers;
    Response answer = api_.Handle(request);
    // httplib hands an error status with no body to the error handler.
    if (answer.status != 200 || answer.body.empty() || answer.contentType.empty()) {
      return Apply(std::move(answer), res);
    }
    ApplyHead(answer, res);
    buffers->answers = std::move(answer.body);
    const std::string& text = buffers->answers;
    res.set_content_provider(
        text.size(), std::string(answer.contentType),
        [&text](std::size_t offset, std::size_t length, httplib::DataSink& sink) {
          return sink.write(text.data() + offset, length);
        },
        [buffers = std::move(buffers)](bool) {});
  }

  bool process_and_close_socket(socket_t socket) override {
    ServeConnection(socket);
    ::shutdown(socket, SHUT_RDWR);
    ::close(socket);
    return true;
  }

  void ServeConnection(socket_t socket) {
    const ConnectionLimits& limits = settings_.limits;
    Connection connection(socket, limits);
    const auto stopping = [this] { return svr_sock_ == INVALID_SOCKET; };
    for (std::size_t served = 0; served < limits.keepAliveRequests; ++served) {
      const HeadStatus head =
          connection.ReadHead(served == 0 ? limits.readTimeout : limits.keepAliveTimeout, stopping);
      if (head == HeadStatus::kRequestLineTooLong) {
        return connection.SendAndLinger(
            HeadRefusal(414, "URI Too Long", "uri_too_long", "the request line is too long"));
      }
      if (head == HeadStatus::kHeadTooLarge) {
        return connection.SendAndLinger(HeadRefusal(431, "Request Header Fields Too Large",
                                                    "headers_too_large",
                                                    "the request headers are too large"));
      }
      if (head != HeadStatus::kComplete) return;
      const bool last = served + 1 == limits.keepAliveRequests || stopping();
      if (settings_.simpleGets) {
        if (std::optional<SimpleAnswer> answer =
                AnswerSimpleGet(api_, connection.Head(), last, limits)) {
          connection.SkipHead();
          if (connection.write(answer->bytes.data(), answer->bytes.size()) < 0 ||
              !connection.Flush() || answer->closesAfter) {
            return;
          }
          continue;
        }
      }
      bool clientCloses = false;
      tCloseAfterAnswer = false;
      const bool answered = process_request(connection, last, clientCloses, PrepareRequest);
      if (tCloseAfterAnswer) return connection.SendAndLinger({});
      if (!connection.Flush() || !answered || clientCloses || last) return;
    }
  }

  const ServerSettings settings_;
  Api api_;
  BatchPool batches_;
};

Server::Server(const ServerSettings& settings, std::shared_ptr<const Core> core)
    : wiring_(std::make_unique<Wiring>(settings, std::move(core))) {}

Server::~Server() = default;

std::optional<std::string> Server::Bind(const std::string& host, int port) {
  errno = 0;
  const int bound =
      port == 0 ? wiring_->bind_to_any_port(host) : (wiring_->bind_to_port(host, port) ? port : -1);
  if (bound <= 0) return errno != 0 ? std::strerror(errno) : "the address cannot be bound";
  wiring_->WidenBacklog();
  port_ = bound;
  return std::nullopt;
}

bool Server::Run() {
  running_ = true;
  const bool served = stopRequested_ || wiring_->listen_after_bind();
  running_ = false;
  return served;
}

// A Stop() that comes while Run() is starting waits until httplib listens, since
// httplib ignores a stop before that.
void Server::Stop() {
  stopRequested_ = true;
  while (running_ && !wiring_->is_running()) std::this_thread::yield();
  wiring_->stop();
}

}  // namespace tavrel::http
