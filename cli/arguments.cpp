#include "internal/arguments.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <string_view>

#include "internal/forgiving_input.h"
#include "internal/usage.h"
#include "tavrel/ascii.h"

namespace tavrel::cli {
namespace {

struct CommandShape {
  std::string_view word;
  CommandKind single;
  std::size_t minOperands;
  std::size_t maxOperands;
  std::optional<CommandKind> batch;  // the kind when the one operand is "-"
};

constexpr CommandShape kShapes[] = {
    {"check", CommandKind::kCheck, 2, 2, CommandKind::kCheckBatch},
    {"name", CommandKind::kName, 1, 1, std::nullopt},
    {"method", CommandKind::kMethod, 2, 3, CommandKind::kMethodBatch},
    {"search", CommandKind::kSearch, 1, 1, std::nullopt},
    {"rules", CommandKind::kRules, 0, 0, std::nullopt},
    {"directory", CommandKind::kDirectory, 0, 0, std::nullopt},
    {"explain", CommandKind::kExplain, 1, 2, std::nullopt},
    {"suggest", CommandKind::kSuggest, 2, 2, std::nullopt},
    {"generate", CommandKind::kGenerate, 0, 0, std::nullopt},
    {"selftest", CommandKind::kSelfTest, 0, 0, std::nullopt},
    {"iban", CommandKind::kIban, 1, 1, CommandKind::kIbanBatch},
};

// The options of explain, suggest, generate and selftest come in as the base.
struct SplitArguments : AssistArguments {
  std::vector<std::string_view> operands;
  bool help = false;
  bool version = false;
  bool json = false;
  bool csv = false;
  bool noHeader = false;
  bool verbose = false;
  bool fuzzy = false;
  bool strict = false;
  bool from = false;
  bool header = false;
  bool summary = false;
  bool noSummary = false;
  bool failOnInvalid = false;
  std::optional<std::string_view> threads;
  std::optional<std::string_view> bankColumn;
  std::optional<std::string_view> accountColumn;
  std::optional<std::string_view> ibanColumn;
  std::optional<std::string_view> delimiter;
  std::optional<std::string_view> rules;
  std::optional<std::string_view> on;
  std::optional<std::string_view> directory;
  std::optional<std::string_view> asOf;
  std::optional<std::string_view> output;
  std::string error;  // the first unknown option or missing value
};

struct FlagOption {
  std::string_view name;
  bool SplitArguments::*flag;
};
constexpr FlagOption kFlags[] = {
    {"--help", &SplitArguments::help},
    {"-h", &SplitArguments::help},
    {"--version", &SplitArguments::version},
    {"--json", &SplitArguments::json},
    {"--csv", &SplitArguments::csv},
    {"--no-header", &SplitArguments::noHeader},
    {"--verbose", &SplitArguments::verbose},
    {"--fuzzy", &SplitArguments::fuzzy},
    {"--strict", &SplitArguments::strict},
    {"--invalid", &SplitArguments::invalid},
    {"--bank-codes", &SplitArguments::bankCodes},
    {"--from", &SplitArguments::from},
    {"--header", &SplitArguments::header},
    {"--summary", &SplitArguments::summary},
    {"--no-summary", &SplitArguments::noSummary},
    {"--fail-on-invalid", &SplitArguments::failOnInvalid},
};

struct ValueOption {
  std::string_view name;
  std::optional<std::string_view> SplitArguments::*value;
};
constexpr ValueOption kValueOptions[] = {
    {"--threads", &SplitArguments::threads},
    {"--bank-column", &SplitArguments::bankColumn},
    {"--account-column", &SplitArguments::accountColumn},
    {"--iban-column", &SplitArguments::ibanColumn},
    {"--delimiter", &SplitArguments::delimiter},
    {"--rules", &SplitArguments::rules},
    {"--on", &SplitArguments::on},
    {"--directory", &SplitArguments::directory},
    {"--as-of", &SplitArguments::asOf},
    {"--method", &SplitArguments::method},
    {"--bank", &SplitArguments::bank},
    {"--max", &SplitArguments::max},
    {"--count", &SplitArguments::count},
    {"--seed", &SplitArguments::seed},
    {"--length", &SplitArguments::length},
    {"-o", &SplitArguments::output},
    {"--output", &SplitArguments::output},
};

void NoteError(SplitArguments& split, std::string error) {
  if (split.error.empty()) split.error = std::move(error);
}

// Takes the option at argv[i] and its value, which may be the next argument.
void TakeOption(int argc, const char* const* argv, int& i, SplitArguments& split) {
  const std::string_view arg = argv[i];
  for (const FlagOption& option : kFlags) {
    if (arg == option.name) {
      split.*option.flag = true;
      return;
    }
  }
  const std::string_view name = arg.substr(0, arg.find('='));
  for (const ValueOption& option : kValueOptions) {
    if (name != option.name) continue;
    if (name.size() < arg.size()) {
      split.*option.value = arg.substr(name.size() + 1);
    } else if (i + 1 < argc) {
      split.*option.value = argv[++i];
    } else {
      NoteError(split, "option '" + std::string(arg) + "' needs a value");
    }
    return;
  }
  NoteError(split, "unknown option '" + std::string(arg) + "'");
}

SplitArguments SplitOptions(int argc, const char* const* argv) {
  SplitArguments split;
  bool optionsEnded = false;
  for (int i = 1; i < argc; ++i) {
    std::string_view arg = argv[i];
    if (optionsEnded || arg.size() < 2 || arg.front() != '-') {
      split.operands.push_back(arg);
    } else if (arg == "--") {
      optionsEnded = true;
    } else {
      TakeOption(argc, argv, i, split);
    }
  }
  return split;
}

bool IsAssistCommand(CommandKind kind) {
  return kind == CommandKind::kExplain || kind == CommandKind::kSuggest ||
         kind == CommandKind::kGenerate || kind == CommandKind::kSelfTest;
}

ParseResult UsageError(std::string message) {
  ParseResult result;
  result.status = ParseStatus::kUsageError;
  result.error = std::move(message);
  return result;
}

const CommandShape* FindShape(std::string_view word) {
  for (const CommandShape& shape : kShapes) {
    if (shape.word == word) return &shape;
  }
  return nullptr;
}

// A batch reads standard input, or the files named after its "-".
std::optional<CommandKind> KindFor(const CommandShape& shape,
                                   const std::vector<std::string_view>& operands, bool csv) {
  const bool batchOperand = !operands.empty() && operands.front() == "-";
  if (csv && shape.single == CommandKind::kCheck && (operands.empty() || batchOperand)) {
    return CommandKind::kCsvBatch;
  }
  if (shape.batch && batchOperand) return shape.batch;
  if (operands.size() < shape.minOperands || operands.size() > shape.maxOperands) {
    return std::nullopt;
  }
  return shape.single;
}

// Looks like an IBAN rather than a bank code: two letters, two digits, then at
// least ten letters or digits, blanks anywhere.
bool LooksLikeIban(std::string_view text) {
  std::string compact;
  for (char c : text) {
    if (c != ' ') compact += FoldAsciiCase(c);
  }
  const auto isLetter = [](char c) { return c >= 'a' && c <= 'z'; };
  if (compact.size() < 14 || !isLetter(compact[0]) || !isLetter(compact[1]) ||
      !IsAsciiDigit(compact[2]) || !IsAsciiDigit(compact[3])) {
    return false;
  }
  return std::all_of(compact.begin() + 4, compact.end(),
                     [&](char c) { return isLetter(c) || IsAsciiDigit(c); });
}

// The command for the operands; nullopt for a wrong number of them.
std::optional<CommandKind> KindOf(const CommandShape& shape, const SplitArguments& split) {
  if (split.from && shape.single == CommandKind::kIban) {
    return split.operands.size() == 2 ? std::optional(CommandKind::kIbanFrom) : std::nullopt;
  }
  return KindFor(shape, split.operands, split.csv);
}

std::optional<unsigned> ParseNumber(std::string_view text) {
  unsigned value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

// A column number from 1, or else a header name.
std::optional<std::string> ParseColumn(std::string_view option, std::string_view text, bool header,
                                       ColumnChoice& column) {
  if (text.empty()) return std::string(option) + " needs a column number or name";
  if (text.find_first_not_of("0123456789") == std::string_view::npos) {
    const std::optional<unsigned> number = ParseNumber(text);
    if (!number || *number == 0) return std::string(option) + " counts columns from 1";
    column.number = *number;
  } else if (!header) {
    return std::string(option) + " takes a column number with --no-header";
  } else {
    column.name = text;
  }
  return std::nullopt;
}

// One ASCII byte other than a quote or a line end; "\t" stands for a tab.
std::optional<std::string> ParseDelimiter(std::string_view text, char& delimiter) {
  if (text == "\\t") text = "\t";
  if (text.size() != 1 || static_cast<unsigned char>(text[0]) >= 0x80 ||
      text.find_first_of("\"\r\n") == 0) {
    return "--delimiter takes one ASCII character other than a quote or a line end";
  }
  delimiter = text[0];
  return std::nullopt;
}

std::optional<std::string> ApplyCsvOptions(const SplitArguments& split, CsvOptions& csv) {
  if (split.header && split.noHeader) return "--header and --no-header contradict each other";
  csv.header = !split.noHeader;
  csv.verbose = split.verbose;
  if (split.delimiter) {
    if (auto error = ParseDelimiter(*split.delimiter, csv.delimiter)) return error;
  }
  if (split.ibanColumn && (split.bankColumn || split.accountColumn)) {
    return "--iban-column checks IBANs instead of bank codes and accounts: give it alone";
  }
  const std::optional<std::string_view> given[] = {split.bankColumn, split.accountColumn,
                                                   split.ibanColumn};
  static_assert(std::size(given) == kColumnKindCount, "one option per kind of column");
  for (const ColumnKindInfo& info : kColumnKinds) {
    const std::size_t kind = static_cast<std::size_t>(info.kind);
    if (!given[kind]) continue;
    if (auto error = ParseColumn(info.option, *given[kind], csv.header, csv.columns[kind])) {
      return error;
    }
  }
  return std::nullopt;
}

bool IsBatch(CommandKind kind) {
  return kind == CommandKind::kCsvBatch || kind == CommandKind::kCheckBatch ||
         kind == CommandKind::kMethodBatch || kind == CommandKind::kIbanBatch;
}

// Checks that the batch options fit the command and stores them in it; the
// operands after a batch's "-" are its input files.
std::optional<std::string> ApplyBatchOptions(const SplitArguments& split, Command& command) {
  const bool csvMode = command.kind == CommandKind::kCsvBatch;
  const bool batch = IsBatch(command.kind);
  if (split.threads) {
    if (!batch) return "--threads applies to the batch modes only";
    const std::optional<unsigned> threads = ParseNumber(*split.threads);
    if (!threads || *threads == 0 || *threads > kMaxThreads) {
      return "--threads takes a number from 1 to " + std::to_string(kMaxThreads);
    }
    command.batch.threads = *threads;
  }
  const bool batchOptionGiven =
      split.header || split.output || split.summary || split.noSummary || split.failOnInvalid;
  if (batchOptionGiven && !batch) {
    return "--header, --output, --summary, --no-summary and --fail-on-invalid apply to the batch "
           "modes only";
  }
  if (split.summary && split.noSummary) return "--summary and --no-summary contradict each other";
  if (split.output && split.output->empty()) return "--output takes a file's path";
  if (split.output) command.batch.output = std::string(*split.output);
  if (split.summary || split.noSummary) command.batch.summary = split.summary;
  command.batch.header = split.header;
  command.batch.failOnInvalid = split.failOnInvalid;
  if (batch && split.operands.size() > 1) {
    command.batch.inputs.assign(split.operands.begin() + 1, split.operands.end());
  }
  if (split.csv && !csvMode) return "--csv applies to 'check' without operands only";
  const bool csvOptionGiven = split.noHeader || split.verbose || split.delimiter ||
                              split.bankColumn || split.accountColumn || split.ibanColumn;
  if (!csvMode) {
    if (csvOptionGiven) {
      return "--no-header, --verbose, --delimiter and the column options need --csv";
    }
    return std::nullopt;
  }
  return ApplyCsvOptions(split, command.csv);
}

bool IsIbanCommand(CommandKind kind) {
  return kind == CommandKind::kIban || kind == CommandKind::kIbanBatch ||
         kind == CommandKind::kIbanFrom;
}

bool RunsMethods(CommandKind kind) {
  return kind == CommandKind::kCheck || kind == CommandKind::kCheckBatch ||
         kind == CommandKind::kCsvBatch || kind == CommandKind::kMethod ||
         kind == CommandKind::kMethodBatch || IsAssistCommand(kind) || IsIbanCommand(kind);
}

bool TakesJson(CommandKind kind) {
  return kind == CommandKind::kCheck || kind == CommandKind::kCheckBatch ||
         kind == CommandKind::kMethod || kind == CommandKind::kMethodBatch ||
         kind == CommandKind::kIbanBatch || kind == CommandKind::kName ||
         kind == CommandKind::kSearch || kind == CommandKind::kRules ||
         kind == CommandKind::kDirectory || IsAssistCommand(kind) || kind == CommandKind::kIban ||
         kind == CommandKind::kIbanFrom;
}

std::string KnownRuleNames() {
  std::string names;
  for (const service::RulesInfo& info : service::RuleGenerations()) {
    names += names.empty() ? "" : ", ";
    names += info.name;
  }
  return names;
}

// A date written YYYY-MM-DD.
std::optional<std::chrono::year_month_day> ParseDate(std::string_view text) {
  if (text.size() != 10 || text[4] != '-' || text[7] != '-') return std::nullopt;
  const std::optional<unsigned> year = ParseNumber(text.substr(0, 4));
  const std::optional<unsigned> month = ParseNumber(text.substr(5, 2));
  const std::optional<unsigned> day = ParseNumber(text.substr(8, 2));
  if (!year || !month || !day) return std::nullopt;
  const std::chrono::year_month_day date{std::chrono::year(static_cast<int>(*year)),
                                         std::chrono::month(*month), std::chrono::day(*day)};
  if (!date.ok()) return std::nullopt;
  return date;
}

bool ReadsADirectory(CommandKind kind) {
  return RunsMethods(kind) || kind == CommandKind::kName || kind == CommandKind::kSearch ||
         kind == CommandKind::kDirectory || IsAssistCommand(kind);
}

// Checks --directory, --as-of and --strict against the command and stores them.
std::optional<std::string> ApplyDirectoryOptions(const SplitArguments& split, Command& command) {
  const bool given = split.directory || split.asOf || split.strict;
  if (given && !ReadsADirectory(command.kind)) {
    return "--directory, --as-of and --strict apply to 'check', 'name', 'method', 'search', "
           "'directory', 'iban' and the commands of explanations only";
  }
  if (split.directory && split.asOf)
    return "--directory and --as-of choose the same thing: give one";
  if (split.strict && !split.directory) return "--strict applies to --directory FILE";
  if (split.directory) {
    if (split.directory->empty()) return "--directory takes 2009, current or a file's path";
    command.directory = std::string(*split.directory);
  }
  command.strict = split.strict;
  if (split.asOf) {
    command.asOf = ParseDate(*split.asOf);
    if (!command.asOf) return "--as-of takes a date YYYY-MM-DD";
  }
  return std::nullopt;
}

// Checks --rules and --on against the command and stores them in it.
std::optional<std::string> ApplyRulesOptions(const SplitArguments& split, Command& command) {
  if (split.rules) {
    if (!RunsMethods(command.kind)) {
      return "--rules applies to 'check', 'method', 'explain', 'suggest', 'generate', "
             "'selftest' and 'iban' only";
    }
    const bool all = command.kind == CommandKind::kSelfTest && *split.rules == "all";
    command.assist.allRules = all;
    if (!all) command.rules = service::FindRules(*split.rules);
    if (command.rules == nullptr) {
      const std::string_view all = command.kind == CommandKind::kSelfTest ? ", all" : "";
      return "unknown rules '" + std::string(*split.rules) + "' (known: " + KnownRuleNames() +
             std::string(all) + ")";
    }
  }
  if (split.on) {
    if (command.kind != CommandKind::kRules) return "--on applies to 'rules' only";
    command.date = ParseDate(*split.on);
    if (!command.date) return "--on takes a date YYYY-MM-DD";
  }
  return std::nullopt;
}

// What the operand at `index` of the command is, for the forgiving reading.
ArgumentKind OperandKind(const Command& command, std::size_t index) {
  switch (command.kind) {
    case CommandKind::kCheck:
    case CommandKind::kSuggest:
    case CommandKind::kIbanFrom:
      return index == 0 ? ArgumentKind::kBankCode : ArgumentKind::kAccount;
    case CommandKind::kExplain:
      // With --method the account is run as given, as by 'method'.
      if (!command.assist.method.empty()) return ArgumentKind::kAsGiven;
      return index == 0 ? ArgumentKind::kBankCode : ArgumentKind::kAccount;
    case CommandKind::kName:
      return ArgumentKind::kBankCode;
    case CommandKind::kIban:
      return ArgumentKind::kIban;
    case CommandKind::kSearch:
      return ArgumentKind::kSearchText;
    default:
      return ArgumentKind::kAsGiven;
  }
}

// serve parses its own options, so its help is its own too.
bool HasCommandHelp(std::string_view word) { return word == "serve" || IsCommandWord(word); }

ParseResult CommandHelp(std::string_view word) {
  ParseResult result;
  result.command.kind = CommandKind::kCommandHelp;
  result.command.helpWord = word;
  return result;
}

// --help alone or after an unknown word is the overview; after a command, its help.
ParseResult HelpFor(const std::vector<std::string_view>& operands) {
  if (!operands.empty() && HasCommandHelp(operands.front())) return CommandHelp(operands.front());
  return {};
}

// "help", "help COMMAND".
ParseResult HelpCommand(const std::vector<std::string_view>& operands) {
  if (operands.size() == 1) return {};
  if (operands.size() > 2) return UsageError("'help' takes one command");
  if (!HasCommandHelp(operands[1])) {
    return UsageError("no help for '" + std::string(operands[1]) + "': no such command");
  }
  return CommandHelp(operands[1]);
}

}  // namespace

ParseResult ParseArguments(int argc, const char* const* argv) {
  SplitArguments split = SplitOptions(argc, argv);
  if (split.help) return HelpFor(split.operands);
  if (!split.error.empty()) return UsageError(split.error);
  ParseResult result;
  if (split.version) {
    if (!split.operands.empty() || split.json) return UsageError("--version takes no arguments");
    result.command.kind = CommandKind::kVersion;
    return result;
  }
  if (split.operands.empty()) return UsageError("no command given");
  if (split.operands.front() == "help") return HelpCommand(split.operands);
  const CommandShape* shape = FindShape(split.operands.front());
  if (shape == nullptr) {
    return UsageError("unknown command '" + std::string(split.operands.front()) + "'");
  }
  split.operands.erase(split.operands.begin());
  if (split.from && shape->single != CommandKind::kIban) {
    return UsageError("--from applies to 'iban' only");
  }
  std::optional<CommandKind> kind = KindOf(*shape, split);
  if (!kind && shape->single == CommandKind::kCheck && split.operands.size() == 1 &&
      LooksLikeIban(split.operands.front())) {
    return UsageError("this is an IBAN: use tavrel iban");
  }
  if (!kind) return UsageError("wrong number of arguments for '" + std::string(shape->word) + "'");
  if (split.json && !TakesJson(*kind)) {
    return UsageError("--json applies to every command but 'check --csv' and 'serve'");
  }
  if (std::optional<std::string> error =
          ApplyAssistOptions(IsAssistCommand(*kind) ? shape->word : std::string_view{},
                             split.operands.size(), split, result.command.assist)) {
    return UsageError(std::move(*error));
  }
  if (split.fuzzy && *kind != CommandKind::kSearch) {
    return UsageError("--fuzzy applies to 'search' only");
  }
  result.command.fuzzy = split.fuzzy;
  result.command.kind = *kind;
  result.command.json = split.json;
  if (std::optional<std::string> error = ApplyBatchOptions(split, result.command)) {
    return UsageError(std::move(*error));
  }
  if (std::optional<std::string> error = ApplyRulesOptions(split, result.command)) {
    return UsageError(std::move(*error));
  }
  if (std::optional<std::string> error = ApplyDirectoryOptions(split, result.command)) {
    return UsageError(std::move(*error));
  }
  if (IsBatch(*kind)) return result;
  for (std::size_t i = 0; i < split.operands.size(); ++i) {
    ReadArgument text = ReadForgiving(split.operands[i], OperandKind(result.command, i));
    if (!text.cp1252) {
      result.status = ParseStatus::kEncodingError;
      result.error = "argument " + std::to_string(i + 1) + " of '" + std::string(shape->word) +
                     "': " + text.fault;
      return result;
    }
    result.command.operands.push_back(std::move(*text.cp1252));
  }
  return result;
}

}  // namespace tavrel::cli
