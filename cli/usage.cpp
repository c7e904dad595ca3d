#include "internal/usage.h"

#include "internal/batch.h"
#include "internal/csv_columns.h"
#include "internal/result_text.h"
#include "tavrel/directory.h"
#include "tavrel/outcome.h"
#include "tavrel/version.h"

namespace tavrel::cli {
namespace {

// One block of the command list: the command word it belongs to and its text.
// The overview prints every block in order; a command's own help its blocks.
struct CommandSection {
  std::string_view word;
  std::string_view text;
  // check --csv: the recognised header names go after `text`, then this.
  std::string_view afterColumnNames = {};
};

constexpr CommandSection kSections[] = {
    {"help", R"(  help [COMMAND]
      Prints this help, or the usage of one COMMAND, the options it takes and
      an example, as "COMMAND --help" does.
)"},
    {"check", R"(  check BANKCODE ACCOUNT [--json]
      Check one account. Prints RESULT<TAB>MESSAGE, followed by <TAB>BANKNAME
      when the bank code (white space around it removed) is in the directory.
      A bank code the directory marks for withdrawal is still checked, and a
      note on standard error names its successor; one the directory lacks but
      an older compiled-in directory lists gets a note with the successor
      named there. With --json prints one JSON object: "result", "code",
      "message", "verdict", "field", "bank" (bank_code, name, bic,
      method_code, deletion_notice, successor, iban_rule; or null) and
      "successor" (finding, bank_code, as_of, note; or null).
)"},
    {"check", R"(  check - [FILE...] [--threads N] [--json] [--header] [-o FILE]
          [--summary] [--fail-on-invalid]
      Batch: reads lines BANKCODE<TAB>ACCOUNT from standard input, or from
      the FILEs named after "-" one after the other, and writes
      BANKCODE<TAB>ACCOUNT<TAB>RESULT<TAB>MESSAGE, the two fields echoed as
      given and MESSAGE as the single check prints it. With --json writes one
      JSON object a line instead: "bank_code" and "account" as given, then
      "result", "code", "message", "verdict" and "field" as "check --json"
      has them; a malformed line gives {"error": "malformed_line", "line",
      "message"}.
)"},
    {"check", R"(  check --csv [- FILE...] [--bank-column N|NAME] [--account-column N|NAME]
              [--delimiter C] [--no-header] [--verbose] [--threads N]
      CSV batch: reads CSV records (see "CSV records" below) from standard
      input or the FILEs (each with its own header row; the first one's is
      used and written) and writes each record as read with two columns
      appended: RESULT and MESSAGE (quoted when needed). The first record is
      a header row, written with the columns "result" and "message" appended. A column is
      chosen by number from 1 or by header name, or else recognised in the
      header row by one of these names (ASCII case, blanks, "_", "-" and "."
      ignored, so "Bank_Code" and "Konto-Nr." match):
)",
     R"(      A header row that names a column in none or in several of its fields,
      or choices that put both in one column, stop the run before the first
      record (exit status 64) with a message listing the header's columns.
      --no-header reads every record as data, the bank code from column 1
      and the account from column 2 unless chosen by number. The columns
      used are named on standard error when it is a terminal, or always
      with --verbose. --delimiter sets the field delimiter (default ","; "\t"
      for a tab). A malformed record (broken quoting, too few columns, a used
      field that is not valid UTF-8 or has no Windows-1252 form) gets the
      RESULT "ERROR" and the MESSAGE "malformed record at line N: REASON", N
      being the line the record starts on. A header row that is malformed or
      lacks a column named by an option stops the run (exit status 2).
)"},
    {"name", R"(  name BANKCODE [--json]
      Prints the bank's short name; white space around the bank code is
      removed. An unknown bank code is said on standard error (exit status 2).
      With --json prints the bank's record as "check --json" shows "bank".
)"},
    {"method", R"(  method KEY ACCOUNT [BANKCODE] [--json]
      Runs one check-digit method or variant key directly on ACCOUNT as given
      (no trimming, no validation) and prints RESULT. With --json one object:
      "result", "code", "message", "verdict" and "field" (null for a value
      that is no outcome).
)"},
    {"method", R"(  method - [FILE...] [--threads N] [--json] [the batch options of check -]
      Batch: reads lines KEY<TAB>ACCOUNT or KEY<TAB>ACCOUNT<TAB>BANKCODE from
      standard input and writes one RESULT per line; with --json one object a
      line: "key", "account" and "bank_code" (null when not given) as given,
      then the fields of "method --json".
)"},
    {"search", R"(  search [--json] TEXT
      Bank search: TEXT of 2 to 7 digits lists the bank codes starting with
      them; any other first character searches the short names for TEXT, or
      for two terms "TERM1,TERM2" (case of A-Z and umlauts ignored). Prints
      the hit lines "BANKCODE | NAME" and then "N hits" on standard error.
      With --json prints one JSON array of {"bankCode": ..., "name": ...}
      objects instead, and no count.
)"},
    {"search", R"(  search --fuzzy [--json] TEXT
      Typo-tolerant bank search over the chosen directory, by default the
      compiled-in current one (the newest Bundesbank file when tavrel was
      built; the plain search and the other commands default to the 2009
      directory). TEXT is cut into terms at
      every character other than a letter or a digit (at most 8 different
      terms); each term must match a word of the short name, in any order,
      or as digits the bank code (all eight, or its first two to seven).
      Case and accents are ignored, and "ae", "oe", "ue", "ss" match "ä",
      "ö", "ü", "ß" and the other way round. Terms of 4 to 7 characters may
      have one typo, longer ones two (a letter missing, added, changed, or
      two neighbours swapped). Hits come best first: whole words before
      starts of words, before terms inside a word, before typos, fewer typos
      first. Prints the hit lines as the plain search does; with --json each
      object has a "score" too: 100 when every term is a whole word, 90 for
      the start of a word, 75 inside one, 60 or 40 for a word with one or
      two typos, 55 or 35 for its start, averaged over the terms.
)"},
    {"rules", R"(  rules [--json] [--on DATE]
      Lists the rule generations, one line each: NAME<TAB>VALID-FROM<TAB>
      METHOD CODES (blank-separated). With --on YYYY-MM-DD prints only the
      generation for checks as of that date; when the rules of that day are
      not kept, a note on standard error says so. With --json prints JSON
      objects {"name", "validFrom", "methodCodes"} (with --on one object and
      its "note", null when there is none).
)"},
    {"directory", R"(  directory [--json]
      Prints the chosen directory's source, valid-from and valid-until dates,
      number of entries and rule generation, then the banks per method code
      (METHOD<TAB>COUNT lines). With --json one object: "source",
      "compiled_in", "valid_from", "valid_until", "entries",
      "rule_generation" and "method_counts".
)"},
    {"explain", R"(  explain BANKCODE ACCOUNT [--rules NAME] [--json]
      Explains the check of one account: the tests of the input (an input
      fault names the test it failed), then each method or variant that ran
      or was left out and why, with the ten-digit form, the digits, weights
      and products in columns under the digits, the sum, modulus and
      remainder, the expected check digit and its position, and what each
      step gave. With --json one JSON object. Exit status as for check.
)"},
    {"explain", R"(  explain --method KEY ACCOUNT [BANKCODE] [--rules NAME] [--json]
      The same for one method code or variant key on ACCOUNT as given.
)"},
    {"suggest", R"(  suggest BANKCODE ACCOUNT [--max N] [--bank-codes] [--rules NAME] [--json]
      For an account that fails its check digit test: the accounts one slip
      away (two neighbouring digits swapped, one digit wrong, left out or
      typed twice) that pass it, transpositions first, then substitutions
      away from the check digit, then the rest; at most N (default 5, up to
      1000). None for an account that is valid, or valid without check (any
      slip would pass too). --bank-codes adds the bank codes one slip away
      that the directory has and whose method accepts the account. Exit
      status as for check of the account as typed.
)"},
    {"generate", R"(  generate (--bank BANKCODE | --method KEY) [--count N] [--seed S]
           [--length L] [--invalid] [--rules NAME] [--json]
      Prints N distinct accounts (default 10, up to 100000) that the bank's
      method or the method KEY accepts, one a line; a seed (default 1) gives
      the same accounts every time. L is the number of digits (1 to 10,
      default a mix of six to ten); up to five digits every account is
      tried, longer ones come from random stems. Each variant of a method
      that accepts some takes its turn; --json names it for each account.
      --invalid prints accounts that fail by their check digit alone, each
      one digit away from a valid one ("valid_form" with --json). When fewer
      than N exist or were found, says so on standard error (exit status 1).
)"},
    {"selftest", R"(  selftest [--rules 2009|current|all] [--json]
      Runs the Bundesbank's published test numbers compiled into tavrel and
      prints "NAME: N passed, N failed" per rule generation (default all),
      each failure on a line before it. Exit status 1 on any failure.
)"},
    {"iban", R"(  iban IBAN [--json]
      Checks an IBAN of any country of the SWIFT IBAN registry (blanks, any
      case and a leading "IBAN" allowed) and prints RESULT<TAB>MESSAGE of the
      IBAN; for a valid German IBAN followed by
      <TAB>ACCOUNT_RESULT<TAB>ACCOUNT_MESSAGE<TAB>BANKNAME<TAB>BIC: the check
      of the account it holds at its bank code, and the bank's short name and
      BIC (empty when the directory has none). A bank may build its IBANs by
      a rule of its own, so a failing account does not make the IBAN
      invalid, but the exit status is the worse of the two results: an IBAN
      whose account fails never exits 0. With --json one object: "result",
      "code", "message", "iban" (electronic form, or null), "print_format",
      "country" and "german" (bank_code, account, account_check, bank as
      "check --json" shows it, successor; or null).
)"},
    {"iban", R"(  iban - [FILE...] [--threads N] [--json] [the batch options of check -]
      Batch: reads one IBAN a line from standard input and writes
      IBAN<TAB>RESULT<TAB>MESSAGE<TAB>ACCOUNT_RESULT<TAB>ACCOUNT_MESSAGE, the
      line echoed as given, the messages as the single checks print them,
      and the account fields empty unless the IBAN is a valid German one. A line
      with a tab is malformed. With --json one object a line: "iban" as
      given, the IBAN's "result", "code", "message", "verdict" and "field",
      and "account_check": those of the account of a valid German IBAN, or
      null.
)"},
    {"iban", R"(  iban --from BANKCODE ACCOUNT [--json]
      Checks the account and, when it is valid, prints
      RESULT<TAB>MESSAGE<TAB>IBAN<TAB>PRINT FORM<TAB>NOTE, else RESULT<TAB>
      MESSAGE (exit status as for check). The IBAN is the standard conversion
      only (bank code and the account padded to ten digits): the banks' own
      IBAN rules are not at hand, and NOTE says so. Where a directory file
      gives the bank's IBAN rule, NOTE names a rule other than 000000, and
      rule 000100 (no IBAN) gives no IBAN (exit status 1). With --json one
      object: "result", "code", "message", "iban", "print_format",
      "conversion" ("standard" or null), "note" and "bank".
)"},
    {"check", R"(  check --csv --iban-column N|NAME [the CSV options above]
      CSV batch over IBANs: checks the IBAN column instead of the bank code
      and account columns, and appends four columns: RESULT and MESSAGE of
      the IBAN, ACCOUNT_RESULT and ACCOUNT_MESSAGE of a German IBAN's account
      (empty otherwise); the header row gets "result", "message",
      "account_result" and "account_message". A header row that names an
      IBAN column and neither of the other two is read so without the
      option.
)"},
    {"serve", R"(  serve [--bind ADDRESS] [--port N] [--threads N]
      Serves the check, the bank names and the bank search as a JSON API
      over HTTP, and a page that checks as you type, on 127.0.0.1:8080 by
      default, until SIGINT or SIGTERM ('tavrel serve --help' tells more).
)"},
};

// One entry of the option list and the commands it applies to ("*": every
// command; empty: the overview only).
struct OptionSection {
  std::string_view commands;
  std::string_view text;
};

constexpr OptionSection kOptions[] = {
    {"*", R"(  -h, --help   print this help and exit
)"},
    {"", R"(  --version    print the version and exit
)"},
    {"check method iban",
     R"(  --threads N  batch modes: check on N worker threads, 1 to 16 (default 2;
               1 checks on the main thread); the output order is the input's
)"},
    {"search", R"(  --fuzzy      search: the typo-tolerant search (see above)
)"},
    {"iban", R"(  --from       iban: build the IBAN of BANKCODE ACCOUNT (see above)
)"},
    {"check name method search directory explain suggest generate iban", R"(  --directory NAME|FILE
               check, name, method, search, directory, explain, suggest,
               generate and iban, batch modes too: the
               bank directory: "2009" (the Bundesbank's file of 2009-09-07, the
               default), "current" (its file of 2026-03-09), or any other text
               as the path of a Bundesbank bank-code file (168 or 174 columns).
               A file that cannot be read exits with 74, a malformed one with
               2, naming the line and field; banks whose method code has no
               method in the rules are warned of on standard error
)"},
    {"check name method search directory explain suggest generate iban",
     R"(  --as-of DATE the compiled-in directory valid on DATE (YYYY-MM-DD): 2009 from
               2009-09-07 to 2009-12-06, current from 2026-03-09 on; any other
               date is a usage error
)"},
    {"check name method search directory explain suggest generate iban",
     R"(  --strict     with --directory FILE: a bank whose method code has no method
               in the rules is an error (exit status 2), not a warning
)"},
    {"check method explain suggest generate selftest iban",
     R"(  --rules NAME check, method, explain, suggest, generate, selftest and iban,
               batch modes too: run the check-digit methods by the rule generation
               NAME: "2009" (the Bundesbank's rules of September 2009) or
               "current" (its rules as changed since, up to June 2018). By
               default the directory's own: 2009 for the 2009 directory,
               current for the current one, and for a file those in force on
               the date in its name (blz_YYYYMMDD...), else current; selftest
               runs both unless named
)"},
    {"check method iban",
     R"(  --header     batch modes: the first line of each input is a header: not
               checked, and the first input's written with the result columns'
               names appended ("result" alone for method -, nothing with
               --json); check --csv reads header rows unless --no-header
)"},
    {"check method iban", R"(  -o, --output FILE
               batch modes: write to FILE instead of standard output, through a
               temporary file in its directory renamed to FILE at the end, so
               FILE is never half-written and stays as it was when the run fails
)"},
    {"check method iban", R"(  --summary, --no-summary
               batch modes: the lines, how many were valid, invalid or input
               faults, and the lines per second, on standard error at the end;
               by default when standard error is a terminal
)"},
    {"check method iban", R"(  --fail-on-invalid
               batch modes: exit status 1 when any line is invalid or an input
               fault (2 still when a line is malformed)
)"},
    {"*", R"(  --           end of options: later arguments may begin with '-'
)"},
};

// One example per command, shown in its own help.
struct CommandExample {
  std::string_view word;
  std::string_view example;
};

constexpr CommandExample kExamples[] = {
    {"check", "tavrel check 12030000 9290701"},
    {"name", "tavrel name 12030000"},
    {"method", "tavrel method 00 9290701"},
    {"search", "tavrel search --fuzzy 'volksbnak chemnitz'"},
    {"rules", "tavrel rules --on 2015-01-01"},
    {"directory", "tavrel directory --directory current"},
    {"explain", "tavrel explain --directory current 37040044 0523013000"},
    {"suggest", "tavrel suggest --directory current 37040044 0523013000"},
    {"generate", "tavrel generate --bank 12030000 --count 3"},
    {"selftest", "tavrel selftest --rules current"},
    {"iban", "tavrel iban 'DE89 3704 0044 0532 0130 00'"},
};

constexpr std::string_view kUsageLine =
    "Usage: tavrel COMMAND ARGUMENTS\n"
    "Checks German bank account numbers by the check-digit method of their bank.\n";

constexpr std::string_view kArgumentsAndInput =
    R"(Arguments and input are UTF-8; characters without a Windows-1252 form are
input faults, an argument's named in the message. Output is UTF-8. Arguments
are read forgivingly where that is unambiguous: in bank codes, accounts, IBANs
and search text, decimal digits of any script (fullwidth, Arabic-Indic, ...)
are ASCII digits; a bank code in groups split by blanks ("370 400 44") is read
without them when the groups make eight digits; in search text a letter and a
combining accent after it are the one letter (a + U+0308 is "ä"). Method keys,
the accounts of method and explain --method, and batch lines are read as
given. While standard error is a terminal, the checks
say there once when the current directory is past its valid-until date.

)";

