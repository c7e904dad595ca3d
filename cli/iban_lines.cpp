// The line formats of `iban -`, plain and JSON.
#include "internal/batch.h"
#include "internal/output.h"
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
                            "\tresult\tmessage\taccount_result\taccount_message", true};
const LineFormat kIbanJsonLines{JsonIbanLine, AppendJsonLineError};

}  // namespace tavrel::cli
