#include "versionunit.h"

namespace quillet {

std::string VERSION_STRING() {
  return std::string{VERSION_NR, '.', RELEASE_NR, '.', PATCH_NR, MINORPATCH};
}

std::string VERSION_DATE() { return DATE_STRING; }

}  // namespace quillet
