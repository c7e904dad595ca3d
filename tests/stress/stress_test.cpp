// Many threads released at once against an unfilled directory, each running the
// same mixed list of checks, name lookups, bank searches and QXcompute calls from
// a different starting point. Every thread must see exactly what one thread sees
// running the list alone afterwards, and the directory must be filled once.
#include <gtest/gtest.h>

#include <algorithm>
#include <barrier>
#include <string>
#include <thread>
#include <vector>

#include "automation/internal/registry.h"
#include "tavrel/directory_testing.h"
#include "work_list.h"

namespace tavrel::stress {
namespace {

using automation::DispatchObject;
using automation::Ref;

constexpr std::size_t kThreads = 8;
constexpr std::size_t kItems = 2400;
constexpr unsigned kSeed = 20090907;

Ref<DispatchObject> NewQXcompute() {
  DispatchObject* object = nullptr;
  EXPECT_EQ(automation::CreateInstance("tavrel.QXcompute.1", &object), automation::S_OK);
  return Ref<DispatchObject>(object);
}

// Runs every item once, starting at `start` and wrapping around; even items go
// through the shared object, odd ones through the thread's own.
std::vector<std::string> RunFrom(const std::vector<WorkItem>& items, std::size_t start,
                                 Ref<DispatchObject> shared) {
  const Ref<DispatchObject> own = NewQXcompute();
  std::vector<std::string> outcomes(items.size());
  for (std::size_t n = 0; n < items.size(); ++n) {
    const std::size_t i = (start + n) % items.size();
    outcomes[i] = Run(items[i], i % 2 == 0 ? *shared : *own);
  }
  return outcomes;
}

TEST(StressTest, ThreadsStartingTogetherOnAnUnfilledDirectorySeeWhatOneThreadSees) {
  ASSERT_EQ(directory::testing::CompletedFills(), 0u) << "the directory must start unfilled";
  const std::vector<WorkItem> items = MakeWorkList(ReadBankCodes(), kItems, kSeed);
  const Ref<DispatchObject> shared = NewQXcompute();
  ASSERT_TRUE(shared);

  std::vector<std::vector<std::string>> seen(kThreads);
  std::barrier start(kThreads);
  std::vector<std::thread> threads;
  for (std::size_t t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      start.arrive_and_wait();
      seen[t] = RunFrom(items, t, shared);
    });
  }
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(directory::testing::CompletedFills(), 1u);

  const std::vector<std::string> alone = RunFrom(items, 0, shared);
  EXPECT_GT(std::count(alone.begin(), alone.end(), "0"), 0) << "the list must hold valid accounts";
  EXPECT_GT(std::count(alone.begin(), alone.end(), "-3"), 0) << "and invalid ones";
  for (std::size_t t = 0; t < kThreads; ++t) {
    std::size_t differences = 0;
    for (std::size_t i = 0; i < items.size(); ++i) {
      if (seen[t][i] == alone[i]) continue;
      if (differences++ == 0) {
        ADD_FAILURE() << "thread " << t << ", item " << i << " (" << items[i].first << ", "
                      << items[i].second << "): got\n"
                      << seen[t][i] << "\nexpected\n"
                      << alone[i];
      }
    }
    EXPECT_EQ(differences, 0u) << "thread " << t;
  }
  EXPECT_EQ(automation::DispatchObject::LiveObjectCount(), 1u) << "only the shared object is left";
}

}  // namespace
}  // namespace tavrel::stress
