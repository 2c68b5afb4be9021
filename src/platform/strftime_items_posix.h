// The date and time locale items that follow from a locale's strftime
// formats (D_FMT, T_FMT, T_FMT_AMPM), apart from the C library itself so
// they can be worked out for any formats.
//
// StrftimeItem() answers the separators, the two date patterns (in the
// pattern language of date_pattern.h), the hour's leading zero, the clock and
// the marker position; it returns false for an item it can't work out from
// the formats and for every other item.
//
// - Separators: the first literal of the date (time) format that is ASCII
//   punctuation; blanks and other bytes are not separators.
// - Short date pattern: %d dd, %e d, %m MM, %y yy, %Y yyyy, %b MMM, %B MMMM,
//   %a ddd, %A dddd (%D, %F and %x spelled out first); the date separator
//   written as "/" so the date separator setting stands for it; letters,
//   "/", ":" and quotes of other literal text quoted.
// - Long date pattern: strftime has none; it is built from the order of
//   day, month and year in the date format: "MMMM d, yyyy" for month-day-
//   year, "yyyy MMMM d" when the year leads, "d MMMM yyyy" otherwise.
// - Clock: 24-hour for %H %k %T %R in the time format, 12-hour for %I %l
//   %r; without an hour there, 24-hour exactly when T_FMT_AMPM is empty.
// - Leading zero: %H and %I have it, %k, %l and the "-" flag do not.
// - Marker position: before when %p stands before the hour in T_FMT_AMPM.
#ifndef QELT_PLATFORM_STRFTIME_ITEMS_POSIX_H_
#define QELT_PLATFORM_STRFTIME_ITEMS_POSIX_H_

#include <string>

#include "platform/platform.h"

namespace platform {

struct StrftimeFormats {
  std::string date;         // D_FMT
  std::string time;         // T_FMT
  std::string twelve_hour;  // T_FMT_AMPM; empty when the locale has none
};

bool StrftimeItem(LocaleItem item, const StrftimeFormats& formats, std::string* text);

}  // namespace platform

#endif  // QELT_PLATFORM_STRFTIME_ITEMS_POSIX_H_
