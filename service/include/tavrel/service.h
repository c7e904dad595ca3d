// Account check service: the one entry through which every face checks an account.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "tavrel/directory.h"
#include "tavrel/explanation.h"
#include "tavrel/outcome.h"

namespace tavrel::engine {
class RuleSet;
}

namespace tavrel::service {

// Result values the service adds to the engine's 1, 0, -2 and -3, as numbers of
// the outcome table.
inline constexpr int kBankCodeNotEightChars = ValueOf(Outcome::kBankCodeLength);
inline constexpr int kBankCodeNotDigits = ValueOf(Outcome::kBankCodeNotDigits);
inline constexpr int kAccountLength = ValueOf(Outcome::kAccountLength);
inline constexpr int kAccountNotDigits = ValueOf(Outcome::kAccountNotDigits);
inline constexpr int kBankCodeUnknown = ValueOf(Outcome::kBankCodeUnknown);

// Trims both strings, validates them, looks up the bank's method code and runs it
// by the 2009 rules. Note the order: account number first. Strings are
// Windows-1252.
int CheckAccount(std::string_view account, std::string_view bankCode);

// What one check is asked: a bank code and an account, named so that no caller
// can swap them. Windows-1252.
struct AccountQuery {
  std::string_view bankCode;
  std::string_view account;
};

// CheckAccount for a query, as an outcome.
Outcome CheckAccount(const AccountQuery& query);

// The check-digit methods of one rule generation: the 2009 rules or the current
// ones. Faces hold them by pointer and look them up by name.
using RuleSet = engine::RuleSet;

// CheckAccount for a query, running the bank's method code by `rules`. The
// directory is the compiled-in one of 2009 either way.
Outcome CheckAccount(const AccountQuery& query, const RuleSet& rules);

// The rule generations, oldest first.
struct RulesInfo {
  const RuleSet* rules;
  std::string_view name;  // "2009", "current"
  std::chrono::year_month_day validFrom;
  std::span<const std::string_view> methodCodes;  // ascending
};
std::span<const RulesInfo> RuleGenerations();

// The rule set named `name`, or nullptr when no generation has that name.
const RuleSet* FindRules(std::string_view name);

// The rule set for checks as of `date`. Only two generations are kept: before
// 2010-06-07 the 2009 rules, from the current rules' valid-from date on the
// current ones, and in between the current ones with a note (English, ASCII)
// that the rules of that day may differ; the note is empty otherwise.
struct RulesInForce {
  const RuleSet* rules;
  std::string_view note;
};
RulesInForce RulesInForceOn(std::chrono::year_month_day date);

// The rules a check follows when the caller names none: the 2009 rules, those
// of the compiled-in directory.
const RuleSet& DefaultRules();

// Runs one method code or variant key of `rules` on the account as given (no
// trimming, no validation): the engine's result, 1, 0, -2 or -3.
int ComputeMethod(std::string_view account, std::string_view key, std::string_view bankCode,
                  const RuleSet& rules);

// ---- Directories ------------------------------------------------------------
// Faces reach bank directories through these names and functions only.

using Directory = directory::Directory;
using DirectoryInfo = directory::DirectoryInfo;
using Bank = directory::Bank;
using FileProblem = directory::FileProblem;
using SearchResult = directory::SearchResult;
using FuzzyHit = directory::FuzzyHit;
using FuzzySearchResult = directory::FuzzySearchResult;
using directory::IsoDate;  // "2026-03-09"
using directory::kMaxFuzzyTerms;
using directory::NameOf;  // a directory's rule generation: "2009" or "current"

// The compiled-in directories' names, oldest first: "2009", "current".
std::span<const std::string_view> CompiledDirectoryNames();

// The compiled-in directory of that name, or null for any other text.
std::shared_ptr<const Directory> FindCompiledDirectory(std::string_view name);

// The compiled-in directory valid on `date`: each from its valid-from date to
// its valid-until date, the newest from its valid-from date on. Null on any
// other date.
std::shared_ptr<const Directory> CompiledDirectoryOn(std::chrono::year_month_day date);

// The rules a directory's method codes run by when the caller names none: the
// 2009 rules for the 2009 directory, the current ones for the current directory,
// and for a loaded file those it was loaded with.
const RuleSet& RulesOf(const Directory& directory);

// What a check runs against: a directory and a rule set, both never null.
struct CheckSource {
  std::shared_ptr<const Directory> directory;
  const RuleSet* rules;
};

// The 2009 directory with the 2009 rules: what CheckAccount(account, bankCode)
// checks against.
CheckSource DefaultSource();

// The 2009 directory with `rules`: what CheckAccount(query, rules) checks against.
CheckSource DefaultSourceWith(const RuleSet& rules);

// `directory` with its own rules (RulesOf).
CheckSource SourceOf(std::shared_ptr<const Directory> directory);

// CheckAccount for a query against `source`: trimming and validation as above,
// then the bank's method code in `source.directory`, run by `source.rules`.
// Allocation-free.
Outcome CheckAccount(const AccountQuery& query, const CheckSource& source);

// CheckAccount for every query, the outcome of queries[i] in outcomes[i]
// (`outcomes` holds at least as many): over the 2009 directory by `rules`, or
// over `source`. The outcomes are those of one call each; a batch takes fewer
// steps, as the directory lookups of many queries come first and then their
// methods, grouped by the work they do. Allocation-free.
void CheckAccounts(std::span<const AccountQuery> queries, std::span<Outcome> outcomes,
                   const RuleSet& rules);
void CheckAccounts(std::span<const AccountQuery> queries, std::span<Outcome> outcomes,
                   const CheckSource& source);

// CheckAccount against `source` with the index of the bank's record in
// `source.directory` (nullopt when it does not list the trimmed bank code), from
// the check's own lookup: for callers that answer with the bank. Allocation-free.
struct CheckedBank {
  Outcome outcome;
  std::optional<std::size_t> bankIndex;
};
CheckedBank CheckAccountWithBank(const AccountQuery& query, const CheckSource& source);

// CheckAccount for input already in form, as a valid German IBAN holds it: a
// bank code of eight ASCII digits and an account of one to ten ASCII digits.
// Nothing is trimmed and no form is tested, so only the outcomes from an account
// of zeros on can result. Allocation-free.
Outcome CheckFormedAccount(const AccountQuery& query);
Outcome CheckFormedAccount(const AccountQuery& query, const CheckSource& source);

// The record of the bank code, trimmed as CheckAccount trims it; nullopt when
// `directory` does not list it.
std::optional<Bank> FindBank(const Directory& directory, std::string_view bankCode);

// The bank search (see directory::BankSearch) over `directory`.
SearchResult SearchBanks(const Directory& directory, std::string_view searchText);

// What the directories say of a bank code's successor, beside the outcome of
// a check: a bank code the directory marks for withdrawal (the account is still
// checked), or one the directory lacks but an older compiled-in directory lists.
struct SuccessorFinding {
  enum class Kind { kWithdrawn, kNoLongerExists };
  Kind kind;
  std::string bankCode;   // as checked, trimmed
  std::string successor;  // empty when none is named
  // kNoLongerExists: the valid-from date of the older directory that lists it.
  std::optional<std::chrono::year_month_day> asOf;
};
// Nullopt when the directory lists the bank code without a deletion notice, or
// no directory knows it.
std::optional<SuccessorFinding> FindSuccessor(const Directory& directory,
                                              std::string_view bankCode);

// "bank code 10060198 is being withdrawn; use successor 37060193",
// "bank code 10022200 no longer exists; successor 10050000 as of 2009-09-07".
// English, ASCII.
std::string Describe(const SuccessorFinding& finding);

struct LoadChoices {
  // The rules the file's method codes are run by; null: those in force on the
  // valid-from date in the file's name (RulesInForceOn), or the current rules.
  const RuleSet* rules = nullptr;
  // A bank whose method code has no method in those rules is an error, not a
  // warning.
  bool strict = false;
};

struct DirectoryLoad {
  std::shared_ptr<const Directory> directory;  // null when the file was rejected
  std::optional<FileProblem> error;
  bool unreadable = false;  // the error is that the file could not be read
  std::vector<FileProblem> warnings;
  std::string_view rulesNote;  // RulesInForceOn's note for the file's date
};

// Reads a Bundesbank bank-code file (see directory::LoadDirectory), checking
// its method codes against the chosen rules.
DirectoryLoad LoadDirectory(const std::filesystem::path& path, const LoadChoices& choices = {});

// directory::Describe in UTF-8: a problem of a line quotes the file's
// Windows-1252 bytes; one of the whole file names its path, already UTF-8.
std::string DescribeUtf8(const FileProblem& problem);

// Sets `message` to the German (Windows-1252) text of `value` when it has one and
// leaves it untouched otherwise. Returns the row flag: false for the bank-code
// results -5, -6 and -9, true for every other value.
bool ResultMessage(int value, std::string& message);

// The input as CheckAccount sees it: blank, tab, line feed, vertical tab, form
// feed and carriage return removed from both ends. Faces use it to look up the
// name of the very bank code that was checked.
std::string_view TrimWhiteSpace(std::string_view text);

// The typo-tolerant bank search (directory::FuzzySearchBanks) over `directory`.
// The hits' views stay valid as long as the directory. Windows-1252.
FuzzySearchResult FuzzySearchBanks(const Directory& directory, std::string_view query);
// ---- Explanations ------------------------------------------------------------
// (service/explain.cpp, service/explanation_text.cpp)

// One test of the input, in the order CheckAccount makes them, with what it found.
struct InputTest {
  bool passed = true;
  std::string text;  // English; echoes the input (Windows-1252)
};

// Why a check gave its verdict: the tests of the input and, once they pass, the
// steps of the bank's method by the rules named.
struct AccountExplanation {
  Outcome outcome = Outcome::kInvalidCheckDigit;  // the check's own verdict
  std::string bankCode;                           // as checked: white space removed
  std::string account;
  std::string_view rules;  // the rule generation's name
  std::string bankName;    // empty unless the directory has the bank
  std::string methodCode;  // the method or variant key that ran; empty when none did
  std::vector<InputTest> tests;
  std::vector<ExplainedStep> steps;
};

// CheckAccount(query, source) with its reasons. Input faults name the test that
// failed; the method's steps are the engine's explanation, whose verdict is the
// check's.
AccountExplanation ExplainAccount(const AccountQuery& query, const CheckSource& source);

// ComputeMethod(account, key, bankCode, rules) with its steps: the account as
// given, no tests of the input.
AccountExplanation ExplainMethod(std::string_view key, std::string_view account,
                                 std::string_view bankCode, const RuleSet& rules);

// The explanation as text for people, one line per test, step and figure, the
// numbers of each computation in columns under the digits they belong to.
// Windows-1252.
std::string ExplanationText(const AccountExplanation& explanation);

// "valid", "invalid check digit": the outcome's stable code in words.
std::string OutcomeWords(Outcome outcome);

// ---- Suggestions (service/suggest.cpp) -------------------------------------------

// The slip that would turn a suggestion into what was typed.
enum class Slip : std::uint8_t {
  kTransposition,  // two neighbouring digits swapped
  kSubstitution,   // one digit typed wrong
  kMissingDigit,   // a digit left out: the suggestion has it
  kDoubledDigit,   // a digit typed twice: the suggestion has it once
};

// "transposition", "substitution", "missing_digit", "doubled_digit".
std::string_view SlipCode(Slip slip);

struct Suggestion {
  std::string text;  // the account or bank code suggested (Windows-1252)
  Slip slip = Slip::kSubstitution;
  int position = 0;  // where in the typed text the slip is, from 1
  Outcome outcome = Outcome::kValid;
  std::string bankName;  // of a suggested bank code
};

enum class SuggestionStatus : std::uint8_t {
  kSuggested,      // the account is invalid: these are the accounts one slip away
  kAlreadyValid,   // the account is valid as typed
  kNoCheckDigit,   // valid without check: any slip would be valid too, so none is suggested
  kInputFault,     // the input fails a test before any method runs (-5 to -9)
  kMethodNotFound  // the bank's method is not in the rules
};

struct SuggestOptions {
  std::size_t max = 5;     // suggestions of each kind at most
  bool bankCodes = false;  // also bank codes one slip away
};

struct Suggestions {
  Outcome outcome = Outcome::kInvalidCheckDigit;  // of the account as typed
  SuggestionStatus status = SuggestionStatus::kSuggested;
  std::string bankCode;  // as checked: white space removed
  std::string account;
  // Accounts one slip away that pass the bank's check digit test (result 0),
  // ranked: transpositions, then substitutions away from the check digit, then
  // the rest. At most `max`; `accountCount` counts them all.
  std::vector<Suggestion> accounts;
  std::size_t accountCount = 0;
  // With `bankCodes`: bank codes one slip away that the directory has and whose
  // method accepts the account, ranked likewise.
  std::vector<Suggestion> bankCodes;
  std::size_t bankCodeCount = 0;
};

// Valid accounts, and with `options.bankCodes` bank codes, one slip away from
// an account that fails its check: an adjacent transposition, one digit
// substituted, one digit missing or one doubled.
// Accounts are checked by the rules of `source`, bank codes in its directory.
Suggestions SuggestCorrections(const AccountQuery& query, const CheckSource& source,
                               const SuggestOptions& options = {});

// ---- Generated accounts (service/generate.cpp) -----------------------------------

struct GenerateRequest {
  std::string_view bankCode;  // the accounts of this bank's method, or
  std::string_view method;    // of this method code or variant key
  std::size_t count = 10;
  std::uint64_t seed = 1;  // the same seed gives the same accounts
  int length = 0;          // significant digits, 1 to 10; 0 mixes six to ten
  bool invalid = false;    // accounts that fail by their check digit alone
};

struct GeneratedAccount {
  std::string account;
  std::string variant;  // the key that accepts it: the method or one of its variants
  Outcome outcome = Outcome::kValid;
  // With `invalid`: the account with the check digit that passes, and the place
  // (from 1) of the digit changed.
  std::string validForm;
  int checkDigitPlace = 0;
};

enum class GenerateStatus : std::uint8_t {
  kGenerated,
  kBankCodeFault,   // the bank code fails a test (-5, -6, -9); `bankOutcome` says which
  kMethodNotFound,  // the rules have no such method
  kNoCheckDigit,    // `invalid`: no account of the method fails by its check digit
  kNone,            // no account of the length is valid
  kTooFew,          // fewer distinct accounts than asked
};

struct GeneratedAccounts {
  GenerateStatus status = GenerateStatus::kGenerated;
  Outcome bankOutcome = Outcome::kValid;
  std::string bankCode;
  std::string bankName;
  std::string method;
  std::string_view rules;
  std::vector<GeneratedAccount> accounts;  // with kTooFew, those there are
  // Every account of the length was tried (lengths of up to five digits),
  // rather than random ones.
  bool exhaustive = false;
  std::string message;  // English: what kept the request from being met
};

// `request.count` distinct accounts, valid by the method of the bank or key
// (or with `invalid`, failing by their check digit alone), deterministic for
// the seed. Accounts come in turns from each variant that accepts some, so a
// method with variants shows all of them.
// A bank code is looked up in the directory of `source`; its rules run.
GeneratedAccounts GenerateAccounts(const GenerateRequest& request, const CheckSource& source);

// ---- Self-test (service/self_test.cpp) ------------------------------------------

// A published test number that a method did not give as published.
struct SelfTestFailure {
  std::string key;
  std::string account;
  std::string bankCode;
  bool expectedValid = true;
  Outcome result = Outcome::kValid;
};

struct SelfTestReport {
  std::string_view rules;
  std::size_t passed = 0;
  std::size_t failed = 0;
  std::vector<SelfTestFailure> failures;
};

// Runs the Bundesbank's published test numbers that hold for `rules`, compiled
// into the library: each number under the key it is published for, and a valid
// one under its method too. The current rules take the numbers of the methods
// changed or added since 2009; the 2009 rules take the numbers of the keys both
// generations share and the 2009 verdicts of numbers the 2009 rules reject.
SelfTestReport RunSelfTest(const RuleSet& rules);

}  // namespace tavrel::service
