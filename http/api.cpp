#include "internal/api.h"

#include <charconv>
#include <exception>
#include <new>
#include <span>
#include <string>
#include <variant>

#include "internal/batch.h"
#include "internal/page.h"
#include "tavrel/ascii.h"
#include "tavrel/service.h"
#include "tavrel/version.h"

namespace tavrel::http {
namespace {

constexpr std::string_view kCheckPath = "/api/v1/check";
constexpr std::string_view kBankPathPrefix = "/api/v1/banks/";
constexpr std::string_view kIbanPathPrefix = "/api/v1/iban/";
// More suggestions than this are no help to anyone and cost time.
constexpr std::size_t kMaxSuggestions = 1000;
// The optional parameters that choose the directory and the rules.
constexpr std::string_view kDirectoryParam = "directory";
constexpr std::string_view kRulesParam = "rules";

// The page loads nothing but its own files and talks only to this server.
constexpr Header kPageHeaders[] = {
    {"Content-Security-Policy",
     "default-src 'none'; script-src 'self'; style-src 'self'; connect-src 'self'; "
     "img-src 'self'; base-uri 'none'; form-action 'none'; frame-ancestors 'none'"},
    {"Cache-Control", "no-cache"},
};

struct PageRoute {
  std::string_view path;
  std::string_view file;
  std::string_view contentType;
};
constexpr PageRoute kPageRoutes[] = {
    {"/", "index.html", "text/html; charset=utf-8"},
    {"/page.css", "page.css", "text/css; charset=utf-8"},
    {"/page.js", "page.js", "text/javascript; charset=utf-8"},
};

// A query parameter an endpoint takes, and its value once found.
struct Param {
  std::string_view name;
  bool required;
  const std::string* value = nullptr;
};

std::string NamesOf(std::span<const Param> params) {
  if (params.empty()) return "no parameters";
  std::string names;
  for (const Param& param : params) {
    names += names.empty() ? "" : ", ";
    names += param.name;
  }
  return names;
}

// Finds each parameter in the query. An unknown name is refused rather than
// ignored, so a misspelt or newer option never passes silently.
std::optional<Response> ReadParams(const Request& request, std::span<Param> params) {
  for (const auto& [name, value] : request.query) {
    Param* param = nullptr;
    for (Param& candidate : params) {
      if (candidate.name == name) param = &candidate;
    }
    if (param == nullptr) {
      return ErrorResponse(
          400, "unknown_parameter",
          "unknown parameter \"" + name + "\"; this endpoint takes " + NamesOf(params));
    }
    if (param->value != nullptr) {
      return ErrorResponse(400, "repeated_parameter",
                           "parameter \"" + name + "\" given more than once");
    }
    param->value = &value;
  }
  for (const Param& param : params) {
    if (param.required && param.value == nullptr) {
      return ErrorResponse(400, "missing_parameter",
                           "parameter \"" + std::string(param.name) + "\" missing");
    }
  }
  return std::nullopt;
}

std::string EncodingFault(std::string_view field) {
  return std::string(field) + " is not valid UTF-8 or has a character without a Windows-1252 form";
}

// The field that Core::Check could not convert.
std::string_view UnencodableField(std::string_view bankCode) {
  return Core::IsEncodable(bankCode) ? "account" : "bank_code";
}

// The media type of a Content-Type header, without parameters and blanks.
std::string_view MediaType(std::string_view contentType) {
  std::string_view type = contentType.substr(0, contentType.find(';'));
  while (!type.empty() && type.front() == ' ') type.remove_prefix(1);
  while (!type.empty() && type.back() == ' ') type.remove_suffix(1);
  return type;
}

// Writes the answers of a batch in item order: a JSON array or NDJSON lines.
class BatchWriter : public ItemSink {
 public:
  BatchWriter(const Core& core, const Source& source, bool ndjson, std::string& out)
      : core_(core), source_(source), ndjson_(ndjson), out_(out), start_(out.size()) {
    if (!ndjson_) out_ += '[';
  }

  // Drops the answers written so far, for a body that is read again.
  void Restart() {
    out_.resize(start_);
    if (!ndjson_) out_ += '[';
    first_ = true;
  }

  void Item(std::string_view bankCode, std::string_view account) override {
    Separate();
    if (const std::optional<CheckResult> result = core_.Check(source_, bankCode, account)) {
      core_.AppendAnswer(source_, *result, out_);
    } else {
      out_ += ToText(ErrorJson("invalid_encoding", EncodingFault(UnencodableField(bankCode))));
    }
    End();
  }

