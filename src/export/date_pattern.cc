#include "export/date_pattern.h"

#include <charconv>
#include <cstdint>

namespace {

// One application's output is cut after this many bytes.
constexpr size_t kMaxOutput = 256;

// Only ASCII letters are pattern letters, whatever the process's locale.
char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

bool IsQuote(char c) { return c == '"' || c == '\''; }

bool MatchesAt(const std::string& text, size_t pos, const char* lower_word) {
  for (size_t i = 0; lower_word[i] != '\0'; ++i) {
    if (pos + i >= text.size() || Lower(text[pos + i]) != lower_word[i]) return false;
  }
  return true;
}

// The length of the marker element that starts at `pos`: 5 for AM/PM, 3 for
// A/P, 4 for AMPM, 0 for none.
size_t MarkerLengthAt(const std::string& pattern, size_t pos) {
  if (MatchesAt(pattern, pos, "am/pm")) return 5;
  if (MatchesAt(pattern, pos, "a/p")) return 3;
  if (MatchesAt(pattern, pos, "ampm")) return 4;
  return 0;
}

// The position after the quoted text that opens at `pos`; an open quote runs
// to the end.
size_t SkipQuoted(const std::string& pattern, size_t pos) {
  size_t close = pattern.find(pattern[pos], pos + 1);
  return close == std::string::npos ? pattern.size() : close + 1;
}

// Whether an hour ending at `pos` is on the 12-hour clock by what follows it:
// the first "a" outside quotes, before any further "h", begins a marker.
bool MarkerFollows(const std::string& pattern, size_t pos) {
  while (pos < pattern.size()) {
    if (IsQuote(pattern[pos])) {
      pos = SkipQuoted(pattern, pos);
      continue;
    }
    char c = Lower(pattern[pos]);
    if (c == 'h') return false;
    if (c == 'a') return MarkerLengthAt(pattern, pos) != 0;
    ++pos;
  }
  return false;
}

void AppendNumber(int value, int width, std::string* out) {
  char text[16];
  char* end = std::to_chars(text, text + sizeof text, value).ptr;
  int length = static_cast<int>(end - text);
  if (length < width) out->append(static_cast<size_t>(width - length), '0');
  out->append(text, end);
}

// 0 for Sunday to 6 for Saturday, on the proleptic Gregorian calendar.
// Counted in 64 bits: the sum overflows an int for years and days near the
// int's limits, and every value is to have a text.
int DayOfWeek(int year, int month, int day) {
  static const int kMonthOffsets[] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
  int64_t y = month < 3 ? int64_t{year} - 1 : year;
  int64_t days = y + y / 4 - y / 100 + y / 400 + kMonthOffsets[month - 1] + day;
  return static_cast<int>((days % 7 + 7) % 7);
}

bool ValidMonth(int month) { return month >= 1 && month <= 12; }

}  // namespace

DatePattern::DatePattern(const std::string& pattern, const FormatSettings& settings)
    : settings_(settings), elements_(Compile(pattern, true)) {
  for (const Element& element : elements_) {
    bool date = element.kind == Kind::kShortDate || element.kind == Kind::kDateTime;
    bool time = element.kind == Kind::kLongTime || element.kind == Kind::kDateTime;
    if (date && short_date_.empty()) short_date_ = Compile(settings_.short_date_pattern, false);
    if (time && long_time_.empty()) long_time_ = Compile(settings_.long_time_pattern, false);
    if (element.kind == Kind::kLongDate && long_date_.empty()) {
      long_date_ = Compile(settings_.long_date_pattern, false);
    }
    if (element.kind == Kind::kShortTime && short_time_.empty()) {
      short_time_ = Compile(settings_.short_time_pattern, false);
    }
  }
}

