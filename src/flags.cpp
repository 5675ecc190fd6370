// The flag vocabulary and the replacement of flags in one line.
#include <algorithm>
#include <optional>

#include "console.h"
#include "gest_project.h"
#include "short_date.h"
#include "text_lines.h"

namespace quillet {

std::vector<Tbalise> BALISES;
const char* const MONTH_NAME[13] = {"",    "Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                    "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

namespace {
std::optional<ShortDateFormat> g_short_date;

const ShortDateFormat& UserShortDate() {
  if (!g_short_date) InitShortDateFormat();
  return *g_short_date;
}

enum class Flag {
  kFileName,
  kFileNameExt,
  kDate,
  kMonth,
  kYear,
  kAuthor,
  kProjectName,
  kProjectVer,
  kProjectBrief,
  kUser1,
  kUser2,
  kUser3,
  kUser4,
  kLicence,
};

struct FlagText {
  Flag flag;
  std::string_view text;
};

// The order of one pass.
constexpr FlagText kPassOrder[] = {
    {Flag::kFileName, "$FILE_NAME$"},
    {Flag::kFileNameExt, "$FILE_NAME_EXT$"},
    {Flag::kDate, "$DATE$"},
    {Flag::kMonth, "$MONTH$"},
    {Flag::kYear, "$YEAR$"},
    {Flag::kAuthor, "$AUTHOR$"},
    {Flag::kProjectName, "$PROJECT_NAME$"},
    {Flag::kProjectVer, "$PROJECT_VER$"},
    {Flag::kProjectBrief, "$PROJECT_BRIEF$"},
    {Flag::kUser1, "$USER_1$"},
    {Flag::kUser2, "$USER_2$"},
    {Flag::kUser3, "$USER_3$"},
    {Flag::kUser4, "$USER_4$"},
    {Flag::kLicence, "$LICENCE$"},
};

std::string ValueOf(Flag flag, const Tprojet& p) {
  switch (flag) {
    case Flag::kFileName: return FileNamePart(p.FILENAME);
    case Flag::kFileNameExt: return p.FILENAME;
    case Flag::kDate: {
      Platform& platform = CurrentPlatform();
      return RenderShortDate(UserShortDate(), platform.Today(), platform.UserDateLocale());
    }
    case Flag::kMonth: return GET_MONTH_NAME(CurrentPlatform().Today());
    case Flag::kYear: return GET_YEAR(CurrentPlatform().Today());
    case Flag::kAuthor: return p.AUTHOR;
    case Flag::kProjectName: return p.PROJECT_NAME;
    case Flag::kProjectVer: return p.PROJECT_VERSION;
    case Flag::kProjectBrief: return p.PROJECT_BRIEF;
    case Flag::kUser1: return p.USERSTR[1];
    case Flag::kUser2: return p.USERSTR[2];
    case Flag::kUser3: return p.USERSTR[3];
    case Flag::kUser4: return p.USERSTR[4];
    case Flag::kLicence: return CONVERT_LICENCE(p.LICENCE);
  }
  return "";
}
}  // namespace

void InitShortDateFormat() { g_short_date = ShortDateFormatOf(CurrentPlatform().UserDateLocale()); }

void LOAD_BALISES() {
  BALISES = {
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
}

void GET_FLAGS_NAME(TStringList& LISTE) {
  LISTE.clear();
  LOAD_BALISES();
  for (const Tbalise& b : BALISES) {
    LISTE.push_back(b.NOM + std::string(b.NOM.size() >= 8 ? 4 : 5, '\t') + b.DESC);
  }
}

std::string ReplaceFlagsByPasses(std::string line, const Tprojet& project, uint16_t* count) {
  *count = 0;
  // Each flag of the line as read takes two of its "$"; beyond those passes,
  // only flags brought in by values remain, and they get a few more passes.
  size_t max_passes = std::count(line.begin(), line.end(), '$') / 2 + kExtraFlagPasses;
  bool found = true;
  for (size_t pass = 0; found && pass < max_passes; ++pass) {
    found = false;
    for (const FlagText& f : kPassOrder) {
      size_t at = line.find(f.text);
      if (at == std::string::npos) continue;
      ++*count;
      line.replace(at, f.text.size(), ValueOf(f.flag, project));
      found = true;
    }
  }
  return line;
}

namespace {
// Flag names are upper-case letters, digits and "_"; a text with any other
// byte can never complete one.
bool CanBePartOfFlagName(const std::string& text) {
  return std::all_of(text.begin(), text.end(), [](char c) {
    return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
  });
}

const FlagText* FlagAt(const std::string& line, size_t at) {
  for (const FlagText& f : kPassOrder) {
    if (line.compare(at, f.text.size(), f.text) == 0) return &f;
  }
  return nullptr;
}
}  // namespace

// When no two flags of the line share a "$", no value brings a "$", and every
// value holds a byte that no flag name has, no replacement can make or break
// another flag, so the passes come down to replacing every flag where it stands. That is one scan
// instead of one pass per repetition of a flag, which matters for long lines with many flags.
bool ReplaceFlagsAtOnce(const std::string& line, const Tprojet& project, std::string* out,
                        uint16_t* count) {
  out->clear();
  *count = 0;
  size_t copied = 0;  // end of the last flag taken
  for (size_t at = line.find('$'); at != std::string::npos; at = line.find('$', at + 1)) {
    const FlagText* flag = FlagAt(line, at);
    if (flag == nullptr) continue;
    if (at < copied) return false;  // shares its "$" with the flag before it
    std::string value = ValueOf(flag->flag, project);
    if (value.find('$') != std::string::npos || CanBePartOfFlagName(value)) return false;
    out->append(line, copied, at - copied);
    *out += value;
    copied = at + flag->text.size();
    ++*count;
    at = copied - 2;  // the closing "$" may open an overlapping flag: look again there
  }
  out->append(line, copied, std::string::npos);
  return true;
}

std::string TRAITE_LIGNE(std::string CHAINE, uint8_t OPTION, const Tprojet& PROJET,
                         uint16_t& FLAGCNT) {
  FLAGCNT = 0;
  // Without a "$" there is no flag: the line goes out as it came.
  if (CHAINE.find('$') == std::string::npos) return CHAINE;
  std::string result;
  if (!ReplaceFlagsAtOnce(CHAINE, PROJET, &result, &FLAGCNT)) {
    result = ReplaceFlagsByPasses(std::move(CHAINE), PROJET, &FLAGCNT);
  }
  if (IsVerboseConsole(OPTION) && FLAGCNT != 0) {
    WriteConsoleLine("-------> " + std::to_string(FLAGCNT) + " Flag(s) found !");
  }
  return result;
}

std::string TRAITE_LIGNE(const std::string& CHAINE, uint8_t OPTION, const Tprojet& PROJET) {
  uint16_t unused;
  return TRAITE_LIGNE(CHAINE, OPTION, PROJET, unused);
}

std::string CONVERT_LICENCE(const std::string& S) {
  std::string S2;
  S2.reserve(S.size());
  for (char c : S) {
    if (c == '%') {
      S2 += "\r\n";
    } else {
      S2 += c;
    }
  }
  size_t bar = S2.find('|');
  return bar == std::string::npos ? S2 : S2.substr(bar + 1);
}

std::string GET_YEAR(const LocalDate& DATE) { return std::to_string(DATE.year); }

std::string GET_MONTH_NAME(const LocalDate& DATE) { return MONTH_NAME[DATE.month]; }

}  // namespace quillet