  void BadItem(std::string_view reason) override {
    Separate();
    out_ += ToText(ErrorJson("invalid_item", reason));
    End();
  }

  void Finish() {
    if (!ndjson_) out_ += ']';
  }

 private:
  void Separate() {
    if (!ndjson_ && !first_) out_ += ',';
    first_ = false;
  }
  void End() {
    if (ndjson_) out_ += '\n';
  }

  const Core& core_;
  const Source& source_;
  const bool ndjson_;
  std::string& out_;
  const std::size_t start_;
  bool first_ = true;
};

std::optional<std::size_t> ParseLimit(std::string_view text) {
  std::size_t limit = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), limit);
  if (ec != std::errc() || end != text.data() + text.size() || limit == 0) return std::nullopt;
  return limit;
}

std::optional<bool> ParseFlag(std::string_view text) {
  if (text == "1" || text == "true") return true;
  if (text == "0" || text == "false") return false;
  return std::nullopt;
}

Response JsonResponse(const Json& json) {
  Response response;
  response.body = ToText(json);
  return response;
}

const std::string* ValueOf(std::span<const Param> params, std::string_view name) {
  for (const Param& param : params) {
    if (param.name == name) return param.value;
  }
  return nullptr;
}

// The source the directory and rules parameters choose, or a 400 naming the
// known values.
std::variant<const Source*, Response> ChooseSource(const Core& core,
                                                   std::span<const Param> params) {
  auto chosen = core.Choose(ValueOf(params, kDirectoryParam), ValueOf(params, kRulesParam));
  if (const std::string* unknown = std::get_if<std::string>(&chosen)) {
    return ErrorResponse(400, "invalid_parameter", *unknown);
  }
  return std::get<const Source*>(chosen);
}

// The parameters read and the source they choose, or the 400 of a fault.
std::variant<const Source*, Response> ReadParamsAndSource(const Core& core, const Request& request,
                                                          std::span<Param> params) {
  if (std::optional<Response> fault = ReadParams(request, params)) return std::move(*fault);
  return ChooseSource(core, params);
}

// The answer with 200, or the 400 of the parameter that the core cannot take.
Response AnswerResponse(Answer answer) {
  if (const Unencodable* fault = std::get_if<Unencodable>(&answer)) {
    return ErrorResponse(400, "invalid_encoding", EncodingFault(fault->field));
  }
  return JsonResponse(std::get<Json>(answer));
}

}  // namespace

Response ErrorResponse(int status, std::string_view code, std::string_view message) {
  Response response = JsonResponse(ErrorJson(code, message));
  response.status = status;
  return response;
}

struct Api::Route {
  std::string_view path;  // exact, or a prefix when it ends in '/' and is not "/"
  std::string_view allow;
  Response (Api::*get)(const Request&) const;
  Response (Api::*post)(const Request&) const;
};

Api::Api() : core_(std::make_shared<const Core>()) {}

Api::Api(std::shared_ptr<const Core> core) : core_(std::move(core)) {}

const Api::Route* Api::FindRoute(std::string_view path) {
  static constexpr Route kRoutes[] = {
      {"/", "GET, HEAD", &Api::Page, nullptr},
      {"/page.css", "GET, HEAD", &Api::Page, nullptr},
      {"/page.js", "GET, HEAD", &Api::Page, nullptr},
      {"/healthz", "GET, HEAD", &Api::Health, nullptr},
      {kCheckPath, "GET, HEAD, POST", &Api::CheckOne, &Api::CheckBatch},
      {"/api/v1/banks", "GET, HEAD", &Api::SearchBanks, nullptr},
      {"/api/v1/directory", "GET, HEAD", &Api::ShowDirectory, nullptr},
      {kBankPathPrefix, "GET, HEAD", &Api::ShowBank, nullptr},
      {"/api/v1/iban", "GET, HEAD", &Api::ConvertAccount, nullptr},
      {kIbanPathPrefix, "GET, HEAD", &Api::CheckIban, nullptr},
      {"/api/v1/explain", "GET, HEAD", &Api::Explain, nullptr},
      {"/api/v1/suggest", "GET, HEAD", &Api::Suggest, nullptr},
  };
  for (const Route& route : kRoutes) {
    const bool prefix = route.path.size() > 1 && route.path.ends_with('/');
    if (prefix ? path.starts_with(route.path) : path == route.path) return &route;
  }
  return nullptr;
}

bool Api::TakesBody(std::string_view method, std::string_view path) {
  return method == "POST" && path == kCheckPath;
}

