// Arbitrary lines and record values through the flag replacement: it must end.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "gest_project.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // The line, then the values, separated by NUL bytes.
  std::vector<std::string> parts(1);
  for (size_t i = 0; i < size; ++i) {
    if (data[i] == 0) {
      parts.emplace_back();
    } else {
      parts.back() += static_cast<char>(data[i]);
    }
  }
  parts.resize(11);
  quillet::Tprojet p;
  p.FILENAME = parts[1];
  p.AUTHOR = parts[2];
  p.PROJECT_NAME = parts[3];
  p.PROJECT_VERSION = parts[4];
  p.PROJECT_BRIEF = parts[5];
  for (int n = 1; n <= 4; ++n) p.USERSTR[n] = parts[5 + n].substr(0, quillet::USERSTR_MAX);
  p.LICENCE = parts[10];
  uint16_t count = 0;
  quillet::TRAITE_LIGNE(parts[0], 0, p, count);
  // The one-scan replacement, where it applies, must give what the passes give.
  std::string at_once;
  uint16_t at_once_count = 0;
  if (quillet::ReplaceFlagsAtOnce(parts[0], p, &at_once, &at_once_count)) {
    uint16_t passes_count = 0;
    std::string by_passes = quillet::ReplaceFlagsByPasses(parts[0], p, &passes_count);
    if (at_once != by_passes || at_once_count != passes_count) std::abort();
  }
  return 0;
}
