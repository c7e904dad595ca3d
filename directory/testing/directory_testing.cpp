#include "tavrel/directory_testing.h"

#include "directory/internal/directory_state.h"

namespace tavrel::directory::testing {

void FailNextFillAfter(std::size_t insertions) { detail::gFailFillAfter.store(insertions); }

std::size_t CompletedFills() { return detail::gCompletedFills.load(); }

void ResetDirectory() {
  const std::lock_guard lock(detail::gDirectoryLock);
  detail::gLoaded.store(false, std::memory_order_release);
  detail::gBankMap.Clear();
}

}  // namespace tavrel::directory::testing
