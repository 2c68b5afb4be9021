// The date pattern formatter on arbitrary patterns, values and locale items.
// The input:
//   byte 0       bit 0 set: the value fields are any int; clear: they lie in
//                the range a fetched value has, bits 1-2 picking a date-time,
//                a date or a time
//   bytes 1-24   year, month, day, hour, minute, second, 32 bits each, least
//                significant byte first
//   the rest     parts ended by NUL bytes: the pattern, then the locale items
//                in the order of kItems; an item past the last part is not
//                supplied and keeps its default
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "db/date_time_value.h"
#include "export/date_pattern.h"
#include "export/format_settings.h"
#include "fuzz_check.h"
#include "platform/platform.h"

namespace {

using platform::LocaleItem;

constexpr size_t kMaxOutput = 256;
constexpr size_t kHeaderSize = 25;

// The patterns and one-byte items first: they are what the formatter parses.
std::vector<std::pair<LocaleItem, int>> LocaleItems() {
  std::vector<std::pair<LocaleItem, int>> items = {
      {LocaleItem::kShortDatePattern, 0}, {LocaleItem::kLongDatePattern, 0},
      {LocaleItem::kAmString, 0},         {LocaleItem::kPmString, 0},
      {LocaleItem::kDateSeparator, 0},    {LocaleItem::kTimeSeparator, 0},
      {LocaleItem::kClock, 0},            {LocaleItem::kTimeMarkPosition, 0},
      {LocaleItem::kHourLeadingZero, 0},  {LocaleItem::kCalendarType, 0},
      {LocaleItem::kPrimaryLanguage, 0},  {LocaleItem::kDecimalSeparator, 0},
  };
  for (int month = 1; month <= 12; ++month) {
    items.emplace_back(LocaleItem::kShortMonthName, month);
    items.emplace_back(LocaleItem::kLongMonthName, month);
  }
  for (int day = 1; day <= 7; ++day) {
    items.emplace_back(LocaleItem::kShortDayName, day);
    items.emplace_back(LocaleItem::kLongDayName, day);
  }
  return items;
}

const std::vector<std::pair<LocaleItem, int>> kItems = LocaleItems();

uint32_t Field(const std::string& header, size_t n) {
  uint32_t field = 0;
  for (size_t i = 0; i < 4; ++i) {
    field |= static_cast<uint32_t>(static_cast<unsigned char>(header[1 + 4 * n + i])) << (8 * i);
  }
  return field;
}

int DaysInMonth(int year, int month) {
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return month == 2 && leap ? 29 : kDays[month - 1];
}

DateTimeValue ValueFrom(const std::string& header) {
  uint32_t f[6];
  for (size_t n = 0; n < 6; ++n) f[n] = Field(header, n);
  const unsigned char flags = static_cast<unsigned char>(header[0]);
  if (flags & 1) {
    return {static_cast<int32_t>(f[0]), static_cast<int32_t>(f[1]), static_cast<int32_t>(f[2]),
            static_cast<int32_t>(f[3]), static_cast<int32_t>(f[4]), static_cast<int32_t>(f[5])};
  }
  DateTimeValue value{};
  const int kind = (flags >> 1) & 3;  // 1 a date, 2 a time, else a date-time
  if (kind != 2) {
    value.year = static_cast<int>(1 + f[0] % 9999);
    value.month = static_cast<int>(1 + f[1] % 12);
    const auto days = static_cast<uint32_t>(DaysInMonth(value.year, value.month));
    value.day = static_cast<int>(1 + f[2] % days);
  }
  if (kind != 1) {
    value.hour = static_cast<int>(f[3] % 24);
    value.minute = static_cast<int>(f[4] % 60);
    value.second = static_cast<int>(f[5] % 60);
  }
  return value;
}

bool PatternIsLiteral(const std::string& pattern) {
  for (char c : pattern) {
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '"' || c == '\'' ||
        c == '/' || c == ':') {
      return false;
    }
  }
  return true;
}

// Appends the value's text behind a byte already there and checks that the
// byte stays and the text is cut after 256 bytes.
std::string Apply(const DatePattern& pattern, const DateTimeValue& value) {
  std::string out = "#";
  pattern.Append(value, &out);
  Check(out[0] == '#', "the text is appended to what is there");
  Check(out.size() - 1 <= kMaxOutput, "the text is cut after 256 bytes");
  return out.substr(1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string input = InputText(data, size);
  const std::string header = (input.substr(0, kHeaderSize) + std::string(kHeaderSize, '\0'))
                                 .substr(0, kHeaderSize);
  std::vector<std::string> parts;
  for (size_t pos = kHeaderSize; pos < input.size();) {
    const size_t end = std::min(input.find('\0', pos), input.size());
    parts.push_back(input.substr(pos, end - pos));
    pos = end + 1;
  }
  const std::string pattern_text = parts.empty() ? std::string() : parts[0];

  const LocaleItemSource source = [&parts](LocaleItem item, int index, std::string* text) {
    for (size_t i = 0; i < kItems.size() && i + 1 < parts.size(); ++i) {
      if (kItems[i].first == item && kItems[i].second == index) {
        *text = parts[i + 1];
        return true;
      }
    }
    return false;
  };
  const FormatSettings settings = ReadFormatSettings(source);
  const DateTimeValue value = ValueFrom(header);

  const DatePattern pattern(pattern_text, settings);
  const std::string text = Apply(pattern, value);
  if (PatternIsLiteral(pattern_text)) {
    Check(text == pattern_text.substr(0, kMaxOutput), "a pattern without elements is itself");
  }
  Check(Apply(pattern, value) == text, "a compiled pattern gives the same text each time");

  const DateTimeForms forms(settings);
  Apply(forms.date, value);
  Apply(forms.time, value);
  Apply(forms.date_time, value);
  return 0;
}
