#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <future>
#include <mutex>
#include <thread>
#include <vector>

namespace quorvel {

// A few threads that run jobs in the order they were given. The pool waits
// for every job given to it before it goes.
class WorkerPool {
 public:
  // `threads` 0 means one per core.
  explicit WorkerPool(unsigned threads);
  ~WorkerPool();
  WorkerPool(const WorkerPool&) = delete;
  WorkerPool& operator=(const WorkerPool&) = delete;

  std::future<void> submit(std::function<void()> job);
  std::size_t size() const { return threads_.size(); }

 private:
  void work();

  std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<std::packaged_task<void()>> jobs_;
  bool closing_ = false;
  std::vector<std::thread> threads_;
};

}  // namespace quorvel
