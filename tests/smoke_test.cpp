#include <gtest/gtest.h>

#include "run_binary.h"

namespace quillet::testing {
namespace {

TEST(Smoke, NoArgumentsShowsBannerAndHelp) {
  TempDir dir;
  RunResult r = RunQuillet({}, dir.path());
  EXPECT_EQ(r.exit_code, 0);
  EXPECT_EQ(r.out, BannerText() + HelpText() + "\n");
}

}  // namespace
}  // namespace quillet::testing
