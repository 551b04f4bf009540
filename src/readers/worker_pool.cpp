#include "readers/worker_pool.h"

#include <utility>

namespace quorvel {

WorkerPool::WorkerPool(unsigned threads) {
  if (threads == 0) threads = std::thread::hardware_concurrency();
  if (threads == 0) threads = 1;
  threads_.reserve(threads);
  for (unsigned i = 0; i < threads; ++i) threads_.emplace_back(&WorkerPool::work, this);
}

WorkerPool::~WorkerPool() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    closing_ = true;
  }
  wake_.notify_all();
  for (std::thread& thread : threads_) thread.join();
}

std::future<void> WorkerPool::submit(std::function<void()> job) {
  std::packaged_task<void()> task(std::move(job));
  std::future<void> done = task.get_future();
  {
    std::lock_guard<std::mutex> lock(mutex_);
    jobs_.push_back(std::move(task));
  }
  wake_.notify_one();
  return done;
}

void WorkerPool::work() {
  for (;;) {
    std::packaged_task<void()> task;
    {
      std::unique_lock<std::mutex> lock(mutex_);
      wake_.wait(lock, [this] { return closing_ || !jobs_.empty(); });
      if (jobs_.empty()) return;  // closing, and nothing left to do
      task = std::move(jobs_.front());
      jobs_.pop_front();
    }
    task();
  }
}

}  // namespace quorvel
