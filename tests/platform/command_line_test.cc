#include "platform/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace std::string_literals;
using Args = std::vector<std::string>;

struct SplitCase {
  const char* name;
  std::string command_line;
  Args expected;
};

void ExpectSplits(const std::vector<SplitCase>& cases) {
  for (const SplitCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(SplitCommandLine(c.command_line), c.expected);
  }
}

TEST(SplitCommandLineTest, ProgramNameIsNotAnArgument) {
  ExpectSplits({
      {"empty line", "", {}},
      {"name alone", "qelt.exe", {}},
      {"name and blanks", "  qelt.exe  ", {}},
      {"arguments after the name", "qelt a b", {"a", "b"}},
      {"quoted name with a blank", "\"C:\\Program Files\\qelt.exe\" a", {"a"}},
      {"quoted name glued to an argument", "\"qelt\"a b", {"b"}},
  });
}

TEST(SplitCommandLineTest, EveryCodeFrom1To32Separates) {
  for (int code = 1; code <= 32; ++code) {
    SCOPED_TRACE(code);
    const std::string separator(1, static_cast<char>(code));
    EXPECT_EQ(SplitCommandLine("qelt" + separator + "a" + separator + "b" + separator),
              (Args{"a", "b"}));
  }
}

TEST(SplitCommandLineTest, Separators) {
  ExpectSplits({
      {"a run is one separation", "qelt \t\r\n\x01\x1f a \x0b\x0c  b", {"a", "b"}},
      {"DEL is ordinary", "qelt a\x7f" "b", {"a\x7f" "b"}},
      {"bytes from 128 up are ordinary", "qelt \x80\xa0\xff \xe4x", {"\x80\xa0\xff", "\xe4x"}},
      {"NBSP does not separate", "qelt a\xa0" "b", {"a\xa0" "b"}},
      {"NUL ends the line", "qelt a\0b c"s, {"a"}},
      {"NUL right after a separator", "qelt a \0b"s, {"a"}},
  });
}

TEST(SplitCommandLineTest, QuotedStretches) {
  ExpectSplits({
      {"quoted and plain stretches join", "qelt ab\"c d\"e", {"abc de"}},
      {"separators inside quotes belong", "qelt \"a b\" c", {"a b", "c"}},
      {"control codes inside quotes belong", "qelt \"a\tb\r\nc\"", {"a\tb\r\nc"}},
      {"quoted SQL loses its inner quotes", "qelt \"SELECT \"\"X\"\" FROM T\"",
       {"SELECT X FROM T"}},
      {"several stretches", "qelt a\"b\"c\"d\"e", {"abcde"}},
      {"empty stretch inside an argument", "qelt a\"\"b", {"ab"}},
      {"quote after an argument's start", "qelt a\" b\" c", {"a b", "c"}},
      {"unterminated quote runs to the end", "qelt \"a b", {"a b"}},
      {"unterminated quote after an argument", "qelt x \"a b ", {"x", "a b "}},
      {"lone quote at the end is an empty argument", "qelt a \"", {"a", ""}},
      {"backslash is ordinary", "qelt C:\\dir\\ x", {"C:\\dir\\", "x"}},
      {"backslash does not escape a quote", "qelt \"a\\\" b", {"a\\", "b"}},
  });
}

TEST(SplitCommandLineTest, EmptyQuotePairsGiveNoArgument) {
  ExpectSplits({
      {"empty pair moves the rest up", "qelt db user \"\" sql", {"db", "user", "sql"}},
      {"pair right after the name", "qelt \"\" a", {"a"}},
      {"pair at the end", "qelt a \"\"", {"a"}},
      {"pairs in a row", "qelt \"\"\"\" \"\" a", {"a"}},
      {"pair glued to an argument's start", "qelt \"\"a", {"a"}},
      {"pair then a quoted stretch", "qelt \"\"\" a\"", {" a"}},
      {"pair before the name", "\"\" qelt a", {"a"}},
  });
}

TEST(SplitCommandLineTest, ArgumentsAreCutAt4096Bytes) {
  const std::string x4096(4096, 'x');
  ExpectSplits({
      {"4096 taken whole", "qelt " + x4096 + " b", {x4096, "b"}},
      {"longer cut, later arguments keep their place",
       "qelt " + x4096 + "yyyy b", {x4096, "b"}},
      {"quotes don't count", "qelt \"" + x4096 + "\"", {x4096}},
      {"cut inside a quoted stretch", "qelt \"" + std::string(4095, 'x') + " yz\" b",
       {std::string(4095, 'x') + " ", "b"}},
  });
}

struct ArgvCase {
  const char* name;
  std::vector<std::string> argv;
  Args expected;
};

TEST(ArgumentsFromArgvTest, Table) {
  const std::string x4096(4096, 'x');
  const std::vector<ArgvCase> cases = {
      {"program only", {"qelt"}, {}},
      {"arguments", {"qelt", "a b", "c"}, {"a b", "c"}},
      {"empty element moves the rest up", {"qelt", "db", "", "pw", ""}, {"db", "pw"}},
      {"empty program name is still not counted", {"", "a"}, {"a"}},
      {"quotes and controls are the user's", {"qelt", "a\"b", "\t"}, {"a\"b", "\t"}},
      {"cut at 4096 bytes", {"qelt", x4096 + "y", "b"}, {x4096, "b"}},
  };
  for (const ArgvCase& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<std::string> storage = c.argv;
    std::vector<char*> argv;
    for (std::string& s : storage) argv.push_back(&s[0]);
    argv.push_back(nullptr);
    EXPECT_EQ(ArgumentsFromArgv(static_cast<int>(storage.size()), argv.data()), c.expected);
  }
}

TEST(ArgumentsFromArgvTest, NoArgvAtAll) {
  EXPECT_TRUE(ArgumentsFromArgv(0, nullptr).empty());
}

}  // namespace
