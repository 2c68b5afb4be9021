// The locale items from the C library's locale (setlocale, nl_langinfo).
//
// The neutral locale ("C", "POSIX" and their codeset forms such as
// "C.UTF-8") supplies nothing, so its users get the program's defaults. The
// date and time items that strftime formats describe are worked out by
// strftime_items_posix.h; names and AM/PM strings are the locale's bytes as
// they are.
#include <langinfo.h>
#include <locale.h>

#include <cctype>
#include <cstring>
#include <string>

#include "platform/platform.h"
#include "platform/strftime_items_posix.h"

namespace platform {
namespace {

bool IsNeutralLocale(int category) {
  const char* name = setlocale(category, nullptr);
  return name == nullptr || std::strcmp(name, "C") == 0 ||
         std::strcmp(name, "POSIX") == 0 || std::strncmp(name, "C.", 2) == 0;
}

bool Name(nl_item first, int index, int count, std::string* text) {
  if (index < 1 || index > count) return false;
  *text = nl_langinfo(static_cast<nl_item>(first + index - 1));
  return true;
}

}  // namespace

void InitLocale() { setlocale(LC_ALL, ""); }

bool GetLocaleItem(LocaleItem item, int index, std::string* text) {
  switch (item) {
    case LocaleItem::kCalendarType:
      *text = "1";
      return true;
    case LocaleItem::kDecimalSeparator:
      if (IsNeutralLocale(LC_NUMERIC)) return false;
      *text = nl_langinfo(RADIXCHAR);
      return true;
    default:
      break;
  }
  // Everything else belongs to LC_TIME.
  if (IsNeutralLocale(LC_TIME)) return false;
  switch (item) {
    case LocaleItem::kAmString:
      *text = nl_langinfo(AM_STR);
      return true;
    case LocaleItem::kPmString:
      *text = nl_langinfo(PM_STR);
      return true;
    case LocaleItem::kPrimaryLanguage: {
      const char* name = setlocale(LC_TIME, nullptr);
      if (!std::isalpha(static_cast<unsigned char>(name[0])) ||
          !std::isalpha(static_cast<unsigned char>(name[1]))) {
        return false;
      }
      *text = std::string(name, 2);
      return true;
    }
    case LocaleItem::kShortMonthName:
      return Name(ABMON_1, index, 12, text);
    case LocaleItem::kLongMonthName:
      return Name(MON_1, index, 12, text);
    case LocaleItem::kShortDayName:
      return Name(ABDAY_1, index, 7, text);
    case LocaleItem::kLongDayName:
      return Name(DAY_1, index, 7, text);
    default: {
      StrftimeFormats formats{nl_langinfo(D_FMT), nl_langinfo(T_FMT),
                              nl_langinfo(T_FMT_AMPM)};
      return StrftimeItem(item, formats, text);
    }
  }
}

}  // namespace platform