static_assert(kMaxLineLength == 65536, "the text below names the limit");
static_assert(directory::kMaxFuzzyTerms == 8, "the help names the limit of terms");
constexpr std::string_view kCsvRecords = R"(
CSV records (RFC 4180, as common CSV readers take it) end at a line end (LF or
CRLF) outside quoted fields. A double quote opens a quoted field only at the
start of a field; up to its closing quote the field may hold delimiters, line
ends and "" for a quote. A quote anywhere else is a plain character, as in
TV 40". A record holds at most 65536 bytes besides its line end:
- a quoted field still open at the end of the input, or after the first
  65538 bytes of its record (65536, a CR and a LF), never closes: its record
  ends with the line its opening quote is on, gets "unterminated quote" (the
  quote is closed in the output), and the next line starts a new record;
- any other longer record ends at the first line end after those bytes, and
  is answered by an empty field and the two columns.
The same input gives the same output however it arrives (file or pipe).
)";

constexpr std::string_view kExitStatus = R"(
Exit status:
  0   result 0 or 1; name and search: found; batch: every line well formed
  1   results -3 and -13; search: no hit; generate: fewer accounts than asked;
      selftest: a published number failed; batch with --fail-on-invalid: a
      line invalid or an input fault
  2   results -5 to -12; name: unknown bank code; an argument that is not
      valid UTF-8 or has no Windows-1252 form; batch: at least one malformed
      line or record; CSV: a header row that is malformed or lacks a named
      column; --directory FILE: a malformed file (with --strict, a method
      code without a method)
  3   result -2
  64  usage error: unknown command or option, wrong number of arguments,
      an --as-of date without a compiled-in directory; CSV: a header or
      choices that do not tell the two columns apart
  66  batch: an input file cannot be opened (nothing is read or written)
  70  out of memory
  73  batch: the output file (-o) cannot be created
  74  reading input or writing output failed; --directory FILE unreadable
)";

