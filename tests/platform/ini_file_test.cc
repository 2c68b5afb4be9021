#include "platform/ini_file.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace {

struct LookupCase {
  const char* name;
  std::string content;
  std::string expected;  // "<default>" when the default comes back
};

// Every lookup asks for OutFile in SELECT, as the program does.
void ExpectLookups(const std::vector<LookupCase>& cases) {
  for (const LookupCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(FindProfileString(c.content, "SELECT", "OutFile", "<default>"), c.expected);
  }
}

TEST(FindProfileStringTest, PlainEntry) {
  ExpectLookups({
      {"section and key", "[SELECT]\r\nOutFile=C:\\out\\rows.txt\r\n", "C:\\out\\rows.txt"},
      {"no line break at the end", "[SELECT]\r\nOutFile=rows.txt", "rows.txt"},
      {"among other sections and keys",
       "[FORMAT]\nOutFile=no\n[SELECT]\nOther=no\nOutFile=yes\nMore=no\n[X]\n", "yes"},
      {"empty value is a value", "[SELECT]\nOutFile=\n", ""},
      {"blank value is empty", "[SELECT]\nOutFile= \t \n", ""},
      {"later equals signs belong to the value", "[SELECT]\nOutFile=a=b\n", "a=b"},
      {"semicolon inside a value is kept", "[SELECT]\nOutFile=a;b\n", "a;b"},
  });
}

TEST(FindProfileStringTest, MissingEntriesGiveTheDefault) {
  ExpectLookups({
      {"empty content", "", "<default>"},
      {"no section", "OutFile=x\n", "<default>"},
      {"other section", "[INSERT]\nOutFile=x\n", "<default>"},
      {"section without the key", "[SELECT]\nOther=x\n", "<default>"},
      {"key in the next section", "[SELECT]\n[FORMAT]\nOutFile=x\n", "<default>"},
      {"longer key name", "[SELECT]\nOutFile2=x\n", "<default>"},
      {"longer section name", "[SELECTS]\nOutFile=x\n", "<default>"},
      {"line without equals is no key", "[SELECT]\nOutFile\n", "<default>"},
      {"section line without ] is ignored", "[SELECT\nOutFile=x\n", "<default>"},
  });
}

TEST(FindProfileStringTest, NamesIgnoreAsciiCaseAndBlanks) {
  ExpectLookups({
      {"lower case", "[select]\noutfile=x\n", "x"},
      {"mixed case", "[SeLeCt]\nOUTFILE=x\n", "x"},
      {"blanks around everything", " \t[ \tSELECT\t ] \n\t OutFile \t=\t a b \t\n", "a b"},
      {"text after ] is ignored", "[SELECT] ; the export\nOutFile=x\n", "x"},
      {"blank inside a name matters", "[SELECT]\nOut File=x\n", "<default>"},
  });
  // Only A to Z fold: an umlaut's two cases are different names.
  EXPECT_EQ(FindProfileString("[\xc4]\nK=v\n", "\xe4", "K", "d"), "d");
  EXPECT_EQ(FindProfileString("[\xc4]\nK=v\n", "\xc4", "k", "d"), "v");
}

TEST(FindProfileStringTest, FirstSectionAndFirstKeyWin) {
  ExpectLookups({
      {"first key", "[SELECT]\nOutFile=1\noutfile=2\n", "1"},
      {"key only in a repeated section", "[SELECT]\nA=1\n[SELECT]\nOutFile=2\n", "<default>"},
      {"key in the first of two sections", "[SELECT]\nOutFile=1\n[select]\nOutFile=2\n", "1"},
      {"a line without equals does not end the section", "[SELECT]\njunk\nOutFile=x\n", "x"},
      {"an ignored [ line does not end the section", "[SELECT]\n[junk\nOutFile=x\n", "x"},
  });
}

TEST(FindProfileStringTest, QuotesAroundTheValue) {
  ExpectLookups({
      {"double quotes", "[SELECT]\nOutFile=\"C:\\a b\\c.txt\"\n", "C:\\a b\\c.txt"},
      {"apostrophes", "[SELECT]\nOutFile='x'\n", "x"},
      {"blanks inside the quotes stay", "[SELECT]\nOutFile = \" x \" \n", " x "},
      {"empty quotes", "[SELECT]\nOutFile=\"\"\n", ""},
      {"mixed quotes stay", "[SELECT]\nOutFile=\"x'\n", "\"x'"},
      {"a lone quote stays", "[SELECT]\nOutFile=\"\n", "\""},
      {"only the outer pair goes", "[SELECT]\nOutFile=\"\"x\"\"\n", "\"x\""},
      {"quote on one side stays", "[SELECT]\nOutFile=\"x\n", "\"x"},
  });
}

TEST(FindProfileStringTest, CommentsAndLineEnds) {
  ExpectLookups({
      {"comment line", "[SELECT]\n;OutFile=x\n", "<default>"},
      {"indented comment line", "[SELECT]\n \t; OutFile=x\nOutFile=y\n", "y"},
      {"commented section", ";[SELECT]\nOutFile=x\n", "<default>"},
      {"LF", "[SELECT]\nOutFile=x\n", "x"},
      {"lone CR", "[SELECT]\rOutFile=x\rNext=y", "x"},
      {"CR LF", "[SELECT]\r\nOutFile=x\r\n", "x"},
      {"LF CR", "[SELECT]\n\rOutFile=x\n\r", "x"},
      {"CR does not stay in the value", "[SELECT]\r\nOutFile=\"x\"\r\n", "x"},
  });
}

TEST(FindProfileStringTest, ResultIsCutTo2047Bytes) {
  const std::string long_value(3000, 'v');
  EXPECT_EQ(FindProfileString("[SELECT]\nOutFile=" + long_value, "SELECT", "OutFile", ""),
            std::string(2047, 'v'));
  EXPECT_EQ(FindProfileString("[SELECT]\nOutFile=" + std::string(2047, 'v'), "SELECT",
                              "OutFile", ""),
            std::string(2047, 'v'));
  EXPECT_EQ(FindProfileString("", "SELECT", "OutFile", long_value), std::string(2047, 'v'));
}

class ReadProfileStringTest : public ::testing::Test {
 protected:
  // One file per test, so tests run in parallel don't share it.
  void SetUp() override {
    path_ = ::testing::TempDir() + "qelt_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".ini";
  }
  void TearDown() override { std::remove(path_.c_str()); }

  void Write(const std::string& content) {
    FILE* f = std::fopen(path_.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fwrite(content.data(), 1, content.size(), f);
    std::fclose(f);
  }

  std::string path_;
};

TEST_F(ReadProfileStringTest, ReadsTheFile) {
  Write("[SELECT]\r\nOutFile=/data/rows.txt\r\n");
  EXPECT_EQ(platform::ReadProfileString(path_, "SELECT", "OutFile", "d"), "/data/rows.txt");
  EXPECT_EQ(platform::ReadProfileString(path_, "SELECT", "Other", "d"), "d");
}

TEST_F(ReadProfileStringTest, MissingOrUnreadableFileGivesTheDefault) {
  EXPECT_EQ(platform::ReadProfileString(path_ + ".missing", "SELECT", "OutFile", "d"), "d");
  EXPECT_EQ(platform::ReadProfileString(::testing::TempDir(), "SELECT", "OutFile", "d"), "d");
}

}  // namespace
