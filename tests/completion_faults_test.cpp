// Failed file and console operations while a file is stamped: the run ends
// with the error report, the source is as it was, no temporary file is left
// and the files after it are not touched.
#include <gtest/gtest.h>

#include <cctype>
#include <cerrno>
#include <string>
#include <vector>

#include "fake_platform.h"
#include "run_binary.h"

namespace quillet::testing {
namespace {

const char kDescription[] =
    "[Description]\n"
    "Project_name=Quillet\n"
    "Project_brief=Stamps headers\n"
    "Project_version=1.5\n"
    "Author=Ann\n"
    "Language=c\n"
    "[Header]\n"
    "/* $PROJECT_NAME$ by $AUTHOR$ */\n";

// Large enough that reading and writing take several buffers, so that a
// fault after some bytes falls in the middle of the file.
std::string LargeSource() {
  std::string text = "$ADD_HEADER$\n";
  for (int i = 0; i < 5000; ++i) text += "int v" + std::to_string(i) + "; // $AUTHOR$ was here\n";
  return text;
}

// The tree of the run: src/a.c, processed first, and src/b.c after it.
struct Tree {
  TempDir dir;
  std::string a = LargeSource();
  std::string b = "b $AUTHOR$\n";
  Tree() {
    dir.Write("Project_desc.cfg", kDescription);
    dir.Write("src/a.c", a);
    dir.Write("src/b.c", b);
  }
  std::vector<std::string> Args(bool verbose) const {
    std::vector<std::string> args = {"-c", dir.Path("Project_desc.cfg"), "-r", dir.Path("src")};
    if (verbose) args.push_back("-v");
    return args;
  }
  // What the run prints up to and including the "Processing" line of a.c.
  std::string OutputBeforeA(bool verbose) const {
    std::string out = BannerText() + "Recursive search for C files (*.c;*.h) inside " +
                      dir.Path("src") + " in progress ...\n";
    if (verbose)
      out += "Found : " + dir.Path("src/a.c") + "\nFound : " + dir.Path("src/b.c") + "\n";
    return out + "Search finished, found :2 file(s)\n\nProcessing a.c\n";
  }
};

TEST(CompletionFaults, RunWithoutFaultStampsBothFiles) {
  Tree tree;
  FakePlatform fake;
  RunInProcess(tree.Args(false));
  EXPECT_EQ(fake.out(), tree.OutputBeforeA(false) + "Processing b.c\n\nJob complete !\n\n");
  EXPECT_EQ(tree.dir.Read("src/b.c"), "b Ann\r\n");
  std::string stamped = "/* Quillet by Ann */\r\n";
  for (int i = 0; i < 5000; ++i) stamped += "int v" + std::to_string(i) + "; // Ann was here\r\n";
  EXPECT_EQ(tree.dir.Read("src/a.c"), stamped);
  EXPECT_EQ(tree.dir.List("src"), (std::vector<std::string>{"a.c", "b.c"}));
}

TEST(CompletionFaults, EachFailureEndsTheRunAndLeavesTheFilesAsTheyWere) {
  struct Row {
    const char* name;
    Fault fault;
    std::string message;  // "" when the report itself cannot reach the console
    bool verbose = false;
  };
  const std::vector<Row> rows = {
      {"open of the source refused", {Op::kOpenRead, "/a.c", EACCES}, "Access denied."},
      {"too many files open", {Op::kOpenRead, "/a.c", EMFILE}, "Too many open files."},
      {"create of the temporary file, disk full", {Op::kCreate, "/a.$$$", ENOSPC}, "Disk Full."},
      {"read in the middle of the source",
       {Op::kRead, "/a.c", EIO, 70000},
       "Unknown Run-Time error : 005."},
      {"write in the middle, disk full", {Op::kWrite, "/a.$$$", ENOSPC, 100000}, "Disk Full."},
      {"write in the middle, I/O error",
       {Op::kWrite, "/a.$$$", EIO, 100000},
       "Unknown Run-Time error : 005."},
      {"write in the middle, file too large",
       {Op::kWrite, "/a.$$$", EFBIG, 100000},
       "Unknown Run-Time error : 027."},
      {"close of the output", {Op::kClose, "/a.$$$", EIO}, "Unknown Run-Time error : 005."},
      {"close of the output, disk full", {Op::kClose, "/a.$$$", ENOSPC}, "Disk Full."},
      {"rename over the source", {Op::kRename, "/a.c", EACCES}, "Access denied."},
      {"rename across devices", {Op::kRename, "/a.c", EXDEV}, "Unknown Run-Time error : 018."},
      // The console fails after the "Processing" line, while the output is
      // being written: the report has no working console left to go to.
      {"console write while the file is written", {Op::kStdout, "", EIO}, "", true},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    Tree tree;
    FakePlatform fake;
    Fault fault = row.fault;
    std::string before = tree.OutputBeforeA(row.verbose);
    if (fault.op == Op::kStdout) fault.after_bytes = before.size();
    fake.AddFault(fault);

    RunInProcess(tree.Args(row.verbose));

    const std::string& out = fake.out();
    ASSERT_GE(out.size(), before.size()) << out;
    EXPECT_EQ(out.substr(0, before.size()), before);
    std::string after = out.substr(before.size());
    if (row.message.empty()) {
      EXPECT_EQ(after, "");
    } else {
      EXPECT_TRUE(IsReport(after, row.message)) << "after the Processing line: " << after;
    }
    EXPECT_EQ(out.find("Job complete !"), std::string::npos);
    EXPECT_EQ(tree.dir.Read("src/a.c"), tree.a);
    EXPECT_EQ(tree.dir.Read("src/b.c"), tree.b);
    EXPECT_EQ(tree.dir.List("src"), (std::vector<std::string>{"a.c", "b.c"}));
  }
}

}  // namespace
}  // namespace quillet::testing
