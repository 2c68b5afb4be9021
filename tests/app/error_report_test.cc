#include "app/error_report.h"

#include <gtest/gtest.h>

#include "platform/errors.h"

namespace {

TEST(ErrorReportTest, Form) {
  struct Case {
    std::string message, expected;
  };
  const Case cases[] = {
      {"Database name is missing",
       "Exception EIBClientError in Modul qelt bei 0000ABCD.\nDatabase name is missing."},
      {"ends with a period.",
       "Exception EIBClientError in Modul qelt bei 0000ABCD.\nends with a period."},
      {"", "Exception EIBClientError in Modul qelt bei 0000ABCD.\n"},
      {"two\r\nlines", "Exception EIBClientError in Modul qelt bei 0000ABCD.\ntwo\r\nlines."},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ErrorReportText("EIBClientError", "qelt", 0xABCD, c.message), c.expected);
  }
}

TEST(ErrorReportTest, IsCutAfter1023Characters) {
  std::string text = ErrorReportText("EIBInterBaseError", "libfbclient.so.2", 0xFFFFFFFF,
                                     std::string(2000, 'x'));
  ASSERT_EQ(text.size(), 1023u);
  EXPECT_EQ(text.substr(0, 61),
            "Exception EIBInterBaseError in Modul libfbclient.so.2 bei FFF");
  EXPECT_EQ(text.back(), 'x');  // the added period is cut too
}

TEST(InOutErrorTest, MessagesByNumber) {
  const std::pair<int, const char*> cases[] = {
      {2, "Datei nicht gefunden"},
      {3, "Ungültiger Dateiname"},
      {4, "Zu viele geöffnete Dateien"},
      {5, "Dateizugriff verweigert"},
      {100, "Versuch hinter dem Dateiende zu lesen"},
      {101, "Zu wenig Speicherplatz"},
      {106, "Ungültige numerische Eingabe"},
      {32, "E/A-Fehler 32"},
      {103, "E/A-Fehler 103"},
  };
  for (const auto& [number, message] : cases) EXPECT_EQ(EInOutError(number).message(), message);
}

}  // namespace
