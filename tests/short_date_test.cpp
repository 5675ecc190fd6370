// The "$DATE$" value: the locale's strftime-style format turned into the
// day/month/year format text, and that text rendered for a date.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fake_platform.h"
#include "short_date.h"

namespace quillet {
namespace {

const LocalDate kNinthDecember2025{2025, 12, 9, 2};  // a Tuesday
const LocalDate kFifthMarch2005{2005, 3, 5, 6};      // a Saturday

DateLocale EnglishNames() {
  DateLocale l = testing::CLocaleDateNames();
  l.user_locale = true;
  return l;
}

DateLocale GermanNames() {
  DateLocale l = EnglishNames();
  l.short_format = "%d.%m.%Y";
  l.abbreviated_days[2] = "Di";
  l.full_days[2] = "Dienstag";
  l.abbreviated_months[11] = "Dez";
  l.full_months[11] = "Dezember";
  return l;
}

std::string TranslateAndRender(const std::string& strftime_format, const DateLocale& names,
                               const LocalDate& date = kNinthDecember2025) {
  ShortDateFormat format;
  EXPECT_TRUE(TranslateStrftimeFormat(strftime_format, &format)) << strftime_format;
  return RenderShortDate(format, date, names);
}

TEST(TranslateStrftimeFormat, CommonLocaleFormats) {
  struct Case {
    std::string in;
    std::string format;
    char separator;
    std::string rendered;  // 9 December 2025
  };
  const std::vector<Case> cases = {
      {"%d.%m.%Y", "dd.mm.yyyy", '.', "09.12.2025"},  // de_DE
      {"%m/%d/%Y", "mm/dd/yyyy", '/', "12/09/2025"},  // en_US
      {"%D", "mm/dd/yy", '/', "12/09/25"},           {"%d/%m/%y", "dd/mm/yy", '/', "09/12/25"},
      {"%Y-%m-%d", "yyyy-mm-dd", '-', "2025-12-09"}, {"%e.%m.", "d.mm.", '.', "9.12."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.in);
    ShortDateFormat format;
    ASSERT_TRUE(TranslateStrftimeFormat(c.in, &format));
    EXPECT_EQ(format.format, c.format);
    EXPECT_EQ(format.separator, c.separator);
    EXPECT_EQ(RenderShortDate(format, kNinthDecember2025, GermanNames()), c.rendered);
  }
}

TEST(TranslateStrftimeFormat, NamesComeFromTheLocale) {
  struct Case {
    std::string in;
    std::string english;
    std::string german;
  };
  const std::vector<Case> cases = {
      {"%b", "Dec", "Dez"},
      {"%h", "Dec", "Dez"},
      {"%B", "December", "Dezember"},
      {"%a", "Tue", "Di"},
      {"%A", "Tuesday", "Dienstag"},
      {"%A, %e %B %Y", "Tuesday, 9 December 2025", "Dienstag, 9 Dezember 2025"},
      {"%a %b %e", "Tue Dec 9", "Di Dez 9"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.in);
    EXPECT_EQ(TranslateAndRender(c.in, EnglishNames()), c.english);
    EXPECT_EQ(TranslateAndRender(c.in, GermanNames()), c.german);
  }
}

// Letters written in the locale's format are text, not fields: "de" must not
// become a day and a dropped era letter.
TEST(TranslateStrftimeFormat, LiteralTextStaysText) {
  struct Case {
    std::string in;
    std::string rendered;
  };
  const std::vector<Case> cases = {
      {"%d de %B de %Y", "09 de December de 2025"},
      {"%Y\xe5\xb9\xb4%m\xe6\x9c\x88%d\xe6\x97\xa5",
       "2025\xe5\xb9\xb4"
       "12\xe6\x9c\x88"
       "09\xe6\x97\xa5"},
      {"day %d, month %m, year %Y", "day 09, month 12, year 2025"},
      {"'%d' \"%m\"", "'09' \"12\""},
      {"%d%%%m", "09%12"},
      {"Y%Yy", "Y2025y"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.in);
    EXPECT_EQ(TranslateAndRender(c.in, EnglishNames()), c.rendered);
  }
}

// Two fields of the same letter written next to each other stay two fields.
TEST(TranslateStrftimeFormat, AdjacentFieldsStaySeparate) {
  EXPECT_EQ(TranslateAndRender("%d%e", EnglishNames()), "099");
  EXPECT_EQ(TranslateAndRender("%m%b", EnglishNames()), "12Dec");
  EXPECT_EQ(TranslateAndRender("%y%Y", EnglishNames()), "252025");
  EXPECT_EQ(TranslateAndRender("%Y%m%d", EnglishNames()), "20251209");
}

TEST(TranslateStrftimeFormat, TimeFieldsAreDropped) {
  struct Case {
    std::string in;
    std::string rendered;
  };
  const std::vector<Case> cases = {
      {"%d.%m.%Y%H%M%S", "09.12.2025"},
      {"%d.%m.%Y%H:%M", "09.12.2025"},
      {"%p%m/%d/%y%I", "12/09/25"},
      {"%T%Y-%m-%d%R", "2025-12-09"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.in);
    EXPECT_EQ(TranslateAndRender(c.in, EnglishNames()), c.rendered);
  }
}

TEST(TranslateStrftimeFormat, UntranslatableFormatsAreRefused) {
  for (const std::string in : {"%j", "%U/%Y", "%d.%m.%", "%d.%Q.%Y", "%x", "%"}) {
    SCOPED_TRACE(in);
    ShortDateFormat format;
    EXPECT_FALSE(TranslateStrftimeFormat(in, &format));
  }
}

TEST(ShortDateFormatOf, FallbackWithoutUserLocale) {
  DateLocale c_locale = EnglishNames();
  c_locale.user_locale = false;
  c_locale.short_format = "%d.%m.%Y";
  ShortDateFormat format = ShortDateFormatOf(c_locale);
  EXPECT_EQ(format.format, "m/d/yy");
  EXPECT_EQ(format.separator, '/');
  EXPECT_EQ(RenderShortDate(format, kNinthDecember2025, c_locale), "12/9/25");
}

TEST(ShortDateFormatOf, UserLocaleFormatIsTranslated) {
  ShortDateFormat format = ShortDateFormatOf(GermanNames());
  EXPECT_EQ(format.format, "dd.mm.yyyy");
  EXPECT_EQ(format.separator, '.');
  EXPECT_EQ(RenderShortDate(format, kNinthDecember2025, GermanNames()), "09.12.2025");
}

TEST(ShortDateFormatOf, FallbackWhenTheFormatCannotBeTranslated) {
  DateLocale locale = EnglishNames();
  locale.short_format = "%j/%Y";
  ShortDateFormat format = ShortDateFormatOf(locale);
  EXPECT_EQ(format.format, "m/d/yy");
  EXPECT_EQ(format.separator, '/');
}

TEST(RenderShortDate, FieldsSeparatorQuotesAndDroppedLetters) {
  struct Case {
    std::string format;
    char separator;
    LocalDate date;
    std::string rendered;
  };
  const LocalDate dec = kNinthDecember2025;
  const LocalDate mar = kFifthMarch2005;
  const std::vector<Case> cases = {
      {"m/d/yy", '/', dec, "12/9/25"},
      {"d", '/', mar, "5"},
      {"dd", '/', mar, "05"},
      {"ddd", '/', mar, "Sat"},
      {"dddd", '/', mar, "Saturday"},
      {"m", '/', mar, "3"},
      {"mm", '/', mar, "03"},
      {"mmm", '/', mar, "Mar"},
      {"mmmm", '/', mar, "March"},
      {"mmmmmm", '/', mar, "March"},
      {"y", '/', mar, "05"},
      {"yy", '/', dec, "25"},
      {"yyy", '/', mar, "2005"},
      {"yyyy", '/', dec, "2025"},
      {"yyyyy", '/', dec, "2025"},
      {"DD.MM.YYYY", '/', mar, "05.03.2005"},
      {"dD-Mm-yY", '/', mar, "05-03-05"},
      {"d/m/yy", '.', dec, "9.12.25"},
      {"d/m", '-', dec, "9-12"},
      {"'d' d", '/', dec, "d 9"},
      {"\"mmmm\" mmmm", '/', dec, "mmmm December"},
      {"'a \"b\" c'd", '/', dec, "a \"b\" c9"},
      {"\"it's\" yyyy", '/', dec, "it's 2025"},
      {"'/'/", '-', dec, "/-"},
      {"d h:n:s", '/', dec, "9 "},
      {"dacegnstz", '/', dec, "9"},
      {"ACEGHNSTZd", '/', dec, "9"},
      {"[d] #m# (y)", '/', dec, "[9] #12# (25)"},
      {"dbfq", '/', dec, "9bfq"},
      {"", '/', dec, ""},
  };
  const DateLocale names = EnglishNames();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.format);
    EXPECT_EQ(RenderShortDate({c.format, c.separator}, c.date, names), c.rendered);
  }
}

}  // namespace
}  // namespace quillet
