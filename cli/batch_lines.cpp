// The line formats of the batch modes, plain and JSON.
#include <array>
#include <bit>
#include <span>

#include "internal/batch.h"
#include "internal/output.h"
#include "internal/usual_lines.h"
#include "tavrel/encoding.h"
#include "tavrel/json.h"
#include "tavrel/service.h"

namespace tavrel::cli {
namespace {

// Splits `line` at tabs into at most fields.size() fields. Returns the number of
// fields, or fields.size() + 1 when the line has more.
std::size_t SplitFields(std::string_view line, std::span<std::string_view> fields) {
  std::size_t count = 0;
  for (;;) {
    if (count == fields.size()) return count + 1;
    std::size_t tab = line.find('\t');
    fields[count++] = line.substr(0, tab);
    if (tab == std::string_view::npos) return count;
    line.remove_prefix(tab + 1);
  }
}

// UTF-8 messages of the results -13 to 1 are converted once.
constexpr int kLowestResult = ValueOf(Outcome::kIbanChecksum);
constexpr int kHighestResult = 1;

// The result fields of "check --json" for every outcome, written once:
// "result":-3,"code":"invalid_check_digit","message":...,"verdict":...,"field":...
const std::array<std::string, kHighestResult - kLowestResult + 1>& JsonResultFieldTable() {
  static const auto table = [] {
    std::array<std::string, kHighestResult - kLowestResult + 1> fields;
    for (const OutcomeInfo& info : kOutcomes) {
      json::Json object = json::CheckJson(info.outcome, std::nullopt, std::nullopt);
      object.erase("bank");
      object.erase("successor");
      const std::string text = json::ToText(object);
      fields[static_cast<std::size_t>(ValueOf(info.outcome) - kLowestResult)] =
          text.substr(1, text.size() - 2);
    }
    return fields;
  }();
  return table;
}

void AppendJsonField(std::string& out, std::string_view name, std::string_view utf8) {
  out += '"';
  out += name;
  out += "\":";
  AppendJsonString(out, utf8);
  out += ',';
}

}  // namespace

void AppendJsonLineError(std::string& out, std::uint64_t lineNumber, std::string_view reason) {
  out += "{\"error\":\"malformed_line\",\"line\":";
  AppendDecimal(out, static_cast<long long>(lineNumber));
  out += ",\"message\":";
  AppendJsonString(out, reason);
  out += "}\n";
}

void AppendPlainLineError(std::string& out, std::uint64_t lineNumber, std::string_view reason) {
  out += "ERROR\tmalformed line ";
  AppendDecimal(out, static_cast<long long>(lineNumber));
  out += ": ";
  out += reason;
  out += '\n';
}

void AppendJsonResultFields(std::string& out, int result) {
  if (result >= kLowestResult && result <= kHighestResult) {
    const std::string& fields =
        JsonResultFieldTable()[static_cast<std::size_t>(result - kLowestResult)];
    if (!fields.empty()) {
      out += fields;
      return;
    }
  }
  out += "\"result\":";
  AppendDecimal(out, result);
  out += ",\"code\":null,\"message\":null,\"verdict\":null,\"field\":null";
}

std::string JsonResultObject(int result) {
  std::string text = "{";
  AppendJsonResultFields(text, result);
  return text + "}\n";
}

std::string_view BatchMessage(int result) {
  static const auto messages = [] {
    std::array<std::string, kHighestResult - kLowestResult + 1> table;
    for (int value = kLowestResult; value <= kHighestResult; ++value) {
      const OutcomeInfo* info = FindOutcome(value);
      if (info == nullptr) continue;
      table[static_cast<std::size_t>(value - kLowestResult)] =
          encoding::Cp1252ToUtf8(info->message);
    }
    return table;
  }();
  if (result < kLowestResult || result > kHighestResult) return {};
  return messages[static_cast<std::size_t>(result - kLowestResult)];
}

namespace {

// The check of a BANKCODE<TAB>ACCOUNT line: nullptr and the result, or why the
// line is malformed. `given` gets the two fields as given.
const char* CheckFields(const service::CheckSource& source, std::string_view utf8Line,
                        std::string_view cp1252Line, std::array<std::string_view, 2>& given,
                        int& result) {
  std::array<std::string_view, 2> text;
  if (SplitFields(utf8Line, given) != given.size()) return "expected BANKCODE<TAB>ACCOUNT";
  // An ASCII line is passed as its own Windows-1252 form: no second split.
  if (cp1252Line.data() == utf8Line.data()) {
    text = given;
  } else {
    SplitFields(cp1252Line, text);
  }
  result = ValueOf(service::CheckAccount({text[0], text[1]}, source));
  return nullptr;
}

void AppendPlainResultTail(std::string& out, int result) {
  out += '\t';
  AppendDecimal(out, result);
  out += '\t';
  out += BatchMessage(result);
  out += '\n';
}

// "\tRESULT\tMESSAGE\n" of the outcome table's results, written once: a line's
// answer is then its own text and one of these, two appends.
const std::array<std::string, kHighestResult - kLowestResult + 1>& PlainResultTails() {
  static const auto tails = [] {
    std::array<std::string, kHighestResult - kLowestResult + 1> table;
    for (int value = kLowestResult; value <= kHighestResult; ++value) {
      AppendPlainResultTail(table[static_cast<std::size_t>(value - kLowestResult)], value);
    }
    return table;
  }();
  return tails;
}

void AppendPlainResult(std::string& out, int result) {
  if (result >= kLowestResult && result <= kHighestResult) {
    out += PlainResultTails()[static_cast<std::size_t>(result - kLowestResult)];
  } else {
    AppendPlainResultTail(out, result);
  }
}

// The result tails again, in fixed slots for the usual lines.
using CheckTail = FixedTail<64>;

const std::array<CheckTail, kHighestResult - kLowestResult + 1>& FixedResultTails() {
  static const auto tails = [] {
    std::array<CheckTail, kHighestResult - kLowestResult + 1> table;
    for (std::size_t i = 0; i < table.size(); ++i) table[i].Assign(PlainResultTails()[i]);
    return table;
  }();
  return tails;
}

// The usual line of `check -` has one tab: BANKCODE<TAB>ACCOUNT.
std::size_t AnswerUsualCheckLines(const service::CheckSource& source, std::string_view lines,
                                  std::string& out, BatchCounts& counts) {
  const auto& tails = FixedResultTails();
  return AnswerUsualLines<CheckTail>(
      lines, out, [&](std::string_view line, std::uint32_t tabs) -> const CheckTail* {
        if (tabs == 0 || (tabs & (tabs - 1)) != 0) return nullptr;
        const auto split = static_cast<std::size_t>(std::countr_zero(tabs));
        const int result =
            ValueOf(service::CheckAccount({line.substr(0, split), line.substr(split + 1)}, source));
        const auto slot = static_cast<std::size_t>(static_cast<unsigned>(result - kLowestResult));
        if (slot >= tails.size() || tails[slot].size == 0) return nullptr;
        counts.CountResult(result);
        ++counts.lines;
        return &tails[slot];
      });
}

const char* PlainCheckLine(const service::CheckSource& source, std::string_view utf8Line,
                           std::string_view cp1252Line, std::string& out, BatchCounts& counts) {
  std::array<std::string_view, 2> given;
  int result = 0;
  if (const char* fault = CheckFields(source, utf8Line, cp1252Line, given, result)) return fault;
  counts.CountResult(result);
  out += utf8Line;  // exactly the two fields and the tab between them
  AppendPlainResult(out, result);
  return nullptr;
}

const char* JsonCheckLine(const service::CheckSource& source, std::string_view utf8Line,
                          std::string_view cp1252Line, std::string& out, BatchCounts& counts) {
  std::array<std::string_view, 2> given;
  int result = 0;
  if (const char* fault = CheckFields(source, utf8Line, cp1252Line, given, result)) return fault;
  counts.CountResult(result);
  out += '{';
  AppendJsonField(out, "bank_code", given[0]);
  AppendJsonField(out, "account", given[1]);
  AppendJsonResultFields(out, result);
  out += "}\n";
  return nullptr;
}

constexpr const char* kExpectedMethodLine = "expected KEY<TAB>ACCOUNT[<TAB>BANKCODE]";

// The output holds no input field, so only the Windows-1252 line is read.
const char* PlainMethodLine(const service::CheckSource& source, std::string_view,
                            std::string_view cp1252Line, std::string& out, BatchCounts& counts) {
  std::array<std::string_view, 3> text;
  const std::size_t count = SplitFields(cp1252Line, text);
  if (count < 2 || count > text.size()) return kExpectedMethodLine;
  const int result = service::ComputeMethod(text[1], text[0], text[2], *source.rules);
  counts.CountResult(result);
  AppendDecimal(out, result);
  out += '\n';
  return nullptr;
}

const char* JsonMethodLine(const service::CheckSource& source, std::string_view utf8Line,
                           std::string_view cp1252Line, std::string& out, BatchCounts& counts) {
  std::array<std::string_view, 3> given;
  std::array<std::string_view, 3> text;
  const std::size_t count = SplitFields(utf8Line, given);
  if (count < 2 || count > given.size()) return kExpectedMethodLine;
  SplitFields(cp1252Line, text);
  out += '{';
  AppendJsonField(out, "key", given[0]);
  AppendJsonField(out, "account", given[1]);
  if (count == 3) {
    AppendJsonField(out, "bank_code", given[2]);
  } else {
    out += "\"bank_code\":null,";
  }
  const int result = service::ComputeMethod(text[1], text[0], text[2], *source.rules);
  counts.CountResult(result);
  AppendJsonResultFields(out, result);
  out += "}\n";
  return nullptr;
}

}  // namespace

const char* CheckLine(const service::CheckSource& source, std::string_view utf8Line,
                      std::string_view cp1252Line, std::string& out) {
  BatchCounts uncounted;
  return PlainCheckLine(source, utf8Line, cp1252Line, out, uncounted);
}

const char* MethodLine(const service::CheckSource& source, std::string_view utf8Line,
                       std::string_view cp1252Line, std::string& out) {
  BatchCounts uncounted;
  return PlainMethodLine(source, utf8Line, cp1252Line, out, uncounted);
}

const LineFormat kCheckLines{PlainCheckLine, AppendPlainLineError, "\tresult\tmessage", true,
                             AnswerUsualCheckLines};
const LineFormat kCheckJsonLines{JsonCheckLine, AppendJsonLineError};
const LineFormat kMethodLines{PlainMethodLine, AppendPlainLineError, "result"};
const LineFormat kMethodJsonLines{JsonMethodLine, AppendJsonLineError};

}  // namespace tavrel::cli
