#pragma once

#include <string>

namespace quillet {

// Prints one line on standard output; a failed write ends the run like any
// other input/output error.
void WriteConsoleLine(const std::string& line);

}  // namespace quillet
