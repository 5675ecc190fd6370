#include "platform/platform.h"
#include "platform/posix_platform.h"

namespace quillet {
namespace {
Platform* g_override = nullptr;
}

Platform& CurrentPlatform() {
  if (g_override != nullptr) return *g_override;
  static PosixPlatform real;
  return real;
}

void SetCurrentPlatform(Platform* platform) { g_override = platform; }

}  // namespace quillet
