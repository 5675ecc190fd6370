// End-to-end tests of "$EXTERN_FILE$": a marker line becomes the lines of the
// file it names, flags replaced, or a "-------> " line when it cannot.
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "fake_platform.h"
#include "run_binary.h"

namespace quillet::testing {
namespace {

const char kDescription[] =
    "[Description]\n"
    "Project_name = Demo\n"
    "Project_brief = A demo\n"
    "Project_version = 1.2\n"
    "Author = Ada\n"
    "Language = c\n"
    "[Header]\n"
    "/* $PROJECT_NAME$ header of $FILE_NAME$ */\n";

std::string JobComplete() { return "\nJob complete !\n\n"; }

class ExternE2E : public ::testing::Test {
 protected:
  void SetUp() override { dir_.Write("d.cfg", kDescription); }

  RunResult Stamp(const std::string& file, bool verbose = false) {
    std::vector<std::string> args = {"-c", "d.cfg", "-f", file};
    if (verbose) args.insert(args.begin(), "-v");
    return RunQuillet(args, dir_.path());
  }

  // Stdout of a run over one file that went through.
  static std::string Completed(const std::string& name, const std::string& messages) {
    return BannerText() + "Processing " + name + "\n" + messages + JobComplete();
  }

  bool TempLeft(const std::string& relative_dir = ".") const {
    for (const std::string& name : dir_.List(relative_dir)) {
      if (name.size() >= 4 && name.compare(name.size() - 4, 4, ".$$$") == 0) return true;
    }
    return false;
  }

