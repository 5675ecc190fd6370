// The flag vocabulary and the replacement of flags in one line, against a
// fixed clock (9 December 2025, a Tuesday) and the C date locale.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "fake_platform.h"
#include "gest_project.h"

namespace quillet::testing {
namespace {

constexpr uint8_t kVerboseConsole = VERBOSE | CONSOLE_MODE;

class FlagsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // The format is read once per process; read it from the fake's C locale.
    InitShortDateFormat();
    project_.PROJECT_NAME = "Quillet";
    project_.PROJECT_BRIEF = "Stamps headers";
    project_.PROJECT_VERSION = "1.5";
    project_.AUTHOR = "Ann";
    project_.USERSTR[1] = "u1";
    project_.USERSTR[2] = "u2";
    project_.USERSTR[3] = "u3";
    project_.USERSTR[4] = "u4";
    project_.LICENCE = "MIT";
    project_.FILENAME = "src\\main.c";
  }

  std::string Expand(const std::string& line, uint16_t* count, uint8_t options = 0) {
    uint16_t n = 0xFFFF;
    std::string result = TRAITE_LIGNE(line, options, project_, n);
    *count = n;
    return result;
  }

  FakePlatform fake_;
  Tprojet project_;
};

struct LineCase {
  const char* name;
  std::string line;
  std::string expected;
  uint16_t count;
  std::function<void(Tprojet&)> change = nullptr;  // adjusts the record first
};

TEST_F(FlagsTest, ReplacesFlagsAndCountsEveryReplacement) {
  const std::vector<LineCase> cases = {
      {"file name part", "$FILE_NAME$", "main.c", 1},
      {"file name with path", "$FILE_NAME_EXT$", "src\\main.c", 1},
      {"date in the fallback format", "$DATE$", "12/9/25", 1},
      {"month", "$MONTH$", "Dec", 1},
      {"year", "$YEAR$", "2025", 1},
      {"author", "$AUTHOR$", "Ann", 1},
      {"project name", "$PROJECT_NAME$", "Quillet", 1},
      {"project version", "$PROJECT_VER$", "1.5", 1},
      {"project brief", "$PROJECT_BRIEF$", "Stamps headers", 1},
      {"user texts", "$USER_1$,$USER_2$,$USER_3$,$USER_4$", "u1,u2,u3,u4", 4},
      {"licence", "$LICENCE$", "MIT", 1},
      {"text around flags", "// $PROJECT_NAME$ $PROJECT_VER$ by $AUTHOR$ //",
       "// Quillet 1.5 by Ann //", 3},
      {"date twice takes two passes", "$DATE$ and $DATE$", "12/9/25 and 12/9/25", 2},
      {"same flag three times", "$YEAR$-$YEAR$-$YEAR$", "2025-2025-2025", 3},
      {"no flag", "int main(void) { return 0; }", "int main(void) { return 0; }", 0},
      {"dollar without flag", "cost: $5 or $$", "cost: $5 or $$", 0},
      {"letter case counts", "$date$ $Author$ $File_Name$", "$date$ $Author$ $File_Name$", 0},
      {"markers are not touched here", "$ADD_HEADER$ $EXTERN_FILE$ x",
       "$ADD_HEADER$ $EXTERN_FILE$ x", 0},
      {"user text forms a flag with the text after it", "$USER_1$$", "2025", 2,
       [](Tprojet& p) { p.USERSTR[1] = "$YEAR"; }},
      {"file name that holds a later flag", "$FILE_NAME$", "x12/9/25.c", 2,
       [](Tprojet& p) { p.FILENAME = "x$DATE$.c"; }},
      {"value holding a later flag is replaced in the same pass", "$AUTHOR$", "Quillet team", 2,
       [](Tprojet& p) { p.AUTHOR = "$PROJECT_NAME$ team"; }},
      {"value holding an earlier flag is replaced in the next pass", "$PROJECT_NAME$", "Ann's", 2,
       [](Tprojet& p) { p.PROJECT_NAME = "$AUTHOR$'s"; }},
      {"licence value split at %", "[$LICENCE$]", "[Line one\r\nLine two]", 1,
       [](Tprojet& p) { p.LICENCE = "Ignored|Line one%Line two"; }},
      {"empty value removes its flag and counts", "<$AUTHOR$>", "<>", 1,
       [](Tprojet& p) { p.AUTHOR = ""; }},
      {"empty file name", "[$FILE_NAME$|$FILE_NAME_EXT$]", "[|]", 2,
       [](Tprojet& p) { p.FILENAME = ""; }},
      {"empty user text and licence", "a$USER_3$b$LICENCE$c", "abc", 2,
       [](Tprojet& p) {
         p.USERSTR[3] = "";
         p.LICENCE = "";
       }},
      {"file name ending in a separator", "[$FILE_NAME$]", "[]", 1,
       [](Tprojet& p) { p.FILENAME = "src/"; }},
  };
  for (const LineCase& c : cases) {
    SCOPED_TRACE(c.name);
    SetUp();
    if (c.change) c.change(project_);
    uint16_t count = 0;
    EXPECT_EQ(Expand(c.line, &count), c.expected);
    EXPECT_EQ(count, c.count);
  }
}

