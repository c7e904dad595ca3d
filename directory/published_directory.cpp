// A published directory's readers keep a reference of their own per thread, so
// the read path costs one atomic load and touches no shared reference count.
// Each publication takes a version number unique in the process: a thread's
// cached reference is current exactly while its version is the one published.
#include <algorithm>
#include <stdexcept>

#include "tavrel/directory.h"

namespace tavrel::directory {
namespace {

constinit std::atomic<std::uint64_t> gLastVersion{0};

std::uint64_t NextVersion() { return gLastVersion.fetch_add(1, std::memory_order_relaxed) + 1; }

struct CachedDirectory {
  const PublishedDirectory* owner;
  std::uint64_t version;
  std::shared_ptr<const Directory> directory;
};

// A thread reads from few published directories; one entry per owner.
thread_local std::vector<CachedDirectory> tCache;

std::shared_ptr<const Directory> Checked(std::shared_ptr<const Directory> directory) {
  if (directory == nullptr) {
    throw std::invalid_argument("a published directory cannot be null");
  }
  return directory;
}

}  // namespace

PublishedDirectory::PublishedDirectory(std::shared_ptr<const Directory> initial)
    : directory_(Checked(std::move(initial))), version_(NextVersion()) {}

void PublishedDirectory::Publish(std::shared_ptr<const Directory> next) {
  next = Checked(std::move(next));
  const std::lock_guard lock(lock_);
  directory_.swap(next);
  version_.store(NextVersion(), std::memory_order_release);
  // `next` now holds the old directory; it is freed here or by the last reader
  // that still caches it.
}

std::shared_ptr<const Directory> PublishedDirectory::Snapshot() const {
  const std::lock_guard lock(lock_);
  return directory_;
}

const Directory& PublishedDirectory::Current() const {
  const std::uint64_t version = version_.load(std::memory_order_acquire);
  auto cached = std::find_if(tCache.begin(), tCache.end(),
                             [this](const CachedDirectory& entry) { return entry.owner == this; });
  if (cached != tCache.end() && cached->version == version) {
    return *cached->directory;
  }
  const std::lock_guard lock(lock_);
  const CachedDirectory fresh{this, version_.load(std::memory_order_relaxed), directory_};
  if (cached == tCache.end()) {
    tCache.push_back(fresh);
    return *tCache.back().directory;
  }
  *cached = fresh;
  return *cached->directory;
}

}  // namespace tavrel::directory
