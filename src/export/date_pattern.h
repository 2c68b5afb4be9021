// Date and time patterns: turning a date, a time or a date-time into text
// with the format settings.
//
// A DatePattern is compiled once from its pattern text and then applied to
// any number of values; applying it parses nothing. It copies the settings
// it needs, so it outlives them. Nothing here fails: every pattern has a
// meaning and every value a text.
//
//   DateTimeForms forms(settings);          // once
//   forms.date_time.Append(value, &line);   // per value
//
// The pattern language, letters matched without regard to case, a run of the
// same letter being one element:
//   d dd          day of the month (dd: two digits)
//   ddd dddd      short, long day name
//   ddddd         the short date pattern; dddddd and longer the long one
//   m mm          month (mm: two digits); minutes instead when the nearest
//                 letter before the run, outside quotes, is an h
//   mmm mmmm...   short, long month name
//   y yy          year in two digits; yyy and longer in four
//   h hh          hour; on the 12-hour clock when the first "a" after it,
//                 outside quotes and before any further h, begins AM/PM, A/P
//                 or AMPM, or when one of these stands before it
//   n nn, s ss    minute, second; z zzz milliseconds (always 0)
//   t tt...       the short, long time pattern
//   AM/PM A/P     the marker in the letter case written; AMPM the settings'
//                 AM or PM string
//   aaa aaaa      short, long day name; any other "a" stays as written
//   c             the short date pattern, then a blank and the long time
//                 pattern unless the time is 00:00:00
//   e ee...       the year without, with at least two digits (the Gregorian
//                 year: era calendars are not modelled); g gg... nothing
//   / :           the date, time separator
//   "..." '...'   the text between the quotes; an open quote runs to the end
//   anything else itself
// The patterns reached through c, t and ddddd are applied inside the one
// that names them; there the elements c, t and ddddd produce nothing. One
// application's whole output, those expansions included, is cut after 256
// bytes.
#ifndef QELT_EXPORT_DATE_PATTERN_H_
#define QELT_EXPORT_DATE_PATTERN_H_

#include <string>
#include <vector>

#include "db/date_time_value.h"
#include "export/format_settings.h"

// A date and time of day. For a time only the time fields are read by the
// long time pattern; for a date, zero time fields.

class DatePattern {
 public:
  DatePattern(const std::string& pattern, const FormatSettings& settings);

  // Appends the value's text to *out.
  void Append(const DateTimeValue& value, std::string* out) const;

 private:
  enum class Kind {
    kLiteral,         // text
    kDay,             // width 1 or 2
    kShortDayName,
    kLongDayName,
    kMonth,           // width 1 or 2
    kShortMonthName,
    kLongMonthName,
    kYear,            // at least `width` digits
    kYearOfCentury,   // two digits
    kHour,            // width 1 or 2, on the 24-hour clock
    kHour12,          // width 1 or 2, on the 12-hour clock
    kMinute,          // width 1 or 2
    kSecond,          // width 1 or 2
    kMarker,          // text before noon, other_text after
    kShortDate,       // the expansions, at the top level only
    kLongDate,
    kShortTime,
    kLongTime,
    kDateTime,
  };
  struct Element {
    Kind kind;
    int width;
    std::string text;
    std::string other_text;
  };
  using Elements = std::vector<Element>;

  Elements Compile(const std::string& pattern, bool top_level) const;
  void AppendElements(const Elements& elements, const DateTimeValue& value,
                      size_t start, std::string* out) const;

  FormatSettings settings_;
  Elements elements_;
  // The expansions the top-level pattern uses; empty when it uses none.
  Elements short_date_;
  Elements long_date_;
  Elements short_time_;
  Elements long_time_;
};

// The three forms of the row text: a date with the short date pattern, a
// time with the long time pattern, a date-time as "c".
struct DateTimeForms {
  explicit DateTimeForms(const FormatSettings& settings);

  DatePattern date;
  DatePattern time;
  DatePattern date_time;
};

#endif  // QELT_EXPORT_DATE_PATTERN_H_
