#include "internal/core_adapter.h"

#include <algorithm>
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

bool IsAscii(std::string_view text) {
  return std::all_of(text.begin(), text.end(),
                     [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

}  // namespace

Core::Core() {
  banks_.reserve(directory::kEntryCount);
  directory::ForEachEntry([this](std::string_view code, std::string_view) {
    std::string name;
    directory::LookupBankName(code, name);
    banks_.push_back({std::string(code), encoding::Cp1252ToUtf8(name)});
  });
  std::sort(banks_.begin(), banks_.end(),
            [](const Bank& a, const Bank& b) { return a.code < b.code; });
  codes_.reserve(banks_.size());
  for (const Bank& bank : banks_) codes_.push_back(CodeNumber(bank.code).value_or(0));
}

std::optional<CheckResult> Core::Check(std::string_view bankCode, std::string_view account) const {
  // ASCII reads the same in both encodings, and it is nearly every input.
  if (IsAscii(bankCode) && IsAscii(account)) {
    const Outcome outcome = service::CheckAccount(service::AccountQuery{bankCode, account});
    return CheckResult{outcome, FindBank(service::TrimWhiteSpace(bankCode))};
  }
  const std::optional<std::string> code = encoding::Utf8ToCp1252(bankCode);
  const std::optional<std::string> number = encoding::Utf8ToCp1252(account);
  if (!code || !number) return std::nullopt;
  const Outcome outcome = service::CheckAccount(service::AccountQuery{*code, *number});
  return CheckResult{outcome, FindBank(service::TrimWhiteSpace(*code))};
}

const Bank* Core::FindBank(std::string_view bankCode) const {
  const std::optional<std::uint32_t> number = CodeNumber(bankCode);
  if (!number) return nullptr;
  const auto found = std::lower_bound(codes_.begin(), codes_.end(), *number);
  if (found == codes_.end() || *found != *number) return nullptr;
  return &banks_[static_cast<std::size_t>(found - codes_.begin())];
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
