// Arbitrary lines and record values through the flag replacement: it must end.
#include <cstddef>
#include <cstdint>
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
  return 0;
}
