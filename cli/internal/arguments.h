// Command-line parsing: which command to run, with its operands converted from
// UTF-8 to the system's Windows-1252.
#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "assist.h"
#include "batch.h"
#include "csv_batch.h"
#include "tavrel/service.h"

namespace tavrel::cli {

enum class CommandKind {
  kHelp,         // --help, help
  kCommandHelp,  // help COMMAND, COMMAND --help
  kVersion,
  kCheck,        // check BANKCODE ACCOUNT
  kCheckBatch,   // check - [FILE...]
  kCsvBatch,     // check --csv [- [FILE...]]
  kName,         // name BANKCODE
  kMethod,       // method KEY ACCOUNT [BANKCODE]
  kMethodBatch,  // method - [FILE...]
  kSearch,       // search [--json] [--fuzzy] TEXT
  kRules,        // rules [--json] [--on DATE]
  kDirectory,    // directory [--json]
  kExplain,      // explain BANKCODE ACCOUNT, explain --method KEY ACCOUNT [BANKCODE]
  kSuggest,      // suggest BANKCODE ACCOUNT
  kGenerate,     // generate (--bank BANKCODE | --method KEY)
  kSelfTest,     // selftest
  kIban,         // iban IBAN
  kIbanBatch,    // iban - [FILE...]
  kIbanFrom,     // iban --from BANKCODE ACCOUNT
};

struct Command {
  CommandKind kind = CommandKind::kHelp;
  std::vector<std::string> operands;  // Windows-1252, without the command word
  std::string helpWord;               // kCommandHelp: the command
  bool json = false;
  bool fuzzy = false;  // search: the typo-tolerant search
  BatchOptions batch;  // batch modes only: inputs, output, --threads, ...
  CsvOptions csv;
  // check and method: the rule generation that runs the methods (--rules);
  // null: the directory's own.
  const service::RuleSet* rules = nullptr;
  std::optional<std::chrono::year_month_day> date;  // rules --on
  // The directory (see source.h): --directory as given, --as-of, --strict.
  std::optional<std::string> directory;
  std::optional<std::chrono::year_month_day> asOf;
  bool strict = false;
  AssistOptions assist;  // explain, suggest, generate, selftest
};

enum class ParseStatus {
  kOk,
  kUsageError,     // unknown option, unknown command, wrong operand count
  kEncodingError,  // an operand is not valid UTF-8 or has no Windows-1252 form
};

struct ParseResult {
  ParseStatus status = ParseStatus::kOk;
  Command command;
  std::string error;  // UTF-8, for standard error, when status is not kOk
};

// Reads argv[1..argc-1]. "--help"/"-h" anywhere before "--" wins over everything
// (after a command word, that command's help);
// "--" ends the options so operands may begin with '-'; a lone "-" is an operand.
// Options with a value take it as the next argument or after '='. "check --csv"
// needs no "-" operand: the CSV mode always reads standard input.
ParseResult ParseArguments(int argc, const char* const* argv);

}  // namespace tavrel::cli
