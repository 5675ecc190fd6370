// Stamping files with the built binary: the rewritten bytes, the console
// lines, and the files that must be protected (name clashes, scripts, links,
// read-only sources).
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <string>
#include <vector>

#include "run_binary.h"

namespace quillet::testing {
namespace {
namespace fs = std::filesystem;

struct Description {
  std::string author = "Ann";
  std::string licence = "MIT";
  std::string header = "";  // the template lines, each ended by its line end
};

std::string DescriptionText(const Description& d) {
  return "[Description]\r\n"
         "Project_name=Quillet\r\n"
         "Project_brief=Stamps headers\r\n"
         "Project_version=1.5\r\n"
         "Author=" +
         d.author +
         "\r\n"
         "User_1=first\r\n"
         "Licence=" +
         d.licence +
         "\r\n"
         "Language=c\r\n"
         "[Header]\r\n" +
         d.header;
}

std::string Stamped(const std::string& per_file) {
  return BannerText() + per_file + "\nJob complete !\n\n";
}

// Every name below `dir` that ends in ".$$$".
std::vector<std::string> TempLeftovers(const std::string& dir) {
  std::vector<std::string> found;
  for (const auto& entry : fs::recursive_directory_iterator(dir)) {
    std::string name = entry.path().filename().string();
    if (name.size() >= 4 && name.compare(name.size() - 4, 4, ".$$$") == 0) {
      found.push_back(fs::relative(entry.path(), dir).string());
    }
  }
  return found;
}

// "exception at " + 8 upper-case hex digits + ":" LF + message + LF.
mode_t ModeOf(const std::string& path) {
  struct stat info {};
  EXPECT_EQ(stat(path.c_str(), &info), 0) << path;
  return info.st_mode & 07777;
}

struct StampCase {
  const char* name;
  Description description;
  std::string source;
  bool verbose;
  std::string expected_file;
  std::string expected_console;  // between the banner and the closing lines
};

TEST(CompletionEndToEnd, StampsFilesByteForByte) {
  Description plain;
  Description header;
  header.header =
      "/* $PROJECT_NAME$ $PROJECT_VER$ by $AUTHOR$\r\n"
      " * $FILE_NAME$ in $FILE_NAME_EXT$: $PROJECT_BRIEF$, $USER_1$\r\n"
      " */\r\n";
  Description empty_template;
  Description markers_in_template;
  markers_in_template.header = "$ADD_HEADER$ and $EXTERN_FILE$ stay for $AUTHOR$\n";
  Description licence;
  licence.licence = "Ignored|Line one%Line two";
  licence.header = "// $LICENCE$ end\n";
  Description licence_bars;
  licence_bars.licence = "A|B|C%100%";
  Description two_lines_template;
  two_lines_template.header = "// $PROJECT_NAME$ ($AUTHOR$)\n//\n// $FILE_NAME$\n";
  Description author_with_project;
  author_with_project.author = "$PROJECT_NAME$ team";

  const std::string processing = "Processing main.c\n";
  const std::vector<StampCase> cases = {
      {"header marker with text around it", header,
       "#include <x.h>\n// before $ADD_HEADER$ after\nint main;\n", false,
       "#include <x.h>\r\n"
       "/* Quillet 1.5 by Ann\r\n"
       " * main.c in src/main.c: Stamps headers, first\r\n"
       " */\r\n"
       "int main;\r\n",
       processing},
      {"two markers each get the whole template", header, "$ADD_HEADER$\nmid\n  $ADD_HEADER$",
       false,
       "/* Quillet 1.5 by Ann\r\n * main.c in src/main.c: Stamps headers, first\r\n */\r\n"
       "mid\r\n"
       "/* Quillet 1.5 by Ann\r\n * main.c in src/main.c: Stamps headers, first\r\n */\r\n",
       processing},
      {"empty template makes the marker line vanish", empty_template, "a\n// $ADD_HEADER$ //\nb\n",
       false, "a\r\nb\r\n", processing},
      {"a line with both markers is a header line", header, "$EXTERN_FILE$ $ADD_HEADER$\n", false,
       "/* Quillet 1.5 by Ann\r\n * main.c in src/main.c: Stamps headers, first\r\n */\r\n",
       processing},
      {"template lines are not searched for markers", markers_in_template, "$ADD_HEADER$\n", false,
       "$ADD_HEADER$ and $EXTERN_FILE$ stay for Ann\r\n", processing},
      {"flags in ordinary lines", plain, "// $AUTHOR$, $PROJECT_NAME$\n$author$\n", false,
       "// Ann, Quillet\r\n$author$\r\n", processing},
      {"LF becomes CR LF, last line gets an end", plain, "a\nb\nc", false, "a\r\nb\r\nc\r\n",
       processing},
      {"lone CR splits a line, CR CR LF gives an empty line", plain, "a\rb\r\r\nc\n\rd", false,
       "a\r\nb\r\n\r\nc\r\n\r\nd\r\n", processing},
      {"empty file stays empty", plain, "", false, "", processing},
      {"only CR LF stays so", plain, "\r\n", false, "\r\n", processing},
      {"NUL and byte 26 are kept", plain,
       std::string("a\0b\x1a"
                   "c\n\x1a",
                   7),
       false,
       std::string("a\0b\x1a"
                   "c\r\n\x1a\r\n",
                   10),
       processing},
      {"licence split into lines", licence, "$ADD_HEADER$\n", false,
       "// Line one\r\nLine two end\r\n", processing},
      {"licence keeps later bars", licence_bars, "[$LICENCE$]", false, "[B|C\r\n100\r\n]\r\n",
       processing},
      {"value holding another flag", author_with_project, "$AUTHOR$\n", false, "Quillet team\r\n",
       processing},
      {"verbose header and count lines", two_lines_template,
       "$ADD_HEADER$\nint x; // $AUTHOR$ $AUTHOR$\nplain\n", true,
       "// Quillet (Ann)\r\n//\r\n// main.c\r\nint x; // Ann Ann\r\nplain\r\n",
       processing + "-------> Header Flag found !\n"
                    "-------> 2 Flag(s) found !\n"
                    "-------> 1 Flag(s) found !\n"
                    "-------> 2 Flag(s) found !\n"},
  };
  for (const StampCase& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    dir.Write("Project_desc.cfg", DescriptionText(c.description));
    dir.Write("src/main.c", c.source);
    std::vector<std::string> args = {"-f", "src/main.c"};
    if (c.verbose) args.push_back("-v");
    RunResult r = RunQuillet(args, dir.path());
    EXPECT_EQ(r.exit_code, 0);
    EXPECT_EQ(r.out, Stamped(c.expected_console));
    EXPECT_EQ(dir.Read("src/main.c"), c.expected_file);
    EXPECT_EQ(TempLeftovers(dir.path()), std::vector<std::string>{});
  }
}

TEST(CompletionEndToEnd, ExplicitDescriptionPathAndLongOptions) {
  TempDir dir;
  Description d;
  d.header = "// $FILE_NAME$\n";
  dir.Write("cfg/my.cfg", DescriptionText(d));
  dir.Write("main.c", "$ADD_HEADER$\n");
  RunResult r = RunQuillet({"-c", "cfg/my.cfg", "--file=main.c", "--verbose"}, dir.path());
  EXPECT_EQ(r.out, Stamped("Processing main.c\n-------> Header Flag found !\n"
                           "-------> 1 Flag(s) found !\n"));
  EXPECT_EQ(dir.Read("main.c"), "// main.c\r\n");
}

TEST(CompletionEndToEnd, ValueThatBringsBackItsFlagEnds) {
  TempDir dir;
  Description d;
  d.author = "x$AUTHOR$";
  dir.Write("Project_desc.cfg", DescriptionText(d));
  dir.Write("main.c", "by $AUTHOR$\n");
  RunResult r = RunQuillet({"-f", "main.c"}, dir.path());
  EXPECT_EQ(r.out, Stamped("Processing main.c\n"));
  std::string stamped = dir.Read("main.c");
  EXPECT_EQ(stamped.rfind("by x", 0), 0u);
  EXPECT_LT(stamped.size(), 200u);
}

// A file that already has the temporary name is never overwritten, and the
// source is left as it was.
TEST(CompletionEndToEnd, TemporaryNameClashLeavesBothFilesAsTheyWere) {
  struct Case {
    const char* name;
    std::vector<std::pair<std::string, std::string>> files;
    std::string source;
  };
  const std::vector<Case> cases = {
      {"temporary name beside the source",
       {{"main.c", "// $AUTHOR$\n"}, {"main.$$$", "precious\nbytes\n"}},
       "main.c"},
      {"source that is its own temporary name", {{"x.$$$", "// $AUTHOR$\n"}}, "x.$$$"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    dir.Write("Project_desc.cfg", DescriptionText({}));
    for (const auto& [name, bytes] : c.files) dir.Write(name, bytes);
    RunResult r = RunQuillet({"-f", c.source}, dir.path());
    EXPECT_EQ(r.exit_code, 0);
    std::string head = BannerText() + "Processing " + c.source + "\n";
    ASSERT_EQ(r.out.substr(0, head.size()), head);
    EXPECT_TRUE(IsReport(r.out.substr(head.size()), "Access denied.")) << r.out;
    EXPECT_EQ(r.out.find("Job complete !"), std::string::npos);
    for (const auto& [name, bytes] : c.files) EXPECT_EQ(dir.Read(name), bytes) << name;
    std::vector<std::string> names = {"Project_desc.cfg"};
    for (const auto& file : c.files) names.push_back(file.first);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(dir.List(), names);
  }
}

TEST(CompletionEndToEnd, ExecutableScriptKeepsItsMode) {
  TempDir dir;
  dir.Write("Project_desc.cfg", DescriptionText({}));
  dir.Write("run.sh", "#!/bin/sh\n# $AUTHOR$\necho hi\n");
  ASSERT_EQ(chmod(dir.Path("run.sh").c_str(), 0755), 0);
  RunResult r = RunQuillet({"-f", "run.sh"}, dir.path());
  EXPECT_EQ(r.out, Stamped("Processing run.sh\n"));
  EXPECT_EQ(dir.Read("run.sh"), "#!/bin/sh\r\n# Ann\r\necho hi\r\n");
  EXPECT_EQ(ModeOf(dir.Path("run.sh")), 0755u);
  EXPECT_EQ(TempLeftovers(dir.path()), std::vector<std::string>{});
}

// The temporary file is created with the source's bits where the umask lets
// it, and set again where the umask narrows them or a set-id bit is on.
TEST(CompletionEndToEnd, ModeBitsAreKeptWhateverTheUmask) {
  struct Case {
    mode_t mode;
    mode_t umask;
  };
  const std::vector<Case> cases = {{0640, 022},  {0666, 022},  {0755, 077},
                                   {04755, 022}, {02750, 027}, {01777, 022}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.mode) + " under umask " + std::to_string(c.umask));
    TempDir dir;
    dir.Write("Project_desc.cfg", DescriptionText({}));
    dir.Write("a.c", "x\n");
    ASSERT_EQ(chmod(dir.Path("a.c").c_str(), c.mode), 0);
    mode_t old = umask(c.umask);  // the run inherits it
    RunQuillet({"-f", "a.c"}, dir.path());
    umask(old);
    EXPECT_EQ(dir.Read("a.c"), "x\r\n");
    EXPECT_EQ(ModeOf(dir.Path("a.c")), c.mode);
  }
}

TEST(CompletionEndToEnd, OwnerAndGroupAreKeptForRoot) {
  if (geteuid() != 0) GTEST_SKIP() << "only root can give a file to another owner";
  TempDir dir;
  dir.Write("Project_desc.cfg", DescriptionText({}));
  dir.Write("a.c", "x\n");
  ASSERT_EQ(chown(dir.Path("a.c").c_str(), 1234, 5678), 0);
  RunQuillet({"-f", "a.c"}, dir.path());
  EXPECT_EQ(dir.Read("a.c"), "x\r\n");
  struct stat info {};
  ASSERT_EQ(stat(dir.Path("a.c").c_str(), &info), 0);
  EXPECT_EQ(info.st_uid, 1234u);
  EXPECT_EQ(info.st_gid, 5678u);
}

TEST(CompletionEndToEnd, SymlinkStaysALinkAndItsTargetIsRewritten) {
  TempDir dir;
  Description d;
  d.header = "// $FILE_NAME$ $FILE_NAME_EXT$\n";
  dir.Write("Project_desc.cfg", DescriptionText(d));
  dir.Write("real/target.c", "$ADD_HEADER$\nbody\n");
  dir.MakeDir("src");
  fs::create_symlink("../real/target.c", dir.Path("src/link.c"));
  RunResult r = RunQuillet({"-f", "src/link.c"}, dir.path());
  EXPECT_EQ(r.out, Stamped("Processing link.c\n"));
  EXPECT_TRUE(fs::is_symlink(dir.Path("src/link.c")));
  EXPECT_EQ(fs::read_symlink(dir.Path("src/link.c")), "../real/target.c");
  EXPECT_EQ(dir.Read("real/target.c"), "// link.c src/link.c\r\nbody\r\n");
  EXPECT_EQ(dir.List("src"), std::vector<std::string>{"link.c"});
  EXPECT_EQ(dir.List("real"), std::vector<std::string>{"target.c"});
}

// Decided from the permission bits, so root gets the same answer.
TEST(CompletionEndToEnd, ReadOnlySourceIsLeftUnchanged) {
  TempDir dir;
  dir.Write("Project_desc.cfg", DescriptionText({}));
  const std::string bytes = "// $AUTHOR$\nkeep\n";
  dir.Write("sub/ro.c", bytes);
  ASSERT_EQ(chmod(dir.Path("sub/ro.c").c_str(), 0444), 0);
  RunResult r = RunQuillet({"-f", "sub/ro.c"}, dir.path());
  EXPECT_EQ(r.out,
            Stamped("Processing ro.c\n-------> File sub/ro.c is read-only, left unchanged !\n"));
  EXPECT_EQ(dir.Read("sub/ro.c"), bytes);
  EXPECT_EQ(ModeOf(dir.Path("sub/ro.c")), 0444u);
  EXPECT_EQ(dir.List("sub"), std::vector<std::string>{"ro.c"});
}

// A read-only file among others: the run goes on with the next file.
TEST(CompletionEndToEnd, ReadOnlySourceDoesNotStopTheRecursiveRun) {
  TempDir dir;
  dir.Write("Project_desc.cfg", DescriptionText({}));
  dir.Write("src/a.c", "a $AUTHOR$\n");
  dir.Write("src/b.c", "b $AUTHOR$\n");
  ASSERT_EQ(chmod(dir.Path("src/a.c").c_str(), 0444), 0);
  RunResult r = RunQuillet({"-r", "src"}, dir.path());
  EXPECT_EQ(r.out, Stamped("Recursive search for C files (*.c;*.h) inside src in progress ...\n"
                           "Search finished, found :2 file(s)\n\n"
                           "Processing a.c\n"
                           "-------> File src/a.c is read-only, left unchanged !\n"
                           "Processing b.c\n"));
  EXPECT_EQ(dir.Read("src/a.c"), "a $AUTHOR$\n");
  EXPECT_EQ(dir.Read("src/b.c"), "b Ann\r\n");
  EXPECT_EQ(TempLeftovers(dir.path()), std::vector<std::string>{});
}

TEST(CompletionEndToEnd, PathLongerThan255BytesIsUsedWhole) {
  TempDir dir;
  dir.Write("Project_desc.cfg", DescriptionText({}));
  std::string path;
  for (int i = 0; i < 6; ++i) path += std::string(50, static_cast<char>('a' + i)) + "/";
  path += "main.c";
  ASSERT_GT(path.size(), 255u);
  dir.Write(path, "$AUTHOR$\n");
  RunResult r = RunQuillet({"-f", path}, dir.path());
  EXPECT_EQ(r.out, Stamped("Processing main.c\n"));
  EXPECT_EQ(dir.Read(path), "Ann\r\n");
  EXPECT_EQ(TempLeftovers(dir.path()), std::vector<std::string>{});
}

}  // namespace
}  // namespace quillet::testing
