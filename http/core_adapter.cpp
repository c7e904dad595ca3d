#include "internal/core_adapter.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <utility>

#include "internal/answers.h"
#include "tavrel/ascii.h"
#include "tavrel/encoding.h"
#include "tavrel/iban.h"
#include "tavrel/service.h"

namespace tavrel::http {

namespace {

// The bank codes that `directory` lacks but an older compiled-in directory
// lists, so that a check of them carries a finding; ascending.
// A bank code of eight digits as a number, which compares in one instruction.
std::optional<std::uint32_t> CodeNumber(std::string_view bankCode) {
  std::uint32_t number = 0;
  const auto [end, ec] =
      std::from_chars(bankCode.data(), bankCode.data() + bankCode.size(), number);
  if (bankCode.size() != kBankCodeLength || ec != std::errc() ||
      end != bankCode.data() + bankCode.size()) {
    return std::nullopt;
  }
  return number;
}

std::vector<std::uint32_t> FormerBankCodes(const service::Directory& directory) {
  std::vector<std::uint32_t> codes;
  for (const std::string_view name : service::CompiledDirectoryNames()) {
    const auto compiled = service::FindCompiledDirectory(name);
    if (compiled == nullptr || compiled.get() == &directory) continue;
    for (const service::Bank& bank : *compiled) {
      if (!directory.IndexOf(bank.bankCode) && service::FindSuccessor(directory, bank.bankCode)) {
        if (const auto number = CodeNumber(bank.bankCode)) codes.push_back(*number);
      }
    }
  }
  std::sort(codes.begin(), codes.end());
  codes.erase(std::unique(codes.begin(), codes.end()), codes.end());
  return codes;
}

std::vector<bool> WithdrawnRows(const service::Directory& directory) {
  std::vector<bool> rows;
  rows.reserve(directory.size());
  for (const service::Bank& bank : directory) rows.push_back(bank.deletionNotice);
  return rows;
}

}  // namespace

// A directory and the rules its checks run by, with the answers met so far.
// Answer rows: one per bank of the directory, one for "no bank", then one per
// bank code that only an older directory lists (its finding names the code).
class Source {
 public:
  explicit Source(service::CheckSource check)
      : check_(std::move(check)),
        withdrawn_(WithdrawnRows(*check_.directory)),
        formerCodes_(FormerBankCodes(*check_.directory)),
        answers_(check_.directory->size() + 1 + formerCodes_.size()) {}

  const service::CheckSource& Check() const { return check_; }
  const service::Directory& Directory() const { return *check_.directory; }
  const AnswerCache& Answers() const { return answers_; }

  // Whether the bank at `index` carries a deletion notice, without reading its record.
  bool IsWithdrawn(std::size_t index) const { return withdrawn_[index]; }

  std::optional<std::size_t> FormerCodeRow(std::string_view bankCode) const {
    const std::optional<std::uint32_t> number = CodeNumber(bankCode);
    if (!number) return std::nullopt;
    const auto found = std::lower_bound(formerCodes_.begin(), formerCodes_.end(), *number);
    if (found == formerCodes_.end() || *found != *number) return std::nullopt;
    return Directory().size() + 1 + static_cast<std::size_t>(found - formerCodes_.begin());
  }

