#include "export/format_settings.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>

namespace {

using platform::LocaleItem;

// A locale that supplies exactly the items put into it.
class FakeLocale {
 public:
  FakeLocale& Set(LocaleItem item, const std::string& text, int index = 0) {
    items_[{item, index}] = text;
    return *this;
  }
  FormatSettings Read() const {
    return ReadFormatSettings([this](LocaleItem item, int index, std::string* text) {
      auto found = items_.find({item, index});
      if (found == items_.end()) return false;
      *text = found->second;
      return true;
    });
  }

 private:
  std::map<std::pair<LocaleItem, int>, std::string> items_;
};

TEST(FormatSettingsTest, DefaultsWhenTheLocaleSuppliesNothing) {
  FormatSettings settings = FakeLocale().Read();
  EXPECT_EQ(settings.decimal_separator, '.');
  EXPECT_EQ(settings.date_separator, '/');
  EXPECT_EQ(settings.time_separator, ':');
  EXPECT_EQ(settings.short_date_pattern, "m/d/yy");
  EXPECT_EQ(settings.long_date_pattern, "mmmm d, yyyy");
  EXPECT_EQ(settings.short_time_pattern, "h:mm AMPM");
  EXPECT_EQ(settings.long_time_pattern, "h:mm:ss AMPM");
  EXPECT_EQ(settings.am_string, "am");
  EXPECT_EQ(settings.pm_string, "pm");
  EXPECT_EQ(settings.calendar_type, 1);
  const char* short_months[] = {"Jan", "Feb", "Mär", "Apr", "Mai", "Jun",
                                "Jul", "Aug", "Sep",         "Okt", "Nov", "Dez"};
  const char* long_months[] = {"Januar", "Februar", "März", "April",
                               "Mai",    "Juni",    "Juli",        "August",
                               "September", "Oktober", "November", "Dezember"};
  for (int i = 0; i < 12; ++i) {
    EXPECT_EQ(settings.short_month_names[i], short_months[i]);
    EXPECT_EQ(settings.long_month_names[i], long_months[i]);
  }
  const char* short_days[] = {"So", "Mo", "Di", "Mi", "Do", "Fr", "Sa"};
  const char* long_days[] = {"Sonntag",    "Montag",  "Dienstag", "Mittwoch",
                             "Donnerstag", "Freitag", "Samstag"};
  for (int i = 0; i < 7; ++i) {
    EXPECT_EQ(settings.short_day_names[i], short_days[i]);
    EXPECT_EQ(settings.long_day_names[i], long_days[i]);
  }
}

TEST(FormatSettingsTest, OneByteItemsTakeExactlyOneByte) {
  const struct {
    const char* text;
    bool taken;
  } cases[] = {{",", true}, {"-", true}, {"", false}, {",,", false}, {"\xC2\xB7", false}};
  for (const auto& c : cases) {
    FormatSettings settings = FakeLocale()
                                  .Set(LocaleItem::kDecimalSeparator, c.text)
                                  .Set(LocaleItem::kDateSeparator, c.text)
                                  .Set(LocaleItem::kTimeSeparator, c.text)
                                  .Read();
    EXPECT_EQ(settings.decimal_separator, c.taken ? c.text[0] : '.') << "text " << c.text;
    EXPECT_EQ(settings.date_separator, c.taken ? c.text[0] : '/') << "text " << c.text;
    EXPECT_EQ(settings.time_separator, c.taken ? c.text[0] : ':') << "text " << c.text;
  }
}

TEST(FormatSettingsTest, TextItemsTakeWhatTheLocaleGives) {
  std::string long_text(300, 'x');
  FormatSettings settings = FakeLocale()
                                .Set(LocaleItem::kAmString, "")
                                .Set(LocaleItem::kPmString, long_text)
                                .Set(LocaleItem::kShortDatePattern, "dd.MM.yyyy")
                                .Set(LocaleItem::kLongDatePattern, "dddd, d. MMMM yyyy")
                                .Read();
  EXPECT_EQ(settings.am_string, "");
  EXPECT_EQ(settings.pm_string, std::string(255, 'x'));
  EXPECT_EQ(settings.short_date_pattern, "dd.MM.yyyy");
  EXPECT_EQ(settings.long_date_pattern, "dddd, d. MMMM yyyy");
}

TEST(FormatSettingsTest, NamesByIndex) {
  FakeLocale locale;
  for (int i = 1; i <= 12; ++i) {
    locale.Set(LocaleItem::kShortMonthName, "m" + std::to_string(i), i);
    locale.Set(LocaleItem::kLongMonthName, "month" + std::to_string(i), i);
  }
  for (int i = 1; i <= 7; ++i) {
    locale.Set(LocaleItem::kShortDayName, "d" + std::to_string(i), i);
    locale.Set(LocaleItem::kLongDayName, "day" + std::to_string(i), i);
  }
  FormatSettings settings = locale.Read();
  EXPECT_EQ(settings.short_month_names[0], "m1");
  EXPECT_EQ(settings.short_month_names[11], "m12");
  EXPECT_EQ(settings.long_month_names[6], "month7");
  EXPECT_EQ(settings.short_day_names[0], "d1");  // Sunday
  EXPECT_EQ(settings.long_day_names[6], "day7");  // Saturday
}

TEST(FormatSettingsTest, TimePatternsAreBuilt) {
  const struct {
    const char* leading_zero;  // null: not supplied
    const char* clock;
    const char* mark_position;
    const char* short_pattern;
    const char* long_pattern;
  } cases[] = {
      {nullptr, nullptr, nullptr, "h:mm AMPM", "h:mm:ss AMPM"},
      {"0", "0", "0", "h:mm AMPM", "h:mm:ss AMPM"},
      {"1", "0", "0", "hh:mm AMPM", "hh:mm:ss AMPM"},
      {"1", "0", "1", "AMPM hh:mm", "AMPM hh:mm:ss"},
      {"0", "0", "7", "AMPM h:mm", "AMPM h:mm:ss"},
      {"1", "1", "1", "hh:mm", "hh:mm:ss"},
      {"0", "2", "0", "h:mm", "h:mm:ss"},
      {"2", "+1", nullptr, "hh:mm", "hh:mm:ss"},
      // Text that is no number counts as 0.
      {"x", "x", "x", "h:mm AMPM", "h:mm:ss AMPM"},
      {"1x", "1 ", "", "h:mm AMPM", "h:mm:ss AMPM"},
  };
  for (const auto& c : cases) {
    FakeLocale locale;
    if (c.leading_zero != nullptr) locale.Set(LocaleItem::kHourLeadingZero, c.leading_zero);
    if (c.clock != nullptr) locale.Set(LocaleItem::kClock, c.clock);
    if (c.mark_position != nullptr) locale.Set(LocaleItem::kTimeMarkPosition, c.mark_position);
    FormatSettings settings = locale.Read();
    EXPECT_EQ(settings.short_time_pattern, c.short_pattern);
    EXPECT_EQ(settings.long_time_pattern, c.long_pattern);
  }
}

TEST(FormatSettingsTest, DatePatternTranslation) {
  const struct {
    const char* calendar;  // null: not supplied
    const char* language;
    const char* pattern;
    const char* translated;
  } cases[] = {
      {"1", "de", "dd.MM.yyyy", "dd.MM.yyyy"},
      {nullptr, nullptr, "gg yyyy", "gg yyyy"},
      {"3", "ja", "gg yyyy/MM/dd", "ggg eeee/MM/dd"},
      {"4", "zh", "GG YYYY yy y", "ggg eeee ee e"},
      {"5", "ko", "yyy g", "eee g"},
      {"3", "en", "d/M/y", "d/M/e"},
      {"1", "ja", "gg yyyy/MM/dd", " yyyy/MM/dd"},
      {"1", "zh", "Gg yyyy", " yyyy"},
      {"1", "KO", "ggyy", "yy"},
      {"2", "de", "gg yyyy", "gg yyyy"},
      {"6", "ja", "gg yyyy", " yyyy"},
  };
  for (const auto& c : cases) {
    FakeLocale locale;
    if (c.calendar != nullptr) locale.Set(LocaleItem::kCalendarType, c.calendar);
    if (c.language != nullptr) locale.Set(LocaleItem::kPrimaryLanguage, c.language);
    locale.Set(LocaleItem::kShortDatePattern, c.pattern);
    locale.Set(LocaleItem::kLongDatePattern, c.pattern);
    FormatSettings settings = locale.Read();
    EXPECT_EQ(settings.short_date_pattern, c.translated) << "pattern " << c.pattern;
    EXPECT_EQ(settings.long_date_pattern, c.translated) << "pattern " << c.pattern;
  }
}

TEST(FormatSettingsTest, DefaultPatternsAreNotTranslated) {
  FormatSettings settings = FakeLocale().Set(LocaleItem::kCalendarType, "3").Read();
  EXPECT_EQ(settings.calendar_type, 3);
  EXPECT_EQ(settings.short_date_pattern, "m/d/yy");
  EXPECT_EQ(settings.long_date_pattern, "mmmm d, yyyy");
}

}  // namespace
