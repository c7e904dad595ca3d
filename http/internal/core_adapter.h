// The server's one door into the core: the check against a directory and a
// rule set, bank look-ups, the bank search and directory info, IBANs,
// explanations and suggestions, with the
// conversions between the API's UTF-8 and the core's Windows-1252, and the
// shared JSON forms of what they find.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "tavrel/json.h"
#include "tavrel/outcome.h"

namespace tavrel::http {

using json::Json;

// A directory the API answers from, by the rules a request chose.
class Source;

// A JSON answer, or the parameter whose text is not valid UTF-8 or has a
// character without a Windows-1252 form.
struct Unencodable {
  std::string_view field;
};
using Answer = std::variant<Json, Unencodable>;

// What the suggestions are asked for.
struct SuggestRequest {
  std::size_t max;
  bool bankCodes;
};

// What one check found.
struct CheckResult {
  Outcome outcome;
  // The trimmed bank code's record in the directory: its index there.
  std::optional<std::size_t> bankIndex;
  // A withdrawn bank code, or one that only an older directory lists.
  bool hasSuccessorFinding = false;
  std::string bankCode;  // trimmed, Windows-1252; kept only with a finding
  // The answers' row of a code that only an older directory lists.
  std::optional<std::size_t> formerCodeRow = {};
};

// The served directory (and the compiled-in ones by name), immutable once
// built, so every worker thread shares one.
class Core {
 public:
  // Serves the 2009 directory with the 2009 rules, as the other faces do by
  // default.
  Core();
  ~Core();
  Core(const Core&) = delete;
  Core& operator=(const Core&) = delete;

  // The source for a request's `directory` and `rules` parameters (null when
  // not given), or the message of a 400 naming the known values.
  std::variant<const Source*, std::string> Choose(const std::string* directory,
                                                  const std::string* rules) const;
  const Source& Served() const;

  // nullopt when either text is not valid UTF-8 or has a character without a
  // Windows-1252 form.
  std::optional<CheckResult> Check(const Source& source, std::string_view bankCode,
                                   std::string_view account) const;

  // Appends the answer of a check, json::CheckJson of its outcome, bank and
  // finding, as text. Each distinct answer is serialized once and then copied.
  void AppendAnswer(const Source& source, const CheckResult& result, std::string& out) const;

  // The number of banks of the served directory.
  std::size_t BankCount() const;

  // The whole record of exactly this bank code (no trimming), or nullopt; for
  // a miss, `note` tells of a successor an older directory names.
  std::optional<Json> BankRecord(const Source& source, std::string_view bankCode,
                                 std::string& note) const;

  // The control's bank search: {"bank_code", "name"} of each hit, bank codes
  // by leading digits or names by one or two terms. nullopt when the text
  // cannot be written in Windows-1252.
  std::optional<std::vector<Json>> Search(const Source& source, std::string_view text) const;

  // The IBAN verdict of `text` (answers.h IbanVerdictJson), its account
  // checked against the source.
  Answer CheckIban(const Source& source, std::string_view text) const;

  // The IBAN of an account by the standard conversion (answers.h
  // IbanConversionJson), after the account check against the source.
  Answer IbanOf(const Source& source, std::string_view bankCode, std::string_view account) const;

  // json::ExplanationJson of the check against the source, or of one method
  // key run by the source's rules on the account as given.
  Answer Explain(const Source& source, std::string_view bankCode, std::string_view account) const;
  Answer ExplainMethod(const Source& source, std::string_view key, std::string_view account,
                       std::string_view bankCode) const;

  // json::SuggestionsJson of the corrections one slip away.
  Answer Suggest(const Source& source, std::string_view bankCode, std::string_view account,
                 const SuggestRequest& request) const;

  // json::DirectoryJson of the source's directory.
  static Json DirectoryInfo(const Source& source);

  // Whether `text` is valid UTF-8 with a Windows-1252 form for every character.
  static bool IsEncodable(std::string_view text);

 private:
  friend struct OpenedCore OpenCore(const std::string& nameOrPath);
  struct ServedSource;
  explicit Core(const ServedSource& served);

  std::vector<std::unique_ptr<Source>> sources_;
};

// A Core for `tavrel serve --directory`: "2009" and "current" serve the
// compiled-in directories, any other text is the path of a Bundesbank file;
// the served rules are the directory's own.
struct OpenedCore {
  std::shared_ptr<const Core> core;   // null when the file was refused
  bool unreadable = false;            // it could not be read at all
  std::vector<std::string> messages;  // UTF-8: warnings and notes, then the error
};
OpenedCore OpenCore(const std::string& nameOrPath);

}  // namespace tavrel::http
