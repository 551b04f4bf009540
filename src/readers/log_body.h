#pragma once

#include <concepts>
#include <string>
#include <string_view>

#include "base/console.h"
#include "base/status.h"
#include "base/work_plan.h"
#include "readers/block_pipeline.h"
#include "readers/line_reader.h"
#include "readers/log_reading.h"
#include "record/contact_batch.h"
#include "record/record_line.h"
#include "record/record_sink.h"

namespace quorvel {

// What a reader is given besides its log: the record line layout the
// driver chose for the log, how to share out the reading, and where
// progress shows. The record lines go to a RecordSink given beside it.
struct ReaderSetup {
  RecordLayout layout;
  WorkPlan work;
  Console console;
};

// The line-by-line part of a reader: the body of a log, the lines after
// its header, is read in blocks on several threads, each block by a copy
// of the Body that starts as if no contact were open (atBlockStart). A
// block whose start was not what its copy assumed (an ADIF record running
// across the cut, say) is read again from the true state, so the result
// never depends on where the blocks were cut.
template <class Body>
concept LogBody = std::semiregular<Body> &&
    requires(Body& body, const Body& before, const Line& line, ContactBatch& batch, std::string_view text) {
  // Reads one line, adding to or ending the batch.
  body.readLine(line, batch);
  // Stops viewing the lines read so far, which may go after the call.
  body.detach();
  // The copy that reads a block of its own.
  { before.atBlockStart() } -> std::same_as<Body>;
  // Whether this copy, having read a block, read it as `before` would have.
  { body.readsOnFrom(before) } -> std::same_as<bool>;
  // Completes the copy's state from `before`, which read the lines before.
  body.carryOver(before);
  // Whether a block may well end after the line `text`.
  { Body::cutsAfter(text) } -> std::same_as<bool>;
  // The input has ended: adds what the body still holds, a row or record
  // cut short, to `batch`.
  body.endInput(batch);
};

// What a Body whose lines stand each on their own provides: any block may
// be read by a plain copy of it, and it views no line past its reading.
template <class Body>
struct IndependentLines {
  Body atBlockStart() const { return static_cast<const Body&>(*this); }
  bool readsOnFrom(const Body&) const { return true; }
  void carryOver(const Body&) {}
  static bool cutsAfter(std::string_view) { return true; }
  void detach() {}
  void endInput(ContactBatch&) {}
};

struct BodyEnd {
  Status status = Status::ok();
  bool finished = false;  // the log ended at one of its lines, not at the end of input
};

// What reading a block's lines counted: those that ended with a new line,
// and the number within the block (from 1) of the one the line reader cut
// at kMostLineBytes, 0 for none.
struct BlockLines {
  std::size_t ended = 0;
  std::size_t cut = 0;
};

// Reads the lines of `block` with `body` into `batch` until the batch is
// no longer open.
template <LogBody Body>
BlockLines readLines(const LineBlock& block, Body& body, ContactBatch& batch) {
  std::string_view text = block.text();
  const char* cutStart = block.cutLine == std::string_view::npos ? nullptr : text.data() + block.cutLine;
  BlockLines lines;
  Line line;
  while (batch.open() && splitOffLine(text, line)) {
    if (line.text.data() == cutStart) lines.cut = lines.ended + 1;
    lines.ended += line.endsWithNewline ? 1 : 0;
    body.readLine(line, batch);
  }
  body.detach();
  return lines;
}

// Hands a read batch to `sink`; `count`, what was counted before it, goes
// on by what it counted.
inline BodyEnd deliverBatch(ContactBatch& batch, const Console& console, RecordSink& sink, long& count) {
  BodyEnd end;
  end.status = batch.handOver(sink, console, count);
  count += batch.counted();
  end.finished = batch.finished();
  return end;
}

// Reads the rest of `input` with `body`, which holds the reader's state
// after the lines before; `count` is what was counted so far and goes on.
// Stops at a line that ends the log or fails, at a bucket that cannot be
// written, or at a read error, which the status then reports.
template <LogBody Body>
BodyEnd readBody(LineReader& input, Body& body, const ReaderSetup& setup, RecordSink& sink, long& count) {
  struct Stage {
    struct Work {
      Body reader;
      ContactBatch batch;
      BlockLines lines;
    };
    Body& body;
    const ReaderSetup& setup;
    RecordSink& sink;
    long& count;
    LineReader& input;
    std::size_t linesBefore;  // the lines before the next block
    BodyEnd end;

    void prepare(Work& work) {
      work.reader = body.atBlockStart();
      work.batch.clear();
    }
    void read(Work& work, const LineBlock& block) { work.lines = readLines(block, work.reader, work.batch); }
    bool deliver(Work& work, const LineBlock& block) {
      if (work.reader.readsOnFrom(body)) {
        work.reader.carryOver(body);
      } else {
        work.reader = body;
        work.batch.clear();
        work.lines = readLines(block, work.reader, work.batch);
      }
      if (work.lines.cut != 0) input.noteCutLine(linesBefore + work.lines.cut);
      linesBefore += work.lines.ended;
      body = std::move(work.reader);
      end = deliverBatch(work.batch, setup.console, sink, count);
      return end.status.isOk() && !end.finished;
    }
  };
  Stage stage{body, setup, sink, count, input, input.linesTaken(), {}};
  readInBlocks(input, &Body::cutsAfter, setup.work, stage);
  if (stage.end.status.isOk() && !stage.end.finished) stage.end.status = input.status();
  if (stage.end.status.isOk() && !stage.end.finished) {
    ContactBatch batch;
    body.endInput(batch);
    stage.end = deliverBatch(batch, setup.console, sink, count);
  }
  return stage.end;
}

}  // namespace quorvel
