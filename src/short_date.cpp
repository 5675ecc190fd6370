#include "short_date.h"

#include <cctype>
#include <cstdio>
#include <string_view>

namespace quillet {
namespace {

char Lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }
bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// Appends a field so that it cannot merge with a run of the same letter before it.
void AppendField(std::string* out, std::string_view field) {
  if (!out->empty() && Lower(out->back()) == field[0]) *out += "''";
  *out += field;
}

// Literal text of the locale's format; letters are quoted so that they stay text.
void AppendLiteral(std::string* out, char c) {
  if (IsAsciiLetter(c)) {
    *out += '"';
    *out += c;
    *out += '"';
  } else if (c == '\'' || c == '"') {
    *out += c == '\'' ? "\"'\"" : "'\"'";
  } else {
    *out += c;
  }
}

// The field text of one conversion; "" drops it; false: no counterpart.
bool FieldOf(char conversion, std::string_view* field) {
  switch (conversion) {
    case 'd': *field = "dd"; return true;
    case 'e': *field = "d"; return true;
    case 'm': *field = "mm"; return true;
    case 'y': *field = "yy"; return true;
    case 'Y': *field = "yyyy"; return true;
    case 'b':
    case 'h': *field = "mmm"; return true;
    case 'B': *field = "mmmm"; return true;
    case 'a': *field = "ddd"; return true;
    case 'A': *field = "dddd"; return true;
    // Time and era fields have no place in a date.
    case 'H':
    case 'I':
    case 'k':
    case 'l':
    case 'M':
    case 'S':
    case 'p':
    case 'P':
    case 'r':
    case 'R':
    case 'T':
    case 'X':
    case 'Z':
    case 'z':
    case 'C':
    case 'G':
    case 'g':
    case 'n': *field = ""; return true;
    default: return false;
  }
}

std::string TwoDigits(int n) {
  char text[16];
  std::snprintf(text, sizeof text, "%02d", n % 100);
  return text;
}

std::string NumberOf(int n) { return std::to_string(n); }

std::string DayField(size_t run, const LocalDate& date, const DateLocale& names) {
  if (run == 1) return NumberOf(date.day);
  if (run == 2) return TwoDigits(date.day);
  if (run == 3) return names.abbreviated_days[date.weekday];
  return names.full_days[date.weekday];
}

std::string MonthField(size_t run, const LocalDate& date, const DateLocale& names) {
  if (run == 1) return NumberOf(date.month);
  if (run == 2) return TwoDigits(date.month);
  if (run == 3) return names.abbreviated_months[date.month - 1];
  return names.full_months[date.month - 1];
}

std::string YearField(size_t run, const LocalDate& date) {
  if (run <= 2) return TwoDigits(date.year);
  char text[16];
  std::snprintf(text, sizeof text, "%04d", date.year);
  return text;
}

bool IsTimeOrEraByte(char c) {
  return std::string_view("acseghntz:").find(Lower(c)) != std::string_view::npos;
}

}  // namespace

bool TranslateStrftimeFormat(const std::string& in, ShortDateFormat* out) {
  std::string format;
  for (size_t i = 0; i < in.size(); ++i) {
    if (in[i] != '%') {
      AppendLiteral(&format, in[i]);
      continue;
    }
    if (++i == in.size()) return false;
    while (i < in.size() && (in[i] == 'E' || in[i] == 'O')) ++i;  // locale modifiers
    if (i == in.size()) return false;
    char conversion = in[i];
    if (conversion == '%') {
      format += '%';
    } else if (conversion == 't') {
      format += '\t';
    } else if (conversion == 'D') {
      AppendField(&format, "mm/dd/yy");
    } else if (conversion == 'F') {
      AppendField(&format, "yyyy-mm-dd");
    } else {
      std::string_view field;
      if (!FieldOf(conversion, &field)) return false;
      if (!field.empty()) AppendField(&format, field);
    }
  }
  out->format = format;
  out->separator = '/';
  // The separator is the first byte between fields that is no letter and no quote.
  for (size_t i = 0; i < format.size(); ++i) {
    char c = format[i];
    if (c == '"' || c == '\'') {
      size_t close = format.find(c, i + 1);
      if (close == std::string::npos) break;
      i = close;
    } else if (!IsAsciiLetter(c) && static_cast<unsigned char>(c) > ' ') {
      out->separator = c;
      break;
    }
  }
  return true;
}

ShortDateFormat ShortDateFormatOf(const DateLocale& locale) {
  ShortDateFormat result;
  if (!locale.user_locale) return result;
  ShortDateFormat translated;
  if (TranslateStrftimeFormat(locale.short_format, &translated)) result = translated;
  return result;
}

std::string RenderShortDate(const ShortDateFormat& format, const LocalDate& date,
                            const DateLocale& names) {
  const std::string& f = format.format;
  std::string out;
  size_t i = 0;
  while (i < f.size()) {
    char c = f[i];
    char lower = Lower(c);
    if (lower == 'd' || lower == 'm' || lower == 'y') {
      size_t run = 1;
      while (i + run < f.size() && Lower(f[i + run]) == lower) ++run;
      if (lower == 'd') out += DayField(run, date, names);
      if (lower == 'm') out += MonthField(run, date, names);
      if (lower == 'y') out += YearField(run, date);
      i += run;
    } else if (c == '\'' || c == '"') {
      size_t close = f.find(c, i + 1);
      if (close == std::string::npos) close = f.size();
      out.append(f, i + 1, close - i - 1);
      i = close + 1;
    } else {
      if (c == '/') {
        out += format.separator;
      } else if (!IsTimeOrEraByte(c)) {
        out += c;
      }
      ++i;
    }
  }
  return out;
}

}  // namespace quillet
