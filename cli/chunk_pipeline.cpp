#include "internal/chunk_pipeline.h"

#include <condition_variable>
#include <cstddef>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

namespace tavrel::cli {
namespace {

// One chunk in flight: a copy of its bytes (the reader's buffer moves on), and
// the output made from it.
struct Job {
  std::string input;
  Chunk chunk;
  std::string output;
  BatchCounts counts;
  std::exception_ptr error;
  bool done = false;
};

// Jobs live in a ring numbered by submission; the calling thread submits and
// retires them in order, workers take them in order but finish in any order.
class WorkerPool {
 public:
  WorkerPool(const ChunkWork& work, unsigned threads) : work_(work), jobs_(2 * threads) {
    for (unsigned i = 0; i < threads; ++i) workers_.emplace_back([this] { Work(); });
  }

  ~WorkerPool() {
    {
      std::lock_guard lock(mutex_);
      stopping_ = true;
    }
    jobAvailable_.notify_all();
    for (std::thread& worker : workers_) worker.join();
  }

  bool Full() const { return submitted_ - retired_ == jobs_.size(); }
  bool InFlight() const { return retired_ < submitted_; }

  void Submit(const Chunk& chunk) {
    Job& job = jobs_[submitted_ % jobs_.size()];
    job.input.assign(chunk.lines);
    job.chunk = chunk;
    job.chunk.lines = job.input;
    job.output.clear();
    {
      std::lock_guard lock(mutex_);
      ++submitted_;
    }
    jobAvailable_.notify_one();
  }

  // Waits for the oldest job in flight; rethrows what its work threw.
  const Job& WaitOldest() {
    Job& job = jobs_[retired_ % jobs_.size()];
    std::unique_lock lock(mutex_);
    jobDone_.wait(lock, [&] { return job.done; });
    if (job.error) std::rethrow_exception(job.error);
    return job;
  }

  void RetireOldest() {
    Job& job = jobs_[retired_++ % jobs_.size()];
    std::lock_guard lock(mutex_);
    job.done = false;
  }

 private:
  void Work() {
    for (;;) {
      std::size_t number;
      {
        std::unique_lock lock(mutex_);
        jobAvailable_.wait(lock, [&] { return stopping_ || taken_ < submitted_; });
        if (taken_ == submitted_) return;
        number = taken_++;
      }
      Job& job = jobs_[number % jobs_.size()];
      try {
        job.counts = work_(job.chunk, job.output);
      } catch (...) {
        job.error = std::current_exception();
      }
      {
        std::lock_guard lock(mutex_);
        job.done = true;
      }
      jobDone_.notify_one();
    }
  }

  const ChunkWork& work_;
  std::vector<Job> jobs_;
  std::vector<std::thread> workers_;
  std::mutex mutex_;
  std::condition_variable jobAvailable_;
  std::condition_variable jobDone_;
  std::size_t submitted_ = 0;  // written by the calling thread under the lock
  std::size_t taken_ = 0;      // guarded by the lock
  std::size_t retired_ = 0;    // the calling thread's own
  bool stopping_ = false;
};

void Count(BatchCounts& total, const BatchCounts& counts, ProgressMeter& progress) {
  total += counts;
  progress.Add(counts.lines, counts.bytes);
}

BatchCounts RunOnCallingThread(const ChunkSource& next, const ChunkWork& work, OutputSink& sink,
                               ProgressMeter& progress) {
  BatchCounts total;
  Chunk chunk;
  while (!sink.Failed() && next(chunk)) {
    Count(total, work(chunk, sink.Buffer()), progress);
    sink.FlushIfFull();
  }
  return total;
}

BatchCounts RunOnWorkers(const ChunkSource& next, const ChunkWork& work, unsigned threads,
                         OutputSink& sink, ProgressMeter& progress) {
  BatchCounts total;
  WorkerPool pool(work, threads);
  auto writeOldest = [&] {
    const Job& job = pool.WaitOldest();
    sink.Write(job.output);
    Count(total, job.counts, progress);
    pool.RetireOldest();
  };
  Chunk chunk;
  while (!sink.Failed() && next(chunk)) {
    if (pool.Full()) writeOldest();
    pool.Submit(chunk);
  }
  while (pool.InFlight()) writeOldest();
  return total;
}

}  // namespace

BatchCounts RunChunks(const ChunkSource& next, const ChunkWork& work, unsigned threads,
                      OutputSink& sink, ProgressMeter& progress) {
  const BatchCounts total = threads <= 1 ? RunOnCallingThread(next, work, sink, progress)
                                         : RunOnWorkers(next, work, threads, sink, progress);
  sink.Flush();
  progress.Finish();
  return total;
}

}  // namespace tavrel::cli