// "        bank code: blz, bankleitzahl, ..." for every kind of column.
std::string RecognisedColumnNames() {
  std::string text;
  for (const ColumnKindInfo& info : kColumnKinds) {
    text += "        ";
    text += info.description;
    text += ':';
    for (std::size_t i = 0; i < info.headerNames.size(); ++i) {
      text += i == 0 ? " " : ", ";
      text += info.headerNames[i];
    }
    text += '\n';
  }
  return text;
}

bool AppliesTo(std::string_view commands, std::string_view word) {
  if (commands == "*") return true;
  for (std::size_t at = commands.find(word); at != std::string_view::npos;
       at = commands.find(word, at + 1)) {
    const std::size_t end = at + word.size();
    if ((at == 0 || commands[at - 1] == ' ') && (end == commands.size() || commands[end] == ' '))
      return true;
  }
  return false;
}

// The blocks of `word`, or of every command when `word` is empty.
std::string CommandBlocks(std::string_view word) {
  std::string text;
  for (const CommandSection& section : kSections) {
    if (!word.empty() && section.word != word) continue;
    text += section.text;
    if (section.afterColumnNames.empty()) continue;
    text += RecognisedColumnNames();
    text += section.afterColumnNames;
  }
  return text;
}

std::string OptionBlocks(std::string_view word) {
  std::string text;
  for (const OptionSection& option : kOptions) {
    if (word.empty() || (!option.commands.empty() && AppliesTo(option.commands, word)))
      text += option.text;
  }
  return text;
}

