#include "internal/simple_get.h"

#include <algorithm>

#include "tavrel/ascii.h"
#include "tavrel/service.h"

namespace tavrel::http {
namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kVersion = " HTTP/1.1";

// Characters a target may have on this path: those that need no decoding. A
// '%' or '+' (decoded by httplib) or anything rarer goes to httplib.
constexpr bool IsPlainPathChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || IsAsciiDigit(c) || c == '-' ||
         c == '_' || c == '.' || c == '~' || c == '/';
}

constexpr bool IsPlainQueryChar(char c) { return IsPlainPathChar(c) && c != '/'; }

// A header line's characters: visible ASCII, blanks and tabs.
constexpr bool IsHeaderChar(char c) { return (c >= ' ' && c <= '~') || c == '\t'; }

// "a=1&b=2": each pair with a name and one '=', sorted by name (as httplib's
// multimap hands them on, equal names in their order). False for anything else.
bool ReadQuery(std::string_view query, std::vector<std::pair<std::string, std::string>>& out) {
  while (!query.empty()) {
    const std::size_t end = std::min(query.find('&'), query.size());
    const std::string_view pair = query.substr(0, end);
    const std::size_t equals = pair.find('=');
    if (equals == 0 || equals == std::string_view::npos ||
        pair.find('=', equals + 1) != std::string_view::npos) {
      return false;
    }
    if (!std::all_of(pair.begin(), pair.end(),
                     [](char c) { return c == '=' || IsPlainQueryChar(c); })) {
      return false;
    }
    out.emplace_back(pair.substr(0, equals), pair.substr(equals + 1));
    if (end == query.size()) break;
    query.remove_prefix(end + 1);
    if (query.empty()) return false;  // a trailing '&'
  }
  std::stable_sort(out.begin(), out.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  return true;
}

// The headers that matter here; false when one of them (or the form of any)
// needs httplib: a body, a range, an expectation, folding.
struct Headers {
  std::string_view contentType;
  bool close = false;
};

bool ReadHeaders(std::string_view lines, Headers& out) {
  bool sawConnection = false;
  bool sawContentType = false;
  while (!lines.empty()) {
    const std::size_t end = lines.find(kLineEnd);
    if (end == std::string_view::npos) return false;
    const std::string_view line = lines.substr(0, end);
    lines.remove_prefix(end + kLineEnd.size());
    if (line.empty()) return lines.empty();
    const std::size_t colon = line.find(':');
    if (colon == 0 || colon == std::string_view::npos || line.front() == ' ' ||
        line.front() == '\t' || !std::all_of(line.begin(), line.end(), IsHeaderChar)) {
      return false;
    }
    const std::string_view name = line.substr(0, colon);
    const std::string_view value = service::TrimWhiteSpace(line.substr(colon + 1));
    if (name.find_first_of(" \t") != std::string_view::npos) return false;
    const auto is = [name](std::string_view known) { return EqualIgnoringAsciiCase(name, known); };
    if (is("Content-Length") || is("Transfer-Encoding") || is("Range") || is("Expect")) {
      return false;
    }
    if (is("Connection")) {
      if (sawConnection || (value != "close" && value != "keep-alive")) return false;
      sawConnection = true;
      out.close = value == "close";
    } else if (is("Content-Type")) {
      if (sawContentType) return false;
      sawContentType = true;
      out.contentType = value;
    }
  }
  return false;
}

std::string_view Reason(int status) {
  switch (status) {
    case 200:
      return "OK";
    case 400:
      return "Bad Request";
    case 404:
      return "Not Found";
    default:
      return {};
  }
}

}  // namespace

std::optional<SimpleAnswer> AnswerSimpleGet(const Api& api, std::string_view head, bool last,
                                            const ConnectionLimits& limits) {
  constexpr std::string_view kMethod = "GET /";
  if (!head.starts_with(kMethod)) return std::nullopt;
  const std::size_t lineEnd = head.find(kLineEnd);
  if (lineEnd == std::string_view::npos) return std::nullopt;
  std::string_view target = head.substr(kMethod.size() - 1, lineEnd - (kMethod.size() - 1));
  if (!target.ends_with(kVersion)) return std::nullopt;
  target.remove_suffix(kVersion.size());
  const std::size_t mark = std::min(target.find('?'), target.size());
  const std::string_view path = target.substr(0, mark);
  if (!std::all_of(path.begin(), path.end(), IsPlainPathChar)) return std::nullopt;

  Request request{"GET", path};
  if (mark < target.size() && !ReadQuery(target.substr(mark + 1), request.query)) {
    return std::nullopt;
  }
  Headers headers;
  if (!ReadHeaders(head.substr(lineEnd + kLineEnd.size()), headers)) return std::nullopt;
  request.contentType = headers.contentType;

  Response response = api.Handle(request);
  const std::string_view reason = Reason(response.status);
  if (reason.empty() || !response.headers.empty() || response.closeConnection ||
      response.contentType.empty()) {
    return std::nullopt;
  }
  // httplib's order: its header map sorts the names, ignoring case.
  SimpleAnswer answer;
  answer.closesAfter = last || headers.close;
  std::string& out = answer.bytes;
  out.reserve(response.body.size() + 160);
  out.append("HTTP/1.1 ").append(std::to_string(response.status));
  out.append(" ").append(reason).append(kLineEnd);
  if (answer.closesAfter) out.append("Connection: close\r\n");
  out.append("Content-Length: ").append(std::to_string(response.body.size()));
  out.append("\r\nContent-Type: ").append(response.contentType).append(kLineEnd);
  if (!answer.closesAfter) {
    out.append("Keep-Alive: timeout=")
        .append(std::to_string(WholeSeconds(limits.keepAliveTimeout)));
    out.append(", max=").append(std::to_string(limits.keepAliveRequests)).append(kLineEnd);
  }
  out.append(kNoSniff.name).append(": ").append(kNoSniff.value).append("\r\n\r\n");
  out.append(response.body);
  return answer;
}

}  // namespace tavrel::http