  TempDir dir_;
};

TEST_F(ExternE2E, MarkerLineBecomesIncludedLinesWithFlagsOfTheFileBeingCompleted) {
  // The relative path is taken from the working directory, not from src/.
  dir_.Write("lic.txt",
             "L1 $PROJECT_NAME$ by $AUTHOR$\nname=$FILE_NAME$ path=$FILE_NAME_EXT$\nlast");
  dir_.Write("src/lic.txt", "wrong file\n");
  dir_.Write("src/main.c", "before\n// $EXTERN_FILE$ lic.txt\nafter\n");

  RunResult r = Stamp("src/main.c");

  EXPECT_EQ(r.exit_code, 0);
  EXPECT_EQ(r.out, Completed("main.c", ""));
  EXPECT_EQ(dir_.Read("src/main.c"),
            "before\r\nL1 Demo by Ada\r\nname=main.c path=src/main.c\r\nlast\r\nafter\r\n");
  EXPECT_EQ(dir_.Read("lic.txt"),
            "L1 $PROJECT_NAME$ by $AUTHOR$\nname=$FILE_NAME$ path=$FILE_NAME_EXT$\nlast");
  EXPECT_FALSE(TempLeft("src"));
}

struct MarkerCase {
  const char* name;
  std::string line;                                        // the marker line of a.c
  std::vector<std::pair<std::string, std::string>> files;  // written beside a.c
  std::vector<std::string> dirs;
  std::vector<std::string> fifos;
  std::vector<std::pair<std::string, std::string>> links;  // name -> target
  std::string messages;                                    // console lines after "Processing"
  std::string replacement;                                 // what stands in the marker's place
};

void PrintTo(const MarkerCase& c, std::ostream* os) { *os << c.name; }

std::vector<MarkerCase> MarkerCases() {
  const std::string nf = "-------> External File ";
  const std::string ns = "-------> External File not specified !\n";
  return {
      {"TextBeforeMarkerDropped",
       "// $EXTERN_FILE$ lic.txt",
       {{"lic.txt", "x $PROJECT_VER$\n"}},
       {},
       {},
       {},
       "",
       "x 1.2\r\n"},
      {"MarkerAtEndOfLine", "// $EXTERN_FILE$", {}, {}, {}, {}, ns, ""},
      {"MarkerAndOneBlank", "// $EXTERN_FILE$ ", {{" ", "blank\n"}}, {}, {}, {}, ns, ""},
      {"MarkerAndOneLetter", "$EXTERN_FILE$x", {{"x", "x\n"}}, {}, {}, {}, ns, ""},
      {"FirstCharacterSkippedNotFound",
       "$EXTERN_FILE$lic.txt",
       {{"lic.txt", "lic\n"}},
       {},
       {},
       {},
       nf + "ic.txt not found !\n",
       ""},
      {"FirstCharacterSkippedFound",
       "$EXTERN_FILE$lic.txt",
       {{"lic.txt", "lic\n"}, {"ic.txt", "ic\n"}},
       {},
       {},
       {},
       "",
       "ic\r\n"},
      {"TwoBlanksMakeLeadingBlankNotFound",
       "$EXTERN_FILE$  lic.txt",
       {{"lic.txt", "lic\n"}},
       {},
       {},
       {},
       nf + " lic.txt not found !\n",
       ""},
      {"TwoBlanksMakeLeadingBlankFound",
       "$EXTERN_FILE$  lic.txt",
       {{"lic.txt", "lic\n"}, {" lic.txt", "blank lic\n"}},
       {},
       {},
       {},
       "",
       "blank lic\r\n"},
      {"TrailingBlanksKeptNotFound",
       "$EXTERN_FILE$ lic.txt  ",
       {{"lic.txt", "lic\n"}},
       {},
       {},
       {},
       nf + "lic.txt   not found !\n",
       ""},
      {"TrailingBlanksKeptFound",
       "$EXTERN_FILE$ lic.txt  ",
       {{"lic.txt", "lic\n"}, {"lic.txt  ", "trailing\n"}},
       {},
       {},
       {},
       "",
       "trailing\r\n"},
      {"FlagInPathNotReplacedNotFound",
       "$EXTERN_FILE$ $PROJECT_NAME$.txt",
       {{"Demo.txt", "demo\n"}},
       {},
       {},
       {},
       nf + "$PROJECT_NAME$.txt not found !\n",
       ""},
      {"FlagInPathNotReplacedFound",
       "$EXTERN_FILE$ $PROJECT_NAME$.txt",
       {{"Demo.txt", "demo\n"}, {"$PROJECT_NAME$.txt", "literal\n"}},
       {},
       {},
       {},
       "",
       "literal\r\n"},
      {"SecondMarkerIsPartOfPath",
       "$EXTERN_FILE$ lic.txt $EXTERN_FILE$ lic.txt",
       {{"lic.txt", "lic\n"}},
       {},
       {},
       {},
       nf + "lic.txt $EXTERN_FILE$ lic.txt not found !\n",
       ""},
      {"HeaderMarkerBeforeWins",
       "$ADD_HEADER$ $EXTERN_FILE$ lic.txt",
       {{"lic.txt", "lic\n"}},
       {},
       {},
       {},
       "",
       "/* Demo header of a.c */\r\n"},
      {"HeaderMarkerAfterWins",
       "$EXTERN_FILE$ lic.txt $ADD_HEADER$",
       {{"lic.txt", "lic\n"}},
       {},
       {},
       {},
       "",
       "/* Demo header of a.c */\r\n"},
      {"LowerCaseMarkerIsOrdinaryText",
       "// $extern_file$ lic.txt $PROJECT_NAME$",
       {{"lic.txt", "lic\n"}},
       {},
       {},
       {},
       "",
       "// $extern_file$ lic.txt Demo\r\n"},
      {"MissingFile",
       "$EXTERN_FILE$ missing.txt",
       {},
       {},
       {},
       {},
       nf + "missing.txt not found !\n",
       ""},
      {"DirectoryIsNotFound",
       "$EXTERN_FILE$ sub",
       {{"sub/x.txt", "x\n"}},
       {"sub"},
       {},
       {},
       nf + "sub not found !\n",
       ""},
      {"FifoIsNotFound", "$EXTERN_FILE$ pipe", {}, {}, {"pipe"}, {}, nf + "pipe not found !\n", ""},
      {"LinkToRegularFileIncluded",
       "$EXTERN_FILE$ link.txt",
       {{"lic.txt", "through link\n"}},
       {},
       {},
       {{"link.txt", "lic.txt"}},
       "",
       "through link\r\n"},
      {"DanglingLinkIsNotFound",
       "$EXTERN_FILE$ link.txt",
       {},
       {},
       {},
       {{"link.txt", "gone.txt"}},
       nf + "link.txt not found !\n",
       ""},
      {"EmptyIncludeLeavesNothing", "$EXTERN_FILE$ lic.txt", {{"lic.txt", ""}}, {}, {}, {}, "", ""},
      {"IncludeLineEndsFollowTextLineRules",
       "$EXTERN_FILE$ lic.txt",
       {{"lic.txt", "one\r\ntwo\rthree\n\r\nfour"}},
       {},
       {},
       {},
       "",
       "one\r\ntwo\r\nthree\r\n\r\nfour\r\n"},
      {"MarkersInsideIncludeCopiedUnchanged",
       "$EXTERN_FILE$ lic.txt",
       {{"lic.txt", "$ADD_HEADER$ of $PROJECT_NAME$\n// $EXTERN_FILE$ other.txt\n"},
        {"other.txt", "nested\n"}},
       {},
       {},
       {},
       "",
       "$ADD_HEADER$ of Demo\r\n// $EXTERN_FILE$ other.txt\r\n"},
  };
}

class ExternMarkerLine : public ExternE2E, public ::testing::WithParamInterface<MarkerCase> {};

TEST_P(ExternMarkerLine, ReplacedOrReported) {
  const MarkerCase& c = GetParam();
  for (const std::string& d : c.dirs) dir_.MakeDir(d);
  for (const auto& [name, bytes] : c.files) dir_.Write(name, bytes);
  std::vector<pid_t> feeders;
  for (const std::string& f : c.fifos) {
    ASSERT_EQ(mkfifo(dir_.Path(f).c_str(), 0644), 0);
    feeders.push_back(FeedFifo(dir_.Path(f), "read from the fifo\n"));
  }
  for (const auto& [name, target] : c.links) {
    ASSERT_EQ(symlink(target.c_str(), dir_.Path(name).c_str()), 0);
  }
  dir_.Write("a.c", "top\n" + c.line + "\nend\n");

  RunResult r = Stamp("a.c");
  for (pid_t pid : feeders) StopFeeder(pid);

  EXPECT_EQ(r.out, Completed("a.c", c.messages));
  EXPECT_EQ(dir_.Read("a.c"), "top\r\n" + c.replacement + "end\r\n");
  for (const auto& [name, bytes] : c.files) EXPECT_EQ(dir_.Read(name), bytes) << name;
  EXPECT_FALSE(TempLeft());
}

INSTANTIATE_TEST_SUITE_P(Cases, ExternMarkerLine, ::testing::ValuesIn(MarkerCases()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ExternE2E, SeveralMarkerLinesHandledInFileOrder) {
  dir_.Write("lic.txt", "inc $PROJECT_NAME$\n");
  dir_.Write("a.c",
             "1\n$EXTERN_FILE$ lic.txt\n2\n$EXTERN_FILE$\n3\n$EXTERN_FILE$ nope\n"
             "4\n$EXTERN_FILE$ lic.txt\n5\n");

  RunResult r = Stamp("a.c");

  EXPECT_EQ(r.out, Completed("a.c",
                             "-------> External File not specified !\n"
                             "-------> External File nope not found !\n"));
  EXPECT_EQ(dir_.Read("a.c"), "1\r\ninc Demo\r\n2\r\n3\r\n4\r\ninc Demo\r\n5\r\n");
}

TEST_F(ExternE2E, VerboseShowsCountsOfIncludedLinesAndTheSameMessages) {
  dir_.Write("lic.txt", "$PROJECT_NAME$ $AUTHOR$\nplain\n$YEAR$\n");
  dir_.Write("a.c", "$EXTERN_FILE$ lic.txt\n$EXTERN_FILE$ nope\n$EXTERN_FILE$\n");

  RunResult r = Stamp("a.c", /*verbose=*/true);

  EXPECT_EQ(r.out, Completed("a.c",
                             "-------> 2 Flag(s) found !\n"
                             "-------> 1 Flag(s) found !\n"
                             "-------> External File nope not found !\n"
                             "-------> External File not specified !\n"));
}

TEST_F(ExternE2E, IncludingTheFileBeingCompletedReadsItsOriginalLines) {
  dir_.Write("a.c", "first $PROJECT_NAME$\n$EXTERN_FILE$ a.c\nlast\n");

  RunResult r = Stamp("a.c");

  EXPECT_EQ(r.out, Completed("a.c", ""));
  // The copy is one level deep: its own marker line is ordinary text.
  EXPECT_EQ(dir_.Read("a.c"), "first Demo\r\nfirst Demo\r\n$EXTERN_FILE$ a.c\r\nlast\r\nlast\r\n");
  EXPECT_FALSE(TempLeft());
}

TEST_F(ExternE2E, IncludingTheTemporaryFileDoesNotFeedOnItself) {
  // More than one output buffer before the marker, so that the temporary file
  // already holds text when the marker is met.
  std::string body;
  for (int i = 0; i < 20000; ++i) body += "line " + std::to_string(i) + "\n";
  dir_.Write("a.c", body + "$EXTERN_FILE$ a.$$$\nlast\n");

  RunResult r = Stamp("a.c");

  // It did not exist before this run, so there is nothing to include.
  EXPECT_EQ(r.out, Completed("a.c", "-------> External File a.$$$ not found !\n"));
  std::string expected;
  for (int i = 0; i < 20000; ++i) expected += "line " + std::to_string(i) + "\r\n";
  EXPECT_TRUE(dir_.Read("a.c") == expected + "last\r\n");
  EXPECT_FALSE(TempLeft());
}

TEST_F(ExternE2E, SecondRunIncludesNothingMore) {
  dir_.Write("lic.txt", "licence line\n");
  dir_.Write("a.c", "top\n$EXTERN_FILE$ lic.txt\nend\n");

  ASSERT_EQ(Stamp("a.c").out, Completed("a.c", ""));
  const std::string once = dir_.Read("a.c");
  ASSERT_EQ(once, "top\r\nlicence line\r\nend\r\n");
  dir_.Write("lic.txt", "changed licence\n");

  EXPECT_EQ(Stamp("a.c").out, Completed("a.c", ""));
  EXPECT_EQ(dir_.Read("a.c"), once);
}

// In-process runs: failures that root would never meet on the real file system.
class ExternFaults : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_.Write("d.cfg", kDescription);
    dir_.Write("lic.txt", "first included $PROJECT_NAME$\nsecond included\n");
    source_ = "top\n$EXTERN_FILE$ " + dir_.Path("lic.txt") + "\nend\n";
    dir_.Write("a.c", source_);
  }

