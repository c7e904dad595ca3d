// One request and its response as plain values, apart from any socket, so the
// handlers can be tested and fuzzed without a server.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tavrel::http {

inline constexpr std::string_view kJsonType = "application/json";
inline constexpr std::string_view kNdjsonType = "application/x-ndjson";

struct Request {
  std::string_view method;  // "GET", "HEAD", "POST", ...
  std::string_view path;    // percent-decoded, without the query
  std::vector<std::pair<std::string, std::string>> query = {};  // decoded, in order
  std::string_view contentType = {};                            // the header as sent, or empty
  std::string_view body = {};
  // Storage the batch answers may be written into, kept by the caller from one
  // request to the next; its text is replaced.
  std::string* answerBuffer = nullptr;
};

struct Header {
  std::string_view name;
  std::string_view value;
};

// The header every answer of the server carries.
inline constexpr Header kNoSniff = {"X-Content-Type-Options", "nosniff"};

struct Response {
  int status = 200;
  std::string_view contentType = kJsonType;
  std::string body;
  std::vector<Header> headers;   // Allow, and the page's security headers
  bool closeConnection = false;  // the request's body was not read to its end
};

}  // namespace tavrel::http
