#include "internal/answers.h"

#include <cstring>

namespace tavrel::http {
namespace {

// Banks may convert some accounts by IBAN rules of their own, which this
// service does not have.
constexpr std::string_view kConversionNote =
    "Some banks convert some of their accounts by IBAN rules of their own, which this service "
    "does not have; this is the standard conversion, so have the bank confirm the IBAN.";

std::string_view ConversionCode(iban::Conversion conversion) {
  switch (conversion) {
    case iban::Conversion::kStandard:
      break;
  }
  return "standard";
}

Json BankOrNull(const std::optional<service::Bank>& bank) {
  return bank ? json::BankJson(*bank) : Json();
}

// The electronic and the print form, or nulls for an empty IBAN.
void AddIbanForms(const iban::IbanText& iban, Json& json) {
  json["iban"] = iban.empty() ? Json() : Json(iban.view());
  json["print_format"] = iban.empty() ? Json() : Json(iban::PrintFormat(iban).view());
}

Json GermanJson(const iban::GermanFindings& german, const std::optional<service::Bank>& bank) {
  return Json{{"bank_code", german.account.bankCode()},
              {"account", german.account.accountWithoutLeadingZeros()},
              {"account_check", json::OutcomeJson(german.accountOutcome)},
              {"bank", BankOrNull(bank)}};
}

}  // namespace

Json ErrorJson(std::string_view code, std::string_view message) {
  return Json{{"error", code}, {"message", message}};
}

Json IbanVerdictJson(const iban::IbanVerdict& verdict, const std::optional<service::Bank>& bank) {
  Json json = json::OutcomeJson(verdict.iban);
  json["valid"] =
      IsValid(verdict.iban) && (!verdict.german || IsValid(verdict.german->accountOutcome));
  AddIbanForms(verdict.electronic, json);
  const std::string_view country = verdict.electronic.countryCode();
  json["country"] = iban::FindCountry(country) != nullptr ? Json(country) : Json();
  json["german"] = verdict.german ? GermanJson(*verdict.german, bank) : Json();
  return json;
}

Json IbanConversionJson(const iban::AccountConversion& conversion,
                        const std::optional<service::Bank>& bank) {
  Json json;
  AddIbanForms(conversion.iban, json);
  json["conversion"] = ConversionCode(conversion.conversion);
  json["note"] = kConversionNote;
  json["account_check"] = json::OutcomeJson(conversion.account);
  json["bank"] = BankOrNull(bank);
  return json;
}

AnswerCache::AnswerCache(std::size_t rows)
    : rows_(rows), cells_(new std::atomic<const char*>[rows * kOutcomes.size()]()) {}

AnswerCache::~AnswerCache() {
  for (std::size_t i = 0; i < rows_ * kOutcomes.size(); ++i) delete[] cells_[i].load();
}

std::unique_ptr<const char[]> AnswerCache::Pack(std::string_view text) {
  const std::size_t size = text.size();
  auto block = std::make_unique<char[]>(sizeof size + size);
  std::memcpy(block.get(), &size, sizeof size);
  std::memcpy(block.get() + sizeof size, text.data(), size);
  return block;
}

std::string_view AnswerCache::Unpack(const char* block) {
  std::size_t size = 0;
  std::memcpy(&size, block, sizeof size);
  return {block + sizeof size, size};
}

std::atomic<const char*>* AnswerCache::Cell(std::size_t row, Outcome outcome) const {
  const OutcomeInfo* info = FindOutcome(ValueOf(outcome));
  if (info == nullptr || row >= rows_) return nullptr;
  const auto column = static_cast<std::size_t>(info - kOutcomes.data());
  return &cells_[row * kOutcomes.size() + column];
}

}  // namespace tavrel::http