Response Api::Handle(const Request& request) const {
  try {
    return Dispatch(request);
  } catch (const std::bad_alloc&) {
    return ErrorResponse(503, "out_of_memory", "the server is out of memory");
  } catch (const std::exception& e) {
    return ErrorResponse(500, "internal_error", e.what());
  }
}

Response Api::Dispatch(const Request& request) const {
  const Route* route = FindRoute(request.path);
  if (route == nullptr) return ErrorResponse(404, "not_found", "no such path");
  if (request.method == "GET" || request.method == "HEAD") return (this->*route->get)(request);
  if (request.method == "POST" && route->post != nullptr) return (this->*route->post)(request);
  Response response;
  if (request.method == "OPTIONS") {
    response.status = 204;
    response.contentType = {};
  } else {
    response =
        ErrorResponse(405, "method_not_allowed", "this path takes " + std::string(route->allow));
  }
  response.headers.push_back({"Allow", route->allow});
  return response;
}

Response Api::CheckOne(const Request& request) const {
  Param params[] = {
      {"bank_code", true}, {"account", true}, {kRulesParam, false}, {kDirectoryParam, false}};
  if (std::optional<Response> fault = ReadParams(request, params)) return std::move(*fault);
  auto source = ChooseSource(*core_, params);
  if (Response* fault = std::get_if<Response>(&source)) return std::move(*fault);
  const std::string& bankCode = *params[0].value;
  const Source& chosen = *std::get<const Source*>(source);
  const std::optional<CheckResult> result = core_->Check(chosen, bankCode, *params[1].value);
  if (!result) {
    return ErrorResponse(400, "invalid_encoding", EncodingFault(UnencodableField(bankCode)));
  }
  Response response;
  core_->AppendAnswer(chosen, *result, response.body);
  return response;
}

Response Api::CheckBatch(const Request& request) const {
  Param params[] = {{kRulesParam, false}, {kDirectoryParam, false}};
  if (std::optional<Response> fault = ReadParams(request, params)) return std::move(*fault);
  auto source = ChooseSource(*core_, params);
  if (Response* fault = std::get_if<Response>(&source)) return std::move(*fault);
  const std::string_view type = MediaType(request.contentType);
  const bool ndjson = EqualIgnoringAsciiCase(type, kNdjsonType);
  if (!ndjson && !type.empty() && !EqualIgnoringAsciiCase(type, kJsonType)) {
    return ErrorResponse(415, "unsupported_media_type",
                         "send the batch as application/json or application/x-ndjson");
  }
  Response response;
  if (request.answerBuffer != nullptr) {
    response.body.swap(*request.answerBuffer);
    response.body.clear();
  }
  response.contentType = ndjson ? kNdjsonType : kJsonType;
  // Each item of about 45 bytes gets an answer of about 300.
  response.body.reserve(request.body.size() * 7);
  BatchWriter writer(*core_, *std::get<const Source*>(source), ndjson, response.body);
  if (!ReadCompactItems(request.body, ndjson, writer)) {
    writer.Restart();
    const std::optional<BatchFault> fault =
        ndjson ? ReadNdjsonItems(request.body, writer) : ReadJsonItems(request.body, writer);
    if (fault) return ErrorResponse(fault->status, fault->code, fault->message);
  }
  writer.Finish();
  return response;
}

Response Api::SearchBanks(const Request& request) const {
  Param params[] = {{"q", true}, {"limit", false}, {kDirectoryParam, false}};
  if (std::optional<Response> fault = ReadParams(request, params)) return std::move(*fault);
  auto source = ChooseSource(*core_, params);
  if (Response* fault = std::get_if<Response>(&source)) return std::move(*fault);
  std::optional<std::size_t> limit = core_->BankCount();
  if (params[1].value != nullptr) limit = ParseLimit(*params[1].value);
  if (!limit) {
    return ErrorResponse(400, "invalid_parameter", "limit takes a whole number from 1");
  }
  std::optional<std::vector<Json>> hits =
      core_->Search(*std::get<const Source*>(source), *params[0].value);
  if (!hits) return ErrorResponse(400, "invalid_encoding", EncodingFault("q"));
  const std::size_t total = hits->size();
  hits->resize(std::min(total, *limit));
  return JsonResponse(Json{{"total", total}, {"hits", std::move(*hits)}});
}

Response Api::ShowBank(const Request& request) const {
  Param params[] = {{kDirectoryParam, false}};
  if (std::optional<Response> fault = ReadParams(request, params)) return std::move(*fault);
  auto source = ChooseSource(*core_, params);
  if (Response* fault = std::get_if<Response>(&source)) return std::move(*fault);
  std::string note;
  const std::optional<Json> bank = core_->BankRecord(
      *std::get<const Source*>(source), request.path.substr(kBankPathPrefix.size()), note);
  if (!bank) {
    return ErrorResponse(
        404, "bank_not_found",
        "no bank with this code in the directory" + (note.empty() ? "" : "; " + note));
  }
  return JsonResponse(*bank);
}

