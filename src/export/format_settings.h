// The format settings: the regional separators, date and time patterns and
// names that the result file's number and date forms use.
//
// ReadFormatSettings() is called once at start-up, after
// platform::InitLocale(), and its result stays fixed for the run. It never
// fails: every item the locale does not supply keeps its default
// (DefaultFormatSettings()), and numeric items that are no number read as 0.
// The time patterns are never taken from the locale; they are always built
// from the hour form, the clock and the marker position, so a time always
// shows hours, minutes and seconds.
#ifndef QELT_EXPORT_FORMAT_SETTINGS_H_
#define QELT_EXPORT_FORMAT_SETTINGS_H_

#include <functional>
#include <string>

#include "platform/platform.h"

struct FormatSettings {
  char decimal_separator;
  char date_separator;
  char time_separator;
  // Patterns in the language of date_pattern.h.
  std::string short_date_pattern;
  std::string long_date_pattern;
  std::string short_time_pattern;  // e.g. "h:mm AMPM" or "hh:mm"
  std::string long_time_pattern;   // e.g. "h:mm:ss AMPM" or "hh:mm:ss"
  std::string am_string;
  std::string pm_string;
  std::string short_month_names[12];  // January first
  std::string long_month_names[12];
  std::string short_day_names[7];  // Sunday first
  std::string long_day_names[7];
  int calendar_type;  // 1 Gregorian; 3, 4 and 5 are the era calendars
};

// The settings of a locale that supplies nothing.
FormatSettings DefaultFormatSettings();

// Where the locale items come from: sets *text and returns true, or returns
// false when the item is not supplied. platform::GetLocaleItem is the real one.
using LocaleItemSource =
    std::function<bool(platform::LocaleItem item, int index, std::string* text)>;

// The settings from the user's locale.
FormatSettings ReadFormatSettings();

// The settings from `source`; ReadFormatSettings() with a source of its own.
FormatSettings ReadFormatSettings(const LocaleItemSource& source);

#endif  // QELT_EXPORT_FORMAT_SETTINGS_H_