// The flags are searched in a fixed order within a pass; text left by an
// earlier flag is what the later ones see.
TEST_F(FlagsTest, PassOrderDecidesOverlappingFlags) {
  const std::vector<LineCase> cases = {
      // "$YEAR$" (5th) is found before "$USER_1$" (10th) could take the "$" they share.
      {"year before user text", "$USER_1$YEAR$", "$USER_12025", 1},
      // "$DATE$" (3rd) comes before "$AUTHOR$" (6th).
      {"date before author", "$AUTHOR$DATE$", "$AUTHOR12/9/25", 1},
      // "$MONTH$" (4th) comes before "$PROJECT_NAME$" (7th).
      {"month before project name", "$PROJECT_NAME$MONTH$", "$PROJECT_NAMEDec", 1},
      // Neither file flag ever matches inside the other.
      {"both file flags", "$FILE_NAME_EXT$ $FILE_NAME$", "src\\main.c main.c", 2},
  };
  for (const LineCase& c : cases) {
    SCOPED_TRACE(c.name);
    uint16_t count = 0;
    EXPECT_EQ(Expand(c.line, &count), c.expected);
    EXPECT_EQ(count, c.count);
  }
}

TEST_F(FlagsTest, ValueThatBringsBackItsOwnFlagEndsWithABoundedLine) {
  project_.AUTHOR = "x$AUTHOR$";
  uint16_t count = 0;
  std::string result = Expand("$AUTHOR$", &count);
  // Every pass puts one "x" before the flag that comes back.
  EXPECT_GT(count, 1);
  EXPECT_LE(count, 1 + kExtraFlagPasses);
  EXPECT_EQ(result, std::string(count, 'x') + "$AUTHOR$");
}

TEST_F(FlagsTest, ValuesThatProduceEachOtherEndWithABoundedLine) {
  project_.AUTHOR = "$PROJECT_NAME$$PROJECT_NAME$";
  project_.PROJECT_NAME = "$AUTHOR$";
  uint16_t count = 0;
  std::string result = Expand("$AUTHOR$", &count);
  EXPECT_LE(count, 2 * (1 + kExtraFlagPasses));
  EXPECT_LE(result.size(), 16 * (2 + kExtraFlagPasses));
}

// The bound must never cut the flags the line itself holds.
TEST_F(FlagsTest, ManyFlagsInOneLineAreAllReplaced) {
  std::string line;
  std::string expected;
  for (int i = 0; i < 100; ++i) {
    line += "$YEAR$;";
    expected += "2025;";
  }
  uint16_t count = 0;
  EXPECT_EQ(Expand(line, &count), expected);
  EXPECT_EQ(count, 100);
}

