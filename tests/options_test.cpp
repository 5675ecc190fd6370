// The console frame: the option check, presence test, value lookup, error
// report and run loop.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "console_application.h"
#include "fake_platform.h"
#include "run_error.h"

namespace quillet::testing {
namespace {

using Args = std::vector<std::string>;

const char kShort[] = "hvr:c:f:";
const std::vector<std::string> kLong = {"help", "verbose", "config:", "file:", "recursive:"};

std::string Check(const Args& args) {
  ConsoleApplication app(args, "/usr/bin/quillet");
  return app.CheckOptions(kShort, kLong);
}

std::string Join(const Args& args) {
  std::string s;
  for (const std::string& a : args) s += "[" + a + "]";
  return s;
}

struct CheckCase {
  Args args;
  std::string message;
};

TEST(CheckOptions, AcceptsValidCommandLines) {
  const std::vector<Args> cases = {
      {},
      {"plain", ""},
      {"-h"},
      {"-v", "--verbose", "--help"},
      {"-vvh"},
      {"-vf", "a.c"},  // f is the last letter and takes a.c
      {"-c", "a.cfg", "-f", "a.c"},
      {"--config=name"},
      {"--config=a=b"},
      {"--file="},  // an empty value is still a value
      {"--recursive=dir", "-v"},
      {"-f", "a.c", "plain", "-v"},
  };
  for (const Args& args : cases) EXPECT_EQ(Check(args), "") << Join(args);
}

TEST(CheckOptions, ReportsTheFirstErrorWithItsPosition) {
  const std::vector<CheckCase> cases = {
      {{"-"}, "Invalid option at position 1: \"-\""},
      {{"-H"}, "Invalid option at position 1: \"H\""},
      {{"--Help"}, "Invalid option at position 1: \"Help\""},
      {{"--hel"}, "Invalid option at position 1: \"hel\""},
      {{"--helpx"}, "Invalid option at position 1: \"helpx\""},
      {{"--"}, "Invalid option at position 1: \"\""},
      {{"--=x"}, "Invalid option at position 1: \"\""},
      {{"--Config=x"}, "Invalid option at position 1: \"Config\""},
      {{"-v:"}, "Invalid option at position 1: \":\""},
      {{"-h", "-x"}, "Invalid option at position 2: \"x\""},
      {{"-vx"}, "Invalid option at position 1: \"x\""},
      {{"-x", "--bogus"}, "Invalid option at position 1: \"x\""},
      {{"plain", "-r", "d", "--bogus"}, "Invalid option at position 4: \"bogus\""},
      // a value keeps its own position
      {{"-f", "a.c", "-x"}, "Invalid option at position 3: \"x\""},
      {{"-f", "a.c", "-"}, "Invalid option at position 3: \"-\""},
      {{"--verbose=1"}, "Option at position 1 does not allow an argument: verbose"},
      {{"--help="}, "Option at position 1 does not allow an argument: help"},
      {{"-v", "--help=yes"}, "Option at position 2 does not allow an argument: help"},
      {{"--config", "name"}, "Option at position 1 needs an argument : config"},
      {{"--file"}, "Option at position 1 needs an argument : file"},
      {{"-v", "--recursive"}, "Option at position 2 needs an argument : recursive"},
      {{"-c"}, "Option at position 1 needs an argument : c"},
      {{"-cname"}, "Option at position 1 needs an argument : c"},
      {{"-c", "-f", "a.c"}, "Option at position 1 needs an argument : c"},
      {{"-c", "-x"}, "Option at position 1 needs an argument : c"},
      {{"-c", ""}, "Option at position 1 needs an argument : c"},
      {{"-c", "-"}, "Option at position 1 needs an argument : c"},
      {{"-fv", "a.c"}, "Option at position 1 needs an argument : f"},
      {{"-cf", "a.c"}, "Option at position 1 needs an argument : c"},
      {{"-c", "a.cfg", "-c"}, "Option at position 3 needs an argument : c"},
      {{"-f", "a.c", "-r"}, "Option at position 3 needs an argument : r"},
  };
  for (const CheckCase& c : cases) EXPECT_EQ(Check(c.args), c.message) << Join(c.args);
}

struct PresenceCase {
  Args args;
  char letter;
  std::string name;
  bool present;
};

TEST(HasOption, MatchesTheReducedFormOfEachArgument) {
  const std::vector<PresenceCase> cases = {
      {{"-v"}, 'v', "verbose", true},
      {{"--verbose"}, 'v', "verbose", true},
      {{"--verbose=1"}, 'v', "verbose", true},
      {{"--file=a.c"}, 'f', "file", true},
      {{"--file"}, 'f', "file", true},
      {{"x", "-c", "a", "-f", "b"}, 'f', "file", true},
      {{"--v"}, 'v', "verbose", true},
      {{"-verbose"}, 'v', "verbose", true},
      // several letters in one argument are not split
      {{"-vf", "a.c"}, 'v', "verbose", false},
      {{"-vf", "a.c"}, 'f', "file", false},
      {{"-V"}, 'v', "verbose", false},
      {{"--Verbose"}, 'v', "verbose", false},
      {{"v", "verbose"}, 'v', "verbose", false},
      {{"-f", "v"}, 'v', "verbose", false},  // values never take part
      {{"-h=x"}, 'h', "help", false},        // "=" is dropped for "--" only
      {{"--x=verbose"}, 'v', "verbose", false},
      {{""}, 'v', "verbose", false},
      {{}, 'h', "help", false},
  };
  for (const PresenceCase& c : cases) {
    ConsoleApplication app(c.args, "/usr/bin/quillet");
    EXPECT_EQ(app.HasOption(c.letter, c.name), c.present) << Join(c.args) << " " << c.letter;
  }
}

struct ValueCase {
  Args args;
  std::string value;
};

TEST(GetOptionValue, ShortFormWinsAndTheLastOfAFormWins) {
  const std::vector<ValueCase> cases = {
      {{"-c", "a.cfg"}, "a.cfg"},
      {{"--config=a.cfg"}, "a.cfg"},
      {{"-c", "a.cfg", "--config=b.cfg"}, "a.cfg"},
      {{"--config=b.cfg", "-c", "a.cfg"}, "a.cfg"},
      {{"-c", "a.cfg", "-c", "b.cfg"}, "b.cfg"},
      {{"--config=a.cfg", "--config=b.cfg"}, "b.cfg"},
      {{"--config=a=b"}, "a=b"},
      {{"--config="}, ""},
      {{"--config"}, ""},
      {{"-c"}, ""},
      {{"-c", "-v"}, ""},
      {{"-c", "b.cfg", "-c"}, ""},  // the last one has no value
      {{"--config=x", "-c"}, ""},   // the short form wins even without a value
      {{"-cv", "a.cfg"}, ""},       // "cv" is neither c nor config
      {{"--c=x.cfg"}, "x.cfg"},
      {{"-v", "plain"}, ""},
      {{}, ""},
  };
  for (const ValueCase& c : cases) {
    ConsoleApplication app(c.args, "/usr/bin/quillet");
    EXPECT_EQ(app.GetOptionValue('c', "config"), c.value) << Join(c.args);
  }
}

struct ReportCase {
  uint32_t location;
  std::string message;
  std::string report;
};

TEST(ErrorReport, LocationLineThenMessageWithFullStop) {
  const std::string x231(231, 'x');
  const std::string x232(232, 'x');
  const std::string x300(300, 'x');
  const std::vector<ReportCase> cases = {
      {0x00402010, "Access denied", "exception at 00402010:\nAccess denied."},
      {0x00ABCDEF, "Disk Full", "exception at 00ABCDEF:\nDisk Full."},
      {0xFFFFFFFF, "Ends here.", "exception at FFFFFFFF:\nEnds here."},
      {0, "", "exception at 00000000:\n."},
      {0x00402010, "Unable to open file \"a.cfg\"",
       "exception at 00402010:\nUnable to open file \"a.cfg\"."},
      // 23 bytes of location line and line feed, then the message: 255 at most
      {0x00402010, x231, "exception at 00402010:\n" + x231 + "."},
      {0x00402010, x232, "exception at 00402010:\n" + x232},
      {0x00402010, x300, "exception at 00402010:\n" + x232},
  };
  for (const ReportCase& c : cases) {
    EXPECT_EQ(ConsoleApplication::ErrorReport(RunError(c.location, c.message)), c.report)
        << c.message.size();
  }
}

// Throws on its first run step; stops on its second.
class FailingOnce : public ConsoleApplication {
 public:
  FailingOnce() : ConsoleApplication({}, "/usr/bin/quillet") {}
  int runs = 0;

 protected:
  void DoRun() override {
    ++runs;
    if (runs == 1) throw RunError(0x00403040, "Disk Full");
    Terminate();
  }
};

TEST(RunLoop, ReportsTheErrorAndStopsWhenAskedTo) {
  FakePlatform platform;
  FailingOnce app;
  app.SetStopOnException(true);
  app.Run();
  EXPECT_EQ(app.runs, 1);
  EXPECT_TRUE(app.Terminated());
  EXPECT_EQ(platform.out(), "exception at 00403040:\nDisk Full.\n");
}

TEST(RunLoop, WithoutStopOnErrorRunsAgainUntilTheStopRequest) {
  FakePlatform platform;
  FailingOnce app;
  EXPECT_FALSE(app.Terminated());
  app.Run();
  EXPECT_EQ(app.runs, 2);
  EXPECT_EQ(platform.out(), "exception at 00403040:\nDisk Full.\n");
}

}  // namespace
}  // namespace quillet::testing
