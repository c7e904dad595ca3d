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
#include "internal/output.h"
#include "internal/usage.h"
#include "tavrel/http.h"

namespace {

using namespace tavrel::cli;

int Run(const Command& command) {
  const auto& operand = command.operands;
  switch (command.kind) {
    case CommandKind::kHelp:
      return Print(HelpText(), kExitValid);
    case CommandKind::kVersion:
      return Print(VersionLine(), kExitValid);
    case CommandKind::kCheck:
      return RunCheck(operand[0], operand[1], *command.rules);
    case CommandKind::kCheckBatch:
      return RunBatch(STDIN_FILENO, STDOUT_FILENO, CheckLine, *command.rules, command.threads);
    case CommandKind::kCsvBatch:
      return RunCsvBatch(STDIN_FILENO, STDOUT_FILENO, command.csv, command.threads);
    case CommandKind::kName:
      return RunName(operand[0]);
    case CommandKind::kMethod:
      return RunMethod(operand[0], operand[1], operand.size() > 2 ? operand[2] : std::string(),
                       *command.rules);
    case CommandKind::kMethodBatch:
      return RunBatch(STDIN_FILENO, STDOUT_FILENO, MethodLine, *command.rules, command.threads);
    case CommandKind::kSearch:
      return RunSearch(operand[0], command.json);
    case CommandKind::kRules:
      return RunRules(command.json, command.date);
    case CommandKind::kExplain:
      return RunExplain(operand, command.assist, *command.rules, command.json);
    case CommandKind::kSuggest:
      return RunSuggest(operand, command.assist, *command.rules, command.json);
    case CommandKind::kGenerate:
      return RunGenerate(command.assist, *command.rules, command.json);
    case CommandKind::kSelfTest:
      return RunSelfTest(command.assist.allRules ? nullptr : command.rules, command.json);
  }
  return kExitUsage;
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
