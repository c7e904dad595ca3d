// Memory exhaustion at the automation boundary: every allocation a call makes is
// failed in turn, and each failure must come back as E_OUTOFMEMORY with the out
// parameter untouched. This executable replaces the global operator new so that
// a test can make the n-th allocation from now throw.
#include <gtest/gtest.h>

#include <cstdlib>
#include <new>

#include "automation/internal/qxcompute.h"
#include "tavrel/automation/tavrel_ctrl.h"

// The replacements below pair operator new with malloc and operator delete with
// free; GCC, seeing them inlined, takes that for a mismatch.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif

namespace {

// Allocations left before the next one fails; negative means never fail.
thread_local long allocationsBeforeFailure = -1;
thread_local bool allocationFailed = false;

}  // namespace

void* operator new(std::size_t size) {
  if (allocationsBeforeFailure == 0) {
    allocationFailed = true;
    throw std::bad_alloc();
  }
  if (allocationsBeforeFailure > 0) --allocationsBeforeFailure;
  if (void* memory = std::malloc(size == 0 ? 1 : size)) return memory;
  throw std::bad_alloc();
}
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }

namespace tavrel::automation {
namespace {

// Runs `call` with the first, second, ... allocation failing until it succeeds;
// every failed run must report E_OUTOFMEMORY and `untouched()` must hold.
template <typename Call, typename Check>
void FailEachAllocation(Call call, Check untouched) {
  for (long failAt = 0; failAt < 100; ++failAt) {
    allocationsBeforeFailure = failAt;
    allocationFailed = false;
    const HRESULT hr = call();
    const bool ranOut = allocationFailed;
    allocationsBeforeFailure = -1;
    if (!ranOut) {
      EXPECT_EQ(hr, S_OK);
      EXPECT_GT(failAt, 0) << "the call allocates, so the first failure must have been seen";
      return;
    }
    EXPECT_EQ(hr, E_OUTOFMEMORY) << "allocation " << failAt;
    EXPECT_TRUE(untouched()) << "allocation " << failAt;
  }
  ADD_FAILURE() << "the call never succeeded";
}

class OutOfMemory : public ::testing::Test {
 protected:
  void SetUp() override {
    std::int32_t warm = 0;
    compute->Nummprobe(u"1", u"10000000", &warm);  // fill the directory outside the test
  }
  Ref<CQXcompute> compute{CQXcompute::New()};
};

TEST_F(OutOfMemory, NummprobeWritesNothing) {
  std::int32_t result = 42;
  const Bstr longAccount(std::u16string(40, u'1'));
  const Bstr longBankCode(std::u16string(40, u'2'));
  FailEachAllocation([&] { return compute->Nummprobe(longAccount, longBankCode, &result); },
                     [&] { return result == 42; });
  EXPECT_EQ(result, -5);
}

TEST_F(OutOfMemory, GetErrorMessageWritesNothing) {
  Bstr message(u"before");
  FailEachAllocation([&] { return compute->GetErrorMessage(-8, &message); },
                     [&] { return message == Bstr(u"before"); });
  EXPECT_EQ(message, Bstr(u"Konto enthält ungültige Zeichen!"));
}

TEST_F(OutOfMemory, LookupNameWritesNothing) {
  const Bstr bankCode(u"10020500");
  Bstr name(u"before");
  FailEachAllocation([&] { return compute->LookupName(bankCode, &name); },
                     [&] { return name == Bstr(u"before"); });
  EXPECT_EQ(name, Bstr(u"Bank für Sozialwirtschaft"));
}

TEST_F(OutOfMemory, InvokeLeavesTheResultAlone) {
  Ref<CtavrelCtrl> control(CtavrelCtrl::New());
  const std::vector<Variant> messageArgs{std::int32_t{-3}};
  const std::vector<Variant> nameArgs{Bstr(u"Bank für Sozialwirtschaft")};
  Variant result(std::int32_t{7});
  FailEachAllocation(
      [&] {
        return control->Invoke(DISPID_CTRL_GETERRORMESSAGE, DISPATCH_METHOD, messageArgs, &result);
      },
      [&] { return result == Variant(std::int32_t{7}); });
  FailEachAllocation(
      [&] {
        return control->Invoke(DISPID_CTRL_BANKNAME, DISPATCH_PROPERTYPUT, nameArgs, nullptr);
      },
      [&] { return control->GetBankname().empty(); });
  EXPECT_EQ(control->GetBankname(), "Bank f\xFCr Sozialwirtschaft");
}

}  // namespace
}  // namespace tavrel::automation
