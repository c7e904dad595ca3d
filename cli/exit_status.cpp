#include "internal/exit_status.h"

#include "tavrel/outcome.h"

namespace tavrel::cli {

int ExitStatusForResult(int result) {
  const OutcomeInfo* info = FindOutcome(result);
  return info == nullptr ? kExitInputFault : info->exitStatus;
}

}  // namespace tavrel::cli
