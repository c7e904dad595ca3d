#include "internal/core_adapter.h"

#include <charconv>

#include "tavrel/ascii.h"
#include "tavrel/directory.h"
#include "tavrel/encoding.h"
#include "tavrel/service.h"

namespace tavrel::http {
namespace {

// Eight digits fit a 32-bit number, a cheaper key than the text.
std::optional<std::uint32_t> CodeNumber(std::string_view bankCode) {
  if (!IsEightDigits(bankCode)) return std::nullopt;
  std::uint32_t number = 0;
  std::from_chars(bankCode.data(), bankCode.data() + bankCode.size(), number);
  return number;
}

}  // namespace

Core::Core() {
  banks_.reserve(directory::kEntryCount);
  directory::ForEachEntry([this](std::string_view code, std::string_view) {
    std::string name;
    directory::LookupBankName(code, name);
    const std::optional<std::uint32_t> number = CodeNumber(code);
    if (!number) return;
    indexByCode_.emplace(*number, static_cast<std::uint32_t>(banks_.size()));
    banks_.push_back({std::string(code), encoding::Cp1252ToUtf8(name)});
  });
}

std::optional<CheckResult> Core::Check(std::string_view bankCode, std::string_view account) const {
  const std::optional<std::string> code = encoding::Utf8ToCp1252(bankCode);
  const std::optional<std::string> number = encoding::Utf8ToCp1252(account);
  if (!code || !number) return std::nullopt;
  const Outcome outcome = service::CheckAccount(service::AccountQuery{*code, *number});
  return CheckResult{outcome, FindBank(service::TrimWhiteSpace(*code))};
}

const Bank* Core::FindBank(std::string_view bankCode) const {
  const std::optional<std::uint32_t> number = CodeNumber(bankCode);
  if (!number) return nullptr;
  const auto found = indexByCode_.find(*number);
  return found == indexByCode_.end() ? nullptr : &banks_[found->second];
}

std::optional<std::vector<const Bank*>> Core::Search(std::string_view text) const {
  const std::optional<std::string> cp1252 = encoding::Utf8ToCp1252(text);
  if (!cp1252) return std::nullopt;
  const directory::SearchResult search = directory::BankSearch(*cp1252, false);
  std::vector<const Bank*> hits;
  hits.reserve(search.hits.size());
  // A hit line starts with its bank code.
  for (const std::string& line : search.hits) {
    if (const Bank* bank = FindBank(std::string_view(line).substr(0, kBankCodeLength))) {
      hits.push_back(bank);
    }
  }
  return hits;
}

bool Core::IsEncodable(std::string_view text) { return encoding::Utf8ToCp1252(text).has_value(); }

std::string Core::MessageOf(Outcome outcome) {
  const OutcomeInfo* info = FindOutcome(ValueOf(outcome));
  return info == nullptr ? std::string() : encoding::Cp1252ToUtf8(info->message);
}

}  // namespace tavrel::http