TEST_F(FlagsTest, VerboseCountLineNeedsBothBitsAndAReplacement) {
  struct Case {
    const char* name;
    std::string line;
    uint8_t options;
    std::string printed;
  };
  const std::vector<Case> cases = {
      {"two replacements", "$DATE$ $DATE$", kVerboseConsole, "-------> 2 Flag(s) found !\n"},
      {"one replacement", "by $AUTHOR$", kVerboseConsole, "-------> 1 Flag(s) found !\n"},
      {"no flag prints nothing", "plain text", kVerboseConsole, ""},
      {"case-different flag prints nothing", "$author$", kVerboseConsole, ""},
      {"verbose without console", "$AUTHOR$", VERBOSE, ""},
      {"console without verbose", "$AUTHOR$", CONSOLE_MODE, ""},
      {"other bits are ignored", "$AUTHOR$ $YEAR$", kVerboseConsole | 0x7E,
       "-------> 2 Flag(s) found !\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    size_t before = fake_.out().size();
    uint16_t count = 0;
    Expand(c.line, &count, c.options);
    EXPECT_EQ(fake_.out().substr(before), c.printed);
  }
}

TEST_F(FlagsTest, EmptyValueRemovalIsCountedInTheVerboseLine) {
  project_.PROJECT_BRIEF = "";
  uint16_t count = 0;
  EXPECT_EQ(Expand("// $PROJECT_BRIEF$", &count, kVerboseConsole), "// ");
  EXPECT_EQ(fake_.out(), "-------> 1 Flag(s) found !\n");
}

TEST_F(FlagsTest, MonthDoesNotDependOnTheLocale) {
  DateLocale german;
  german.user_locale = true;
  german.short_format = "%d.%m.%Y";
  for (int i = 0; i < 12; ++i) german.abbreviated_months[i] = "Mon" + std::to_string(i);
  fake_.SetDateLocale(german);
  uint16_t count = 0;
  EXPECT_EQ(Expand("$MONTH$", &count), "Dec");
}

TEST_F(FlagsTest, DateFlagsFollowTheClock) {
  fake_.SetToday({1999, 3, 5, 5});
  uint16_t count = 0;
  EXPECT_EQ(Expand("$DATE$|$MONTH$|$YEAR$", &count), "3/5/99|Mar|1999");
  EXPECT_EQ(count, 3);
}

TEST(ConvertLicence, PercentBecomesLineBreakAndTextUpToFirstBarIsDropped) {
  struct Case {
    std::string in;
    std::string out;
  };
  const std::vector<Case> cases = {
      {"MIT", "MIT"},
      {"A|B|C", "B|C"},
      {"Ignored|Line one%Line two", "Line one\r\nLine two"},
      {"one%two%%three", "one\r\ntwo\r\n\r\nthree"},
      {"drop%this|keep", "keep"},
      {"%|x", "x"},
      {"|", ""},
      {"text|", ""},
      {"", ""},
      {"100%", "100\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.in);
    EXPECT_EQ(CONVERT_LICENCE(c.in), c.out);
  }
}

TEST(Dates, YearIsDecimalWithoutLeadingZeros) {
  EXPECT_EQ(GET_YEAR({2025, 12, 9, 2}), "2025");
  EXPECT_EQ(GET_YEAR({987, 1, 1, 0}), "987");
  EXPECT_EQ(GET_YEAR({10000, 1, 1, 0}), "10000");
}

TEST(Dates, MonthNameOfEveryMonth) {
  const char* names[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  for (int month = 1; month <= 12; ++month) {
    EXPECT_EQ(GET_MONTH_NAME({2025, month, 1, 0}), names[month - 1]);
    EXPECT_STREQ(MONTH_NAME[month], names[month - 1]);
  }
}

TEST(FlagsListing, SixteenLinesInVocabularyOrderWithTabs) {
  const std::vector<std::pair<std::string, std::string>> vocabulary = {
      {"$ADD_HEADER$", "completes the header"},
      {"$PROJECT_NAME$", "sets the name of the project."},
      {"$PROJECT_BRIEF$", "sets the brief description of the project."},
      {"$PROJECT_VER$", "sets the version of the project."},
      {"$AUTHOR$", "sets the author."},
      {"$DATE$", "sets the date."},
      {"$MONTH$", "sets the month in 3 caracters format."},
      {"$YEAR$", "sets the year."},
      {"$FILE_NAME$", "sets the filename."},
      {"$FILE_NAME_EXT$", "sets the filename with path."},
      {"$USER_1$", "sets the 1st user text."},
      {"$USER_2$", "sets the 2nd user text."},
      {"$USER_3$", "sets the 3rd user text."},
      {"$USER_4$", "sets the 4th user text."},
      {"$LICENCE$", "sets the licence(% for CRLF)."},
      {"$EXTERN_FILE$", "adds an external file."},
  };
  TStringList liste = {"old line", "another"};
  GET_FLAGS_NAME(liste);
  ASSERT_EQ(liste.size(), 16u);
  for (size_t i = 0; i < vocabulary.size(); ++i) {
    const auto& [nom, desc] = vocabulary[i];
    SCOPED_TRACE(nom);
    size_t tabs = nom.size() >= 8 ? 4 : 5;
    EXPECT_EQ(liste[i], nom + std::string(tabs, '\t') + desc);
    // With tab stops every 8 columns each description starts after column 40.
    size_t column = nom.size();
    for (size_t t = 0; t < tabs; ++t) column = (column / 8 + 1) * 8;
    EXPECT_EQ(column, 40u);
  }
  EXPECT_EQ(liste[5], "$DATE$\t\t\t\t\tsets the date.");
  EXPECT_EQ(liste[4], "$AUTHOR$\t\t\t\tsets the author.");

  GET_FLAGS_NAME(liste);
  EXPECT_EQ(liste.size(), 16u);
  EXPECT_EQ(BALISES.size(), 16u);
}

}  // namespace
}  // namespace quillet::testing

namespace quillet::testing {
namespace {

// The one-scan replacement is a shortcut of the passes: wherever it accepts a
// line it must give the same line and count, and it must refuse the lines
// where replacements make or break other flags.
TEST_F(FlagsTest, OneScanReplacementAgreesWithThePasses) {
  struct Case {
    const char* line;
    std::string user1;
    bool one_scan_applies;
  };
  const std::vector<Case> cases = {
      {"/* $PROJECT_NAME$ $PROJECT_VER$ by $AUTHOR$ */", "u1", true},
      {"$DATE$$DATE$$MONTH$", "u1", true},
      {"echo $HOME $1 $$ $AUTHOR$", "u1", true},
      {"$YEAR$DATE$", "u1", false},                         // two flags share a "$"
      {"$USER_1$$", "$YEAR", false},                        // a value brings a "$"
      {"$DATE$ $DATE$$USER_1$$DATE$", "FILE_NAME", false},  // a value completes a flag
      {"$FI$USER_1$LE_NAME$", "", false},                   // an empty value joins its neighbours
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    project_.USERSTR[1] = c.user1;
    std::string at_once;
    uint16_t at_once_count = 0;
    bool applies = ReplaceFlagsAtOnce(c.line, project_, &at_once, &at_once_count);
    EXPECT_EQ(applies, c.one_scan_applies);
    uint16_t passes_count = 0;
    std::string by_passes = ReplaceFlagsByPasses(c.line, project_, &passes_count);
    if (applies) {
      EXPECT_EQ(at_once, by_passes);
      EXPECT_EQ(at_once_count, passes_count);
    }
    uint16_t count = 0;
    EXPECT_EQ(Expand(c.line, &count), by_passes);
    EXPECT_EQ(count, passes_count);
  }
}

// A generated line with a hundred thousand flags completes in one scan; the
// count is the record's 16-bit counter.
TEST_F(FlagsTest, HundredThousandFlagsInOneLine) {
  std::string line;
  std::string expected;
  for (int i = 0; i < 100000; ++i) {
    line += "$AUTHOR$ ";
    expected += "Ann ";
  }
  uint16_t count = 0;
  EXPECT_TRUE(Expand(line, &count) == expected);
  EXPECT_EQ(count, static_cast<uint16_t>(100000));
}

}  // namespace
}  // namespace quillet::testing
