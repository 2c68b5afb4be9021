#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <string>

#include "export/date_pattern.h"
#include "export/format_settings.h"
#include "export/number_text.h"
#include "platform/platform.h"
#include "platform/strftime_items_posix.h"

namespace {

using platform::LocaleItem;
using platform::StrftimeFormats;

std::string Item(LocaleItem item, const StrftimeFormats& formats) {
  std::string text;
  if (!platform::StrftimeItem(item, formats, &text)) return "<none>";
  return text;
}

TEST(StrftimeItemsTest, DateFormats) {
  const struct {
    const char* date_format;
    const char* separator;
    const char* short_pattern;
    const char* long_pattern;
  } cases[] = {
      {"%d.%m.%Y", ".", "dd/MM/yyyy", "d MMMM yyyy"},
      {"%m/%d/%Y", "/", "MM/dd/yyyy", "MMMM d, yyyy"},
      {"%D", "/", "MM/dd/yy", "MMMM d, yyyy"},
      {"%F", "-", "yyyy/MM/dd", "yyyy MMMM d"},
      {"%Ey-%Om-%Od", "-", "yy/MM/dd", "yyyy MMMM d"},
      {"%-d.%-m.%y", ".", "d/M/yy", "d MMMM yyyy"},
      {"%e %b %Y", "<none>", "d MMM yyyy", "d MMMM yyyy"},
      {"%A, %B %e, %Y", ",", "dddd/ MMMM d/ yyyy", "MMMM d, yyyy"},
      {"%a %d", "<none>", "ddd dd", "<none>"},
      // Literal text that the pattern would read as elements is quoted.
      {"%d.%m.%Y г.", ".", "dd/MM/yyyy \xD0\xB3/", "d MMMM yyyy"},
      {"%Y年%m月%d日", "<none>", "yyyy年MM月dd日", "yyyy MMMM d"},
      {"%d de %B de %Y", "<none>", "dd \"de\" MMMM \"de\" yyyy", "d MMMM yyyy"},
      {"%d.%m.%Y h", ".", "dd/MM/yyyy \"h\"", "d MMMM yyyy"},
      {"%Y:%m\"%d'x", ":", "yyyy/MM'\"'dd\"'x\"", "yyyy MMMM d"},
      {"%d%%%m", "%", "dd/MM", "<none>"},
  };
  for (const auto& c : cases) {
    StrftimeFormats formats{c.date_format, "%D", ""};
    EXPECT_EQ(Item(LocaleItem::kDateSeparator, formats), c.separator) << c.date_format;
    EXPECT_EQ(Item(LocaleItem::kShortDatePattern, formats), c.short_pattern) << c.date_format;
    EXPECT_EQ(Item(LocaleItem::kLongDatePattern, formats), c.long_pattern) << c.date_format;
  }
}

TEST(StrftimeItemsTest, TimeFormats) {
  const struct {
    const char* time_format;
    const char* twelve_hour_format;
    const char* separator;
    const char* leading_zero;
    const char* clock;
    const char* mark_position;
  } cases[] = {
      {"%T", "", ":", "1", "1", "0"},
      {"%H.%M.%S", "", ".", "1", "1", "0"},
      {"%k:%M", "", ":", "0", "1", "0"},
      {"%-H:%M", "", ":", "0", "1", "0"},
      {"%R", "%I:%M %p", ":", "1", "1", "0"},
      {"%r", "%I:%M:%S %p", ":", "1", "0", "0"},
      {"%l:%M:%S %p", "%l:%M:%S %p", ":", "0", "0", "0"},
      {"%p %I:%M:%S", "%p %I:%M:%S", ":", "1", "0", "1"},
      {"%r", "", ":", "1", "0", "0"},
      {"%M", "", "<none>", "<none>", "1", "0"},
      {"%M", "%I:%M %p", "<none>", "<none>", "0", "0"},
  };
  for (const auto& c : cases) {
    StrftimeFormats formats{"%D", c.time_format, c.twelve_hour_format};
    EXPECT_EQ(Item(LocaleItem::kTimeSeparator, formats), c.separator) << c.time_format;
    EXPECT_EQ(Item(LocaleItem::kHourLeadingZero, formats), c.leading_zero) << c.time_format;
    EXPECT_EQ(Item(LocaleItem::kClock, formats), c.clock) << c.time_format;
    EXPECT_EQ(Item(LocaleItem::kTimeMarkPosition, formats), c.mark_position) << c.time_format;
  }
}

TEST(StrftimeItemsTest, NamesAreNotStrftimeItems) {
  StrftimeFormats formats{"%D", "%T", ""};
  EXPECT_EQ(Item(LocaleItem::kLongMonthName, formats), "<none>");
  EXPECT_EQ(Item(LocaleItem::kDecimalSeparator, formats), "<none>");
}

// Switches the process locale for one test and puts it back afterwards.
class LocaleTest : public ::testing::Test {
 protected:
  void SetUp() override { saved_ = std::setlocale(LC_ALL, nullptr); }
  void TearDown() override { std::setlocale(LC_ALL, saved_.c_str()); }

  // False when the machine lacks the locale.
  bool Use(const char* name) { return std::setlocale(LC_ALL, name) != nullptr; }

  static std::string Get(LocaleItem item, int index = 0) {
    std::string text;
    if (!platform::GetLocaleItem(item, index, &text)) return "<none>";
    return text;
  }

