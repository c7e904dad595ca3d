#include "internal/source.h"

#include <unistd.h>

#include <chrono>
#include <string>

#include "internal/exit_status.h"
#include "internal/output.h"

namespace tavrel::cli {
namespace {

void SayOnStandardError(const std::string& text) {
  WriteAll(STDERR_FILENO, "tavrel: " + text + '\n');
}

std::string DateOrUnknown(const std::optional<std::chrono::year_month_day>& date) {
  return date ? service::IsoDate(*date) : std::string("?");
}

// "2009 (2009-09-07 to 2009-12-06) and current (from 2026-03-09)"
std::string CompiledDirectoriesAtHand() {
  std::string text;
  const auto names = service::CompiledDirectoryNames();
  for (std::size_t i = 0; i < names.size(); ++i) {
    const service::DirectoryInfo& info = service::FindCompiledDirectory(names[i])->Info();
    text += i == 0 ? "" : i + 1 == names.size() ? " and " : ", ";
    text += std::string(names[i]) + " (";
    text += i + 1 == names.size()
                ? "from " + DateOrUnknown(info.validFrom)
                : DateOrUnknown(info.validFrom) + " to " + DateOrUnknown(info.validUntil);
    text += ')';
  }
  return text;
}

std::shared_ptr<const service::Directory> CompiledOn(std::chrono::year_month_day date,
                                                     int& exitStatus) {
  std::shared_ptr<const service::Directory> directory = service::CompiledDirectoryOn(date);
  if (directory == nullptr) {
    SayOnStandardError("no compiled-in directory is valid on " + service::IsoDate(date) +
                       "; at hand are " + CompiledDirectoriesAtHand() +
                       "; load the Bundesbank file of that date with --directory FILE");
    exitStatus = kExitUsage;
  }
  return directory;
}

std::shared_ptr<const service::Directory> Loaded(const Command& command, int& exitStatus) {
  const std::string& path = *command.directory;
  const service::DirectoryLoad load = service::LoadDirectory(path, {command.rules, command.strict});
  for (const service::FileProblem& warning : load.warnings) {
    SayOnStandardError("warning: " + path + ": " + service::DescribeUtf8(warning));
  }
  if (!load.rulesNote.empty()) SayOnStandardError("note: " + std::string(load.rulesNote));
  if (load.directory) return load.directory;
  std::string message = service::DescribeUtf8(*load.error);
  if (!load.unreadable) message = path + ": " + message;
  if (load.unreadable && path.find('/') == std::string::npos) {
    message += " (the compiled-in directories are 2009 and current)";
  }
  SayOnStandardError(message);
  exitStatus = load.unreadable ? kExitIoError : kExitInputFault;
  return nullptr;
}

std::chrono::year_month_day Today() {
  return std::chrono::year_month_day(
      std::chrono::floor<std::chrono::days>(std::chrono::system_clock::now()));
}

}  // namespace

std::optional<service::CheckSource> OpenSource(const Command& command, int& exitStatus) {
  std::shared_ptr<const service::Directory> directory;
  if (command.asOf) {
    directory = CompiledOn(*command.asOf, exitStatus);
  } else if (!command.directory) {
    // The typo-tolerant search is for finding a bank of today.
    directory = command.fuzzy ? service::FindCompiledDirectory("current")
                              : service::DefaultSource().directory;
  } else {
    directory = service::FindCompiledDirectory(*command.directory);
    if (directory == nullptr) directory = Loaded(command, exitStatus);
  }
  if (directory == nullptr) return std::nullopt;
  const service::RuleSet& rules =
      command.rules != nullptr ? *command.rules : service::RulesOf(*directory);
  return service::CheckSource{std::move(directory), &rules};
}

void NoteWhenOutOfDate(const service::CheckSource& source) {
  if (::isatty(STDERR_FILENO) != 1) return;
  const std::chrono::year_month_day today = Today();
  const service::DirectoryInfo& info = source.directory->Info();
  // The older compiled-in directories are chosen for their own time.
  if (source.directory != service::CompiledDirectoryOn(today) || !info.validUntil ||
      today <= *info.validUntil) {
    return;
  }
  SayOnStandardError("note: the current directory (" + info.source + ") was valid until " +
                     service::IsoDate(*info.validUntil) +
                     "; load a newer Bundesbank file with --directory FILE");
}

}  // namespace tavrel::cli
