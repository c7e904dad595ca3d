// The directory and rules a command runs against, chosen by --directory,
// --as-of and --rules: by default the 2009 directory with the 2009 rules.
#pragma once

#include <optional>

#include "arguments.h"
#include "tavrel/service.h"

namespace tavrel::cli {

// Opens the command's directory and picks its rules (--rules, else the
// directory's own). Loading warnings go to standard error. On failure says why
// on standard error, sets `exitStatus` (64 for an --as-of date without a
// compiled-in directory, 2 for a malformed or, with --strict, doubtful file, 74
// for one that cannot be read) and returns nullopt.
std::optional<service::CheckSource> OpenSource(const Command& command, int& exitStatus);

// While standard error is a terminal, says once there that the compiled-in
// current directory is past its valid-until date, if it is.
void NoteWhenOutOfDate(const service::CheckSource& source);

}  // namespace tavrel::cli
