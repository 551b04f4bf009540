#include "base/file_failure.h"

#include "base/visible_text.h"

namespace quorvel {

namespace {

Status failure(std::string_view doing, const std::string& shown, const SystemError& error) {
  const std::string reason = error.reason.empty() ? "" : ": " + error.reason;
  return Status::failure("unable to " + std::string(doing) + " file " + shown + reason + "\n");
}

}  // namespace

Status fileFailure(std::string_view doing, const std::string& directory, const std::string& name,
                   const SystemError& error) {
  return failure(doing, shownName(nameInMessages(directory, name)), error);
}

Status logFailure(std::string_view doing, const std::string& name, const SystemError& error) {
  return failure(doing, shownName(name), error);
}

}  // namespace quorvel
