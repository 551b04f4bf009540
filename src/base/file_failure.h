#pragma once

#include <string>
#include <string_view>

#include "base/status.h"
#include "base/system_error.h"

namespace quorvel {

// "unable to <doing> file <name>: <reason>\n", the reason being what the
// system gave for this thread's last failed call, unless `error` was
// taken earlier: made straight after that call. The file is one of the
// run's own, named as nameInMessages says, its control bytes escaped
// (shownName).
Status fileFailure(std::string_view doing, const std::string& directory, const std::string& name,
                   const SystemError& error = lastSystemError());

// The same for a log, named as the user gave it (shownName).
Status logFailure(std::string_view doing, const std::string& name, const SystemError& error = lastSystemError());

}  // namespace quorvel
