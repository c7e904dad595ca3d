// httplib's task queue with bounds: a fixed number of workers and a fixed number
// of waiting connections. When both are full the accepting thread waits, and
// new connections wait in the kernel's listen queue instead of in memory.
#pragma once

#include <httplib.h>

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace tavrel::http {

class BoundedTaskQueue final : public httplib::TaskQueue {
 public:
  BoundedTaskQueue(unsigned workers, std::size_t capacity);
  ~BoundedTaskQueue() override;

  void enqueue(std::function<void()> task) override;
  // Runs the waiting tasks, then joins the workers.
  void shutdown() override;

 private:
  void Work();

  const std::size_t capacity_;
  std::mutex mutex_;
  std::condition_variable taskReady_;
  std::condition_variable roomFreed_;
  std::deque<std::function<void()>> tasks_;
  bool shuttingDown_ = false;
  std::vector<std::thread> workers_;
};

}  // namespace tavrel::http
