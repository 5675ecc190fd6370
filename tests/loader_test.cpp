// The project description loader and the language listing.
#include <gtest/gtest.h>

#include <cerrno>
#include <functional>
#include <memory>
#include <regex>
#include <string>
#include <vector>

#include "fake_platform.h"
#include "gest_project.h"
#include "language_mgt.h"
#include "run_binary.h"
#include "run_error.h"

namespace quillet::testing {
namespace {

using Lines = std::vector<std::string>;

const char kItems[] =
    "Project_name=Demo\n"
    "Project_brief=A demo project\n"
    "Project_version=1.0\n"
    "Author=Jane Doe\n"
    "Language=c\n";

// A complete description: the items given, then a one-line template.
std::string Desc(const std::string& items = kItems) {
  return "[Description]\n" + items + "[Header]\n// $PROJECT_NAME$\n";
}

class LoaderTest : public ::testing::Test {
 protected:
  void SetUp() override { PROJECT_DESC_FREE(); }
  void TearDown() override { PROJECT_DESC_FREE(); }

  int32_t Load(const std::string& bytes) {
    dir_.Write("desc.cfg", bytes);
    retour_ = "stale text";
    return LOAD_PROJECT_DESC(dir_.Path("desc.cfg"), retour_);
  }

  Lines Template() const {
    return PROJECTDESC.HEADER_STRINGS ? *PROJECTDESC.HEADER_STRINGS : Lines{"<no list>"};
  }

