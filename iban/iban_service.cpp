// The IBAN calls that need the account check service. Every service call of the
// IBAN subsystem is made here, so that directories and rule sets, once the
// service takes them, reach these calls in one place.
#include "internal/german.h"
#include "internal/notation.h"
#include "internal/parse.h"
#include "tavrel/ascii.h"
#include "tavrel/iban.h"
#include "tavrel/service.h"

namespace tavrel::iban {
namespace {

// `check` is the service's account check of a query: against the 2009
// directory (which the service fills without allocating on the check path) or
// against a source.
template <typename CheckQuery>
IbanVerdict CheckIbanBy(std::string_view text, CheckQuery check) {
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
  // Both parts are digits by the German layout, so the service skips its form tests.
  const std::size_t accountSize = german.account.accountWithoutLeadingZeros().size();
  german.accountOutcome =
      check(service::AccountQuery{{iban.data() + kBbanStart, kBankCodeLength},
                                  {iban.data() + kGermanLength - accountSize, accountSize}});
  return verdict;
}

template <typename CheckQuery>
AccountConversion FromAccountBy(std::string_view bankCode, std::string_view account,
                                CheckQuery check) {
  AccountConversion conversion;
  conversion.account = check(service::AccountQuery{bankCode, account});
  if (IsValid(conversion.account)) {
    // The service trimmed both; a valid account has the form BuildGerman needs.
    conversion.iban =
        BuildGerman(service::TrimWhiteSpace(bankCode), service::TrimWhiteSpace(account)).iban;
  }
  return conversion;
}

Outcome CheckIn2009(const service::AccountQuery& query) { return service::CheckAccount(query); }

Outcome CheckFormedIn2009(const service::AccountQuery& query) {
  return service::CheckFormedAccount(query);
}

}  // namespace

IbanVerdict CheckIban(std::string_view text) { return CheckIbanBy(text, CheckFormedIn2009); }

IbanVerdict CheckIban(std::string_view text, const service::CheckSource& source) {
  return CheckIbanBy(text, [&source](const service::AccountQuery& query) {
    return service::CheckFormedAccount(query, source);
  });
}

AccountConversion FromAccount(std::string_view bankCode, std::string_view account) {
  return FromAccountBy(bankCode, account, CheckIn2009);
}

AccountConversion FromAccount(std::string_view bankCode, std::string_view account,
                              const service::CheckSource& source) {
  return FromAccountBy(bankCode, account, [&source](const service::AccountQuery& query) {
    return service::CheckAccount(query, source);
  });
}

}  // namespace tavrel::iban
