#include "internal/exit_status.h"

#include "tavrel/engine.h"

namespace tavrel::cli {

int ExitStatusForResult(int result) {
  switch (result) {
    case engine::kValid:
    case engine::kValidWithoutCheck:
      return kExitValid;
    case engine::kInvalid:
      return kExitInvalid;
    case engine::kMethodNotFound:
      return kExitMethodNotFound;
    default:
      return kExitInputFault;
  }
}

}  // namespace tavrel::cli
