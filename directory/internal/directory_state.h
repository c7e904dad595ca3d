// The compiled-in directory's process-wide state: the map, the lock that guards
// its one fill, the flag that publishes it, and the two counters that the test
// hooks read and set.
#pragma once

#include <atomic>
#include <cstddef>
#include <mutex>

#include "bank_map.h"

namespace tavrel::directory::detail {

inline constexpr std::size_t kNoInjectedFault = static_cast<std::size_t>(-1);

// All constant-initialised, so no lookup from another static initialiser can see
// them unconstructed.
extern constinit BankMap gBankMap;
extern constinit std::mutex gDirectoryLock;
extern constinit std::atomic<bool> gLoaded;

// The fill throws std::bad_alloc after this many insertions (once), as an
// exhausted heap would; kNoInjectedFault when no fault is asked for.
extern constinit std::atomic<std::size_t> gFailFillAfter;
extern constinit std::atomic<std::size_t> gCompletedFills;

}  // namespace tavrel::directory::detail
