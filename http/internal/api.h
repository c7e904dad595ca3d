// The API and the page: routes a request to its endpoint and answers it.
//
//   GET  /api/v1/check?bank_code=&account=   one check
//   POST /api/v1/check                       a batch: JSON array or NDJSON
//   GET  /api/v1/banks?q=[&limit=]           the bank search
//   GET  /api/v1/banks/{bank_code}           one bank's record
//   GET  /api/v1/directory                   the directory's info block
//   GET  /healthz                            status and version
//
// The check, the batch, the bank search, one bank and the directory take
// `directory=2009|current` (default: the served directory); the check and the
// batch take `rules=2009|current` (default: the directory's own rules).
//   GET  /, /page.css, /page.js              the page that checks as you type
//
// Input faults of a check are results (200); HTTP errors are kept for requests
// that cannot be answered: 400 a missing, unknown or repeated parameter or a
// malformed body, 404 an unknown path or bank, 405 another method, 413 a batch
// of more than 10,000 items, 415 a body that is neither JSON nor NDJSON.
#pragma once

#include <memory>
#include <string_view>

#include "answers.h"
#include "core_adapter.h"
#include "exchange.h"

namespace tavrel::http {

class Api {
 public:
  // Serves the 2009 directory and rules, as the other faces do by default.
  Api();
  // Serves the directory of `core` to requests that name none.
  explicit Api(std::shared_ptr<const Core> core);

  // Never throws for any request; a fault inside becomes a 500 answer.
  Response Handle(const Request& request) const;

  // Whether the request's body is read and handed to Handle (the batch check);
  // the server reads every other body only to skip it.
  static bool TakesBody(std::string_view method, std::string_view path);

 private:
  struct Route;
  static const Route* FindRoute(std::string_view path);

  Response Dispatch(const Request& request) const;
  Response CheckOne(const Request& request) const;
  Response CheckBatch(const Request& request) const;
  Response SearchBanks(const Request& request) const;
  Response ShowBank(const Request& request) const;
  Response ShowDirectory(const Request& request) const;
  Response CheckIban(const Request& request) const;
  Response ConvertAccount(const Request& request) const;
  Response Explain(const Request& request) const;
  Response Suggest(const Request& request) const;
  Response Health(const Request& request) const;
  Response Page(const Request& request) const;

  std::shared_ptr<const Core> core_;
};

// A JSON error document {"error": code, "message": message} with `status`.
Response ErrorResponse(int status, std::string_view code, std::string_view message);

}  // namespace tavrel::http
