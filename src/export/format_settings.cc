#include "export/format_settings.h"

#include <cctype>
#include <charconv>
#include <system_error>

namespace {

using platform::LocaleItem;

// A locale text is read into a 256-byte buffer with its terminating zero.
constexpr size_t kMaxItemText = 255;

// The locale's text for the item, cut as the buffer cuts it; false when the
// locale supplies none.
bool ReadItem(const LocaleItemSource& source, LocaleItem item, int index,
              std::string* text) {
  if (!source(item, index, text)) return false;
  if (text->size() > kMaxItemText) text->resize(kMaxItemText);
  return true;
}

// The locale's text for the item, or `fallback` when it supplies none.
std::string ReadText(const LocaleItemSource& source, LocaleItem item, int index,
                     const std::string& fallback) {
  std::string text;
  return ReadItem(source, item, index, &text) ? text : fallback;
}

// A one-byte item: a text of any other length does not fit the two-byte
// buffer (the byte and the terminating zero), so the default applies.
char ReadByte(const LocaleItemSource& source, LocaleItem item, char fallback) {
  std::string text;
  if (!source(item, 0, &text) || text.size() != 1) return fallback;
  return text[0];
}

// A number given as decimal text; text that is no number counts as 0.
int ReadNumber(const LocaleItemSource& source, LocaleItem item, int fallback) {
  std::string text;
  if (!source(item, 0, &text)) return fallback;
  const char* begin = text.data();
  const char* end = begin + text.size();
  if (begin != end && *begin == '+') ++begin;
  int number = 0;
  std::from_chars_result result = std::from_chars(begin, end, number);
  if (result.ec != std::errc() || result.ptr != end) return 0;
  return number;
}

bool MatchesAt(const std::string& text, size_t pos, const char* lower_word) {
  for (size_t i = 0; lower_word[i] != '\0'; ++i) {
    if (pos + i >= text.size() ||
        std::tolower(static_cast<unsigned char>(text[pos + i])) != lower_word[i]) {
      return false;
    }
  }
  return true;
}

// The era calendars count years in eras: "gg" becomes "ggg", "yyyy" "eeee",
// "yy" "ee" and a single "y" "e", letter case ignored.
std::string ToEraPattern(const std::string& pattern) {
  static const struct {
    const char* from;
    const char* to;
  } kReplacements[] = {{"gg", "ggg"}, {"yyyy", "eeee"}, {"yy", "ee"}, {"y", "e"}};
  std::string result;
  size_t pos = 0;
  while (pos < pattern.size()) {
    bool replaced = false;
    for (const auto& replacement : kReplacements) {
      if (MatchesAt(pattern, pos, replacement.from)) {
        result += replacement.to;
        pos += std::char_traits<char>::length(replacement.from);
        replaced = true;
        break;
      }
    }
    if (!replaced) result += pattern[pos++];
  }
  return result;
}

// Chinese, Japanese and Korean patterns lose their era letters.
std::string WithoutEraNames(const std::string& pattern) {
  std::string result;
  for (char c : pattern) {
    if (c != 'g' && c != 'G') result += c;
  }
  return result;
}

bool IsEraCalendar(int calendar_type) {
  return calendar_type >= 3 && calendar_type <= 5;
}

bool IsCjkLanguage(const std::string& language) {
  std::string lower;
  for (char c : language.substr(0, 2)) {
    lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  return lower == "zh" || lower == "ja" || lower == "ko";
}

// A date pattern as the locale gives it, translated for its calendar and
// language; the default stays as it is.
std::string ReadDatePattern(const LocaleItemSource& source, LocaleItem item,
                            const std::string& fallback, int calendar_type,
                            const std::string& language) {
  std::string text;
  if (!ReadItem(source, item, 0, &text)) return fallback;
  if (IsEraCalendar(calendar_type)) return ToEraPattern(text);
  if (IsCjkLanguage(language)) return WithoutEraNames(text);
  return text;
}

}  // namespace

FormatSettings DefaultFormatSettings() {
  FormatSettings settings{'.', '/', ':', "m/d/yy", "mmmm d, yyyy",
                          "h:mm AMPM", "h:mm:ss AMPM", "am", "pm",
                          {"Jan", "Feb", "Mär", "Apr", "Mai", "Jun", "Jul", "Aug",
                           "Sep", "Okt", "Nov", "Dez"},
                          {"Januar", "Februar", "März", "April", "Mai", "Juni",
                           "Juli", "August", "September", "Oktober", "November",
                           "Dezember"},
                          {"So", "Mo", "Di", "Mi", "Do", "Fr", "Sa"},
                          {"Sonntag", "Montag", "Dienstag", "Mittwoch", "Donnerstag",
                           "Freitag", "Samstag"},
                          1};
  return settings;
}

FormatSettings ReadFormatSettings() {
  return ReadFormatSettings(platform::GetLocaleItem);
}

FormatSettings ReadFormatSettings(const LocaleItemSource& source) {
  FormatSettings settings = DefaultFormatSettings();
  settings.decimal_separator =
      ReadByte(source, LocaleItem::kDecimalSeparator, settings.decimal_separator);
  settings.date_separator =
      ReadByte(source, LocaleItem::kDateSeparator, settings.date_separator);
  settings.time_separator =
      ReadByte(source, LocaleItem::kTimeSeparator, settings.time_separator);

  settings.calendar_type = ReadNumber(source, LocaleItem::kCalendarType, 1);
  std::string language = ReadText(source, LocaleItem::kPrimaryLanguage, 0, "");
  settings.short_date_pattern =
      ReadDatePattern(source, LocaleItem::kShortDatePattern, settings.short_date_pattern,
                      settings.calendar_type, language);
  settings.long_date_pattern =
      ReadDatePattern(source, LocaleItem::kLongDatePattern, settings.long_date_pattern,
                      settings.calendar_type, language);

  settings.am_string = ReadText(source, LocaleItem::kAmString, 0, settings.am_string);
  settings.pm_string = ReadText(source, LocaleItem::kPmString, 0, settings.pm_string);

  std::string hour = ReadNumber(source, LocaleItem::kHourLeadingZero, 0) == 0 ? "h" : "hh";
  std::string prefix;
  std::string postfix;
  if (ReadNumber(source, LocaleItem::kClock, 0) == 0) {
    if (ReadNumber(source, LocaleItem::kTimeMarkPosition, 0) == 0) {
      postfix = " AMPM";
    } else {
      prefix = "AMPM ";
    }
  }
  settings.short_time_pattern = prefix + hour + ":mm" + postfix;
  settings.long_time_pattern = prefix + hour + ":mm:ss" + postfix;

  for (int i = 0; i < 12; ++i) {
    settings.short_month_names[i] = ReadText(source, LocaleItem::kShortMonthName, i + 1,
                                             settings.short_month_names[i]);
    settings.long_month_names[i] = ReadText(source, LocaleItem::kLongMonthName, i + 1,
                                            settings.long_month_names[i]);
  }
  for (int i = 0; i < 7; ++i) {
    settings.short_day_names[i] = ReadText(source, LocaleItem::kShortDayName, i + 1,
                                           settings.short_day_names[i]);
    settings.long_day_names[i] = ReadText(source, LocaleItem::kLongDayName, i + 1,
                                          settings.long_day_names[i]);
  }
  return settings;
}
