#include "platform/text_lines.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace std::string_literals;
using Lines = std::vector<std::string>;

struct SplitCase {
  const char* name;
  std::string content;
  Lines expected;
};

// Cases where a file's content and any other text split alike.
const std::vector<SplitCase> kCommonCases = {
    {"empty", "", {}},
    {"one line without a break", "SELECT 1", {"SELECT 1"}},
    {"final break adds no line", "a\r\n", {"a"}},
    {"CR LF", "a\r\nb\r\n", {"a", "b"}},
    {"lone LF", "a\nb\n", {"a", "b"}},
    {"lone CR", "a\rb\r", {"a", "b"}},
    {"LF CR is two breaks", "a\n\rb", {"a", "", "b"}},
    {"CR CR LF", "a\r\r\nb", {"a", "", "b"}},
    {"break alone is one empty line", "\r\n", {""}},
    {"empty lines kept", "\n\n\na", {"", "", "", "a"}},
    {"mixed breaks", "a\rb\nc\r\nd", {"a", "b", "c", "d"}},
    {"other bytes untouched", " \t\x1a\xff ", {" \t\x1a\xff "}},
};

TEST(SqlLinesTest, SplitSqlLines) {
  std::vector<SplitCase> cases = kCommonCases;
  cases.insert(cases.end(), {
      {"NUL ends the content", "a\r\nb\0c\r\nd"s, {"a", "b"}},
      {"NUL first gives no lines", "\0SELECT 1"s, {}},
      {"NUL right after a break", "a\r\n\0b"s, {"a"}},
  });
  for (const SplitCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(SplitSqlLines(c.content), c.expected);
  }
}

TEST(SqlLinesTest, SplitAtLineBreaks) {
  std::vector<SplitCase> cases = kCommonCases;
  cases.insert(cases.end(), {
      {"NUL is data", "a\r\nb\0c\r\nd"s, {"a", "b\0c"s, "d"}},
      {"NUL first", "\0"s, {"\0"s}},
  });
  for (const SplitCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(SplitAtLineBreaks(c.content), c.expected);
  }
}

TEST(SqlLinesTest, JoinSqlLines) {
  EXPECT_EQ(JoinSqlLines({}), "");
  EXPECT_EQ(JoinSqlLines({""}), "\r\n");
  EXPECT_EQ(JoinSqlLines({"SELECT *", "", "FROM T"}), "SELECT *\r\n\r\nFROM T\r\n");
  // A line's own bytes are not looked at, stray breaks included.
  EXPECT_EQ(JoinSqlLines({"a\nb"}), "a\nb\r\n");
}

}  // namespace
