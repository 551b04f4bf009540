#pragma once

#include <string>
#include <utility>

#include "base/status.h"

namespace quorvel {

// What reading one log came to, as every reader returns it and the driver
// reports it.
struct LogReading {
  LogReading() = default;
  LogReading(Status status, long counted, std::string fault = {})
      : status(std::move(status)), counted(counted), fault(std::move(fault)) {}

  // Ok, or why the run cannot go on (a read error, a bucket file that
  // cannot be written).
  Status status = Status::ok();
  long counted = 0;  // what its reader counted
  // Why a log was read only in part, or gave no contact though it held
  // text, as a message naming it; empty when it was read whole. The run
  // reads the other logs and sorts, then fails.
  std::string fault;
};

}  // namespace quorvel
