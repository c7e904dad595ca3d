// The check path must not touch the heap: once the directory is filled,
// CheckAccount (for well-formed input and for every input fault), ComputeMethod
// (for every key) and the IBAN checks and conversions run on views and
// fixed-size records only. This executable counts every call of the global
// operator new to prove it.
#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <cstdlib>
#include <map>
#include <new>
#include <string>
#include <string_view>
#include <vector>

#include "tavrel/directory.h"
#include "tavrel/engine.h"
#include "tavrel/iban.h"
#include "tavrel/service.h"

// The replacements pair operator new with malloc and operator delete with free;
// GCC, seeing them inlined, takes that for a mismatch.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif

namespace {

std::atomic<std::size_t> allocations{0};

void* CountedAllocation(std::size_t size, std::size_t alignment) {
  allocations.fetch_add(1, std::memory_order_relaxed);
  size = size == 0 ? 1 : size;
  void* memory =
      alignment <= alignof(std::max_align_t)
          ? std::malloc(size)
          : std::aligned_alloc(alignment, (size + alignment - 1) / alignment * alignment);
  if (memory == nullptr) throw std::bad_alloc();
  return memory;
}

}  // namespace

void* operator new(std::size_t size) { return CountedAllocation(size, 0); }
void* operator new[](std::size_t size) { return CountedAllocation(size, 0); }
void* operator new(std::size_t size, std::align_val_t alignment) {
  return CountedAllocation(size, static_cast<std::size_t>(alignment));
}
void* operator new[](std::size_t size, std::align_val_t alignment) {
  return CountedAllocation(size, static_cast<std::size_t>(alignment));
}
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete[](void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete[](void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete(void* memory, std::align_val_t) noexcept { std::free(memory); }
void operator delete[](void* memory, std::align_val_t) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t, std::align_val_t) noexcept { std::free(memory); }
void operator delete[](void* memory, std::size_t, std::align_val_t) noexcept { std::free(memory); }

namespace tavrel {
namespace {

// Short and full-length accounts, leading zeros, blanks around them.
constexpr std::array<std::string_view, 12> kAccounts = {
    "1",      "9290701",    "0000000001", "9999999999", "1234567890", "12345",
    " 4711 ", "0123456789", "5000000000", "0001156071", "3500022",    "99"};

template <typename Call>
std::size_t AllocationsDuring(Call call) {
  const std::size_t before = allocations.load(std::memory_order_relaxed);
  call();
  return allocations.load(std::memory_order_relaxed) - before;
}

class AllocationTest : public ::testing::Test {
 protected:
  // The first check fills the directory, which allocates its entry pool once.
  static void SetUpTestSuite() { service::CheckAccount("9290701", "12030000"); }
};

// Guards against a counter that sees nothing: a name longer than the string's
// inline buffer must be copied to the heap.
TEST_F(AllocationTest, CounterSeesTheCopyOfALongBankName) {
  std::string name;
  EXPECT_GT(AllocationsDuring([&] { directory::LookupBankName("10070100", name); }), 0u);
  EXPECT_EQ(name, "Deutsche Bank Fil Berlin II");
}

// One bank code for every method code the directory uses.
std::map<std::string, std::string> BankPerMethod() {
  std::map<std::string, std::string> banks;
  directory::ForEachEntry([&](std::string_view bankCode, std::string_view entry) {
    banks.emplace(std::string(entry.substr(0, 2)), std::string(bankCode));
  });
  return banks;
}

TEST_F(AllocationTest, CheckAccountOfWellFormedInputAllocatesNothingForAnyMethod) {
  const std::map<std::string, std::string> banks = BankPerMethod();
  ASSERT_GT(banks.size(), 100u);
  std::vector<std::size_t> counts;
  counts.reserve(banks.size());
  std::size_t reachedMethod = 0;
  for (const auto& entry : banks) {
    // A lambda cannot capture a structured binding under clang 14.
    const std::string& bankCode = entry.second;
    counts.push_back(AllocationsDuring([&] {
      for (std::string_view account : kAccounts) {
        const int result = service::CheckAccount(account, bankCode);
        reachedMethod += result >= engine::kInvalid ? 1 : 0;
      }
    }));
  }
  EXPECT_EQ(reachedMethod, banks.size() * kAccounts.size()) << "every check must reach its method";
  std::size_t i = 0;
  for (const auto& [method, bankCode] : banks) {
    EXPECT_EQ(counts[i++], 0u) << "method " << method << " (bank " << bankCode << ")";
  }
}

TEST_F(AllocationTest, CheckAccountAllocatesNothingForAnyInputFault) {
  struct Fault {
    std::string_view account;
    std::string_view bankCode;
    int expected;
  };
  constexpr std::array<Fault, 8> kFaults = {{
      {"9290701", "1203000", service::kBankCodeNotEightChars},
      {"9290701", "1203000x", service::kBankCodeNotDigits},
      {"", "12030000", service::kAccountLength},
      {"12345678901", "12030000", service::kAccountLength},
      {"92907O1", "12030000", service::kAccountNotDigits},
      {"0000000000", "12030000", engine::kInvalid},
      {"9290701", "99999999", service::kBankCodeUnknown},
      {" \t\r\n", " 12030000 ", service::kAccountLength},
  }};
  std::array<int, kFaults.size()> results{};
  const std::size_t count = AllocationsDuring([&] {
    for (std::size_t i = 0; i < kFaults.size(); ++i) {
      results[i] = service::CheckAccount(kFaults[i].account, kFaults[i].bankCode);
    }
  });
  EXPECT_EQ(count, 0u);
  for (std::size_t i = 0; i < kFaults.size(); ++i) {
    EXPECT_EQ(results[i], kFaults[i].expected)
        << kFaults[i].account << " / " << kFaults[i].bankCode;
  }
}

// The same for the query entry of each rule generation.
TEST_F(AllocationTest, CheckAccountByRulesAllocatesNothingForAnyMethod) {
  const std::map<std::string, std::string> banks = BankPerMethod();
  for (const service::RulesInfo& info : service::RuleGenerations()) {
    std::size_t reachedMethod = 0;
    std::size_t count = 0;
    for (const auto& entry : banks) {
      const std::string& bankCode = entry.second;
      count += AllocationsDuring([&] {
        for (std::string_view account : kAccounts) {
          const Outcome outcome = service::CheckAccount({bankCode, account}, *info.rules);
          reachedMethod += ValueOf(outcome) >= engine::kInvalid ? 1 : 0;
        }
      });
    }
    EXPECT_EQ(count, 0u) << info.name;
    EXPECT_EQ(reachedMethod, banks.size() * kAccounts.size()) << info.name;
  }
}

// The same against a directory value: the current directory with its rules,
// one bank of each of its method codes.
TEST_F(AllocationTest, CheckAccountInADirectoryAllocatesNothingForAnyMethod) {
  const service::CheckSource source = service::SourceOf(service::FindCompiledDirectory("current"));
  std::map<std::string, std::string> banks;
  for (const service::Bank bank : *source.directory) {
    banks.emplace(bank.methodCode, bank.bankCode);
  }
  std::size_t reachedMethod = 0;
  std::size_t count = 0;
  for (const auto& entry : banks) {
    const std::string& bankCode = entry.second;
    count += AllocationsDuring([&] {
      for (std::string_view account : kAccounts) {
        reachedMethod +=
            ValueOf(service::CheckAccount({bankCode, account}, source)) >= engine::kInvalid ? 1 : 0;
      }
    });
  }
  EXPECT_EQ(count, 0u);
  EXPECT_EQ(reachedMethod, banks.size() * kAccounts.size());
}

// The batch entry: banks of every method, every account, by each rule
// generation and over a directory value.
TEST_F(AllocationTest, CheckAccountsAllocatesNothingForAnyMethod) {
  std::vector<service::AccountQuery> queries;
  const std::map<std::string, std::string> banks = BankPerMethod();
  for (const auto& entry : banks) {
    for (std::string_view account : kAccounts) queries.push_back({entry.second, account});
  }
  std::vector<Outcome> outcomes(queries.size());
  const service::CheckSource source = service::SourceOf(service::FindCompiledDirectory("current"));
  std::size_t count = 0;
  for (const service::RulesInfo& info : service::RuleGenerations()) {
    count += AllocationsDuring([&] { service::CheckAccounts(queries, outcomes, *info.rules); });
  }
  count += AllocationsDuring([&] { service::CheckAccounts(queries, outcomes, source); });
  EXPECT_EQ(count, 0u);
}

TEST_F(AllocationTest, ComputeMethodAllocatesNothingForAnyKeyOfTheCurrentRules) {
  const engine::RuleSet& rules = engine::Rules(engine::Generation::kCurrent);
  const auto keys = engine::Keys(rules);
  std::vector<std::size_t> counts(keys.size());
  for (std::size_t k = 0; k < keys.size(); ++k) {
    counts[k] = AllocationsDuring([&] {
      for (std::string_view account : kAccounts) {
        engine::ComputeMethod(account, keys[k], "10000000", rules);
        service::ComputeMethod(account, keys[k], {}, rules);
      }
    });
  }
  for (std::size_t k = 0; k < keys.size(); ++k) EXPECT_EQ(counts[k], 0u) << "key " << keys[k];
}

TEST_F(AllocationTest, ComputeMethodAllocatesNothingForAnyKey) {
  const auto keys = engine::Keys();
  std::vector<std::size_t> counts(keys.size());
  for (std::size_t k = 0; k < keys.size(); ++k) {
    counts[k] = AllocationsDuring([&] {
      for (std::string_view account : kAccounts) {
        engine::ComputeMethod(account, keys[k], "10000000");
        engine::ComputeSubMethod(account, keys[k]);
      }
    });
  }
  for (std::size_t k = 0; k < keys.size(); ++k) EXPECT_EQ(counts[k], 0u) << "key " << keys[k];
}

TEST_F(AllocationTest, IbanChecksAndConversionsAllocateNothing) {
  constexpr std::array<std::string_view, 7> kTexts = {"DE89370400440532013000",
                                                      "iban de89 3704 0044 0532 0130 00",
                                                      "GB29NWBK60161331926819",
                                                      "DE88370400440532013000",
                                                      "XX89370400440532013000",
                                                      "DE89-3704-0044-0532-0130-00",
                                                      "MT84MALT011000012345MTLCAST001S1234"};
  std::size_t valid = 0;
  std::size_t printed = 0;
  const std::size_t count = AllocationsDuring([&] {
    for (const std::string_view text : kTexts) {
      valid += iban::CheckIban(text).iban == Outcome::kValid ? 1 : 0;
      printed += iban::PrintFormat(iban::Parse(text).iban).view().size();
    }
    valid += iban::FromAccount("12030000", "9290701").iban.empty() ? 0 : 1;
    valid += iban::FromAccount("12030000", "9290702").iban.empty() ? 0 : 1;
    valid += iban::BuildGerman("37040044", "532013000").iban.empty() ? 0 : 1;
  });
  EXPECT_EQ(count, 0u);
  EXPECT_EQ(valid, 5u);
  EXPECT_EQ(printed, 5 * 27u);  // faults found by Normalize leave nothing to print
}

}  // namespace
}  // namespace tavrel
