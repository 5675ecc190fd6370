// Real failures, end to end: a file size limit, a full standard output and
// interrupting signals must never damage a source or leave a temporary file.
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>

#include "run_binary.h"

namespace quillet::testing {
namespace {

const char kDescription[] =
    "[Description]\nProject_name=Demo\nProject_brief=b\nProject_version=1\nAuthor=Ann\n"
    "Language=c\n[Header]\n/* $PROJECT_NAME$ by $AUTHOR$ */\n";

class RealFaults : public ::testing::Test {
 protected:
  void SetUp() override { dir_.Write("Project_desc.cfg", kDescription); }

  std::string FlagLines(size_t count) {
    std::string text = "// $ADD_HEADER$\n";
    for (size_t i = 0; i < count; ++i)
      text += "int v" + std::to_string(i) + "; // $PROJECT_NAME$\n";
    return text;
  }

  void ExpectOnlySources(const std::vector<std::string>& names) {
    std::vector<std::string> expected = names;
    expected.insert(expected.begin(), "Project_desc.cfg");
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(dir_.List(), expected);
  }

  TempDir dir_;
};

TEST_F(RealFaults, FileSizeLimitLeavesSourceIntact) {
  std::string source = FlagLines(20000);
  dir_.Write("main.c", source);
  RunOptions options;
  options.file_size_limit = 64 * 1024;
  RunResult r = RunQuillet({"-f", "main.c"}, dir_.path(), options);
  EXPECT_EQ(r.exit_code, 0);
  EXPECT_EQ(dir_.Read("main.c"), source);
  ExpectOnlySources({"main.c"});
  // EFBIG has no message of its own.
  std::string tail = ":\nUnknown Run-Time error : 027.\n";
  ASSERT_GE(r.out.size(), tail.size());
  EXPECT_EQ(r.out.substr(r.out.size() - tail.size()), tail);
  EXPECT_EQ(r.out.find("Job complete !"), std::string::npos);
}

TEST_F(RealFaults, FullStandardOutputTouchesNoFile) {
  dir_.Write("src/a.c", "// $ADD_HEADER$\n");
  dir_.Write("src/b.c", "// $ADD_HEADER$\n");
  RunOptions options;
  options.stdout_path = "/dev/full";
  RunResult r = RunQuillet({"-r", "src"}, dir_.path(), options);
  EXPECT_EQ(r.exit_code, 0);
  EXPECT_EQ(r.term_signal, 0);
  EXPECT_EQ(dir_.Read("src/a.c"), "// $ADD_HEADER$\n");
  EXPECT_EQ(dir_.Read("src/b.c"), "// $ADD_HEADER$\n");
  EXPECT_EQ(dir_.List("src"), (std::vector<std::string>{"a.c", "b.c"}));
}

class Interrupted : public RealFaults, public ::testing::WithParamInterface<int> {};

TEST_P(Interrupted, SignalRemovesTemporaryFileAndKeepsSource) {
  // Tens of MB whose every line prints a verbose count: as nobody reads the
  // console, the run stalls mid-file with its temporary file open.
  std::string source = FlagLines(1000000);
  dir_.Write("big.c", source);
  RunningQuillet running = StartQuillet({"-v", "-f", "big.c"}, dir_.path());
  // A guard against a run that never starts its temporary file, not a timing.
  for (int i = 0; i < 20000 && !dir_.Exists("big.$$$"); ++i) usleep(1000);
  ASSERT_TRUE(dir_.Exists("big.$$$"));
  kill(running.pid, GetParam());
  RunResult r = FinishQuillet(running);
  EXPECT_EQ(r.term_signal, GetParam());
  EXPECT_TRUE(dir_.Read("big.c") == source);
  ExpectOnlySources({"big.c"});
}

INSTANTIATE_TEST_SUITE_P(Signals, Interrupted, ::testing::Values(SIGINT, SIGTERM));

}  // namespace
}  // namespace quillet::testing
