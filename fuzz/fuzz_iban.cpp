// The IBAN entry points on arbitrary bytes. Every input gives an outcome of the
// IBAN checks; a normalised form normalises to itself and so does its print
// form; the word-wise checksum agrees with the character-by-character one; a
// valid German IBAN splits into parts that build it again, and CheckIban reports
// those parts. The first bytes are also tried as bank code and account.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz_assert.h"
#include "iban/internal/notation.h"
#include "tavrel/iban.h"

namespace {

using namespace tavrel;
using namespace tavrel::iban;

bool IsIbanOutcome(Outcome outcome) {
  return outcome == Outcome::kValid || outcome == Outcome::kIbanFormat ||
         outcome == Outcome::kIbanCountryUnknown || outcome == Outcome::kIbanLength ||
         outcome == Outcome::kIbanChecksum;
}

bool HasCheckDigitValue(const IbanText& iban) {
  const std::string_view digits = iban.checkDigits();
  return digits >= "02" && digits <= "98";
}

void CheckNormalized(const IbanText& iban, Outcome outcome) {
  FUZZ_ASSERT(Normalize(iban.view()).iban == iban);
  // A print form beginning "IBAN " loses that word; no country code is IB.
  if (FindCountry(iban.countryCode()) != nullptr) {
    const IbanResult reparsed = Parse(PrintFormat(iban).view());
    FUZZ_ASSERT(reparsed.iban == iban && reparsed.outcome == outcome);
  }
  // Past the structure only the checksum decides.
  if (outcome == Outcome::kValid || outcome == Outcome::kIbanChecksum) {
    const bool passes = HasCheckDigitValue(iban) && Mod97Generic(iban.view()) == 1;
    FUZZ_ASSERT(passes == (outcome == Outcome::kValid));
  }
}

void CheckGerman(const IbanText& iban) {
  const std::optional<GermanAccount> parts = SplitGerman(iban);
  FUZZ_ASSERT(parts.has_value());
  FUZZ_ASSERT(BuildGerman(parts->bankCode(), parts->account()).iban == iban);
  FUZZ_ASSERT(BuildGerman(parts->bankCode(), parts->accountWithoutLeadingZeros()).iban == iban);
  const IbanVerdict verdict = CheckIban(iban.view());
  FUZZ_ASSERT(verdict.iban == Outcome::kValid && verdict.german.has_value());
  FUZZ_ASSERT(verdict.german->account.account() == parts->account());
  FUZZ_ASSERT(verdict.german->account.bankCode() == parts->bankCode());
}

void CheckBuild(std::string_view bankCode, std::string_view account) {
  const IbanResult built = BuildGerman(bankCode, account);
  if (built.outcome != Outcome::kValid) {
    FUZZ_ASSERT(built.iban.empty() && ValueOf(built.outcome) <= ValueOf(Outcome::kBankCodeLength) &&
                ValueOf(built.outcome) >= ValueOf(Outcome::kAccountNotDigits));
    return;
  }
  FUZZ_ASSERT(Parse(built.iban.view()).outcome == Outcome::kValid);
  FUZZ_ASSERT(SplitGerman(built.iban)->bankCode() == bankCode);
  FUZZ_ASSERT(SplitGerman(built.iban)->account().ends_with(account));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const IbanResult normalized = Normalize(input);
  FUZZ_ASSERT(normalized.outcome == Outcome::kValid || normalized.iban.empty());
  const IbanResult parsed = Parse(input);
  FUZZ_ASSERT(IsIbanOutcome(parsed.outcome) && parsed.iban == normalized.iban);
  if (normalized.outcome == Outcome::kValid) CheckNormalized(parsed.iban, parsed.outcome);
  if (parsed.outcome == Outcome::kValid && parsed.iban.countryCode() == kGermany) {
    CheckGerman(parsed.iban);
  }
  const IbanVerdict verdict = CheckIban(input);
  FUZZ_ASSERT(verdict.iban == parsed.outcome && verdict.electronic == parsed.iban);
  CheckBuild(input.substr(0, 8), input.substr(input.size() < 8 ? input.size() : 8));
  return 0;
}
