#include "tavrel/directory.h"

#include <atomic>
#include <mutex>
#include <new>

#include "internal/bank_map.h"
#include "internal/bank_records.h"
#include "internal/directory_state.h"

namespace tavrel::directory {
namespace detail {

// Created at load in this order (map, then lock) and destroyed in reverse.
constinit BankMap gBankMap;
constinit std::mutex gDirectoryLock;
constinit std::atomic<bool> gLoaded{false};

constinit std::atomic<std::size_t> gFailFillAfter{kNoInjectedFault};
constinit std::atomic<std::size_t> gCompletedFills{0};

}  // namespace detail

namespace {

using namespace detail;

void FillUnderLock() {
  const std::size_t failAfter = gFailFillAfter.exchange(kNoInjectedFault);
  std::size_t inserted = 0;
  for (const BankRecord& record : CompiledBankRecords()) {
    if (inserted++ == failAfter) {
      throw std::bad_alloc();
    }
    gBankMap.InsertOrAssign(record);
  }
  gCompletedFills.fetch_add(1, std::memory_order_relaxed);
  gLoaded.store(true, std::memory_order_release);
}

[[gnu::noinline]] void FillOnce() {
  const std::lock_guard lock(gDirectoryLock);
  if (!gLoaded.load(std::memory_order_acquire)) {
    FillUnderLock();
  }
}

}  // namespace

void EnsureLoaded() {
  if (!gLoaded.load(std::memory_order_acquire)) {
    FillOnce();
  }
}

bool FindEntry(std::string_view bankCode, EntryView& entry) {
  EnsureLoaded();
  const BankRecord* record = gBankMap.Find(bankCode);
  if (record == nullptr) {
    return false;
  }
  entry.methodCode = record->entry.substr(0, kMethodCodeLength);
  entry.bankName = record->entry.substr(kMethodCodeLength);
  return true;
}

bool FindMethodCode(std::string_view bankCode, std::string_view& methodCode) {
  EnsureLoaded();
  const std::string_view found = gBankMap.FindMethodCode(bankCode);
  if (found.empty()) {
    return false;
  }
  methodCode = found;
  return true;
}

bool LookupMethodCode(std::string_view bankCode, std::string& methodCode) {
  std::string_view found;
  if (!FindMethodCode(bankCode, found)) {
    return false;
  }
  methodCode.assign(found);
  return true;
}

bool LookupBankName(std::string_view bankCode, std::string& bankName) {
  EntryView entry;
  if (!FindEntry(bankCode, entry)) {
    return false;
  }
  bankName.assign(entry.bankName);
  return true;
}

void ForEachEntry(
    const std::function<void(std::string_view bankCode, std::string_view entry)>& visitor) {
  EnsureLoaded();
  for (const BankRecord& record : gBankMap.Entries()) {
    visitor(record.bankCode, record.entry);
  }
}

}  // namespace tavrel::directory
