// The line format of `iban -`.
#include "internal/batch.h"
#include "internal/output.h"
#include "tavrel/iban.h"

namespace tavrel::cli {

// The line is echoed as given, so a tab in it would shift the columns after it.
const char* IbanLine(const service::CheckSource& source, std::string_view utf8Line,
                     std::string_view cp1252Line, std::string& out) {
  if (cp1252Line.find('\t') != std::string_view::npos) return "expected one IBAN, no tab";
  const iban::IbanVerdict verdict = iban::CheckIban(cp1252Line, source);
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

}  // namespace tavrel::cli
