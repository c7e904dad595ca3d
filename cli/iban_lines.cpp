// The line formats of `iban -`, plain and JSON.
#include <array>
#include <optional>
#include <string>

#include "internal/batch.h"
#include "internal/output.h"
#include "internal/usual_lines.h"
#include "tavrel/iban.h"

namespace tavrel::cli {

namespace {

constexpr const char* kExpectedIban = "expected one IBAN, no tab";

// A line counts by the IBAN's result, and a valid German IBAN's by its account's.
void CountVerdict(BatchCounts& counts, const iban::IbanVerdict& verdict) {
  const bool accountDecides = IsValid(verdict.iban) && verdict.german;
  counts.CountResult(ValueOf(accountDecides ? verdict.german->accountOutcome : verdict.iban));
}

// The line is echoed as given, so a tab in it would shift the columns after it.
const char* PlainIbanLine(const service::CheckSource& source, std::string_view utf8Line,
                          std::string_view cp1252Line, std::string& out, BatchCounts& counts) {
  if (cp1252Line.find('\t') != std::string_view::npos) return kExpectedIban;
  const iban::IbanVerdict verdict = iban::CheckIban(cp1252Line, source);
  CountVerdict(counts, verdict);
  out += utf8Line;
  out += '\t';
  AppendDecimal(out, ValueOf(verdict.iban));
  out += '\t';
  out += BatchMessage(ValueOf(verdict.iban));
  out += '\t';
  if (verdict.german) {
    const int account = ValueOf(verdict.german->accountOutcome);
    AppendDecimal(out, account);
    out += '\t';
    out += BatchMessage(account);
  } else {
    out += '\t';
  }
  out += '\n';
  return nullptr;
}

// The answers after the echoed line: the IBAN's result and, for a valid German
// one, its account's ("" for none), each pair written once.
using IbanTail = FixedTail<128>;
constexpr int kLowestIbanResult = ValueOf(Outcome::kIbanChecksum);
constexpr int kHighestIbanResult = 1;
constexpr std::size_t kIbanResults = kHighestIbanResult - kLowestIbanResult + 1;

const IbanTail* FixedIbanTail(int ibanResult, std::optional<int> accountResult) {
  static const auto tails = [] {
    std::array<IbanTail, kIbanResults*(kIbanResults + 1)> table;
    for (std::size_t iban = 0; iban < kIbanResults; ++iban) {
      for (std::size_t account = 0; account <= kIbanResults; ++account) {
        const int ibanValue = static_cast<int>(iban) + kLowestIbanResult;
        std::string tail = "\t" + std::to_string(ibanValue) + "\t";
        tail += BatchMessage(ibanValue);
        tail += '\t';
        if (account < kIbanResults) {
          const int accountValue = static_cast<int>(account) + kLowestIbanResult;
          tail += std::to_string(accountValue) + "\t";
          tail += BatchMessage(accountValue);
        } else {
          tail += '\t';
        }
        tail += '\n';
        table[iban * (kIbanResults + 1) + account].Assign(tail);
      }
    }
    return table;
  }();
  const auto slot = [](int result) {
    return static_cast<std::size_t>(static_cast<unsigned>(result - kLowestIbanResult));
  };
  const std::size_t iban = slot(ibanResult);
  const std::size_t account = accountResult ? slot(*accountResult) : kIbanResults;
  if (iban >= kIbanResults || account > kIbanResults) return nullptr;
  const IbanTail& tail = tails[iban * (kIbanResults + 1) + account];
  return tail.size == 0 ? nullptr : &tail;
}

// The usual line of `iban -` has no tab.
std::size_t AnswerUsualIbanLines(const service::CheckSource& source, std::string_view lines,
                                 std::string& out, BatchCounts& counts) {
  return AnswerUsualLines<IbanTail>(
      lines, out, [&](std::string_view line, std::uint32_t tabs) -> const IbanTail* {
        if (tabs != 0) return nullptr;
        const iban::IbanVerdict verdict = iban::CheckIban(line, source);
        const IbanTail* tail = FixedIbanTail(
            ValueOf(verdict.iban),
            verdict.german ? std::optional(ValueOf(verdict.german->accountOutcome)) : std::nullopt);
        if (tail == nullptr) return nullptr;
        CountVerdict(counts, verdict);
        ++counts.lines;
        return tail;
      });
}

const char* JsonIbanLine(const service::CheckSource& source, std::string_view utf8Line,
                         std::string_view cp1252Line, std::string& out, BatchCounts& counts) {
  if (cp1252Line.find('\t') != std::string_view::npos) return kExpectedIban;
  const iban::IbanVerdict verdict = iban::CheckIban(cp1252Line, source);
  CountVerdict(counts, verdict);
  out += "{\"iban\":";
  AppendJsonString(out, utf8Line);
  out += ',';
  AppendJsonResultFields(out, ValueOf(verdict.iban));
  out += ",\"account_check\":";
  if (verdict.german) {
    out += '{';
    AppendJsonResultFields(out, ValueOf(verdict.german->accountOutcome));
    out += '}';
  } else {
    out += "null";
  }
  out += "}\n";
  return nullptr;
}

}  // namespace

const char* IbanLine(const service::CheckSource& source, std::string_view utf8Line,
                     std::string_view cp1252Line, std::string& out) {
  BatchCounts uncounted;
  return PlainIbanLine(source, utf8Line, cp1252Line, out, uncounted);
}

const LineFormat kIbanLines{PlainIbanLine, AppendPlainLineError,
                            "\tresult\tmessage\taccount_result\taccount_message", true,
                            AnswerUsualIbanLines};
const LineFormat kIbanJsonLines{JsonIbanLine, AppendJsonLineError};

}  // namespace tavrel::cli
