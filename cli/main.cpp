// tavrel: checks German bank account numbers from the command line.
#include <unistd.h>

#include <new>
#include <string>
#include <string_view>

#include "internal/arguments.h"
#include "internal/assist.h"
#include "internal/batch.h"
#include "internal/commands.h"
#include "internal/csv_batch.h"
#include "internal/exit_status.h"
#include "internal/iban_command.h"
#include "internal/output.h"
#include "internal/source.h"
#include "internal/usage.h"
#include "tavrel/http.h"

namespace {

using namespace tavrel::cli;

bool ChecksAccounts(CommandKind kind) {
  return kind == CommandKind::kCheck || kind == CommandKind::kCheckBatch ||
         kind == CommandKind::kCsvBatch || kind == CommandKind::kIban ||
         kind == CommandKind::kIbanBatch || kind == CommandKind::kIbanFrom;
}

int RunAgainst(const Command& command, const tavrel::service::CheckSource& source) {
  const auto& operand = command.operands;
  if (ChecksAccounts(command.kind)) NoteWhenOutOfDate(source);
  switch (command.kind) {
    case CommandKind::kCheck:
      return RunCheck(operand[0], operand[1], source, command.json);
    case CommandKind::kCheckBatch:
      return RunBatch(command.batch, command.json ? kCheckJsonLines : kCheckLines, source);
    case CommandKind::kCsvBatch:
      return RunCsvBatch(command.batch, command.csv, source);
    case CommandKind::kName:
      return RunName(operand[0], *source.directory, command.json);
    case CommandKind::kMethod:
      return RunMethod(operand[0], operand[1], operand.size() > 2 ? operand[2] : std::string(),
                       *source.rules, command.json);
    case CommandKind::kMethodBatch:
      return RunBatch(command.batch, command.json ? kMethodJsonLines : kMethodLines, source);
    case CommandKind::kSearch:
      if (command.fuzzy) return RunFuzzySearch(operand[0], *source.directory, command.json);
      return RunSearch(operand[0], *source.directory, command.json);
    case CommandKind::kDirectory:
      return RunDirectory(*source.directory, command.json);
    case CommandKind::kExplain:
      return RunExplain(operand, command.assist, source, command.json);
    case CommandKind::kSuggest:
      return RunSuggest(operand, command.assist, source, command.json);
    case CommandKind::kGenerate:
      return RunGenerate(command.assist, source, command.json);
    case CommandKind::kIban:
      return RunIban(operand[0], source, command.json);
    case CommandKind::kIbanBatch:
      return RunBatch(command.batch, command.json ? kIbanJsonLines : kIbanLines, source);
    case CommandKind::kIbanFrom:
      return RunIbanFrom(operand[0], operand[1], source, command.json);
    default:
      return kExitUsage;
  }
}

int Run(const Command& command) {
  switch (command.kind) {
    case CommandKind::kHelp:
      return Print(HelpText(), kExitValid);
    case CommandKind::kCommandHelp:
      if (command.helpWord == "serve") {
        const char* serveHelp[] = {"--help", nullptr};
        return tavrel::http::RunServeCommand(1, serveHelp);
      }
      return Print(CommandHelpText(command.helpWord), kExitValid);
    case CommandKind::kVersion:
      return Print(VersionLine(), kExitValid);
    case CommandKind::kRules:
      return RunRules(command.json, command.date);
    case CommandKind::kSelfTest:
      return RunSelfTest(command.assist.allRules    ? nullptr
                         : command.rules != nullptr ? command.rules
                                                    : &tavrel::service::DefaultRules(),
                         command.json);
    default:
      break;
  }
  int status = kExitValid;
  const std::optional<tavrel::service::CheckSource> source = OpenSource(command, status);
  return source ? RunAgainst(command, *source) : status;
}

}  // namespace

int main(int argc, char** argv) {
  // The server parses its own options: it runs for hours and has its own help.
  if (argc > 1 && std::string_view(argv[1]) == "serve") {
    return tavrel::http::RunServeCommand(argc - 2, argv + 2);
  }
  try {
    const ParseResult parsed = ParseArguments(argc, argv);
    if (parsed.status != ParseStatus::kOk) {
      WriteAll(STDERR_FILENO, "tavrel: " + parsed.error + '\n');
      if (parsed.status == ParseStatus::kEncodingError) return kExitInputFault;
      WriteAll(STDERR_FILENO, kUsageHint);
      return kExitUsage;
    }
    return Run(parsed.command);
  } catch (const std::bad_alloc&) {
    WriteAll(STDERR_FILENO, "tavrel: out of memory\n");
    return kExitInternal;
  }
}
