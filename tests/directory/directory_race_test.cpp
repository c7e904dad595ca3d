// Its own executable, so that the directory is still unfilled when the threads
// arrive.
#include <gtest/gtest.h>

#include <barrier>
#include <string>
#include <thread>
#include <vector>

#include "tavrel/directory.h"
#include "tavrel/directory_testing.h"

namespace tavrel::directory {
namespace {

TEST(DirectoryRaceTest, ThreadsMeetingAnUnfilledDirectoryFillItOnceAndAllSeeEveryEntry) {
  ASSERT_EQ(testing::CompletedFills(), 0u) << "the directory must start unfilled";
  constexpr int kThreads = 16;
  std::barrier start(kThreads);
  std::vector<std::size_t> visited(kThreads);
  std::vector<std::string> lastName(kThreads);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      start.arrive_and_wait();
      // Half the threads start with a lookup, half with a walk.
      if (t % 2 == 0) {
        LookupBankName("87096214", lastName[t]);
      }
      ForEachEntry([&](std::string_view, std::string_view) { ++visited[t]; });
      if (t % 2 == 1) {
        LookupBankName("87096214", lastName[t]);
      }
    });
  }
  for (std::thread& thread : threads) {
    thread.join();
  }
  EXPECT_EQ(testing::CompletedFills(), 1u);
  for (int t = 0; t < kThreads; ++t) {
    EXPECT_EQ(visited[t], kEntryCount) << "thread " << t;
    EXPECT_EQ(lastName[t], "Volksbank Chemnitz") << "thread " << t;
  }
}

}  // namespace
}  // namespace tavrel::directory
