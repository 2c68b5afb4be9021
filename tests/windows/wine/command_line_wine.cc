// The command line as Windows hands it over: one string that qelt.exe splits
// itself, quoted stretches, empty pairs of quotes and all.
#include <gtest/gtest.h>

#include "wine_run.h"

namespace {

const std::string kInsert = "insert into t values (1)";

const std::string kUsage = Lines(
    {"Syntax:    QELT \"DatabasePath\" \"UserName\" \"Password\" \"SQL TEXT\"",
     "        or QELT \"DatabasePath\" \"UserName\" \"Password\" \"FullQualifiedFileName\""});

TEST(CommandLineWineTest, ArgumentsAreSplitByTheWindowsRules) {
  struct Case {
    std::string command_line;
    std::vector<std::string> arguments;  // the four the run echoes and uses
  };
  const Case cases[] = {
      {"qelt db.fdb SYSDBA pw \"" + kInsert + "\"", {"db.fdb", "SYSDBA", "pw", kInsert}},
      // Quoted and plain stretches side by side make one argument.
      {"qelt \"C:\\my data\\\"x.fdb ab\"c d\"e \"p w\" " + kInsert.substr(0, 6) + "\" into t "
       "values (1)\"",
       {"C:\\my data\\x.fdb", "abc de", "p w", kInsert}},
      // Tabs and runs of blanks separate; a backslash escapes nothing.
      {"qelt\tdb.fdb   \\\"user\\\" \t pw \"" + kInsert + "\"",
       {"db.fdb", "\\user\\", "pw", kInsert}},
      // An empty pair of quotes is no argument: the later ones move up.
      {"qelt db.fdb \"\" SYSDBA pw \"" + kInsert + "\"", {"db.fdb", "SYSDBA", "pw", kInsert}},
      // A quote that is never closed runs to the end.
      {"qelt db.fdb SYSDBA pw \"" + kInsert, {"db.fdb", "SYSDBA", "pw", kInsert}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.command_line);
    WineRun run("statement\n  kind 2\n");
    ProcessResult r = run.RunLine(c.command_line);
    EXPECT_EQ(r.exit_status, 0) << r.output;
    const std::vector<std::string>& a = c.arguments;
    EXPECT_EQ(r.output, Head(a[0], a[1], a[2], a[3]) + InitLines() + SqlEcho(a[3] + "\r\n") +
                            Lines({"> Ready.", ""}));
    std::vector<std::string> attach = run.fake().LinesOf("isc_attach_database");
    ASSERT_EQ(attach.size(), 1u);
    EXPECT_NE(attach[0].find("file_length=" + std::to_string(a[0].size()) + " "),
              std::string::npos)
        << attach[0];
  }
}

TEST(CommandLineWineTest, TooFewArgumentsGiveTheUsageText) {
  for (const std::string& command_line :
       {std::string("qelt"), "qelt db.fdb SYSDBA \"\" \"" + kInsert + "\"",
        std::string("qelt a b /PAUSE")}) {
    SCOPED_TRACE(command_line);
    WineRun run("");
    ProcessResult r = run.RunLine(command_line);
    EXPECT_EQ(r.exit_status, 0);
    EXPECT_EQ(r.output, Banner() + kUsage + "\r\n");
    EXPECT_TRUE(run.fake().TraceLines().empty());
  }
}

TEST(CommandLineWineTest, DoubleQuotedNamesInTheSqlLoseTheirQuotes) {
  WineRun run("statement\n  kind 2\n");
  ProcessResult r =
      run.RunLine("qelt db.fdb SYSDBA pw \"insert into \"MY TABLE\" values (1)\"");
  // Outside the quotes, the blank in the name ends the argument.
  EXPECT_EQ(r.exit_status, 0) << r.output;
  EXPECT_NE(r.output.find("* SQL-Command: \"insert into MY\"\r\n"), std::string::npos) << r.output;
  r = run.RunLine("qelt db.fdb SYSDBA pw \"insert into \"MY_TABLE\" values (1)\"");
  EXPECT_EQ(r.exit_status, 0) << r.output;
  std::vector<std::string> prepare = run.fake().LinesOf("isc_dsql_prepare");
  ASSERT_FALSE(prepare.empty());
  EXPECT_NE(prepare.back().find("sql=\"insert into MY_TABLE values (1)\\r\\n\""),
            std::string::npos)
      << prepare.back();
}

TEST(CommandLineWineTest, PauseSwitchReadsStandardInput) {
  struct Case {
    std::string pause;
    std::optional<std::string> input;
    bool prompt;
  };
  const Case cases[] = {
      {"/PAUSE", std::nullopt, true},          // input at its end at once
      {"/pause", std::string("x\ny\r"), true},  // ends at the CR
      {"/PaUsE", std::string("\n\n"), true},    // bare LFs, then the end of input
      {"/PAUSEX", std::nullopt, false},
      {"\"/PAUSE \"", std::nullopt, false},
      {"PAUSE", std::nullopt, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.pause);
    WineRun run("statement\n  kind 2\n");
    ProcessOptions options;
    options.input = c.input;
    ProcessResult r = run.RunLine("qelt db.fdb SYSDBA pw \"" + kInsert + "\" " + c.pause, options);
    EXPECT_EQ(r.exit_status, 0);
    std::string end =
        Lines({"> Ready.", ""}) + (c.prompt ? Lines({"press [ENTER] to close."}) : "");
    ASSERT_GE(r.output.size(), end.size());
    EXPECT_EQ(r.output.substr(r.output.size() - end.size()), end);
  }
}

}  // namespace
