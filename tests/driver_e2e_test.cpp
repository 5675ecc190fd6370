// Whole runs of the quillet binary: banner, help screen, option errors,
// description errors and the end of a plain run, byte for byte.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "run_binary.h"

namespace quillet::testing {
namespace {

using Args = std::vector<std::string>;

const char kValidDesc[] =
    "[Description]\n"
    "Project_name=Demo\n"
    "Project_brief=A demo project\n"
    "Project_version=1.0\n"
    "Author=Jane Doe\n"
    "Language=c\n"
    "[Header]\n"
    "// $PROJECT_NAME$\n";

// Name missing: the loader stops at its first check.
const char kBadDesc[] = "[Description]\nAuthor=a\nLanguage=c\n[Header]\n";

const char kJobComplete[] = "\nJob complete !\n\n";
const char kDescNotFound[] = "ERROR loading Project Description, file not found!\n\n";

std::string Join(const Args& args) {
  std::string s;
  for (const std::string& a : args) s += "[" + a + "]";
  return s;
}

std::string LoaderError(const std::string& retour) {
  return "ERROR loading Project Description file!\n" + retour + "\n\n";
}

std::string OptionError(const std::string& message) {
  return "ERROR in options : " + message + "\n\n" + HelpText();
}

TEST(DriverRun, NoArgumentsShowsHelpWithoutReadingTheDescription) {
  TempDir dir;
  dir.Write("Project_desc.cfg", kBadDesc);
  RunResult r = RunQuillet({}, dir.path());
  EXPECT_EQ(r.exit_code, 0);
  EXPECT_EQ(r.out, BannerText() + HelpText() + "\n");
}

TEST(DriverRun, HelpWinsOverEveryOtherOption) {
  const std::vector<Args> cases = {
      {"-h"},
      {"--help"},
      {"-h", "-f", "missing.c"},
      {"-v", "--help", "-c", "missing.cfg"},
      {"-f", "a.c", "-r", "dir", "-h"},  // the -f/-r conflict is not looked at
  };
  for (const Args& args : cases) {
    TempDir dir;
    dir.Write("Project_desc.cfg", kBadDesc);
    RunResult r = RunQuillet(args, dir.path());
    EXPECT_EQ(r.exit_code, 0) << Join(args);
    EXPECT_EQ(r.out, BannerText() + HelpText() + "\n") << Join(args);
  }
}

struct OptionCase {
  Args args;
  std::string message;
};

TEST(DriverRun, OptionErrorIsFollowedByTheHelpScreenOnly) {
  const std::vector<OptionCase> cases = {
      {{"-h", "-x"}, "Invalid option at position 2: \"x\""},
      {{"-"}, "Invalid option at position 1: \"-\""},
      {{"-H"}, "Invalid option at position 1: \"H\""},
      {{"--Help"}, "Invalid option at position 1: \"Help\""},
      {{"--"}, "Invalid option at position 1: \"\""},
      {{"--verbose=1"}, "Option at position 1 does not allow an argument: verbose"},
      {{"--config", "Project_desc.cfg"}, "Option at position 1 needs an argument : config"},
      {{"-c"}, "Option at position 1 needs an argument : c"},
      {{"-cProject_desc.cfg"}, "Option at position 1 needs an argument : c"},
      {{"-c", "-f", "a.c"}, "Option at position 1 needs an argument : c"},
      {{"-f", "a.c", "-x"}, "Invalid option at position 3: \"x\""},
      {{"-f", "a.c", "-r"}, "Option at position 3 needs an argument : r"},
  };
  for (const OptionCase& c : cases) {
    TempDir dir;
    dir.Write("Project_desc.cfg", kValidDesc);
    dir.Write("a.c", "$ADD_HEADER$\n");
    RunResult r = RunQuillet(c.args, dir.path());
    EXPECT_EQ(r.exit_code, 0) << Join(c.args);
    EXPECT_EQ(r.out, BannerText() + OptionError(c.message)) << Join(c.args);
    EXPECT_EQ(dir.Read("a.c"), "$ADD_HEADER$\n") << Join(c.args);
  }
}

TEST(DriverRun, RunWithoutFileLoadsTheDescriptionAndCompletes) {
  const std::vector<Args> cases = {
      {"plain"},
      {"-v"},
      {"--verbose"},
      {"-c", "Project_desc.cfg"},
      {"--config=Project_desc.cfg", "-v"},
      {"-vf", "a.c"},  // neither -v nor -f: no file is processed
  };
  for (const Args& args : cases) {
    TempDir dir;
    dir.Write("Project_desc.cfg", kValidDesc);
    dir.Write("a.c", "$ADD_HEADER$\n");
    RunResult r = RunQuillet(args, dir.path());
    EXPECT_EQ(r.exit_code, 0) << Join(args);
    EXPECT_EQ(r.out, BannerText() + kJobComplete) << Join(args);
    EXPECT_EQ(dir.Read("a.c"), "$ADD_HEADER$\n") << Join(args);
  }
}

TEST(DriverRun, FileRunHandsTheFileOnAndEndsWithJobComplete) {
  TempDir dir;
  dir.Write("Project_desc.cfg", kValidDesc);
  dir.Write("a.c", "$ADD_HEADER$\nint x;\n");
  RunResult r = RunQuillet({"-f", "a.c"}, dir.path());
  EXPECT_EQ(r.exit_code, 0);
  ASSERT_GE(r.out.size(), BannerText().size() + 17);
  EXPECT_EQ(r.out.substr(0, BannerText().size()), BannerText());
  EXPECT_EQ(r.out.substr(r.out.size() - 17), kJobComplete);
  EXPECT_NE(dir.Read("a.c").find("// Demo"), std::string::npos) << dir.Read("a.c");
}

TEST(DriverRun, MissingDescriptionIsReportedFirst) {
  const std::vector<Args> cases = {
      {"-v"},        {"-f", "missing.c"},  // the missing file is not reported as well
      {"-f", "a.c"}, {"-c", "other.cfg"}, {"-c", "sub"},  // a directory is not a description file
      {"--config="},
  };
  for (const Args& args : cases) {
    TempDir dir;
    dir.MakeDir("sub");
    dir.Write("a.c", "$ADD_HEADER$\n");
    RunResult r = RunQuillet(args, dir.path());
    EXPECT_EQ(r.exit_code, 0) << Join(args);
    EXPECT_EQ(r.out, BannerText() + kDescNotFound) << Join(args);
    EXPECT_EQ(dir.Read("a.c"), "$ADD_HEADER$\n") << Join(args);
  }
}

struct LoaderCase {
  std::string desc;
  std::string retour;
};

TEST(DriverRun, LoaderFailurePrintsHeadingMessageAndEmptyLine) {
  const std::string items = "Project_name=n\nProject_brief=b\nProject_version=1\nAuthor=a\n";
  const std::vector<LoaderCase> cases = {
      {"", "Error inside Description File for item \"Project_name\""},
      {"[Description]\nProject_name=n\n",
       "Error inside Description File for item \"Project_brief\""},
      {"[Description]\nProject_name=n\nProject_brief=b\n",
       "Error inside Description File for item \"Project_version\""},
      {"[Description]\nProject_name=n\nProject_brief=b\nProject_version=1\n",
       "Error inside Description File for item \"Author\""},
      {"[Description]\n" + items + "[Header]\n",
       "Error inside Description File , item \"Language\" is missing!"},
      {"[Description]\n" + items + "Language=cpp\n[Header]\n",
       "Error inside Description File for item \"Language\": cpp isn't valid."},
      {"[Description]\n" + items + "Language=\n[Header]\n",
       "Error inside Description File for item \"Language\":  isn't valid."},
      {"[Description]\n" + items + "Language=c\n [Header]\n",
       "Error inside Description File, missing \"[Header]\" section !"},
  };
  for (const LoaderCase& c : cases) {
    TempDir dir;
    dir.Write("Project_desc.cfg", c.desc);
    dir.Write("a.c", "$ADD_HEADER$\n");
    // The file of -f is missing too, but the loader's failure comes first.
    for (const Args& args : {Args{"-v"}, Args{"-f", "missing.c"}, Args{"-f", "a.c"}}) {
      RunResult r = RunQuillet(args, dir.path());
      EXPECT_EQ(r.exit_code, 0) << c.retour;
      EXPECT_EQ(r.out, BannerText() + LoaderError(c.retour)) << Join(args) << " " << c.retour;
    }
    EXPECT_EQ(dir.Read("a.c"), "$ADD_HEADER$\n") << c.retour;
  }
}

TEST(DriverRun, FileOfDashFThatIsNoFile) {
  struct FileCase {
    Args args;
    std::string path;
  };
  const std::vector<FileCase> cases = {
      {{"-f", "missing.c"}, "missing.c"},
      {{"--file=missing.c"}, "missing.c"},
      {{"--file="}, ""},
      {{"-f", "sub"}, "sub"},
      {{"-v", "-f", "sub/"}, "sub/"},
  };
  for (const FileCase& c : cases) {
    TempDir dir;
    dir.Write("Project_desc.cfg", kValidDesc);
    dir.MakeDir("sub");
    RunResult r = RunQuillet(c.args, dir.path());
    EXPECT_EQ(r.exit_code, 0) << Join(c.args);
    EXPECT_EQ(r.out, BannerText() + "ERROR with file " + c.path + " , file not found!\n\n")
        << Join(c.args);
  }
}

TEST(DriverRun, ShortConfigWinsOverLongAndTheLastOfAFormWins) {
  struct ConfigCase {
    Args args;
    bool loads_good;
  };
  const std::vector<ConfigCase> cases = {
      {{"-c", "good.cfg", "--config=bad.cfg"}, true},
      {{"--config=bad.cfg", "-c", "good.cfg"}, true},
      {{"-c", "bad.cfg", "--config=good.cfg"}, false},
      {{"-c", "bad.cfg", "-c", "good.cfg"}, true},
      {{"--config=good.cfg", "--config=bad.cfg"}, false},
      {{"--config=bad.cfg", "--config=good.cfg"}, true},
  };
  for (const ConfigCase& c : cases) {
    TempDir dir;
    dir.Write("good.cfg", kValidDesc);
    dir.Write("bad.cfg", kBadDesc);
    // The default file must not be used once a path is given.
    dir.Write("Project_desc.cfg", kBadDesc);
    RunResult r = RunQuillet(c.args, dir.path());
    EXPECT_EQ(r.exit_code, 0) << Join(c.args);
    const std::string expected =
        c.loads_good ? std::string(kJobComplete)
                     : LoaderError("Error inside Description File for item \"Project_name\"");
    EXPECT_EQ(r.out, BannerText() + expected) << Join(c.args);
  }
}

}  // namespace
}  // namespace quillet::testing
