#include "cli/usage.h"

#include "cli/batch.h"
#include "cli/result_text.h"

namespace tavrel::cli {
namespace {

constexpr std::string_view kCommands = R"(usage: tavrel COMMAND ARGUMENTS
Checks German bank account numbers by the check-digit method of their bank.

Commands:
  check BANKCODE ACCOUNT
      Check one account. Prints RESULT<TAB>MESSAGE, followed by <TAB>BANKNAME
      when the bank code (white space around it removed) is in the directory.
  check -
      Batch: reads lines BANKCODE<TAB>ACCOUNT from standard input and writes
      BANKCODE<TAB>ACCOUNT<TAB>RESULT<TAB>MESSAGE, the two fields echoed as
      given and MESSAGE empty for the results 0 and 1.
  name BANKCODE
      Prints the bank's short name. The bank code is looked up exactly as given.
  method KEY ACCOUNT [BANKCODE]
      Runs one check-digit method or variant key directly on ACCOUNT as given
      (no trimming, no validation) and prints RESULT.
  method -
      Batch: reads lines KEY<TAB>ACCOUNT or KEY<TAB>ACCOUNT<TAB>BANKCODE from
      standard input and writes one RESULT per line.
  search [--json] TEXT
      Bank search: TEXT of 2 to 7 digits lists the bank codes starting with
      them; any other first character searches the short names for TEXT, or
      for two terms "TERM1,TERM2" (case of A-Z and umlauts ignored). Prints
      the hit lines "BANKCODE | NAME" and then "N hits" on standard error.
      With --json prints one JSON array of {"bankCode": ..., "name": ...}
      objects instead, and no count.

Options:
  -h, --help   print this help and exit
  --version    print the version and exit
  --           end of options: later arguments may begin with '-'

Arguments and input are UTF-8; characters without a Windows-1252 form are
input faults. Output is UTF-8.

)";

constexpr std::string_view kExitStatus = R"(
Exit status:
  0   result 0 or 1; name and search: found; batch: every line well formed
  1   result -3; name: unknown bank code; search: no hit
  2   results -5 to -9; an argument that is not valid UTF-8 or has no
      Windows-1252 form; batch: at least one malformed line
  3   result -2
  64  usage error: unknown command or option, wrong number of arguments
  70  out of memory
  74  reading input or writing output failed
)";

constexpr int kDocumentedResults[] = {1, 0, -2, -3, -5, -6, -7, -8, -9};

}  // namespace

std::string HelpText() {
  std::string text(kCommands);
  text += "Results:\n";
  for (int result : kDocumentedResults) {
    std::string value = std::to_string(result);
    text += std::string(4 - value.size(), ' ') + value + "  " + ResultTextUtf8(result) + '\n';
  }
  text +=
      "\nBatch input lines end in LF or CRLF; the last needs no line end, and a UTF-8\n"
      "byte-order mark at the start is ignored. A malformed line (wrong number of\n"
      "fields, NUL byte, invalid UTF-8, a character without a Windows-1252 form, or\n"
      "longer than " +
      std::to_string(kMaxLineLength) +
      " bytes) is answered in place by\n"
      "  ERROR<TAB>malformed line N: REASON\n"
      "(N counts lines from 1) and the run goes on.\n";
  text += kExitStatus;
  return text;
}

std::string VersionLine() { return "tavrel " TAVREL_VERSION "\n"; }

}  // namespace tavrel::cli
