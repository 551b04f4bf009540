#pragma once

#include <atomic>
#include <condition_variable>
#include <deque>
#include <future>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "quorvel/run_context.h"
#include "quorvel/status.h"
#include "quorvel/worker_pool.h"
#include "readers/contact_batch.h"
#include "readers/line_reader.h"

namespace quorvel {

// The body of a log, the lines after its header, is read in blocks of whole
// lines, several at once on the machine's cores; the workers take the
// blocks off the log in turn. Each block is read by a copy of the reader's
// line-by-line part (a Body) that starts as if no contact were open, and
// its record lines reach the bucket files strictly in the log's order. A block whose start was not what its Body assumed (an
// ADIF record running across the cut, say) is read again from the true
// state, so the result never depends on where the blocks were cut.
//
// A Body provides:
//   void take(const Line& line, ContactBatch& batch)  reads one line
//   void detach()                    stops viewing the lines it has read,
//                                    which may go after the call
//   Body atBlockStart() const        the copy that reads a block of its own
//   bool readsOnFrom(const Body& before) const
//                                    whether this copy, having read a block,
//                                    read it as `before` would have done
//   void carryOver(const Body& before)
//                                    completes its state from `before`
//   static bool cutsAfter(std::string_view line)
//                                    a good line to end a block with

// What a Body whose lines stand each on their own provides: any block may
// be read by a plain copy of it, and it views no line past its reading.
template <class Body>
struct IndependentLines {
  Body atBlockStart() const { return static_cast<const Body&>(*this); }
  bool readsOnFrom(const Body&) const { return true; }
  void carryOver(const Body&) {}
  static bool cutsAfter(std::string_view) { return true; }
  void detach() {}
};

struct BodyEnd {
  Status status = Status::ok();
  bool finished = false;  // the log ended at one of its lines, not at the end of input
};

template <class Body>
void readLines(std::string_view text, Body& body, ContactBatch& batch) {
  Line line;
  while (batch.end() == ContactBatch::End::Open && takeLine(text, line)) body.take(line, batch);
  body.detach();
  batch.settle();
}

// Hands a read batch on to the run; `count` goes on by what it counted.
inline BodyEnd takeBatch(ContactBatch& batch, RunContext& run, long& count) {
  BodyEnd end;
  end.status = batch.replay(run, count);
  count += batch.counted();
  end.finished = batch.end() != ContactBatch::End::Open;
  return end;
}

// Reads the rest of `input` with `body`, which holds the reader's state
// after the lines before; `count` is what was counted so far and goes on.
// Stops at a line that ends the log or fails, or at a bucket that cannot be
// written. Read errors are left for the caller to ask `input` about.
template <class Body>
BodyEnd readBody(LineReader& input, Body& body, RunContext& run, long& count) {
  struct Job {
    LineBlock block;
    Body reader;
    ContactBatch batch;
    bool taken = false;  // a block was taken; false once the input is used up
    std::future<void> done;
  };
  const WorkPlan& plan = run.work;
  std::deque<std::unique_ptr<Job>> jobs;    // in the log's order
  std::vector<std::unique_ptr<Job>> spare;  // done with; their buffers are reused
  std::atomic<bool> stopping{false};
  // The workers take the blocks off the log themselves, one after another
  // in the order of their jobs: the copy out of the file is then done on
  // every core, and a block is fresh in its worker's cache when read.
  std::mutex turnMutex;
  std::condition_variable turnChanged;
  long turn = 0;                   // the ticket of the job whose turn it is to take a block
  long tickets = 0;                // handed out to jobs in the log's order
  std::optional<WorkerPool> pool;  // last: it goes first, waiting for its jobs

  auto newJob = [&]() -> std::unique_ptr<Job> {
    std::unique_ptr<Job> job;
    if (spare.empty()) {
      job = std::make_unique<Job>(Job{{}, body.atBlockStart(), {}, false, {}});
    } else {
      job = std::move(spare.back());
      spare.pop_back();
      job->reader = body.atBlockStart();
      job->batch.clear();
      job->taken = false;
    }
    return job;
  };
  auto stop = [&](BodyEnd end) {
    stopping = true;
    for (auto& job : jobs) {
      if (job->done.valid()) job->done.wait();
    }
    return end;
  };

  std::unique_ptr<Job> first = newJob();
  if (!input.takeBlock(plan.blockBytes, &Body::cutsAfter, first->block)) return {};
  if (input.exhausted()) {
    // A body of one block is read right here.
    readLines(first->block.text(), body, first->batch);
    return takeBatch(first->batch, run, count);
  }
  first->taken = true;
  pool.emplace(plan.threadCount());
  auto launch = [&](std::unique_ptr<Job> job, bool needsBlock) {
    Job* raw = job.get();
    long ticket = needsBlock ? tickets++ : -1;
    raw->done = pool->submit([raw, ticket, &stopping, &input, &plan, &turnMutex, &turnChanged, &turn] {
      if (ticket >= 0) {
        std::unique_lock<std::mutex> lock(turnMutex);
        turnChanged.wait(lock, [&] { return turn == ticket; });
        if (!stopping) raw->taken = input.takeBlock(plan.blockBytes, &Body::cutsAfter, raw->block);
        ++turn;
        lock.unlock();
        turnChanged.notify_all();
      }
      if (raw->taken && !stopping) readLines(raw->block.text(), raw->reader, raw->batch);
    });
    jobs.push_back(std::move(job));
  };
  launch(std::move(first), false);
  const std::size_t inFlight = pool->size() + 2;
  for (;;) {
    while (jobs.size() < inFlight) launch(newJob(), true);
    Job& job = *jobs.front();
    job.done.get();
    if (!job.taken) return stop({});  // the input is used up
    if (job.reader.readsOnFrom(body)) {
      job.reader.carryOver(body);
    } else {
      job.reader = body;
      job.batch.clear();
      readLines(job.block.text(), job.reader, job.batch);
    }
    body = std::move(job.reader);
    BodyEnd end = takeBatch(job.batch, run, count);
    if (!end.status.isOk() || end.finished) return stop(std::move(end));
    spare.push_back(std::move(jobs.front()));
    jobs.pop_front();
  }
}

}  // namespace quorvel
