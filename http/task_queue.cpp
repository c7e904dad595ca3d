#include "internal/task_queue.h"

namespace tavrel::http {

BoundedTaskQueue::BoundedTaskQueue(unsigned workers, std::size_t capacity) : capacity_(capacity) {
  workers_.reserve(workers);
  for (unsigned i = 0; i < workers; ++i) workers_.emplace_back([this] { Work(); });
}

BoundedTaskQueue::~BoundedTaskQueue() { shutdown(); }

void BoundedTaskQueue::enqueue(std::function<void()> task) {
  std::unique_lock lock(mutex_);
  roomFreed_.wait(lock, [this] { return tasks_.size() < capacity_; });
  tasks_.push_back(std::move(task));
  lock.unlock();
  taskReady_.notify_one();
}

void BoundedTaskQueue::shutdown() {
  {
    std::lock_guard lock(mutex_);
    shuttingDown_ = true;
  }
  taskReady_.notify_all();
  for (std::thread& worker : workers_) {
    if (worker.joinable()) worker.join();
  }
}

void BoundedTaskQueue::Work() {
  for (;;) {
    std::unique_lock lock(mutex_);
    taskReady_.wait(lock, [this] { return !tasks_.empty() || shuttingDown_; });
    if (tasks_.empty()) return;
    std::function<void()> task = std::move(tasks_.front());
    tasks_.pop_front();
    lock.unlock();
    roomFreed_.notify_one();
    task();
  }
}

}  // namespace tavrel::http
