// A small console application frame: the run loop, the command-line option
// check, presence test and value lookup, the stop request and the report of
// an error that ends the run.
#pragma once

#include <string>
#include <vector>

#include "run_error.h"

namespace quillet {

class ConsoleApplication {
 public:
  // `args` are the arguments after the program's name.
  ConsoleApplication(std::vector<std::string> args, std::string executable_path);
  virtual ~ConsoleApplication() = default;

  // Calls DoRun until a stop has been requested.
  void Run();

  int ParamCount() const { return static_cast<int>(args_.size()); }
  // The file name of the running program, as it was started.
  std::string ExeName() const;

  // Checks every argument; returns empty text or the first error's message.
  // `short_options` is like "hvr:c:f:"; a long name ending in ":" needs a value.
  std::string CheckOptions(const std::string& short_options,
                           const std::vector<std::string>& long_options) const;
  bool HasOption(char letter, const std::string& name) const;
  std::string GetOptionValue(char letter, const std::string& name) const;

  void Terminate() { terminated_ = true; }
  bool Terminated() const { return terminated_; }
  void SetStopOnException(bool stop) { stop_on_exception_ = stop; }

  // "exception at XXXXXXXX:" LF message "." cut to 255 characters.
  static std::string ErrorReport(const RunError& error);

 protected:
  virtual void DoRun() {}

 private:
  void ShowException(const RunError& error);

  std::vector<std::string> args_;
  std::string executable_path_;
  bool terminated_ = false;
  bool stop_on_exception_ = false;
};

}  // namespace quillet
