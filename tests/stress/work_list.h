// A fixed, mixed list of calls into the system's shared entry points, and a way
// to run one of them and describe its outcome as text, so that runs on several
// threads can be compared with a run on one.
#pragma once

#include <string>
#include <vector>

#include "tavrel/automation/dispatch.h"

namespace tavrel::stress {

enum class Kind { Check, BankName, Search, Nummprobe, ErrorMessage, LookupName };

struct WorkItem {
  Kind kind;
  std::string first;   // account, bank code or search text
  std::string second;  // bank code of a check
  int value = 0;       // result value for ErrorMessage
};

// Bank codes of the committed data file, in file order.
std::vector<std::string> ReadBankCodes();

// `count` items, the kinds taking turns so that any start offset soon meets every
// kind. The same seed gives the same list.
std::vector<WorkItem> MakeWorkList(const std::vector<std::string>& bankCodes, std::size_t count,
                                   unsigned seed);

// Runs the item (automation kinds through `qxcompute`'s dispatch interface) and
// describes what came back.
std::string Run(const WorkItem& item, automation::DispatchObject& qxcompute);

}  // namespace tavrel::stress