  // Formats 2.5 and 15 July 2003 13:05:09 as the row text would.
  static std::string RowForms() {
    FormatSettings settings = ReadFormatSettings();
    DateTimeForms forms(settings);
    std::string text;
    AppendFloatText(2.5, settings.decimal_separator, &text);
    text += '|';
    forms.date.Append({2003, 7, 15, 0, 0, 0}, &text);
    text += '|';
    forms.time.Append({1899, 12, 30, 13, 5, 9}, &text);
    text += '|';
    forms.date_time.Append({2003, 7, 15, 13, 5, 9}, &text);
    text += '|';
    forms.date_time.Append({2003, 7, 15, 0, 0, 0}, &text);
    return text;
  }

 private:
  std::string saved_;
};

TEST_F(LocaleTest, German) {
  if (!Use("de_DE.UTF-8")) GTEST_SKIP() << "de_DE.UTF-8 is not installed";
  EXPECT_EQ(Get(LocaleItem::kDecimalSeparator), ",");
  EXPECT_EQ(Get(LocaleItem::kDateSeparator), ".");
  EXPECT_EQ(Get(LocaleItem::kTimeSeparator), ":");
  EXPECT_EQ(Get(LocaleItem::kShortDatePattern), "dd/MM/yyyy");
  EXPECT_EQ(Get(LocaleItem::kAmString), "");
  EXPECT_EQ(Get(LocaleItem::kPmString), "");
  EXPECT_EQ(Get(LocaleItem::kHourLeadingZero), "1");
  EXPECT_EQ(Get(LocaleItem::kClock), "1");
  EXPECT_EQ(Get(LocaleItem::kCalendarType), "1");
  EXPECT_EQ(Get(LocaleItem::kPrimaryLanguage), "de");
  EXPECT_EQ(Get(LocaleItem::kShortMonthName, 3), "M\xC3\xA4r");
  EXPECT_EQ(Get(LocaleItem::kLongMonthName, 3), "M\xC3\xA4rz");
  EXPECT_EQ(Get(LocaleItem::kShortDayName, 1), "So");
  EXPECT_EQ(Get(LocaleItem::kLongDayName, 7), "Samstag");
  EXPECT_EQ(Get(LocaleItem::kLongDayName, 8), "<none>");
  EXPECT_EQ(RowForms(), "2,5|15.07.2003|13:05:09|15.07.2003 13:05:09|15.07.2003");
}

TEST_F(LocaleTest, AmericanEnglish) {
  if (!Use("en_US.UTF-8")) GTEST_SKIP() << "en_US.UTF-8 is not installed";
  EXPECT_EQ(Get(LocaleItem::kDecimalSeparator), ".");
  EXPECT_EQ(Get(LocaleItem::kShortDatePattern), "MM/dd/yyyy");
  EXPECT_EQ(Get(LocaleItem::kLongDatePattern), "MMMM d, yyyy");
  EXPECT_EQ(Get(LocaleItem::kAmString), "AM");
  EXPECT_EQ(Get(LocaleItem::kClock), "0");
  EXPECT_EQ(Get(LocaleItem::kTimeMarkPosition), "0");
  EXPECT_EQ(Get(LocaleItem::kLongMonthName, 7), "July");
  EXPECT_EQ(Get(LocaleItem::kPrimaryLanguage), "en");
  EXPECT_EQ(RowForms(),
            "2.5|07/15/2003|01:05:09 PM|07/15/2003 01:05:09 PM|07/15/2003");
}

TEST_F(LocaleTest, NeutralLocaleSuppliesNothing) {
  for (const char* name : {"C", "POSIX", "C.UTF-8"}) {
    if (!Use(name)) continue;
    for (LocaleItem item : {LocaleItem::kDecimalSeparator, LocaleItem::kDateSeparator,
                            LocaleItem::kShortDatePattern, LocaleItem::kAmString,
                            LocaleItem::kClock, LocaleItem::kPrimaryLanguage}) {
      EXPECT_EQ(Get(item), "<none>") << name;
    }
    EXPECT_EQ(Get(LocaleItem::kLongMonthName, 1), "<none>") << name;
    EXPECT_EQ(RowForms(), "2.5|7/15/03|1:05:09 pm|7/15/03 1:05:09 pm|7/15/03") << name;
  }
}

TEST_F(LocaleTest, NumbersAndTimesFollowTheirOwnCategories) {
  if (!Use("de_DE.UTF-8")) GTEST_SKIP() << "de_DE.UTF-8 is not installed";
  std::setlocale(LC_TIME, "C");
  EXPECT_EQ(Get(LocaleItem::kDecimalSeparator), ",");
  EXPECT_EQ(Get(LocaleItem::kShortDatePattern), "<none>");
  EXPECT_EQ(RowForms(), "2,5|7/15/03|1:05:09 pm|7/15/03 1:05:09 pm|7/15/03");
}

TEST_F(LocaleTest, InitLocaleTakesTheEnvironment) {
  if (!Use("de_DE.UTF-8")) GTEST_SKIP() << "de_DE.UTF-8 is not installed";
  Use("C");
  const char* old = std::getenv("LC_ALL");
  std::string saved_env = old != nullptr ? old : "";
  setenv("LC_ALL", "de_DE.UTF-8", 1);
  platform::InitLocale();
  std::string separator = Get(LocaleItem::kDecimalSeparator);
  if (old != nullptr) {
    setenv("LC_ALL", saved_env.c_str(), 1);
  } else {
    unsetenv("LC_ALL");
  }
  EXPECT_EQ(separator, ",");
}

}  // namespace
