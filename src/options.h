#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quillet {

// Bits of the options byte handed from the driver to the engine and the search.
constexpr uint8_t VERBOSE = 1;
constexpr uint8_t CONSOLE_MODE = 128;

inline bool IsVerboseConsole(uint8_t options) {
  return (options & VERBOSE) != 0 && (options & CONSOLE_MODE) != 0;
}

// An ordered list of byte strings.
using TStringList = std::vector<std::string>;

}  // namespace quillet
