#pragma once

namespace quorvel {

// The kind of log a run reads; fixed by the first accepted line.
enum class LogFormat { ColumnText, Adif, Cabrillo };

}  // namespace quorvel
