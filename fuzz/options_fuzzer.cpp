// Arbitrary command lines through the option check, presence test and value lookup.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "console_application.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // Arguments are separated by NUL bytes.
  std::vector<std::string> args(1);
  for (size_t i = 0; i < size; ++i) {
    if (data[i] == 0) {
      args.emplace_back();
    } else {
      args.back() += static_cast<char>(data[i]);
    }
  }
  quillet::ConsoleApplication app(args, "quillet");
  static const std::vector<std::string> kLong = {"help", "verbose",
                                                 "config:", "file:", "recursive:"};
  std::string error = app.CheckOptions("hvr:c:f:", kLong);
  for (char letter : std::string("hvrcf")) {
    app.HasOption(letter, "config");
    app.GetOptionValue(letter, "file");
  }
  (void)error;
  return 0;
}
