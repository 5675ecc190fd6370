// The "$DATE$" value: the user's short date format, rendered for a date.
#pragma once

#include <string>

#include "platform/platform.h"

namespace quillet {

struct ShortDateFormat {
  std::string format = "m/d/yy";  // the fallback when the locale gives none
  char separator = '/';
};

// Translates a strftime-style date format ("%d.%m.%Y") into the format text
// ("dd.mm.yyyy"). False when it holds a conversion that has no counterpart.
bool TranslateStrftimeFormat(const std::string& strftime_format, ShortDateFormat* out);

// The user's short date format, or the fallback when no locale is set.
ShortDateFormat ShortDateFormatOf(const DateLocale& locale);

std::string RenderShortDate(const ShortDateFormat& format, const LocalDate& date,
                            const DateLocale& names);

}  // namespace quillet
