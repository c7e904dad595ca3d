// The IBAN calls that need the account check service. Every service call of the
// IBAN subsystem is made here, so that directories and rule sets, once the
// service takes them, reach these calls in one place.
#include "internal/german.h"
#include "internal/parse.h"
#include "tavrel/ascii.h"
#include "tavrel/iban.h"
#include "tavrel/service.h"

namespace tavrel::iban {

IbanVerdict CheckIban(std::string_view text) { return CheckIban(text, service::DefaultSource()); }

IbanVerdict CheckIban(std::string_view text, const service::CheckSource& source) {
  IbanVerdict verdict;
  verdict.iban = ParseInto(text, verdict.electronic);
  if (verdict.iban != Outcome::kValid || verdict.electronic.countryCode() != kGermany) {
    return verdict;
  }
  // A text of the IBAN's length is its electronic form up to letter case, so
  // its digits are read where the caller holds them.
  const std::string_view iban = text.size() == kGermanLength ? text : verdict.electronic.view();
  GermanFindings& german = verdict.german.emplace();
  ReadGermanAccount(iban.data(), german.account);
  // The account as people write it, without the zeros the IBAN pads it with:
  // methods 13 and 50 retry with the account moved left only when its text has
  // room for the shift, which the ten-digit form never has.
  const std::size_t accountSize = german.account.accountWithoutLeadingZeros().size();
  german.accountOutcome =
      service::CheckAccount(service::AccountQuery{iban.substr(4, kBankCodeLength),
                                                  iban.substr(kGermanLength - accountSize)},
                            source);
  return verdict;
}

AccountConversion FromAccount(std::string_view bankCode, std::string_view account) {
  return FromAccount(bankCode, account, service::DefaultSource());
}

AccountConversion FromAccount(std::string_view bankCode, std::string_view account,
                              const service::CheckSource& source) {
  AccountConversion conversion;
  conversion.account = service::CheckAccount(service::AccountQuery{bankCode, account}, source);
  if (IsValid(conversion.account)) {
    // The service trimmed both; a valid account has the form BuildGerman needs.
    conversion.iban =
        BuildGerman(service::TrimWhiteSpace(bankCode), service::TrimWhiteSpace(account)).iban;
  }
  return conversion;
}

}  // namespace tavrel::iban
