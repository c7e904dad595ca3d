// The JSON forms of suggestions, generated accounts and the self-test.
#include "tavrel/encoding.h"
#include "tavrel/json.h"

namespace tavrel::json {
namespace {

std::string Utf8(std::string_view cp1252) { return encoding::Cp1252ToUtf8(cp1252); }

std::string_view StatusCode(service::SuggestionStatus status) {
  switch (status) {
    case service::SuggestionStatus::kSuggested:
      return "suggested";
    case service::SuggestionStatus::kAlreadyValid:
      return "already_valid";
    case service::SuggestionStatus::kNoCheckDigit:
      return "no_check_digit";
    case service::SuggestionStatus::kInputFault:
      return "input_fault";
    case service::SuggestionStatus::kMethodNotFound:
      break;
  }
  return "method_not_found";
}

std::string_view StatusCode(service::GenerateStatus status) {
  switch (status) {
    case service::GenerateStatus::kGenerated:
      return "generated";
    case service::GenerateStatus::kBankCodeFault:
      return "bank_code_fault";
    case service::GenerateStatus::kMethodNotFound:
      return "method_not_found";
    case service::GenerateStatus::kNoCheckDigit:
      return "no_check_digit";
    case service::GenerateStatus::kNone:
      return "none";
    case service::GenerateStatus::kTooFew:
      break;
  }
  return "too_few";
}

Json SuggestionJson(const service::Suggestion& suggestion, std::string_view field) {
  Json json{{std::string(field), Utf8(suggestion.text)}};
  if (!suggestion.bankName.empty()) json["name"] = Utf8(suggestion.bankName);
  json["slip"] = service::SlipCode(suggestion.slip);
  json["position"] = suggestion.position;
  json.update(OutcomeJson(suggestion.outcome));
  return json;
}

Json SuggestionList(const std::vector<service::Suggestion>& list, std::string_view field) {
  Json json = Json::array();
  for (const service::Suggestion& suggestion : list)
    json.push_back(SuggestionJson(suggestion, field));
  return json;
}

}  // namespace

Json SuggestionsJson(const service::Suggestions& suggestions, bool withBankCodes) {
  Json json{{"bank_code", Utf8(suggestions.bankCode)}, {"account", Utf8(suggestions.account)}};
  json.update(OutcomeJson(suggestions.outcome));
  json["status"] = StatusCode(suggestions.status);
  json["accounts"] = SuggestionList(suggestions.accounts, "account");
  json["account_count"] = suggestions.accountCount;
  if (withBankCodes) {
    json["bank_codes"] = SuggestionList(suggestions.bankCodes, "bank_code");
    json["bank_code_count"] = suggestions.bankCodeCount;
  }
  return json;
}

Json GeneratedJson(const service::GeneratedAccounts& generated) {
  Json accounts = Json::array();
  for (const service::GeneratedAccount& account : generated.accounts) {
    Json item{{"account", account.account}, {"variant", account.variant}};
    item.update(OutcomeJson(account.outcome));
    if (!account.validForm.empty()) {
      item["valid_form"] = account.validForm;
      item["check_digit_place"] = account.checkDigitPlace;
    }
    accounts.push_back(std::move(item));
  }
  Json bank;
  if (!generated.bankName.empty())
    bank = {{"bank_code", generated.bankCode}, {"name", Utf8(generated.bankName)}};
  Json json{{"status", StatusCode(generated.status)},
            {"message", generated.message.empty() ? Json() : Json(Utf8(generated.message))},
            {"rules", generated.rules},
            {"method", Utf8(generated.method)},
            {"bank", std::move(bank)}};
  if (generated.status == service::GenerateStatus::kBankCodeFault)
    json["fault"] = OutcomeJson(generated.bankOutcome);
  json["exhaustive"] = generated.exhaustive;
  json["accounts"] = std::move(accounts);
  return json;
}

Json SelfTestJson(const service::SelfTestReport& report) {
  Json failures = Json::array();
  for (const service::SelfTestFailure& failure : report.failures) {
    failures.push_back({{"key", failure.key},
                        {"account", failure.account},
                        {"bank_code", failure.bankCode.empty() ? Json() : Json(failure.bankCode)},
                        {"expected", failure.expectedValid ? "valid" : "invalid"},
                        {"result", OutcomeJson(failure.result)}});
  }
  return Json{{"rules", report.rules},
              {"passed", report.passed},
              {"failed", report.failed},
              {"failures", std::move(failures)}};
}

}  // namespace tavrel::json