  void Run() { RunInProcess({"-c", dir_.Path("d.cfg"), "-f", dir_.Path("a.c")}); }

  // The output of a run that ended with the frame's error report.
  static void ExpectReport(const std::string& out, const std::string& message) {
    const std::string head = BannerText() + "Processing a.c\n" + "exception at ";
    ASSERT_EQ(out.substr(0, head.size()), head) << out;
    std::string rest = out.substr(head.size());
    ASSERT_EQ(rest.size(), 8 + 2 + message.size() + 1) << out;
    for (size_t i = 0; i < 8; ++i) {
      EXPECT_NE(std::string("0123456789ABCDEF").find(rest[i]), std::string::npos) << out;
    }
    EXPECT_EQ(rest.substr(8), ":\n" + message + "\n");
  }

  TempDir dir_;
  std::string source_;
};

TEST_F(ExternFaults, IncludeThatCannotBeOpenedIsReportedAndCompletionGoesOn) {
  FakePlatform fake;
  fake.AddFault({Op::kOpenRead, "lic.txt", EACCES});

  Run();

  EXPECT_EQ(fake.out(), BannerText() + "Processing a.c\n" +
                            "-------> Error opening external file \"" + dir_.Path("lic.txt") +
                            "\" !\n" + JobComplete());
  EXPECT_EQ(dir_.Read("a.c"), "top\r\nend\r\n");
  EXPECT_FALSE(dir_.Exists("a.$$$"));
}

TEST_F(ExternFaults, ReadErrorInsideIncludeEndsTheRunAndKeepsTheSource) {
  FakePlatform fake;
  // The include fails once part of its text has been read.
  fake.AddFault({Op::kRead, "lic.txt", EACCES, 20});

  Run();

  ExpectReport(fake.out(), "Access denied.");
  EXPECT_EQ(dir_.Read("a.c"), source_);
  EXPECT_FALSE(dir_.Exists("a.$$$"));
}

TEST_F(ExternFaults, WriteErrorWhileCopyingIncludeEndsTheRunAndKeepsTheSource) {
  FakePlatform fake;
  // "top\r\n" fits, the included lines do not.
  fake.AddFault({Op::kWrite, "a.$$$", ENOSPC, 10});

  Run();

  ExpectReport(fake.out(), "Disk Full.");
  EXPECT_EQ(dir_.Read("a.c"), source_);
  EXPECT_FALSE(dir_.Exists("a.$$$"));
  EXPECT_EQ(dir_.Read("lic.txt"), "first included $PROJECT_NAME$\nsecond included\n");
}

}  // namespace
}  // namespace quillet::testing
