// The request handlers on arbitrary requests: method, path, query parameters,
// content type and body all come from the input. Every answer must be a known
// status with a JSON body (the page aside), errors must carry a code and a
// message, and a batch that is answered must answer each of its items.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "fuzz_assert.h"
#include "http/internal/api.h"
#include "http/internal/simple_get.h"

namespace {

using namespace tavrel::http;
using nlohmann::json;

const char* const kMethods[] = {"GET", "HEAD", "POST", "PUT", "DELETE", "OPTIONS", "TRACE"};
const char* const kPaths[] = {
    "/api/v1/check", "/api/v1/banks",         "/api/v1/banks/", "/healthz", "/",
    "/page.js",      "/api/v1/banks/12030000"};
const char* const kNames[] = {"bank_code", "account", "q", "limit"};
const char* const kTypes[] = {"", "application/json", "application/x-ndjson",
                              "APPLICATION/JSON; charset=utf-8", "text/plain"};
constexpr int kStatuses[] = {200, 204, 400, 404, 405, 413, 415};

std::string Pick(FuzzedDataProvider& data, const char* const* words, std::size_t count) {
  return data.ConsumeBool() ? words[data.ConsumeIntegralInRange<std::size_t>(0, count - 1)]
                            : data.ConsumeRandomLengthString(64);
}

void CheckAnswer(const Request& request, const Response& response) {
  FUZZ_ASSERT(std::find(std::begin(kStatuses), std::end(kStatuses), response.status) !=
              std::end(kStatuses));
  if (response.status == 204) {
    FUZZ_ASSERT(response.body.empty());
    return;
  }
  if (!response.contentType.starts_with("application/")) {
    FUZZ_ASSERT(response.status == 200);
    return;
  }
  if (response.contentType == kNdjsonType) {
    std::size_t lines = 0;
    for (std::size_t start = 0; start < response.body.size(); ++lines) {
      const std::size_t end = response.body.find('\n', start);
      FUZZ_ASSERT(end != std::string::npos);
      FUZZ_ASSERT(json::accept(response.body.substr(start, end - start)));
      start = end + 1;
    }
    FUZZ_ASSERT(lines <= 10'000);
    return;
  }
  const json body = json::parse(response.body, nullptr, false);
  FUZZ_ASSERT(!body.is_discarded());
  if (response.status >= 400) {
    FUZZ_ASSERT(body.at("error").is_string() && body.at("message").is_string());
  } else if (request.method == "POST") {
    FUZZ_ASSERT(body.is_array() && body.size() <= 10'000);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  static const Api api;
  FuzzedDataProvider data(bytes, size);
  const std::string method = Pick(data, kMethods, std::size(kMethods));
  const std::string path = Pick(data, kPaths, std::size(kPaths)) +
                           (data.ConsumeBool() ? data.ConsumeRandomLengthString(16) : "");
  const std::string type = Pick(data, kTypes, std::size(kTypes));
  Request request{method, path, {}, type, {}};
  for (int n = data.ConsumeIntegralInRange(0, 4); n > 0; --n) {
    request.query.emplace_back(Pick(data, kNames, std::size(kNames)),
                               data.ConsumeRandomLengthString(32));
  }
  const std::string body = data.ConsumeRemainingBytesAsString();
  request.body = body;
  CheckAnswer(request, api.Handle(request));

  // The same request as a head for the usual GET's shortcut, the body as its
  // header lines: an answer it gives is whole, its Content-Length its body's.
  std::string head = method + " " + path;
  for (std::size_t i = 0; i < request.query.size(); ++i) {
    head += (i == 0 ? "?" : "&") + request.query[i].first + "=" + request.query[i].second;
  }
  head += " HTTP/1.1\r\n" + (body.empty() ? body : body + "\r\n") + "\r\n";
  if (const auto answer = AnswerSimpleGet(api, head, body.size() % 2 == 1, {})) {
    const std::string& bytes = answer->bytes;
    const std::size_t headEnd = bytes.find("\r\n\r\n");
    const std::size_t length = bytes.find("Content-Length: ");
    FUZZ_ASSERT(bytes.starts_with("HTTP/1.1 ") && headEnd != std::string::npos && length < headEnd);
    FUZZ_ASSERT(std::stoul(bytes.substr(length + 16)) == bytes.size() - headEnd - 4);
  }
  return 0;
}
