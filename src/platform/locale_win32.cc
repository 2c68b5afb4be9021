// The locale items from the calling thread's locale (GetLocaleInfoA), in
// the ANSI code page.
#include <windows.h>

#include <string>

#include "platform/platform.h"

namespace platform {

namespace {

// The system item for a name item, or 0 when `index` is out of range. The
// system counts the days from Monday; the program from Sunday.
LCTYPE NameItem(LocaleItem item, int index) {
  switch (item) {
    case LocaleItem::kShortMonthName:
      return index >= 1 && index <= 12 ? LOCALE_SABBREVMONTHNAME1 + index - 1 : 0;
    case LocaleItem::kLongMonthName:
      return index >= 1 && index <= 12 ? LOCALE_SMONTHNAME1 + index - 1 : 0;
    case LocaleItem::kShortDayName:
      if (index == 1) return LOCALE_SABBREVDAYNAME7;
      return index >= 2 && index <= 7 ? LOCALE_SABBREVDAYNAME1 + index - 2 : 0;
    case LocaleItem::kLongDayName:
      if (index == 1) return LOCALE_SDAYNAME7;
      return index >= 2 && index <= 7 ? LOCALE_SDAYNAME1 + index - 2 : 0;
    default:
      return 0;
  }
}

LCTYPE SystemItem(LocaleItem item, int index) {
  switch (item) {
    case LocaleItem::kDecimalSeparator: return LOCALE_SDECIMAL;
    case LocaleItem::kDateSeparator: return LOCALE_SDATE;
    case LocaleItem::kTimeSeparator: return LOCALE_STIME;
    case LocaleItem::kShortDatePattern: return LOCALE_SSHORTDATE;
    case LocaleItem::kLongDatePattern: return LOCALE_SLONGDATE;
    case LocaleItem::kAmString: return LOCALE_S1159;
    case LocaleItem::kPmString: return LOCALE_S2359;
    case LocaleItem::kHourLeadingZero: return LOCALE_ITLZERO;
    case LocaleItem::kClock: return LOCALE_ITIME;
    case LocaleItem::kTimeMarkPosition: return LOCALE_ITIMEMARKPOSN;
    case LocaleItem::kCalendarType: return LOCALE_ICALENDARTYPE;
    case LocaleItem::kPrimaryLanguage: return LOCALE_SISO639LANGNAME;
    default: return NameItem(item, index);
  }
}

}  // namespace

// The thread starts with the user's locale; there is nothing to prepare.
void InitLocale() {}

bool GetLocaleItem(LocaleItem item, int index, std::string* text) {
  LCTYPE type = SystemItem(item, index);
  if (type == 0) return false;
  char value[256];
  int length = GetLocaleInfoA(GetThreadLocale(), type, value, sizeof value);
  if (length <= 0) return false;
  text->assign(value, static_cast<size_t>(length - 1));
  return true;
}

}  // namespace platform
