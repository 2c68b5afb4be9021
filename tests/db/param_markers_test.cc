#include "db/param_markers.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "db/ib_errors.h"

namespace {

using namespace std::string_literals;
using Names = std::vector<std::string>;

struct DeriveCase {
  const char* name;
  std::string sql_text;
  Names expected;
};

TEST(DeriveParameterListTest, Table) {
  const std::vector<DeriveCase> cases = {
      {"no colon", "SELECT * FROM T\r\n", {}},
      {"one parameter", "SELECT * FROM T WHERE ID = :ID\r\n", {"ID"}},
      {"name ends at a blank", ":a b", {"a"}},
      {"name ends at a comma", ":a,b", {"a"}},
      {"name ends at a semicolon", ":a;b", {"a"}},
      {"name ends at a closing parenthesis", "(:a)", {"a"}},
      {"name ends at CR", ":a\rb", {"a"}},
      {"name ends at LF", ":a\nb", {"a"}},
      {"name ends at the end", ":a", {"a"}},
      {"tab does not end a name", ":a\tb", {"a\tb"}},
      {"other operators don't end a name", ":a=:b+1", {"a=:b+1"}},
      {"a colon inside a name", ":a:b", {"a:b"}},
      {"scan goes on after the delimiter", "VALUES (:a,:b,:c)", {"a", "b", "c"}},
      {"repeats are kept", ":x = :x", {"x", "x"}},
      {"in order found", "INSERT INTO T VALUES (:Z, :A)", {"Z", "A"}},
      {"double colon is skipped", "SELECT a::b FROM T", {}},
      {"a third colon begins a parameter", "a:::x", {"x"}},
      {"time in apostrophes", "WHERE T = '12:30'", {}},
      {"time in double quotes", "WHERE T = \"12:30\"", {}},
      {"time in backquotes", "WHERE T = `12:30`", {}},
      {"quotes need not pair", "'a\" :x", {"x"}},
      {"backquote closes an apostrophe", "'a` :x", {"x"}},
      {"doubled apostrophe flips twice", "WHERE S = 'it''s' AND I = :I", {"I"}},
      {"colon after a doubled apostrophe is inside", "'it''s :x'", {}},
      {"quote in a name flips the flag", ":a'b c' d", {"a'b c'"}},
      {"quoted name keeps its quotes", "WHERE A = :\"x y\"", {"\"x y\""}},
      {"unclosed quote in a name runs to the end", ":a'b, c; d)\r\n:e", {"a'b, c; d)\r\n:e"}},
      {"comments are not recognised", "/* :ID */ SELECT 1", {"ID"}},
      {"apostrophe in a line comment hides a parameter", "-- don't\r\nWHERE A = :A\r\n", {}},
      {"question mark is no parameter", "WHERE A = ?", {}},
      {"empty name before a delimiter", "a = : b", {""}},
      {"empty name at the end", "a = :", {""}},
      {"bytes from 128 up are ordinary", "\xe4:\xf6\xfc x", {"\xf6\xfc"}},
      {"NUL is an ordinary byte", ":a\0b c"s, {"a\0b"s}},
  };
  for (const DeriveCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(DeriveParameterList(c.sql_text), c.expected);
  }
}

// The scan's outcome in one string: the error message when it fails.
struct ScanResult {
  std::string sent_text;
  Names marker_names;
  std::string error;
};

ScanResult Scan(const std::string& sql_text) {
  try {
    MarkerScan scan = ScanMarkers(sql_text);
    return {scan.sent_text, scan.marker_names, ""};
  } catch (const EIBClientError& e) {
    return {"", {}, e.message()};
  }
}

struct ScanCase {
  const char* name;
  std::string sql_text;
  std::string sent_text;
  Names marker_names;
};

void ExpectScans(const std::vector<ScanCase>& cases) {
  for (const ScanCase& c : cases) {
    SCOPED_TRACE(c.name);
    const ScanResult result = Scan(c.sql_text);
    EXPECT_EQ(result.error, "");
    EXPECT_EQ(result.sent_text, c.sent_text);
    EXPECT_EQ(result.marker_names, c.marker_names);
  }
}

TEST(ScanMarkersTest, TextWithoutMarkers) {
  ExpectScans({
      {"empty text", "", "", {}},
      {"plain text", "SELECT * FROM T\r\n", "SELECT * FROM T\r\n", {}},
      {"CR LF added after the last line", "SELECT 1", "SELECT 1\r\n", {}},
      {"lone LF", "SELECT *\nFROM T\n", "SELECT *\r\nFROM T\r\n", {}},
      {"lone CR", "SELECT *\rFROM T\r", "SELECT *\r\nFROM T\r\n", {}},
      {"LF CR is two line ends", "a\n\rb\r\n", "a\r\n\r\nb\r\n", {}},
      {"line break inside a string", "'a\nb'\r\n", "'a\r\nb'\r\n", {}},
      {"NUL stays", "a\0b\r\n"s, "a\0b\r\n"s, {}},
      {"time in apostrophes", "WHERE T = '12:30'\r\n", "WHERE T = '12:30'\r\n", {}},
      {"marker characters in double quotes", "SELECT \"A:B?\" FROM T\r\n",
       "SELECT \"A:B?\" FROM T\r\n", {}},
      {"doubled apostrophe keeps the string open", "'it''s :x'\r\n", "'it''s :x'\r\n", {}},
      {"other quote inside a string", "'a\":x'\r\n", "'a\":x'\r\n", {}},
      {"marker in a block comment", "/* :ID ? */ SELECT 1\r\n", "/* :ID ? */ SELECT 1\r\n", {}},
      {"quote in a block comment", "/* don't */ SELECT 1\r\n", "/* don't */ SELECT 1\r\n", {}},
      {"slash star slash does not close", "/*/ :a */\r\n", "/*/ :a */\r\n", {}},
      {"comment closing at the last byte", "SELECT 1 /**/", "SELECT 1 /**/\r\n", {}},
      {"star slash outside a comment is plain", "SELECT 2*/3\r\n", "SELECT 2*/3\r\n", {}},
  });
}

TEST(ScanMarkersTest, Markers) {
  ExpectScans({
      {"colon marker", "SELECT * FROM T WHERE ID = :ID\r\n",
       "SELECT * FROM T WHERE ID = ?\r\n", {"ID"}},
      {"marker at the very end", "WHERE A = :A", "WHERE A = ?\r\n", {"A"}},
      {"question mark with a name", "WHERE A = ?A\r\n", "WHERE A = ?\r\n", {"A"}},
      {"numbered in order", "VALUES (:z, :a, :z)\r\n", "VALUES (?, ?, ?)\r\n",
       {"z", "a", "z"}},
      {"name bytes", ":Ab_9$x+1\r\n", "?+1\r\n", {"Ab_9$x"}},
      {"name starting with a digit", ":1\r\n", "?\r\n", {"1"}},
      {"quoted name", "WHERE A = :\"x y\"\r\n", "WHERE A = ?\r\n", {"x y"}},
      {"quoted name may hold anything", ":\"a:b'/*\"\r\n", "?\r\n", {"a:b'/*"}},
      {"empty quoted name", ":\"\" \r\n", "? \r\n", {""}},
      {"marker after a string", "WHERE S = 'it''s' AND I = :I\r\n",
       "WHERE S = 'it''s' AND I = ?\r\n", {"I"}},
      {"marker after a comment", "/* c */:x\r\n", "/* c */?\r\n", {"x"}},
      {"backquote is plain", "`:x`\r\n", "`?`\r\n", {"x"}},
      {"line break inside a marker line", ":a\rb\r\n", "?\r\nb\r\n", {"a"}},
  });
}

// The byte right after a name is written without being looked at.
TEST(ScanMarkersTest, ByteAfterANameIsNotExamined) {
  ExpectScans({
      {"colon after a name", ":a:b\r\n", "?:b\r\n", {"a"}},
      {"two colons after a name", ":a::b\r\n", "?:?\r\n", {"a", "b"}},
      {"question mark after a name", ":a?b\r\n", "??b\r\n", {"a"}},
      {"apostrophe after a name opens no string", ":a'b\r\n", "?'b\r\n", {"a"}},
      {"double quote after a quoted name", ":\"x\"\"y\r\n", "?\"y\r\n", {"x"}},
      {"slash after a name opens no comment", ":a/* :b */\r\n", "?/* ? */\r\n", {"a", "b"}},
      {"CR after a name, LF read after it", ":a\r\n", "?\r\n", {"a"}},
      {"only one byte skipped", ":a :b\r\n", "? ?\r\n", {"a", "b"}},
  });
}

struct FailCase {
  const char* name;
  std::string sql_text;
  const char* reason;
};

TEST(ScanMarkersTest, Failures) {
  const std::vector<FailCase> cases = {
      {"two colons", "SELECT a::b FROM T\r\n", "Parameter name expected"},
      {"question mark and blank", "WHERE A = ? \r\n", "Parameter name expected"},
      {"question mark in parentheses", "VALUES (?)\r\n", "Parameter name expected"},
      {"marker before a line break", "WHERE A = :\r\n", "Parameter name expected"},
      {"marker as the last byte", "WHERE A = :", "Parameter name expected"},
      {"marker before an operator", ":+1\r\n", "Parameter name expected"},
      {"marker before a byte from 128 up", ":\xe4\r\n", "Parameter name expected"},
      {"unclosed string", "WHERE A = 'x\r\n", "EOF in string detected"},
      {"apostrophe in a line comment", "SELECT A -- don't\r\nFROM T\r\n",
       "EOF in string detected"},
      {"closing quote as the last byte", "SELECT 'x'", "EOF in string detected"},
      {"doubled quote before the end", "'x''\r\n", "EOF in string detected"},
      {"opening quote as the last byte", "SELECT '", "EOF in string detected"},
      {"unclosed quoted marker name", "WHERE A = :\"x\r\n", "EOF in string detected"},
      {"unclosed comment", "/* x\r\n", "EOF in comment detected"},
      {"star as the last byte", "/* x *", "EOF in comment detected"},
      {"comment opened at the end", "SELECT 1 /*", "EOF in comment detected"},
  };
  for (const FailCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Scan(c.sql_text).error, std::string("SQL Parse Error:\r\n\r\n") + c.reason);
  }
}

// The derivation and the scan disagree where binding will notice.
TEST(ParamMarkersTest, DerivationAndScanDiffer) {
  const std::string in_comment = "SELECT * FROM T /* :ID */\r\n";
  EXPECT_EQ(DeriveParameterList(in_comment), (Names{"ID"}));
  EXPECT_EQ(ScanMarkers(in_comment).marker_names, Names{});

  const std::string question_mark = "WHERE A = ?A\r\n";
  EXPECT_EQ(DeriveParameterList(question_mark), Names{});
  EXPECT_EQ(ScanMarkers(question_mark).marker_names, (Names{"A"}));

  const std::string glued = "WHERE A = :a:b\r\n";
  EXPECT_EQ(DeriveParameterList(glued), (Names{"a:b"}));
  EXPECT_EQ(ScanMarkers(glued).marker_names, (Names{"a"}));
}

}  // namespace
