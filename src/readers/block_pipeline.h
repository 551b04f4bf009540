#pragma once

#include <atomic>
#include <concepts>
#include <condition_variable>
#include <deque>
#include <future>
#include <memory>
#include <mutex>
#include <optional>
#include <string_view>
#include <vector>

#include "base/work_plan.h"
#include "base/worker_pool.h"
#include "readers/line_reader.h"

namespace quorvel {

// What is done with each block of a log, in three steps:
//   prepare(work)        readies a Work (fresh or used before) for a block,
//                        on the calling thread;
//   read(work, block)    reads the block's lines, on a worker thread;
//   deliver(work, block) takes the result, on the calling thread and in
//                        the log's order; false stops the reading.
template <class Stage>
concept BlockStage = requires(Stage& stage, typename Stage::Work& work, const LineBlock& block) {
  stage.prepare(work);
  stage.read(work, block);
  { stage.deliver(work, block) } -> std::same_as<bool>;
};

// Cuts `input` into blocks of whole lines of about plan.blockBytes bytes,
// each ending after a line `cut` accepts where one is near, and has `stage`
// read several of them at once on plan.threadCount() threads, delivering
// them in the log's order. Knows nothing of log formats. A log of one
// block is read on the calling thread. Read errors are left in `input`.
//
// The protocol:
//   1. the calling thread cuts the first block; a few more jobs than
//      threads are kept in flight, each given a ticket in the log's order;
//   2. a job's worker waits for its ticket's turn, cuts its block off the
//      log, passes the turn on, and then reads the block;
//   3. the calling thread waits for the front job, delivers it, and puts a
//      new job (its buffers reused) at the back;
//   4. a job that found the log used up, or a stage that says stop, ends
//      it: the jobs in flight are waited for, reading nothing more.
template <BlockStage Stage>
void readInBlocks(LineReader& input, BlockCutRule cut, const WorkPlan& plan, Stage& stage) {
  struct Job {
    LineBlock block;
    typename Stage::Work work;
    bool cut = false;  // a block was cut; false once the input is used up
    std::future<void> done;
  };
  std::deque<std::unique_ptr<Job>> jobs;    // in the log's order
  std::vector<std::unique_ptr<Job>> spare;  // done with; their buffers are reused
  std::atomic<bool> stopping{false};
  // The workers cut the blocks off the log themselves, one after another
  // in the order of their jobs: the copy out of the file is then done on
  // every core, and a block is still in its worker's cache when read.
  std::mutex turnMutex;
  std::condition_variable turnChanged;
  long turn = 0;                   // the ticket of the job whose turn it is to cut a block
  long tickets = 0;                // handed out to jobs in the log's order
  std::optional<WorkerPool> pool;  // last: it goes first, waiting for its jobs

  auto newJob = [&]() -> std::unique_ptr<Job> {
    std::unique_ptr<Job> job;
    if (spare.empty()) {
      job = std::make_unique<Job>();
    } else {
      job = std::move(spare.back());
      spare.pop_back();
    }
    job->cut = false;
    stage.prepare(job->work);
    return job;
  };
  auto stop = [&] {
    stopping = true;
    for (auto& job : jobs) {
      if (job->done.valid()) job->done.wait();
    }
  };

  std::unique_ptr<Job> first = newJob();
  if (!input.nextBlock(plan.blockBytes, cut, first->block)) return;
  if (input.exhausted()) {
    stage.read(first->work, first->block);
    (void)stage.deliver(first->work, first->block);
    return;
  }
  first->cut = true;
  pool.emplace(plan.threadCount());
  auto launch = [&](std::unique_ptr<Job> job, bool needsBlock) {
    Job* raw = job.get();
    long ticket = needsBlock ? tickets++ : -1;
    raw->done = pool->submit([raw, ticket, cut, &stage, &stopping, &input, &plan, &turnMutex, &turnChanged, &turn] {
      if (ticket >= 0) {
        std::unique_lock<std::mutex> lock(turnMutex);
        turnChanged.wait(lock, [&] { return turn == ticket; });
        if (!stopping) raw->cut = input.nextBlock(plan.blockBytes, cut, raw->block);
        ++turn;
        lock.unlock();
        turnChanged.notify_all();
      }
      if (raw->cut && !stopping) stage.read(raw->work, raw->block);
    });
    jobs.push_back(std::move(job));
  };
  launch(std::move(first), false);
  const std::size_t inFlight = pool->size() + 2;
  for (;;) {
    while (jobs.size() < inFlight) launch(newJob(), true);
    Job& job = *jobs.front();
    job.done.get();
    if (!job.cut || !stage.deliver(job.work, job.block)) return stop();
    spare.push_back(std::move(jobs.front()));
    jobs.pop_front();
  }
}

}  // namespace quorvel
