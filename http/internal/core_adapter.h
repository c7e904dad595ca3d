// The server's one door into the core: the check, bank look-ups and the bank
// search, with the conversions between the API's UTF-8 and the core's
// Windows-1252. Rule sets, further directories and IBANs join here.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tavrel/outcome.h"

namespace tavrel::http {

// A bank of the directory as the API shows it.
struct Bank {
  std::string code;  // eight digits
  std::string name;  // UTF-8
};

struct CheckResult {
  Outcome outcome;
  const Bank* bank;  // the bank of the trimmed bank code; nullptr when it is not in the directory
};

// The compiled-in directory and the 2009 rules. Immutable once built, so every
// worker thread shares one.
class Core {
 public:
  Core();

  // nullopt when either text is not valid UTF-8 or has a character without a
  // Windows-1252 form.
  std::optional<CheckResult> Check(std::string_view bankCode, std::string_view account) const;

  // The bank of exactly this code (no trimming), or nullptr.
  const Bank* FindBank(std::string_view bankCode) const;

  // The control's bank search: bank codes by leading digits, or names by one or
  // two terms. nullopt when the text cannot be written in Windows-1252.
  std::optional<std::vector<const Bank*>> Search(std::string_view text) const;

  // The banks are numbered 0 to BankCount() - 1 in the order of their codes.
  std::size_t BankCount() const { return banks_.size(); }
  std::size_t IndexOf(const Bank& bank) const {
    return static_cast<std::size_t>(&bank - banks_.data());
  }

  // Whether `text` is valid UTF-8 with a Windows-1252 form for every character.
  static bool IsEncodable(std::string_view text);

  // The German message of an outcome, in UTF-8.
  static std::string MessageOf(Outcome outcome);

 private:
  std::vector<Bank> banks_;
  // The bank codes as numbers, in the order of banks_: 16 kB that stay in the
  // cache, where a hash map's nodes would miss it on every look-up.
  std::vector<std::uint32_t> codes_;
};

}  // namespace tavrel::http
