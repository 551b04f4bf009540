#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "base/files.h"

namespace quorvel {

// Where the lines of a sorted bucket go, in their order, each with the
// line end of the system's text files: a run of a bucket too large to
// sort at once keeps each bucket line whole; a list shows each line's
// text, and, where the run makes a lookup page, the page's file beside it
// (RunFolder::pageLinesName) keeps each line whole for the page to read what it
// carries. Lines are collected and written in blocks.
class SortedOutput {
 public:
  enum class Kind { Run, List };
  // The buffers its lines collect in, kept by the caller from one output
  // to the next, so that their room is taken once.
  struct Blocks {
    std::string out, page;
  };
  // `file` takes the run or the list; `page`, when open, the page's lines.
  SortedOutput(Kind kind, File file, File page, Blocks& blocks, std::size_t blockBytes);

  // Whether its files were made: a caller that finds them not made takes
  // the system's reason for it at once.
  bool isOpen() const { return out_.isOpen(); }

  // Whether add() reads its `whole`: a list without a page file shows the
  // text alone.
  bool wantsWhole() const { return kind_ == Kind::Run || page_.isOpen(); }
  // Adds a line: `whole` is the bucket line, `text` the start of it that
  // a list shows. A line of this run whose callsign's place the layout
  // told, `untoldCallsign` (else npos), carries it in a run, which holds
  // lines of earlier runs too. False once a write failed.
  bool add(std::string_view text, std::string_view whole, std::size_t untoldCallsign = std::string_view::npos);
  // Writes what is left and closes the files; false when any write failed.
  bool close();

 private:
  class Writer {
   public:
    Writer(File file, std::string& block, std::size_t blockBytes);
    bool isOpen() const { return file_.isOpen(); }
    bool add(std::string_view line, std::string_view carried = {});
    bool close();

   private:
    bool flush();
    File file_;
    std::string& block_;
    std::size_t blockBytes_;
    std::size_t used_ = 0;  // the first bytes of block_ that wait to be written
    bool ok_ = true;
  };

  Kind kind_;
  Writer out_, page_;
  std::string place_;  // a callsign's place to carry
};

}  // namespace quorvel
