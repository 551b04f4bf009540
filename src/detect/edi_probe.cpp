#include "detect/edi_probe.h"

#include <cstddef>

#include "base/ascii.h"

namespace quorvel {

bool probeEdi(std::string_view start) {
  std::size_t at = 0;
  while (at < start.size() && isScanSpace(static_cast<unsigned char>(start[at]))) ++at;
  return startsWithCaseless(start.substr(at), "[REG1TEST");
}

}  // namespace quorvel
