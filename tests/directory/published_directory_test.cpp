// A published directory replaced while reader threads use it.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "tavrel/directory.h"

namespace tavrel::directory {
namespace {

TEST(PublishedDirectoryTest, ReadersSeeWholeDirectoriesAndTheNewOneAfterPublication) {
  const std::shared_ptr<const Directory> old = CompiledDirectory(RuleGeneration::k2009);
  const std::shared_ptr<const Directory> current = CompiledDirectory(RuleGeneration::kCurrent);
  PublishedDirectory published(old);
  std::atomic<bool> stop{false};
  std::atomic<std::size_t> torn{0};
  std::vector<std::thread> readers;
  for (int t = 0; t < 4; ++t) {
    readers.emplace_back([&] {
      while (!stop.load()) {
        const Directory& seen = published.Current();
        // 10020500 is in both; 10011001 only in the current directory.
        const bool isCurrent = &seen == current.get();
        if ((&seen != old.get() && !isCurrent) || seen.FindMethodCode("10020500").empty() ||
            seen.FindMethodCode("10011001").empty() == isCurrent) {
          ++torn;
        }
      }
    });
  }
  for (int round = 0; round < 200; ++round) {
    published.Publish(round % 2 == 0 ? current : old);
    std::this_thread::yield();
  }
  stop = true;
  for (std::thread& reader : readers) reader.join();
  EXPECT_EQ(torn.load(), 0u);
  EXPECT_EQ(&published.Current(), old.get());
  published.Publish(current);
  EXPECT_EQ(&published.Current(), current.get());
  EXPECT_EQ(published.Snapshot(), current);
  EXPECT_THROW(published.Publish(nullptr), std::invalid_argument);
  EXPECT_THROW(PublishedDirectory(nullptr), std::invalid_argument);
}

TEST(PublishedDirectoryTest, AReplacedDirectoryIsFreedOnceNoReaderCachesIt) {
  auto loaded = std::make_shared<const Directory>(
      DirectoryInfo{}, std::vector<Bank>{{"10000000", "09", "A", "", false, "", ""}});
  const std::weak_ptr<const Directory> watch = loaded;
  PublishedDirectory published(std::move(loaded));
  EXPECT_EQ(published.Current().size(), 1u);
  published.Publish(CompiledDirectory(RuleGeneration::kCurrent));
  EXPECT_FALSE(watch.expired()) << "this thread's cache still holds it";
  EXPECT_EQ(published.Current().size(), 3503u);
  EXPECT_TRUE(watch.expired());
}

}  // namespace
}  // namespace tavrel::directory
