// Errors that end a run: a failed file operation anywhere below the run step
// is raised as a RunError and reported by the application frame.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace quillet {

class RunError : public std::runtime_error {
 public:
  RunError(uint32_t location, const std::string& message)
      : std::runtime_error(message), location_(location) {}
  uint32_t location() const { return location_; }

 private:
  uint32_t location_;
};

// Code locations shown in the error report: one per place that can fail.
enum FailureSite : uint32_t {
  kSiteConsoleWrite = 0x00401010,
  kSiteDescOpen = 0x00402010,
  kSiteSourceOpen = 0x00403010,
  kSiteSourceRead = 0x00403020,
  kSiteTempCreate = 0x00403030,
  kSiteTempWrite = 0x00403040,
  kSiteTempClose = 0x00403050,
  kSiteReplace = 0x00403060,
  kSiteIncludeRead = 0x00404010,
};

// The run-time error code of a failed file operation, 0 when its errno has
// none. `dir_missing` tells a missing file (2) from a missing directory on
// its path (3).
int FileErrorCode(int errnum, bool dir_missing);
std::string FileErrorMessage(int code);
std::string UnknownErrorMessage(int number);

[[noreturn]] void RaiseFileError(uint32_t location, int errnum, const std::string& path);

}  // namespace quillet