Response Api::ShowDirectory(const Request& request) const {
  Param params[] = {{kDirectoryParam, false}};
  if (std::optional<Response> fault = ReadParams(request, params)) return std::move(*fault);
  auto source = ChooseSource(*core_, params);
  if (Response* fault = std::get_if<Response>(&source)) return std::move(*fault);
  return JsonResponse(Core::DirectoryInfo(*std::get<const Source*>(source)));
}

Response Api::CheckIban(const Request& request) const {
  Param params[] = {{kRulesParam, false}, {kDirectoryParam, false}};
  auto source = ReadParamsAndSource(*core_, request, params);
  if (Response* fault = std::get_if<Response>(&source)) return std::move(*fault);
  return AnswerResponse(core_->CheckIban(*std::get<const Source*>(source),
                                         request.path.substr(kIbanPathPrefix.size())));
}

Response Api::ConvertAccount(const Request& request) const {
  Param params[] = {
      {"bank_code", true}, {"account", true}, {kRulesParam, false}, {kDirectoryParam, false}};
  auto source = ReadParamsAndSource(*core_, request, params);
  if (Response* fault = std::get_if<Response>(&source)) return std::move(*fault);
  return AnswerResponse(
      core_->IbanOf(*std::get<const Source*>(source), *params[0].value, *params[1].value));
}

// With "method", one method key on the account as given; the bank code is then
// optional, for the methods that read it.
Response Api::Explain(const Request& request) const {
  Param params[] = {{"bank_code", false},
                    {"account", true},
                    {"method", false},
                    {kRulesParam, false},
                    {kDirectoryParam, false}};
  auto source = ReadParamsAndSource(*core_, request, params);
  if (Response* fault = std::get_if<Response>(&source)) return std::move(*fault);
  const Source& chosen = *std::get<const Source*>(source);
  const std::string* bankCode = params[0].value;
  const std::string& account = *params[1].value;
  if (const std::string* method = params[2].value) {
    return AnswerResponse(
        core_->ExplainMethod(chosen, *method, account, bankCode ? *bankCode : std::string()));
  }
  if (bankCode == nullptr) {
    return ErrorResponse(400, "missing_parameter",
                         "parameter \"bank_code\" missing; give it, or \"method\" for one method");
  }
  return AnswerResponse(core_->Explain(chosen, *bankCode, account));
}

Response Api::Suggest(const Request& request) const {
  Param params[] = {{"bank_code", true},   {"account", true},    {"max", false},
                    {"bank_codes", false}, {kRulesParam, false}, {kDirectoryParam, false}};
  auto source = ReadParamsAndSource(*core_, request, params);
  if (Response* fault = std::get_if<Response>(&source)) return std::move(*fault);
  std::optional<std::size_t> max = service::SuggestOptions{}.max;
  if (params[2].value != nullptr) max = ParseLimit(*params[2].value);
  if (!max || *max > kMaxSuggestions) {
    return ErrorResponse(400, "invalid_parameter",
                         "max takes a whole number from 1 to " + std::to_string(kMaxSuggestions));
  }
  std::optional<bool> bankCodes = false;
  if (params[3].value != nullptr) bankCodes = ParseFlag(*params[3].value);
  if (!bankCodes) {
    return ErrorResponse(400, "invalid_parameter", "bank_codes takes 1 or 0 (true or false)");
  }
  return AnswerResponse(core_->Suggest(*std::get<const Source*>(source), *params[0].value,
                                       *params[1].value, {*max, *bankCodes}));
}

Response Api::Health(const Request& request) const {
  if (std::optional<Response> fault = ReadParams(request, {})) return std::move(*fault);
  return JsonResponse(Json{{"status", "ok"}, {"version", TAVREL_VERSION}});
}

Response Api::Page(const Request& request) const {
  for (const PageRoute& route : kPageRoutes) {
    if (route.path != request.path) continue;
    for (std::size_t i = 0; i < kEmbeddedFileCount; ++i) {
      if (kEmbeddedFiles[i].name != route.file) continue;
      Response response;
      response.contentType = route.contentType;
      response.body = kEmbeddedFiles[i].content;
      response.headers.assign(std::begin(kPageHeaders), std::end(kPageHeaders));
      return response;
    }
  }
  return ErrorResponse(404, "not_found", "no such path");
}

}  // namespace tavrel::http