  TempDir dir_;
  std::string retour_;
};

struct CodeCase {
  const char* name;
  std::string bytes;
  int32_t code;
  std::string retour;
};

const std::string kName = "Error inside Description File for item \"Project_name\"";
const std::string kBrief = "Error inside Description File for item \"Project_brief\"";
const std::string kVersion = "Error inside Description File for item \"Project_version\"";
const std::string kAuthor = "Error inside Description File for item \"Author\"";
const std::string kLanguageMissing =
    "Error inside Description File , item \"Language\" is missing!";
const std::string kNoHeader = "Error inside Description File, missing \"[Header]\" section !";
std::string BadLanguage(const std::string& value) {
  return "Error inside Description File for item \"Language\": " + value + " isn't valid.";
}

TEST_F(LoaderTest, EachFailureHasItsCodeAndMessage) {
  const std::vector<CodeCase> cases = {
      {"empty file", "", 1, kName},
      {"no name", Desc("Project_brief=b\nProject_version=1\nAuthor=a\nLanguage=c\n"), 1, kName},
      {"name is !",
       Desc("Project_name=!\nProject_brief=b\nProject_version=1\nAuthor=a\nLanguage=c\n"), 1,
       kName},
      {"name is \"!\"",
       Desc("Project_name=\"!\"\nProject_brief=b\nProject_version=1\nAuthor=a\nLanguage=c\n"), 1,
       kName},
      {"name is '!'", Desc("Project_name = '!' \nProject_brief=b\nProject_version=1\nAuthor=a\n"),
       1, kName},
      {"no brief", Desc("Project_name=n\nProject_version=1\nAuthor=a\nLanguage=c\n"), 2, kBrief},
      {"brief is !", Desc("Project_name=n\nProject_brief=!\nProject_version=1\nAuthor=a\n"), 2,
       kBrief},
      {"no version", Desc("Project_name=n\nProject_brief=b\nAuthor=a\nLanguage=c\n"), 3, kVersion},
      {"no author, no language", Desc("Project_name=n\nProject_brief=b\nProject_version=1\n"), 4,
       kAuthor},
      {"no language", Desc("Project_name=n\nProject_brief=b\nProject_version=1\nAuthor=a\n"), 5,
       kLanguageMissing},
      {"language is !",
       Desc("Project_name=n\nProject_brief=b\nProject_version=1\nAuthor=a\nLanguage=!\n"), 5,
       kLanguageMissing},
      {"language cpp",
       Desc("Project_name=n\nProject_brief=b\nProject_version=1\nAuthor=a\nLanguage=cpp\n"), 6,
       BadLanguage("cpp")},
      {"language empty",
       Desc("Project_name=n\nProject_brief=b\nProject_version=1\nAuthor=a\nLanguage=\n"), 6,
       BadLanguage("")},
      {"language as read",
       Desc("Project_name=n\nProject_brief=b\nProject_version=1\nAuthor=a\nLanguage = Turbo  C \n"),
       6, BadLanguage("Turbo  C")},
      {"no header line", "[Description]\n" + std::string(kItems), 7, kNoHeader},
      {"blank before header", "[Description]\n" + std::string(kItems) + " [Header]\nx\n", 7,
       kNoHeader},
      {"tab after header", "[Description]\n" + std::string(kItems) + "[Header]\t\nx\n", 7,
       kNoHeader},
      {"header with a name", "[Description]\n" + std::string(kItems) + "[Header 1]\nx\n", 7,
       kNoHeader},
      // Several faults: only the first in table order counts.
      {"no name, no header", "[Description]\nAuthor=a\n", 1, kName},
  };
  for (const CodeCase& c : cases) {
    EXPECT_EQ(Load(c.bytes), c.code) << c.name;
    EXPECT_EQ(retour_, c.retour) << c.name;
    PROJECT_DESC_FREE();
  }
}

TEST_F(LoaderTest, ItemsAreOnlyLookedUpInTheFirstDescriptionSection) {
  const std::vector<CodeCase> cases = {
      {"blank inside opening bracket", "[ Description]\n" + std::string(kItems) + "[Header]\n", 1,
       kName},
      {"blank inside closing bracket", "[Description ]\n" + std::string(kItems) + "[Header]\n", 1,
       kName},
      {"byte-order mark", "\xEF\xBB\xBF" + Desc(), 1, kName},
      {"items before the first section", std::string(kItems) + "[Description]\n[Header]\n", 1,
       kName},
      {"items in another section", "[Other]\n" + std::string(kItems) + "[Header]\n", 1, kName},
      {"second Description section",
       "[Description]\nAuthor=a\n[Description]\n" + std::string(kItems) + "[Header]\n", 1, kName},
      {"comment",
       Desc(";Project_name=n\nProject_brief=b\nProject_version=1\nAuthor=a\nLanguage=c\n"), 1,
       kName},
      {"no equals sign",
       Desc("Project_name\nProject_brief=b\nProject_version=1\nAuthor=a\nLanguage=c\n"), 1, kName},
  };
  for (const CodeCase& c : cases) {
    EXPECT_EQ(Load(c.bytes), c.code) << c.name;
    EXPECT_EQ(retour_, c.retour) << c.name;
    PROJECT_DESC_FREE();
  }
}

TEST_F(LoaderTest, PathThatNamesNoFileFailsWithCodeOne) {
  std::string retour = "stale";
  EXPECT_EQ(LOAD_PROJECT_DESC(dir_.Path("missing.cfg"), retour), 1);
  EXPECT_EQ(retour, kName);
  ASSERT_NE(PROJECTDESC.HEADER_STRINGS, nullptr);
  EXPECT_TRUE(PROJECTDESC.HEADER_STRINGS->empty());
}

TEST_F(LoaderTest, ValidFileFillsTheRecordAndClearsRetour) {
  ASSERT_EQ(Load("; a comment before anything\n"
                 "[Other]\nProject_name=wrong\n"
                 "[Description]\n"
                 "Project_name=Demo\n"
                 "Project_brief=A demo project\n"
                 "Project_version=1.0\n"
                 "Author=Jane Doe\n"
                 "User_1=one\n"
                 "User_3=three\n"
                 "Licence=MIT|Line one%Line two\n"
                 "Language=pascal\n"
                 "[Header]\n"
                 "{ $PROJECT_NAME$ }\n"),
            0);
  EXPECT_EQ(retour_, "");
  EXPECT_EQ(PROJECTDESC.PROJECT_NAME, "Demo");
  EXPECT_EQ(PROJECTDESC.PROJECT_BRIEF, "A demo project");
  EXPECT_EQ(PROJECTDESC.PROJECT_VERSION, "1.0");
  EXPECT_EQ(PROJECTDESC.AUTHOR, "Jane Doe");
  EXPECT_EQ(PROJECTDESC.USERSTR[1], "one");
  EXPECT_EQ(PROJECTDESC.USERSTR[2], "");
  EXPECT_EQ(PROJECTDESC.USERSTR[3], "three");
  EXPECT_EQ(PROJECTDESC.USERSTR[4], "");
  EXPECT_EQ(PROJECTDESC.LICENCE, "MIT|Line one%Line two");
  EXPECT_EQ(PROJECTDESC.LANGUAGE, 2);
  EXPECT_EQ(LANGUAGE, 2);
  EXPECT_EQ(PROJECTDESC.FILENAME, "");
  EXPECT_EQ(Template(), (Lines{"{ $PROJECT_NAME$ }"}));
}

struct ValueCase {
  const char* name;
  std::string items;  // the Description section's lines
  std::function<std::string()> field;
  std::string expected;
};

std::string Name() { return PROJECTDESC.PROJECT_NAME; }
std::string Author() { return PROJECTDESC.AUTHOR; }
std::string User(int n) { return PROJECTDESC.USERSTR[n]; }

const char kRest[] = "Project_brief=b\nProject_version=1\nAuthor=a\nLanguage=c\n";

TEST_F(LoaderTest, ItemRules) {
  const std::vector<ValueCase> cases = {
      {"empty value", "Project_name=\n" + std::string(kRest), Name, ""},
      {"blanks and tabs around", " \t Project_name \t= \tTwo  words\t \n" + std::string(kRest),
       Name, "Two  words"},
      {"control bytes stripped", "\x01Project_name=x\x1f\r\n" + std::string(kRest), Name, "x"},
      {"key in any case", "PROJECT_name=Upper\n" + std::string(kRest), Name, "Upper"},
      {"equals sign in value", "Project_name=a=b = c\n" + std::string(kRest), Name, "a=b = c"},
      {"semicolon belongs to value", "Project_name=x ; y\n" + std::string(kRest), Name, "x ; y"},
      {"double quotes", "Project_name=\" q \"\n" + std::string(kRest), Name, " q "},
      {"apostrophes", "Project_name='q'\n" + std::string(kRest), Name, "q"},
      {"one pair only", "Project_name=\"\"q\"\"\n" + std::string(kRest), Name, "\"q\""},
      {"empty quotes", "Project_name=''\n" + std::string(kRest), Name, ""},
      {"opening quote only", "Project_name=\"q\n" + std::string(kRest), Name, "\"q"},
      {"closing quote only", "Project_name=q'\n" + std::string(kRest), Name, "q'"},
      {"mixed quotes", "Project_name=\"q'\n" + std::string(kRest), Name, "\"q'"},
      {"single quote character", "Project_name=\"\n" + std::string(kRest), Name, "\""},
      {"no escapes", "Project_name=a\\tb\\\n" + std::string(kRest), Name, "a\\tb\\"},
      {"first author wins",
       "Project_name=n\nProject_brief=b\nProject_version=1\nAuthor=first\nAuthor=second\nLanguage="
       "c\n",
       Author, "first"},
      {"user text of 25 bytes", "User_1=abcdefghijklmnopqrstuvwxy\n" + std::string(kItems),
       [] { return User(1); }, "abcdefghijklmnopqrst"},
      {"user text of 20 bytes", "user_4=abcdefghijklmnopqrst\n" + std::string(kItems),
       [] { return User(4); }, "abcdefghijklmnopqrst"},
      {"user text in quotes", "User_2=\"  padded  \"\n" + std::string(kItems),
       [] { return User(2); }, "  padded  "},
  };
  for (const ValueCase& c : cases) {
    EXPECT_EQ(Load(Desc(c.items)), 0) << c.name << ": " << retour_;
    EXPECT_EQ(c.field(), c.expected) << c.name;
    PROJECT_DESC_FREE();
  }
}

TEST_F(LoaderTest, SectionNameIgnoresLetterCase) {
  for (const char* section : {"[description]", "[DESCRIPTION]", "[dEsCrIpTiOn]"}) {
    EXPECT_EQ(Load(std::string(section) + "\n" + kItems + "[Header]\n"), 0) << section;
    EXPECT_EQ(PROJECTDESC.PROJECT_NAME, "Demo") << section;
    PROJECT_DESC_FREE();
  }
}

TEST_F(LoaderTest, LanguageSelectsItsRowIgnoringCase) {
  struct LanguageCase {
    std::string value;
    uint8_t row;
  };
  const std::vector<LanguageCase> cases = {
      {"c", 1},     {"C", 1},       {"Pascal", 2}, {"BASIC", 3},       {"batch", 4},
      {"sHeLl", 5}, {"ARDUINO", 6}, {"'c'", 1},    {"\"arduino\"", 6},
  };
  for (const LanguageCase& c : cases) {
    ASSERT_EQ(Load(Desc("Project_name=n\nProject_brief=b\nProject_version=1\nAuthor=a\nLanguage=" +
                        c.value + "\n")),
              0)
        << c.value;
    EXPECT_EQ(PROJECTDESC.LANGUAGE, c.row) << c.value;
    EXPECT_EQ(LANGUAGE, c.row) << c.value;
    PROJECT_DESC_FREE();
  }
}

TEST_F(LoaderTest, FailedLoadKeepsWhatPassedBeforeIt) {
  EXPECT_EQ(Load(Desc("Project_name=n\nProject_brief=b\nAuthor=a\nLanguage=c\n")), 3);
  EXPECT_EQ(PROJECTDESC.PROJECT_NAME, "n");
  EXPECT_EQ(PROJECTDESC.PROJECT_BRIEF, "b");
  EXPECT_EQ(PROJECTDESC.AUTHOR, "");
  EXPECT_EQ(PROJECTDESC.LANGUAGE, 0);
  EXPECT_EQ(LANGUAGE, 0);
  EXPECT_EQ(Template(), Lines{});
  PROJECT_DESC_FREE();

  EXPECT_EQ(Load(Desc("Project_name=n\nProject_brief=b\nProject_version=1\nAuthor=a\n"
                      "User_1=u\nLicence=L\nLanguage=cpp\n")),
            6);
  EXPECT_EQ(PROJECTDESC.USERSTR[1], "u");
  EXPECT_EQ(PROJECTDESC.LICENCE, "L");
  EXPECT_EQ(PROJECTDESC.LANGUAGE, 0);
  EXPECT_EQ(LANGUAGE, 0);
  EXPECT_EQ(Template(), Lines{});
  PROJECT_DESC_FREE();

  // Without a template the language has already been accepted.
  EXPECT_EQ(Load("[Description]\nProject_name=n\nProject_brief=b\nProject_version=1\nAuthor=a\n"
                 "Language=shell\n"),
            7);
  EXPECT_EQ(PROJECTDESC.LANGUAGE, 5);
  EXPECT_EQ(LANGUAGE, 5);
  EXPECT_EQ(Template(), Lines{});
}

struct TemplateCase {
  const char* name;
  std::string after_items;  // everything after the Description items
  Lines expected;
};

TEST_F(LoaderTest, TemplateIsEverythingAfterTheLastHeaderLine) {
  const std::vector<TemplateCase> cases = {
      {"header is the last line", "[Header]", {}},
      {"header ends the file", "[Header]\n", {}},
      {"upper case", "[HEADER]\nA\n", {"A"}},
      {"last header wins", "[Header]\nA\n[header]\nB\n", {"B"}},
      {"indented header is text", "[Header]\nA\n [Header]\nB\n", {"A", " [Header]", "B"}},
      {"lines kept as they are",
       "[Header]\n  a\t\n\n; comment\nkey = value\n[Section]\n\t\nlast",
       {"  a\t", "", "; comment", "key = value", "[Section]", "\t", "last"}},
      {"empty lines at the end", "[Header]\nA\n\n\n", {"A", "", ""}},
      {"bytes unchanged", "[Header]\ncaf\xC3\xA9 \x7F\x01\n", {"caf\xC3\xA9 \x7F\x01"}},
      {"mixed line ends", "[Header]\r\nA\rB\nC\r\n\rD", {"A", "B", "C", "", "D"}},
  };
  for (const TemplateCase& c : cases) {
    ASSERT_EQ(Load("[Description]\n" + std::string(kItems) + c.after_items), 0) << c.name;
    EXPECT_EQ(Template(), c.expected) << c.name;
    PROJECT_DESC_FREE();
  }
}

TEST_F(LoaderTest, DescriptionAfterTheTemplateIsTemplateTextAndStillRead) {
  ASSERT_EQ(Load("[Header]\n// top\n[Description]\n" + std::string(kItems)), 0) << retour_;
  EXPECT_EQ(PROJECTDESC.PROJECT_NAME, "Demo");
  EXPECT_EQ(PROJECTDESC.LANGUAGE, 1);
  EXPECT_EQ(Template(),
            (Lines{"// top", "[Description]", "Project_name=Demo", "Project_brief=A demo project",
                   "Project_version=1.0", "Author=Jane Doe", "Language=c"}));
}

TEST_F(LoaderTest, LoneCrAndCrLfLoadLikeLf) {
  const std::string lf =
      "[Description]\nProject_name= Demo \nProject_brief=b\nProject_version=1\n"
      "Author=a\nLanguage=arduino\n[Header]\n  /* x */  \n\nend\n";
  ASSERT_EQ(Load(lf), 0);
  const Lines expected_template = Template();
  ASSERT_EQ(expected_template, (Lines{"  /* x */  ", "", "end"}));
  PROJECT_DESC_FREE();

  for (const char* ending : {"\r\n", "\r"}) {
    std::string bytes;
    for (char ch : lf) bytes += ch == '\n' ? std::string(ending) : std::string(1, ch);
    ASSERT_EQ(Load(bytes), 0) << retour_;
    EXPECT_EQ(PROJECTDESC.PROJECT_NAME, "Demo");
    EXPECT_EQ(PROJECTDESC.LANGUAGE, 6);
    EXPECT_EQ(Template(), expected_template);
    PROJECT_DESC_FREE();
  }
}

TEST_F(LoaderTest, FreeReleasesTheTemplateList) {
  PROJECT_DESC_FREE();  // nothing loaded: nothing to release
  EXPECT_EQ(PROJECTDESC.HEADER_STRINGS, nullptr);
  ASSERT_EQ(Load(Desc()), 0);
  std::weak_ptr<TStringList> list = PROJECTDESC.HEADER_STRINGS;
  ASSERT_FALSE(list.expired());
  PROJECT_DESC_FREE();
  EXPECT_TRUE(list.expired());
}

TEST_F(LoaderTest, FileThatCannotBeOpenedRaisesRunError) {
  dir_.Write("desc.cfg", Desc());
  const std::string path = dir_.Path("desc.cfg");
  FakePlatform platform;
  platform.AddFault({Op::kReadWhole, "desc.cfg", EACCES});
  std::string retour;
  try {
    LOAD_PROJECT_DESC(path, retour);
    ADD_FAILURE() << "no error raised, code returned with " << retour;
  } catch (const RunError& error) {
    EXPECT_EQ(std::string(error.what()), "Unable to open file \"" + path + "\"");
  }
  EXPECT_EQ(platform.out(), "");  // the loader itself prints nothing
}

TEST_F(LoaderTest, UnopenableFileIsReportedByTheFrameAndEndsTheRun) {
  dir_.Write("desc.cfg", Desc());
  const std::string path = dir_.Path("desc.cfg");
  FakePlatform platform;
  platform.AddFault({Op::kReadWhole, "desc.cfg", EACCES});
  RunInProcess({"-c", path});
  const std::string out = platform.out();
  ASSERT_EQ(out.substr(0, BannerText().size()), BannerText());
  const std::string report = out.substr(BannerText().size());
  EXPECT_TRUE(std::regex_match(report, std::regex("exception at [0-9A-F]{8}:\n.*\n"))) << report;
  EXPECT_EQ(report.substr(std::string("exception at 12345678:\n").size()),
            "Unable to open file \"" + path + "\".\n");
}

TEST(LanguageListing, ReplacesTheListWithTheSixLanguageLines) {
  TStringList liste = {"old line", "another"};
  GET_LANGUAGE_NAME(liste);
  EXPECT_EQ(liste, (TStringList{
                       "C files (*.c;*.h)\t\t\tLanguage identifier = \"c\".",
                       "Pascal files (*.pas;*.inc;*.lpr)\tLanguage identifier = \"pascal\".",
                       "Basic files (*.bas)\t\t\tLanguage identifier = \"basic\".",
                       "Batch files (*.bat)\t\t\tLanguage identifier = \"batch\".",
                       "Shell files (*.sh)\t\t\tLanguage identifier = \"shell\".",
                       "Arduino files (*.ino;*.cpp;*.h)\t\tLanguage identifier = \"arduino\".",
                   }));
}

}  // namespace
}  // namespace quillet::testing
