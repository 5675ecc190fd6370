// End-to-end tests of "-r": the mode checks, the search of a tree for the
// project language's files and the stamping of every file found.
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "fake_platform.h"
#include "run_binary.h"

namespace quillet::testing {
namespace {

// Every searched file holds this line, so a stamped file names the path it was listed under.
const char kPathFlag[] = "$FILE_NAME_EXT$\n";

std::string Description(const std::string& language) {
  return "[Description]\n"
         "Project_name = Demo\n"
         "Project_brief = A demo\n"
         "Project_version = 1.2\n"
         "Author = Ada\n"
         "Language = " +
         language +
         "\n"
         "[Header]\n"
         "/* $FILE_NAME$ */\n";
}

std::string NamePart(const std::string& path) {
  size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Stdout of a recursive run that went through: the search lines, then one
// "Processing" line per file in list order.
std::string SearchRun(const std::string& description, const std::string& dir,
                      const std::vector<std::string>& found, bool verbose) {
  std::string out = BannerText() + "Recursive search for " + description + " inside " + dir +
                    " in progress ...\n";
  if (verbose) {
    for (const std::string& path : found) out += "Found : " + path + "\n";
  }
  out += "Search finished, found :" + std::to_string(found.size()) + " file(s)\n\n";
  for (const std::string& path : found) {
    out += "Processing " + NamePart(path) + "\n";
    if (verbose) out += "-------> 1 Flag(s) found !\n";
  }
  return out + "\nJob complete !\n\n";
}

class RecursiveE2E : public ::testing::Test {
 protected:
  void UseLanguage(const std::string& language) { dir_.Write("d.cfg", Description(language)); }
  void SetUp() override { UseLanguage("c"); }

  RunResult Search(const std::string& tree, bool verbose = false, const std::string& cwd = "") {
    std::vector<std::string> args = {"-c", dir_.Path("d.cfg"), "-r", tree};
    if (verbose) args.push_back("-v");
    return RunQuillet(args, cwd.empty() ? dir_.path() : dir_.Path(cwd));
  }

  // Source files for the search, each holding the path flag.
  void Sources(const std::vector<std::string>& paths) {
    for (const std::string& p : paths) dir_.Write(p, kPathFlag);
  }

  void ExpectStamped(const std::string& relative, const std::string& listed_as) {
    EXPECT_EQ(dir_.Read(relative), listed_as + "\r\n") << relative;
  }
  void ExpectUntouched(const std::string& relative) {
    EXPECT_EQ(dir_.Read(relative), kPathFlag) << relative;
  }

  std::vector<std::string> TempFilesLeft() const {
    std::vector<std::string> left;
    for (const auto& e : std::filesystem::recursive_directory_iterator(dir_.path())) {
      std::string name = e.path().filename().string();
      if (name.size() >= 4 && name.compare(name.size() - 4, 4, ".$$$") == 0) {
        left.push_back(e.path().string());
      }
    }
    return left;
  }

  TempDir dir_;
};

TEST_F(RecursiveE2E, FileAndRecursiveTogetherAreRefusedEitherWay) {
  Sources({"a.c", "b/main.c"});
  const std::vector<std::vector<std::string>> cases = {
      {"-f", "a.c", "-r", "b"},
      {"-r", "b", "-f", "a.c"},
      {"--file=a.c", "--recursive=b"},
      {"-v", "--recursive=b", "-f", "a.c"},
  };
  for (const auto& args : cases) {
    for (bool with_description : {true, false}) {
      std::vector<std::string> run = args;
      // Without a description the refusal still comes first: nothing is loaded.
      if (with_description) run.insert(run.end(), {"-c", dir_.Path("d.cfg")});
      RunResult r = RunQuillet(run, dir_.path());
      EXPECT_EQ(r.out,
                BannerText() + "ERROR in options : \"f\" and \"r\" can't be used together \n\n")
          << ::testing::PrintToString(run);
      EXPECT_EQ(r.exit_code, 0);
    }
  }
  ExpectUntouched("a.c");
  ExpectUntouched("b/main.c");
}

TEST_F(RecursiveE2E, DirectoryThatIsMissingOrAFileIsRefused) {
  Sources({"main.c", "src/main.c"});
  ASSERT_EQ(mkfifo(dir_.Path("pipe").c_str(), 0644), 0);
  ASSERT_EQ(symlink("main.c", dir_.Path("filelink").c_str()), 0);
  struct Case {
    std::vector<std::string> args;
    std::string shown;
  };
  const std::vector<Case> cases = {
      {{"-r", "missing"}, "missing"}, {{"-r", "src/missing/"}, "src/missing/"},
      {{"-r", "main.c"}, "main.c"},   {{"-r", "src/main.c"}, "src/main.c"},
      {{"-r", "pipe"}, "pipe"},       {{"-r", "filelink"}, "filelink"},
      {{"--recursive="}, ""},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args = c.args;
    args.insert(args.end(), {"-c", dir_.Path("d.cfg")});
    RunResult r = RunQuillet(args, dir_.path());
    EXPECT_EQ(r.out,
              BannerText() + "ERROR with directory " + c.shown + " , directory not found!\n\n")
        << c.shown;
  }
  ExpectUntouched("main.c");
  ExpectUntouched("src/main.c");
}

class CProjectTree : public RecursiveE2E, public ::testing::WithParamInterface<bool> {};

TEST_P(CProjectTree, ListedCaseSensitiveDepthFirstAndStamped) {
  const bool verbose = GetParam();
  Sources({"src/main.c", "src/Main.C", "src/README", "src/inc/defs.h", "src/old.c/keep.h", "src/.c",
           "src/a.b.c", "src/x.cpp", "src/main.h.bak"});

  RunResult r = Search("src", verbose);

  // Entries come in byte order of their names; a directory is searched where it stands.
  const std::vector<std::string> found = {"src/.c", "src/a.b.c", "src/inc/defs.h", "src/main.c",
                                          "src/old.c/keep.h"};
  EXPECT_EQ(r.out, SearchRun("C files (*.c;*.h)", "src", found, verbose));
  for (const std::string& path : found) ExpectStamped(path, path);
  ExpectUntouched("src/Main.C");
  ExpectUntouched("src/README");
  ExpectUntouched("src/x.cpp");
  ExpectUntouched("src/main.h.bak");
  EXPECT_TRUE(std::filesystem::is_directory(dir_.Path("src/old.c")));
  EXPECT_EQ(TempFilesLeft(), std::vector<std::string>{});
}

INSTANTIATE_TEST_SUITE_P(Output, CProjectTree, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Verbose" : "Quiet"; });

TEST_F(RecursiveE2E, DepthFirstInByteOrderOfNames) {
  // Byte order puts "Z.c" before "a" and the byte 0xE9 after "z"; the
  // subdirectory "a" is searched before its sibling "a.c".
  Sources({"t/Z.c", "t/a/z.c", "t/a/b/y.h", "t/a.c", "t/b.c", "t/z.c", "t/\xE9.c"});

  RunResult r = Search("t", /*verbose=*/true);

  const std::vector<std::string> found = {"t/Z.c", "t/a/b/y.h", "t/a/z.c", "t/a.c",
                                          "t/b.c", "t/z.c",     "t/\xE9.c"};
  EXPECT_EQ(r.out, SearchRun("C files (*.c;*.h)", "t", found, true));
  for (const std::string& path : found) ExpectStamped(path, path);
}

struct LanguageCase {
  const char* language;
  const char* description;
  std::vector<std::string> files;  // below s/
  std::vector<std::string> found;  // in list order
};

TEST_F(RecursiveE2E, EachLanguageListsOnlyItsMasks) {
  const std::vector<LanguageCase> cases = {
      {"arduino",
       "Arduino files (*.ino;*.cpp;*.h)",
       {"x.c", "x.cpp", "x.h", "x.ino", "x.INO"},
       {"x.cpp", "x.h", "x.ino"}},
      {"c", "C files (*.c;*.h)", {"x.c", "x.cpp", "x.h", "x.ino", "x.hh"}, {"x.c", "x.h"}},
      {"pascal",
       "Pascal files (*.pas;*.inc;*.lpr)",
       {"a.pas", "b.inc", "c.lpr", "d.pp", "e.PAS"},
       {"a.pas", "b.inc", "c.lpr"}},
      {"basic", "Basic files (*.bas)", {"a.bas", "a.bat", "bas"}, {"a.bas"}},
      {"batch", "Batch files (*.bat)", {"a.bas", "a.bat", "a.cmd"}, {"a.bat"}},
      {"shell", "Shell files (*.sh)", {"a.sh", "a.bash", "sh", "b.sh.x"}, {"a.sh"}},
  };
  for (const LanguageCase& c : cases) {
    SCOPED_TRACE(c.language);
    TempDir tree;
    tree.Write("d.cfg", Description(c.language));
    for (const std::string& f : c.files) tree.Write("s/" + f, kPathFlag);

    RunResult r = RunQuillet({"-v", "-c", "d.cfg", "-r", "s"}, tree.path());

    std::vector<std::string> found;
    for (const std::string& f : c.found) found.push_back("s/" + f);
    EXPECT_EQ(r.out, SearchRun(c.description, "s", found, true));
    for (const std::string& f : c.files) {
      bool listed = std::find(c.found.begin(), c.found.end(), f) != c.found.end();
      EXPECT_EQ(tree.Read("s/" + f), listed ? "s/" + f + "\r\n" : std::string(kPathFlag)) << f;
    }
  }
}

TEST_F(RecursiveE2E, DirectoryIsKeptAsGivenAndJoinedWithSlash) {
  Sources({"src/main.c", "src/inc/defs.h"});
  struct Case {
    std::string cwd;
    std::string arg;
    std::string prefix;  // how the listed paths begin
  };
  const std::vector<Case> cases = {
      {"", "src", "src/"},      {"", "src/", "src/"},
      {"", "src//", "src//"},   {"", "./src", "./src/"},
      {"src", ".", "./"},       {"src", "./", "./"},
      {"src/inc", "..", "../"}, {"", dir_.Path("src"), dir_.Path("src") + "/"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.arg);
    Sources({"src/main.c", "src/inc/defs.h"});

    RunResult r = Search(c.arg, /*verbose=*/true, c.cwd);

    std::vector<std::string> found = {c.prefix + "inc/defs.h", c.prefix + "main.c"};
    EXPECT_EQ(r.out, SearchRun("C files (*.c;*.h)", c.arg, found, true));
    ExpectStamped("src/inc/defs.h", found[0]);
    ExpectStamped("src/main.c", found[1]);
  }
}

TEST_F(RecursiveE2E, NothingToListGivesCountZero) {
  struct Case {
    const char* name;
    std::vector<std::string> files;
    std::vector<std::string> dirs;
  };
  const std::vector<Case> cases = {
      {"empty directory", {}, {"e"}},
      {"empty subdirectories", {}, {"e/x/y", "e/z.c"}},
      {"no matching file", {"e/README", "e/main.C", "e/x.cpp", "e/h"}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir tree;
    tree.Write("d.cfg", Description("c"));
    for (const std::string& d : c.dirs) tree.MakeDir(d);
    for (const std::string& f : c.files) tree.Write(f, kPathFlag);

    for (bool verbose : {false, true}) {
      std::vector<std::string> args = {"-c", "d.cfg", "-r", "e"};
      if (verbose) args.push_back("-v");
      RunResult r = RunQuillet(args, tree.path());
      EXPECT_EQ(r.out, BannerText() +
                           "Recursive search for C files (*.c;*.h) inside e in progress ...\n"
                           "Search finished, found :0 file(s)\n\n\nJob complete !\n\n");
    }
    for (const std::string& f : c.files) EXPECT_EQ(tree.Read(f), kPathFlag) << f;
  }
}

TEST_F(RecursiveE2E, LinksLeadingBackIntoTheTreeDoNotLoop) {
  Sources({"outside.c", "src/main.c", "src/inc/defs.h"});
  ASSERT_EQ(symlink("..", dir_.Path("src/up").c_str()), 0);
  ASSERT_EQ(symlink(".", dir_.Path("src/self").c_str()), 0);
  ASSERT_EQ(symlink("../..", dir_.Path("src/inc/back").c_str()), 0);

  RunResult r = Search("src", /*verbose=*/true);

  EXPECT_EQ(r.term_signal, 0);
  const std::vector<std::string> found = {"src/inc/defs.h", "src/main.c"};
  EXPECT_EQ(r.out, SearchRun("C files (*.c;*.h)", "src", found, true));
  for (const std::string& path : found) ExpectStamped(path, path);
  ExpectUntouched("outside.c");
}

TEST_F(RecursiveE2E, LinkedFilesAreNotListed) {
  Sources({"outside.c", "src/main.c"});
  ASSERT_EQ(symlink("../outside.c", dir_.Path("src/link.c").c_str()), 0);
  ASSERT_EQ(symlink("main.c", dir_.Path("src/alias.c").c_str()), 0);
  ASSERT_EQ(symlink("gone.c", dir_.Path("src/dangling.c").c_str()), 0);

  RunResult r = Search("src", /*verbose=*/true);

  EXPECT_EQ(r.out, SearchRun("C files (*.c;*.h)", "src", {"src/main.c"}, true));
  ExpectStamped("src/main.c", "src/main.c");
  ExpectUntouched("outside.c");
  EXPECT_TRUE(std::filesystem::is_symlink(dir_.Path("src/link.c")));
  EXPECT_TRUE(std::filesystem::is_symlink(dir_.Path("src/alias.c")));
}

TEST_F(RecursiveE2E, FifoIsNotListed) {
  Sources({"src/main.c"});
  ASSERT_EQ(mkfifo(dir_.Path("src/pipe.c").c_str(), 0644), 0);
  pid_t feeder = FeedFifo(dir_.Path("src/pipe.c"), kPathFlag);

  RunResult r = Search("src", /*verbose=*/true);
  StopFeeder(feeder);

  EXPECT_EQ(r.out, SearchRun("C files (*.c;*.h)", "src", {"src/main.c"}, true));
  ExpectStamped("src/main.c", "src/main.c");
  EXPECT_TRUE(std::filesystem::is_fifo(dir_.Path("src/pipe.c")));
}

TEST_F(RecursiveE2E, DirectoryThatCannotBeListedIsPassedOverSilently) {
  Sources({"src/a.c", "src/inc/defs.h", "src/inc/deep/x.c", "src/z.c"});
  FakePlatform fake;
  fake.AddFault({Op::kListDir, "/inc/", EACCES});

  RunInProcess({"-v", "-c", dir_.Path("d.cfg"), "-r", dir_.Path("src")});

  const std::string src = dir_.Path("src");
  const std::vector<std::string> found = {src + "/a.c", src + "/z.c"};
  EXPECT_EQ(fake.out(), SearchRun("C files (*.c;*.h)", src, found, true));
  ExpectStamped("src/a.c", found[0]);
  ExpectStamped("src/z.c", found[1]);
  ExpectUntouched("src/inc/defs.h");
  ExpectUntouched("src/inc/deep/x.c");
}

}  // namespace
}  // namespace quillet::testing