std::string ResultTable() {
  std::string text = "Results (value, code, message):\n";
  for (const OutcomeInfo& info : kOutcomes) {
    const std::string value = std::to_string(ValueOf(info.outcome));
    const std::string code(info.code);
    text += std::string(4 - value.size(), ' ') + value + "  " + code +
            std::string(22 - code.size(), ' ') + ResultTextUtf8(ValueOf(info.outcome)) + '\n';
  }
  return text;
}

}  // namespace

std::string HelpText() {
  std::string text(kUsageLine);
  text += "\nCommands:\n";
  text += CommandBlocks({});
  text += "\nOptions:\n";
  text += OptionBlocks({});
  text += '\n';
  text += kArgumentsAndInput;
  text += ResultTable();
  text +=
      "\nBatch input lines end in LF or CRLF; the last needs no line end, and a UTF-8\n"
      "byte-order mark at the start is ignored. A malformed line (wrong number of\n"
      "fields, NUL byte, invalid UTF-8, a character without a Windows-1252 form, or\n"
      "longer than " +
      std::to_string(kMaxLineLength) +
      " bytes) is answered in place by\n"
      "  ERROR<TAB>malformed line N: REASON\n"
      "(N counts lines from 1, in each input file) and the run goes on; so is a\n"
      "blank line, never skipped. While standard error is a terminal, the batch\n"
      "modes show the lines done and the rate there, and when every input is a\n"
      "file the share done and the time left.\n";
  text += kCsvRecords;
  text += kExitStatus;
  return text;
}

bool IsCommandWord(std::string_view word) {
  for (const CommandSection& section : kSections) {
    if (section.word == word) return true;
  }
  return false;
}

std::string CommandHelpText(std::string_view word) {
  std::string text = "Usage:\n" + CommandBlocks(word);
  text += "\nOptions:\n" + OptionBlocks(word);
  for (const CommandExample& example : kExamples) {
    if (example.word == word) text += "\nExample:\n  " + std::string(example.example) + '\n';
  }
  text += "\nThe results, the exit statuses and the other commands: 'tavrel --help'.\n";
  return text;
}

std::string VersionLine() { return "tavrel " TAVREL_VERSION "\n"; }

}  // namespace tavrel::cli
