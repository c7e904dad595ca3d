// The usual single request (GET, a target of plain characters, HTTP/1.1, no
// body, no headers that change the answer) answered without httplib: parsing
// its head into a multimap and writing the answer through it cost about half a
// check's server time. The answer is byte for byte the one httplib writes; any
// other request returns nullopt and is handed to httplib as before.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "api.h"
#include "connection.h"

namespace tavrel::http {

struct SimpleAnswer {
  std::string bytes;         // status line, headers and body
  bool closesAfter = false;  // "Connection: close" was sent
};

// `head` is the request line and headers up to and with the empty line; `last`
// is whether this is the connection's last request. The answer also carries the
// headers every answer of the server has (`X-Content-Type-Options`).
std::optional<SimpleAnswer> AnswerSimpleGet(const Api& api, std::string_view head, bool last,
                                            const ConnectionLimits& limits);

}  // namespace tavrel::http