DatePattern::Elements DatePattern::Compile(const std::string& pattern,
                                           bool top_level) const {
  Elements elements;
  auto add = [&elements](Kind kind, int width) {
    elements.push_back(Element{kind, width, std::string(), std::string()});
  };
  // Adjacent literal text becomes one element.
  auto add_text = [&elements](const std::string& text) {
    if (text.empty()) return;
    if (elements.empty() || elements.back().kind != Kind::kLiteral) {
      elements.push_back(Element{Kind::kLiteral, 0, std::string(), std::string()});
    }
    elements.back().text += text;
  };
  auto add_expansion = [&](Kind kind) {
    if (top_level) add(kind, 0);
  };

  char last_letter = '\0';  // the nearest letter so far, outside quotes
  bool marker_seen = false;
  size_t pos = 0;
  while (pos < pattern.size()) {
    char c = pattern[pos];
    if (IsQuote(c)) {
      size_t close = pattern.find(c, pos + 1);
      if (close == std::string::npos) close = pattern.size();
      add_text(pattern.substr(pos + 1, close - pos - 1));
      pos = close + 1;
      continue;
    }
    if (!IsLetter(c)) {
      if (c == '/') {
        add_text(std::string(1, settings_.date_separator));
      } else if (c == ':') {
        add_text(std::string(1, settings_.time_separator));
      } else {
        add_text(std::string(1, c));
      }
      ++pos;
      continue;
    }

    char letter = Lower(c);
    size_t marker_length = letter == 'a' ? MarkerLengthAt(pattern, pos) : 0;
    if (marker_length != 0) {
      Element marker{Kind::kMarker, 0, settings_.am_string, settings_.pm_string};
      if (marker_length == 5) {
        marker.text = pattern.substr(pos, 2);
        marker.other_text = pattern.substr(pos + 3, 2);
      } else if (marker_length == 3) {
        marker.text = pattern.substr(pos, 1);
        marker.other_text = pattern.substr(pos + 2, 1);
      }
      elements.push_back(marker);
      marker_seen = true;
      last_letter = Lower(pattern[pos + marker_length - 1]);
      pos += marker_length;
      continue;
    }

    size_t run_end = pos + 1;
    while (run_end < pattern.size() && Lower(pattern[run_end]) == letter) ++run_end;
    int count = static_cast<int>(run_end - pos);
    int width = count == 1 ? 1 : 2;
    switch (letter) {
      case 'd':
        if (count <= 2) {
          add(Kind::kDay, width);
        } else if (count == 3) {
          add(Kind::kShortDayName, 0);
        } else if (count == 4) {
          add(Kind::kLongDayName, 0);
        } else {
          add_expansion(count == 5 ? Kind::kShortDate : Kind::kLongDate);
        }
        break;
      case 'm':
        if (last_letter == 'h') {
          add(Kind::kMinute, width);
        } else if (count <= 2) {
          add(Kind::kMonth, width);
        } else {
          add(count == 3 ? Kind::kShortMonthName : Kind::kLongMonthName, 0);
        }
        break;
      case 'y':
        if (count <= 2) {
          add(Kind::kYearOfCentury, 2);
        } else {
          add(Kind::kYear, 4);
        }
        break;
      case 'h':
        add(marker_seen || MarkerFollows(pattern, run_end) ? Kind::kHour12 : Kind::kHour,
            width);
        break;
      case 'n':
        add(Kind::kMinute, width);
        break;
      case 's':
        add(Kind::kSecond, width);
        break;
      case 'z':
        add_text(count == 1 ? "0" : "000");
        break;
      case 't':
        add_expansion(count == 1 ? Kind::kShortTime : Kind::kLongTime);
        break;
      case 'c':
        add_expansion(Kind::kDateTime);
        break;
      case 'e':
        add(Kind::kYear, width);
        break;
      case 'g':
        // The Gregorian calendar names no era.
        break;
      case 'a':
        if (count == 3) {
          add(Kind::kShortDayName, 0);
        } else if (count == 4) {
          add(Kind::kLongDayName, 0);
        } else {
          add_text(pattern.substr(pos, run_end - pos));
        }
        break;
      default:
        add_text(pattern.substr(pos, run_end - pos));
        break;
    }
    last_letter = letter;
    pos = run_end;
  }
  return elements;
}

void DatePattern::Append(const DateTimeValue& value, std::string* out) const {
  size_t start = out->size();
  AppendElements(elements_, value, start, out);
  if (out->size() - start > kMaxOutput) out->resize(start + kMaxOutput);
}

void DatePattern::AppendElements(const Elements& elements, const DateTimeValue& value,
                                 size_t start, std::string* out) const {
  for (const Element& element : elements) {
    // What lies past the cut is not worth making.
    if (out->size() - start >= kMaxOutput) return;
    switch (element.kind) {
      case Kind::kLiteral:
        out->append(element.text);
        break;
      case Kind::kDay:
        AppendNumber(value.day, element.width, out);
        break;
      case Kind::kShortDayName:
      case Kind::kLongDayName:
        if (ValidMonth(value.month)) {
          int weekday = DayOfWeek(value.year, value.month, value.day);
          out->append(element.kind == Kind::kShortDayName ? settings_.short_day_names[weekday]
                                                          : settings_.long_day_names[weekday]);
        }
        break;
      case Kind::kMonth:
        AppendNumber(value.month, element.width, out);
        break;
      case Kind::kShortMonthName:
        if (ValidMonth(value.month)) out->append(settings_.short_month_names[value.month - 1]);
        break;
      case Kind::kLongMonthName:
        if (ValidMonth(value.month)) out->append(settings_.long_month_names[value.month - 1]);
        break;
      case Kind::kYear:
        AppendNumber(value.year, element.width, out);
        break;
      case Kind::kYearOfCentury:
        AppendNumber(value.year % 100, 2, out);
        break;
      case Kind::kHour:
        AppendNumber(value.hour, element.width, out);
        break;
      case Kind::kHour12:
        AppendNumber(value.hour % 12 == 0 ? 12 : value.hour % 12, element.width, out);
        break;
      case Kind::kMinute:
        AppendNumber(value.minute, element.width, out);
        break;
      case Kind::kSecond:
        AppendNumber(value.second, element.width, out);
        break;
      case Kind::kMarker:
        out->append(value.hour < 12 ? element.text : element.other_text);
        break;
      case Kind::kShortDate:
        AppendElements(short_date_, value, start, out);
        break;
      case Kind::kLongDate:
        AppendElements(long_date_, value, start, out);
        break;
      case Kind::kShortTime:
        AppendElements(short_time_, value, start, out);
        break;
      case Kind::kLongTime:
        AppendElements(long_time_, value, start, out);
        break;
      case Kind::kDateTime:
        AppendElements(short_date_, value, start, out);
        if (value.hour != 0 || value.minute != 0 || value.second != 0) {
          out->push_back(' ');
          AppendElements(long_time_, value, start, out);
        }
        break;
    }
  }
}

DateTimeForms::DateTimeForms(const FormatSettings& settings)
    : date(settings.short_date_pattern, settings),
      time(settings.long_time_pattern, settings),
      date_time("c", settings) {}
