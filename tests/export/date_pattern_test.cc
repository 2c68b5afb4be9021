#include "export/date_pattern.h"

#include <gtest/gtest.h>

#include <string>

#include "export/format_settings.h"

namespace {

const DateTimeValue kTuesday = {2003, 7, 15, 13, 5, 9};
const DateTimeValue kMorning = {2003, 7, 5, 8, 4, 3};  // a Saturday
const DateTimeValue kMidnight = {2003, 7, 15, 0, 0, 0};
const DateTimeValue kAfterMidnight = {2003, 7, 15, 0, 0, 1};
const DateTimeValue kNoon = {2003, 7, 15, 12, 0, 0};
const DateTimeValue kEleven = {2003, 7, 15, 11, 59, 59};

std::string Format(const std::string& pattern, const DateTimeValue& value,
                   const FormatSettings& settings) {
  std::string text;
  DatePattern(pattern, settings).Append(value, &text);
  return text;
}

struct PatternCase {
  const char* pattern;
  DateTimeValue value;
  const char* text;
};

void ExpectAll(const PatternCase* begin, const PatternCase* end,
               const FormatSettings& settings) {
  for (const PatternCase* c = begin; c != end; ++c) {
    EXPECT_EQ(Format(c->pattern, c->value, settings), c->text) << "pattern " << c->pattern;
  }
}

// A settings set whose every separator and string differs from the
// pattern characters, so each shows where it comes from.
FormatSettings GermanSettings() {
  FormatSettings settings = DefaultFormatSettings();
  settings.decimal_separator = ',';
  settings.date_separator = '.';
  settings.time_separator = ':';
  settings.short_date_pattern = "dd/MM/yyyy";
  settings.long_date_pattern = "dddd, d. MMMM yyyy";
  settings.short_time_pattern = "hh:mm";
  settings.long_time_pattern = "hh:mm:ss";
  return settings;
}

TEST(DatePatternTest, DateElements) {
  const PatternCase cases[] = {
      {"d", kMorning, "5"},
      {"dd", kMorning, "05"},
      {"dd", kTuesday, "15"},
      {"ddd", kTuesday, "Di"},
      {"dddd", kTuesday, "Dienstag"},
      {"dddd", {2003, 7, 13, 0, 0, 0}, "Sonntag"},
      {"ddd", kMorning, "Sa"},
      {"dddd", {2000, 2, 29, 0, 0, 0}, "Dienstag"},
      {"dddd", {1, 1, 1, 0, 0, 0}, "Montag"},
      {"m", kTuesday, "7"},
      {"mm", kTuesday, "07"},
      {"mm", {2003, 12, 1, 0, 0, 0}, "12"},
      {"mmm", kTuesday, "Jul"},
      {"mmm", {2003, 3, 1, 0, 0, 0}, "Mär"},
      {"mmmm", kTuesday, "Juli"},
      {"mmmmmm", kTuesday, "Juli"},
      {"y", kTuesday, "03"},
      {"yy", kTuesday, "03"},
      {"yyy", kTuesday, "2003"},
      {"yyyy", kTuesday, "2003"},
      {"yy", {5, 1, 1, 0, 0, 0}, "05"},
      {"yyyy", {5, 1, 1, 0, 0, 0}, "0005"},
      {"yyyyy", {9999, 1, 1, 0, 0, 0}, "9999"},
      {"aaa", kTuesday, "Di"},
      {"aaaa", kTuesday, "Dienstag"},
      {"a", kTuesday, "a"},
      {"AA", kTuesday, "AA"},
      // The year of the era is the Gregorian year; no era name.
      {"e", {5, 1, 1, 0, 0, 0}, "5"},
      {"ee", {5, 1, 1, 0, 0, 0}, "05"},
      {"eeee", kTuesday, "2003"},
      {"g", kTuesday, ""},
      {"gg yyyy", kTuesday, " 2003"},
      // Fields at the int's limits still have a day name.
      {"dddd", {2147483647, 2, 2147483647, 0, 0, 0}, "Freitag"},
      {"ddd", {-2147483647 - 1, 12, 2147483647, 0, 0, 0}, "Mo"},
  };
  ExpectAll(std::begin(cases), std::end(cases), DefaultFormatSettings());
}

TEST(DatePatternTest, TimeElements) {
  const PatternCase cases[] = {
      {"h", kMorning, "8"},
      {"hh", kMorning, "08"},
      {"hhh", kTuesday, "13"},
      {"n", kMorning, "4"},
      {"nn", kMorning, "04"},
      {"s", kMorning, "3"},
      {"ss", kMorning, "03"},
      {"z", kTuesday, "0"},
      {"zzz", kTuesday, "000"},
      {"hh:nn:ss.zzz", kTuesday, "13:05:09.000"},
      // An "m" after an "h" is the minute, whatever lies between them.
      {"h:m", kMorning, "8:4"},
      {"h:mm", kMorning, "8:04"},
      {"hh mm", kTuesday, "13 05"},
      {"h\"x\"m", kTuesday, "13x5"},
      // The nearest letter decides: after the "d" it is the month again.
      {"h d m", kTuesday, "13 15 7"},
      {"m h", kTuesday, "7 13"},
  };
  ExpectAll(std::begin(cases), std::end(cases), DefaultFormatSettings());
}

TEST(DatePatternTest, TwelveHourClock) {
  const PatternCase cases[] = {
      {"h AM/PM", kTuesday, "1 PM"},
      {"h AM/PM", kMorning, "8 AM"},
      {"h am/pm", kMorning, "8 am"},
      {"h Am/pM", kTuesday, "1 pM"},
      {"h A/P", kTuesday, "1 P"},
      {"h a/p", kMidnight, "12 a"},
      {"h AMPM", kTuesday, "1 pm"},
      {"h ampm", kMorning, "8 am"},
      {"hh:nn AMPM", kMorning, "08:04 am"},
      {"h AMPM", kNoon, "12 pm"},
      {"h AMPM", kMidnight, "12 am"},
      {"h AMPM", kEleven, "11 am"},
      // The marker before the hour.
      {"AMPM h", kTuesday, "pm 1"},
      {"AM/PM h:mm", kMidnight, "AM 12:00"},
      {"a/p hh", kTuesday, "p 01"},
      // Without a marker, or with one that the rule does not reach.
      {"h:nn", kTuesday, "13:05"},
      {"h 'AM/PM'", kTuesday, "13 AM/PM"},
      {"h h AMPM", kTuesday, "13 1 pm"},
      {"h ax AMPM", kTuesday, "13 ax pm"},
      {"h aaa AMPM", kTuesday, "13 Di pm"},
      {"h \"a\" AM/PM", kTuesday, "1 a PM"},
  };
  ExpectAll(std::begin(cases), std::end(cases), DefaultFormatSettings());
}

TEST(DatePatternTest, SeparatorsQuotesAndOtherCharacters) {
  FormatSettings settings = DefaultFormatSettings();
  settings.date_separator = '-';
  settings.time_separator = '.';
  const PatternCase cases[] = {
      {"d/m/yyyy", kTuesday, "15-7-2003"},
      {"h:nn:ss", kTuesday, "13.05.09"},
      {"'dd'", kTuesday, "dd"},
      {"\"h:m/\"", kTuesday, "h:m/"},
      {"\"it's\" d", kTuesday, "it's 15"},
      {"'say \"d\"'", kTuesday, "say \"d\""},
      {"''d", kTuesday, "15"},
      {"d 'open", kTuesday, "15 open"},
      {"x#!", kTuesday, "x#!"},
      {"DD.MM.YYYY", kTuesday, "15.07.2003"},
      {"dD", kTuesday, "15"},
      {"", kTuesday, ""},
  };
  ExpectAll(std::begin(cases), std::end(cases), settings);
}

TEST(DatePatternTest, Expansions) {
  FormatSettings german = GermanSettings();
  const PatternCase cases[] = {
      {"ddddd", kTuesday, "15.07.2003"},
      {"dddddd", kTuesday, "Dienstag, 15. Juli 2003"},
      {"ddddddd", kTuesday, "Dienstag, 15. Juli 2003"},
      {"t", kTuesday, "13:05"},
      {"tt", kTuesday, "13:05:09"},
      {"c", kTuesday, "15.07.2003 13:05:09"},
      {"c", kMidnight, "15.07.2003"},
      {"c", kAfterMidnight, "15.07.2003 00:00:01"},
      {"[c]", kNoon, "[15.07.2003 12:00:00]"},
      {"ddddd t", kMorning, "05.07.2003 08:04"},
  };
  ExpectAll(std::begin(cases), std::end(cases), german);

  FormatSettings defaults = DefaultFormatSettings();
  const PatternCase default_cases[] = {
      {"ddddd", kTuesday, "7/15/03"},
      {"dddddd", kTuesday, "Juli 15, 2003"},
      {"t", kTuesday, "1:05 pm"},
      {"tt", kTuesday, "1:05:09 pm"},
      {"c", kTuesday, "7/15/03 1:05:09 pm"},
      {"c", kAfterMidnight, "7/15/03 12:00:01 am"},
  };
  ExpectAll(std::begin(default_cases), std::end(default_cases), defaults);
}

TEST(DatePatternTest, ExpansionsInsideExpansionsProduceNothing) {
  FormatSettings settings = DefaultFormatSettings();
  settings.short_date_pattern = "[c|t|tt|ddddd|dddddd|d]";
  settings.long_time_pattern = "<c t ddddd h>";
  EXPECT_EQ(Format("ddddd", kTuesday, settings), "[|||||15]");
  EXPECT_EQ(Format("c", kTuesday, settings), "[|||||15] <   13>");
  EXPECT_EQ(Format("tt", kTuesday, settings), "<   13>");
}

TEST(DatePatternTest, TwelveHourRuleStaysInsideItsPattern) {
  // The marker of the short time pattern does not turn the top-level hour.
  FormatSettings settings = DefaultFormatSettings();
  EXPECT_EQ(Format("t h", kTuesday, settings), "1:05 pm 13");
  settings.long_time_pattern = "AMPM h:mm:ss";
  EXPECT_EQ(Format("tt", kTuesday, settings), "pm 1:05:09");
}

TEST(DatePatternTest, OutputIsCutAfter256Bytes) {
  FormatSettings settings = DefaultFormatSettings();
  EXPECT_EQ(Format(std::string(300, 'x'), kTuesday, settings), std::string(256, 'x'));
  EXPECT_EQ(Format(std::string(255, 'x') + "dddd", kTuesday, settings),
            std::string(255, 'x') + "D");
  // The expansions count towards the cut of the pattern that names them.
  settings.short_date_pattern = "'" + std::string(200, 'q') + "'";
  EXPECT_EQ(Format("ddddd ddddd", kTuesday, settings),
            std::string(200, 'q') + " " + std::string(55, 'q'));
  // Each application has its own 256 bytes, whatever the string held.
  std::string text = "abc";
  DatePattern(std::string(300, 'x'), settings).Append(kTuesday, &text);
  EXPECT_EQ(text, "abc" + std::string(256, 'x'));
}

TEST(DatePatternTest, OneCompiledPatternFormatsManyValues) {
  DatePattern pattern("dd.mm.yyyy hh:nn:ss", DefaultFormatSettings());
  std::string text;
  pattern.Append(kTuesday, &text);
  text += '\t';
  pattern.Append(kMorning, &text);
  EXPECT_EQ(text, "15.07.2003 13:05:09\t05.07.2003 08:04:03");
}

TEST(DateTimeFormsTest, RowTextForms) {
  FormatSettings german = GermanSettings();
  german.short_date_pattern = "dd.mm.yyyy";
  DateTimeForms forms(german);
  std::string text;
  forms.date.Append({2003, 7, 15, 0, 0, 0}, &text);
  EXPECT_EQ(text, "15.07.2003");
  text.clear();
  forms.time.Append({1899, 12, 30, 13, 5, 9}, &text);
  EXPECT_EQ(text, "13:05:09");
  text.clear();
  forms.date_time.Append(kMidnight, &text);
  EXPECT_EQ(text, "15.07.2003");
  text.clear();
  forms.date_time.Append(kTuesday, &text);
  EXPECT_EQ(text, "15.07.2003 13:05:09");

  DateTimeForms defaults(DefaultFormatSettings());
  text.clear();
  defaults.date.Append({2003, 7, 15, 0, 0, 0}, &text);
  EXPECT_EQ(text, "7/15/03");
  text.clear();
  defaults.time.Append({1899, 12, 30, 13, 5, 9}, &text);
  EXPECT_EQ(text, "1:05:09 pm");
  text.clear();
  defaults.date_time.Append(kTuesday, &text);
  EXPECT_EQ(text, "7/15/03 1:05:09 pm");
}

}  // namespace
