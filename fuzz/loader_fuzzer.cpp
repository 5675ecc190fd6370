// Arbitrary description files through the loader.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "gest_project.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string path = "/tmp/quillet-loader-fuzz-" + std::to_string(getpid()) + ".cfg";
  FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) return 0;
  std::fwrite(data, 1, size, f);
  std::fclose(f);
  std::string message;
  quillet::LOAD_PROJECT_DESC(path, message);
  quillet::PROJECT_DESC_FREE();
  return 0;
}
