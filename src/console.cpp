#include "console.h"

#include "platform/platform.h"
#include "run_error.h"

namespace quillet {

void WriteConsoleLine(const std::string& line) {
  std::string bytes;
  bytes.reserve(line.size() + 1);
  bytes += line;
  bytes += '\n';
  if (int err = CurrentPlatform().WriteStdout(bytes)) RaiseFileError(kSiteConsoleWrite, err, "");
}

}  // namespace quillet
