// The IBAN entries of the C library: the IBAN subsystem over the directory of
// the handle or the 2009 one. No exception crosses the boundary.
#include <optional>
#include <string>

#include "library_support.h"
#include "tavrel.h"
#include "tavrel/encoding.h"
#include "tavrel/iban.h"
#include "tavrel/outcome.h"
#include "tavrel/service.h"

namespace {

namespace iban = tavrel::iban;
namespace service = tavrel::service;

std::string Cp1252From(const char* utf8) {
  return tavrel::encoding::Utf8ToCp1252Lossy(utf8 == nullptr ? std::string_view() : utf8);
}

void SetAccountResult(int* account_result, int value) {
  if (account_result != nullptr) *account_result = value;
}

// Checks against `source`, or without a directory when it is null: then a valid
// German IBAN's bank code is not in the directory.
int CheckIban(const char* text, const service::CheckSource* source, int* account_result) {
  SetAccountResult(account_result, TAVREL_CHECK_NO_MEMORY);
  try {
    const std::string cp1252 = Cp1252From(text);
    int account = TAVREL_NO_ACCOUNT_CHECK;
    tavrel::Outcome outcome;
    if (source != nullptr) {
      const iban::IbanVerdict verdict = iban::CheckIban(cp1252, *source);
      outcome = verdict.iban;
      if (verdict.german) account = tavrel::ValueOf(verdict.german->accountOutcome);
    } else {
      const iban::IbanResult parsed = iban::Parse(cp1252);
      outcome = parsed.outcome;
      if (iban::SplitGerman(parsed.iban))
        account = tavrel::ValueOf(tavrel::Outcome::kBankCodeUnknown);
    }
    SetAccountResult(account_result, account);
    return tavrel::ValueOf(outcome);
  } catch (...) {
    return TAVREL_CHECK_NO_MEMORY;
  }
}

char* FromAccount(const tavrel_directory* directory, const char* bank_code, const char* account) {
  if (directory == nullptr) return nullptr;
  try {
    const iban::AccountConversion conversion =
        iban::FromAccount(Cp1252From(bank_code), Cp1252From(account), directory->source);
    return conversion.iban.empty() ? nullptr : tavrel::c_api::NewCopy(conversion.iban.view());
  } catch (...) {
    return nullptr;
  }
}

char* Format(const char* text, bool printForm) {
  try {
    const iban::IbanResult normal = iban::Normalize(Cp1252From(text));
    if (normal.outcome != tavrel::Outcome::kValid) return nullptr;
    return tavrel::c_api::NewCopy(printForm ? iban::PrintFormat(normal.iban).view()
                                            : normal.iban.view());
  } catch (...) {
    return nullptr;
  }
}

char* Bic(const tavrel_directory* directory, const char* bank_code) {
  if (directory == nullptr) return nullptr;
  try {
    const std::optional<service::Bank> bank =
        service::FindBank(*directory->source.directory, Cp1252From(bank_code));
    return bank && !bank->bic.empty() ? tavrel::c_api::NewCopy(bank->bic) : nullptr;
  } catch (...) {
    return nullptr;
  }
}

// The handle of the 2009 directory with the 2009 rules, for the entries without one.
const tavrel_directory& DefaultDirectory() {
  static const tavrel_directory directory{service::DefaultSource()};
  return directory;
}

}  // namespace

extern "C" {

int tavrel_iban_check(const char* iban, int* account_result) {
  return CheckIban(iban, &DefaultDirectory().source, account_result);
}

int tavrel_iban_check_in(const tavrel_directory* directory, const char* iban, int* account_result) {
  return CheckIban(iban, directory == nullptr ? nullptr : &directory->source, account_result);
}

char* tavrel_iban_from_account(const char* bank_code, const char* account) {
  return FromAccount(&DefaultDirectory(), bank_code, account);
}

char* tavrel_iban_from_account_in(const tavrel_directory* directory, const char* bank_code,
                                  const char* account) {
  return FromAccount(directory, bank_code, account);
}

char* tavrel_iban_format(const char* iban, int print_form) { return Format(iban, print_form != 0); }

char* tavrel_bic(const char* bank_code) { return Bic(&DefaultDirectory(), bank_code); }

char* tavrel_bic_in(const tavrel_directory* directory, const char* bank_code) {
  return Bic(directory, bank_code);
}

}  // extern "C"