 private:
  service::CheckSource check_;
  std::vector<bool> withdrawn_;
  std::vector<std::uint32_t> formerCodes_;
  AnswerCache answers_;
};

namespace {

bool IsAscii(std::string_view text) {
  return std::all_of(text.begin(), text.end(),
                     [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

std::string NamesOf(std::span<const std::string_view> names) {
  std::string text;
  for (const std::string_view name : names) text += (text.empty() ? "" : ", ") + std::string(name);
  return text;
}

std::string KnownRules() {
  std::string text;
  for (const service::RulesInfo& info : service::RuleGenerations()) {
    text += (text.empty() ? "" : ", ") + std::string(info.name);
  }
  return text;
}

std::optional<service::SuccessorFinding> FindingOf(const Source& source,
                                                   const CheckResult& result) {
  if (!result.hasSuccessorFinding) return std::nullopt;
  return service::FindSuccessor(source.Directory(), result.bankCode);
}

std::string AnswerText(const Source& source, const CheckResult& result) {
  std::optional<service::Bank> bank;
  if (result.bankIndex) bank = source.Directory()[*result.bankIndex];
  return ToText(json::CheckJson(result.outcome, bank, FindingOf(source, result)));
}

// A parameter's name and its UTF-8 text.
using Field = std::pair<std::string_view, std::string_view>;

// The Windows-1252 forms of the fields' texts, or the first field without one.
template <std::size_t N>
std::variant<std::array<std::string, N>, Unencodable> Cp1252Of(const std::array<Field, N>& fields) {
  std::array<std::string, N> texts;
  for (std::size_t i = 0; i < N; ++i) {
    std::optional<std::string> text = encoding::Utf8ToCp1252(fields[i].second);
    if (!text) return Unencodable{fields[i].first};
    texts[i] = std::move(*text);
  }
  return texts;
}

}  // namespace

struct Core::ServedSource {
  service::CheckSource source;
};

Core::Core() : Core(ServedSource{service::DefaultSource()}) {}

// One source for each directory at hand and each rule generation, the served
// directory and rules first.
Core::Core(const ServedSource& chosen) {
  const service::CheckSource& served = chosen.source;
  std::vector<std::shared_ptr<const service::Directory>> directories = {served.directory};
  for (const std::string_view name : service::CompiledDirectoryNames()) {
    auto compiled = service::FindCompiledDirectory(name);
    if (compiled != served.directory) directories.push_back(std::move(compiled));
  }
  sources_.push_back(std::make_unique<Source>(served));
  for (const auto& directory : directories) {
    for (const service::RulesInfo& info : service::RuleGenerations()) {
      if (directory != served.directory || info.rules != served.rules) {
        sources_.push_back(std::make_unique<Source>(service::CheckSource{directory, info.rules}));
      }
    }
  }
}

Core::~Core() = default;

const Source& Core::Served() const { return *sources_.front(); }

std::variant<const Source*, std::string> Core::Choose(const std::string* directory,
                                                      const std::string* rules) const {
  if (directory == nullptr && rules == nullptr) return &Served();
  const service::Directory* chosen = &Served().Directory();
  const service::RuleSet* ruleSet = Served().Check().rules;
  if (directory != nullptr) {
    const auto compiled = service::FindCompiledDirectory(*directory);
    if (compiled == nullptr) {
      return "unknown directory \"" + *directory +
             "\"; known: " + NamesOf(service::CompiledDirectoryNames());
    }
    chosen = compiled.get();
    ruleSet = &service::RulesOf(*chosen);
  }
  if (rules != nullptr) {
    ruleSet = service::FindRules(*rules);
    if (ruleSet == nullptr) return "unknown rules \"" + *rules + "\"; known: " + KnownRules();
  }
  for (const auto& source : sources_) {
    if (&source->Directory() == chosen && source->Check().rules == ruleSet) return source.get();
  }
  return std::string("no source for this directory and these rules");
}

std::optional<CheckResult> Core::Check(const Source& source, std::string_view bankCode,
                                       std::string_view account) const {
  // ASCII reads the same in both encodings, and it is nearly every input.
  std::optional<std::string> code;
  std::optional<std::string> number;
  if (!IsAscii(bankCode) || !IsAscii(account)) {
    code = encoding::Utf8ToCp1252(bankCode);
    number = encoding::Utf8ToCp1252(account);
    if (!code || !number) return std::nullopt;
    bankCode = *code;
    account = *number;
  }
  const service::CheckedBank checked =
      service::CheckAccountWithBank({bankCode, account}, source.Check());
  CheckResult result{checked.outcome, checked.bankIndex, false, {}};
  const std::string_view trimmed = service::TrimWhiteSpace(bankCode);
  // A withdrawn bank code has a finding, and so has one that the directory
  // lacks but an older one lists (as service::FindSuccessor finds them).
  if (!result.bankIndex && IsEightDigits(trimmed))
    result.formerCodeRow = source.FormerCodeRow(trimmed);
  const bool hasFinding =
      result.bankIndex ? source.IsWithdrawn(*result.bankIndex) : result.formerCodeRow.has_value();
  if (hasFinding) {
    result.hasSuccessorFinding = true;
    result.bankCode = trimmed;
  }
  return result;
}

void Core::AppendAnswer(const Source& source, const CheckResult& result, std::string& out) const {
  // A finding without a bank names the bank code: kept by the code's own row.
  std::optional<std::size_t> row = result.bankIndex;
  if (!row) {
    row = result.hasSuccessorFinding ? result.formerCodeRow : source.Directory().size();
  }
  const std::optional<std::string_view> text =
      row ? source.Answers().Find(*row, result.outcome, [&] { return AnswerText(source, result); })
          : std::nullopt;
  if (text) {
    out += *text;
  } else {
    out += AnswerText(source, result);
  }
}

std::size_t Core::BankCount() const { return Served().Directory().size(); }

std::optional<Json> Core::BankRecord(const Source& source, std::string_view bankCode,
                                     std::string& note) const {
  if (const std::optional<service::Bank> bank = source.Directory().Find(bankCode)) {
    return json::BankJson(*bank);
  }
  if (IsEightDigits(bankCode)) {
    if (const auto finding = service::FindSuccessor(source.Directory(), bankCode)) {
      note = service::Describe(*finding);
    }
  }
  return std::nullopt;
}

std::optional<std::vector<Json>> Core::Search(const Source& source, std::string_view text) const {
  const std::optional<std::string> cp1252 = encoding::Utf8ToCp1252(text);
  if (!cp1252) return std::nullopt;
  const service::SearchResult search = service::SearchBanks(source.Directory(), *cp1252);
  std::vector<Json> hits;
  hits.reserve(search.hits.size());
  // A hit line is "BANKCODE | short name".
  constexpr std::size_t kNameStart = kBankCodeLength + 3;
  for (const std::string& line : search.hits) {
    hits.push_back(
        Json{{"bank_code", line.substr(0, kBankCodeLength)},
             {"name", encoding::Cp1252ToUtf8(std::string_view(line).substr(kNameStart))}});
  }
  return hits;
}

Answer Core::CheckIban(const Source& source, std::string_view text) const {
  auto converted = Cp1252Of<1>({{{"iban", text}}});
  if (const auto* fault = std::get_if<Unencodable>(&converted)) return *fault;
  const iban::IbanVerdict verdict = iban::CheckIban(std::get<0>(converted)[0], source.Check());
  std::optional<service::Bank> bank;
  if (verdict.german)
    bank = service::FindBank(source.Directory(), verdict.german->account.bankCode());
  return IbanVerdictJson(verdict, bank);
}

Answer Core::IbanOf(const Source& source, std::string_view bankCode,
                    std::string_view account) const {
  auto converted = Cp1252Of<2>({{{"bank_code", bankCode}, {"account", account}}});
  if (const auto* fault = std::get_if<Unencodable>(&converted)) return *fault;
  const auto& [code, number] = std::get<0>(converted);
  return IbanConversionJson(iban::FromAccount(code, number, source.Check()),
                            service::FindBank(source.Directory(), code));
}

Answer Core::Explain(const Source& source, std::string_view bankCode,
                     std::string_view account) const {
  auto converted = Cp1252Of<2>({{{"bank_code", bankCode}, {"account", account}}});
  if (const auto* fault = std::get_if<Unencodable>(&converted)) return *fault;
  const auto& [code, number] = std::get<0>(converted);
  return json::ExplanationJson(service::ExplainAccount({code, number}, source.Check()));
}

Answer Core::ExplainMethod(const Source& source, std::string_view key, std::string_view account,
                           std::string_view bankCode) const {
  auto converted = Cp1252Of<3>({{{"method", key}, {"account", account}, {"bank_code", bankCode}}});
  if (const auto* fault = std::get_if<Unencodable>(&converted)) return *fault;
  const auto& [method, number, code] = std::get<0>(converted);
  return json::ExplanationJson(service::ExplainMethod(method, number, code, *source.Check().rules));
}

Answer Core::Suggest(const Source& source, std::string_view bankCode, std::string_view account,
                     const SuggestRequest& request) const {
  auto converted = Cp1252Of<2>({{{"bank_code", bankCode}, {"account", account}}});
  if (const auto* fault = std::get_if<Unencodable>(&converted)) return *fault;
  const auto& [code, number] = std::get<0>(converted);
  const service::Suggestions suggestions =
      service::SuggestCorrections({code, number}, source.Check(), {request.max, request.bankCodes});
  return json::SuggestionsJson(suggestions, request.bankCodes);
}

Json Core::DirectoryInfo(const Source& source) { return json::DirectoryJson(source.Directory()); }

OpenedCore OpenCore(const std::string& nameOrPath) {
  OpenedCore opened;
  std::shared_ptr<const service::Directory> directory = service::FindCompiledDirectory(nameOrPath);
  if (directory == nullptr) {
    service::DirectoryLoad load = service::LoadDirectory(nameOrPath);
    for (const service::FileProblem& warning : load.warnings) {
      opened.messages.push_back("warning: " + nameOrPath + ": " + service::DescribeUtf8(warning));
    }
    if (!load.rulesNote.empty()) opened.messages.push_back("note: " + std::string(load.rulesNote));
    if (!load.directory) {
      const std::string error = service::DescribeUtf8(*load.error);
      opened.messages.push_back(load.unreadable ? error : nameOrPath + ": " + error);
      opened.unreadable = load.unreadable;
      return opened;
    }
    directory = std::move(load.directory);
  }
  opened.core.reset(new Core(Core::ServedSource{service::SourceOf(std::move(directory))}));
  return opened;
}

bool Core::IsEncodable(std::string_view text) { return encoding::Utf8ToCp1252(text).has_value(); }

}  // namespace tavrel::http
