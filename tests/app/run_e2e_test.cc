// The console dialogue of whole runs against a real embedded database.
#include <unistd.h>

#include <gtest/gtest.h>

#include "firebird.h"
#include "qelt.h"

namespace {

const std::string kUsage = Lines(
    {"Syntax:    QELT \"DatabasePath\" \"UserName\" \"Password\" \"SQL TEXT\"",
     "        or QELT \"DatabasePath\" \"UserName\" \"Password\" \"FullQualifiedFileName\""});

class RunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    database_ = data_.File("run.fdb");
    CreateDatabase(database_, "CREATE TABLE T (ID INTEGER, NAME VARCHAR(20));");
  }

  // The whole dialogue of a command that runs without rows.
  std::string CommandDialogue(const std::string& sql) const {
    return Head(database_, "SYSDBA", "masterkey", sql) + InitLines() + SqlEcho(sql + "\r\n") +
           Lines({"> Ready.", ""});
  }

  TempDir data_;
  ProgramDir program_;
  std::string database_;
};

TEST_F(RunTest, FewerThanFourArgumentsGiveTheUsageText) {
  for (const std::vector<std::string>& arguments :
       std::vector<std::vector<std::string>>{{}, {"a", "b", "c"}, {"a", "b", "/PAUSE"}}) {
    ProcessResult r = program_.Run(arguments);
    EXPECT_EQ(r.exit_status, 0);
    EXPECT_EQ(r.output, Banner() + kUsage + "\r\n");
    EXPECT_EQ(r.error_output, "");
  }
}

TEST_F(RunTest, AnEmptyArgumentIsNoArgument) {
  ProcessResult r = program_.Run({database_, "SYSDBA", "", "select 1 from rdb$database"});
  EXPECT_EQ(r.exit_status, 0);
  EXPECT_EQ(r.output, Banner() + kUsage + "\r\n");
}

TEST_F(RunTest, ACommandRunsAndIsCommitted) {
  const std::string sql = "insert into t values (1, 'one')";
  ProcessResult r = program_.Run({database_, "SYSDBA", "masterkey", sql});
  EXPECT_EQ(r.exit_status, 0);
  EXPECT_EQ(r.output, CommandDialogue(sql));
  EXPECT_EQ(r.error_output, "");
  EXPECT_EQ(QueryValue(database_, "select count(*) from t where name = 'one'"), "1");
}

TEST_F(RunTest, PauseSwitchWaitsForEnter) {
  const std::string sql = "insert into t values (2, 'two')";
  struct Case {
    const char* pause;
    std::optional<std::string> input;
    bool prompt;
  };
  const Case cases[] = {
      {"/PAUSE", std::nullopt, true},   // input at its end at once
      {"/pause", std::string("x\ny\r"), true},
      {"/PaUsE", std::string("\n\n"), true},  // bare LFs then the end of input
      {"/PAUSEX", std::nullopt, false},
      {"PAUSE", std::nullopt, false},
      {"/PAUS", std::nullopt, false},
      {"/PAUSE ", std::nullopt, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.pause);
    ProcessOptions options;
    options.arguments = {database_, "SYSDBA", "masterkey", sql, c.pause};
    options.input = c.input;
    ProcessResult r = program_.Run(options);
    EXPECT_EQ(r.exit_status, 0);
    EXPECT_EQ(r.output, CommandDialogue(sql) + (c.prompt ? Lines({"press [ENTER] to close."}) : ""));
  }
}

TEST_F(RunTest, PauseAsSixthArgumentIsIgnored) {
  const std::string sql = "insert into t values (3, 'three')";
  ProcessResult r = program_.Run({database_, "SYSDBA", "masterkey", sql, "x", "/PAUSE"});
  EXPECT_EQ(r.exit_status, 0);
  EXPECT_EQ(r.output, CommandDialogue(sql));
}

TEST_F(RunTest, OutputToAFileHoldsExactlyTheDialogue) {
  const std::string sql = "insert into t values (4, 'four')";
  ProcessOptions options;
  options.arguments = {database_, "SYSDBA", "masterkey", sql, "/PAUSE"};
  options.output_file = data_.File("out.txt");
  options.input = "\r\n";
  ProcessResult r = program_.Run(options);
  EXPECT_EQ(r.exit_status, 0);
  EXPECT_EQ(ReadFile(options.output_file), CommandDialogue(sql) + Lines({"press [ENTER] to close."}));
}

TEST_F(RunTest, AFailedAttachEndsWithTheReport) {
  const std::string missing = data_.File("missing.fdb");
  ProcessOptions options;
  options.arguments = {missing, "SYSDBA", "masterkey", "select 1 from rdb$database", "/PAUSE"};
  ProcessResult r = program_.Run(options);
  EXPECT_EQ(r.exit_status, 1);
  std::string head = Head(missing, "SYSDBA", "masterkey", "select 1 from rdb$database") +
                     Lines({"> Init IBDatabase"});
  // The library's texts joined by CR LF, one period at the end, and no
  // further line: no empty line and no prompt after an error.
  EXPECT_EQ(Masked(r.output),
            head + Report("EIBInterBaseError", "I/O error during \"open\" operation for file \"" +
                                                   missing +
                                                   "\"\r\nError while trying to open file\r\n"
                                                   "No such file or directory"));
}

TEST_F(RunTest, AFailingStatementEndsWithoutCommit) {
  const std::string sql = "insert into t values ('not a number', 'x')";
  ProcessResult r = program_.Run({database_, "SYSDBA", "masterkey", sql});
  EXPECT_EQ(r.exit_status, 1);
  std::string expected_start = Head(database_, "SYSDBA", "masterkey", sql) + InitLines() +
                               SqlEcho(sql + "\r\n") + "Exception EIBInterBaseError in Modul qelt";
  EXPECT_EQ(Masked(r.output).substr(0, expected_start.size()), expected_start);
  EXPECT_EQ(QueryValue(database_, "select count(*) from t"), "0");
}

// A selectable procedure that inserts a row for every row it returns and
// fails on the fifth: the rows already inserted are work of the run's
// transaction, which is never committed. The process must still end at once,
// and the database open cleanly afterwards without that work.
TEST_F(RunTest, WorkOfAFailedRunIsGoneAfterTheProcessEnds) {
  Isql(database_,
       "SET TERM ^ ;\n"
       "CREATE EXCEPTION BOOM 'boom'^\n"
       "CREATE PROCEDURE FILL RETURNS (N INTEGER) AS BEGIN\n"
       "  N = 0;\n"
       "  WHILE (N < 10) DO BEGIN\n"
       "    N = N + 1;\n"
       "    IF (N = 5) THEN EXCEPTION BOOM;\n"
       "    INSERT INTO T VALUES (:N, 'fill');\n"
       "    SUSPEND;\n"
       "  END\n"
       "END^\n"
       "SET TERM ; ^\n"
       "COMMIT;");
  ProcessResult r = program_.Run({database_, "SYSDBA", "masterkey", "select * from fill"});
  EXPECT_EQ(r.exit_status, 1);
  EXPECT_NE(r.output.find("boom"), std::string::npos) << r.output;
  EXPECT_EQ(r.output.find("> Ready."), std::string::npos);
  EXPECT_EQ(QueryValue(database_, "select count(*) from t"), "0");
}

TEST_F(RunTest, AMissingClientLibraryIsReported) {
  // Hide the installed library in a private mount namespace.
  ProcessOptions options;
  const std::string library = "/usr/lib/x86_64-linux-gnu/libfbclient.so.2";
  options.arguments = {"-m", "sh", "-c",
                       "mount --bind /dev/null " + library + " && exec \"$0\" \"$@\"",
                       program_.program(), database_, "SYSDBA", "masterkey", "select 1"};
  options.working_directory = program_.path();
  ProcessOptions probe_options;
  probe_options.arguments = {"-m", "true"};
  ProcessResult probe = RunProcess("/usr/bin/unshare", probe_options);
  if (probe.exit_status != 0) GTEST_SKIP() << "no mount namespaces here";
  ProcessResult r = RunProcess("/usr/bin/unshare", options);
  EXPECT_EQ(r.exit_status, 1);
  EXPECT_EQ(Masked(r.output),
            Head(database_, "SYSDBA", "masterkey", "select 1") + Lines({"> Init IBDatabase"}) +
                Report("EIBClientError",
                       "InterBase library libfbclient.so.2 not found in the path. Please install "
                       "InterBase to use this functionality"));
}

TEST_F(RunTest, AFullStandardOutputFailsTheRun) {
  ProcessOptions options;
  options.arguments = {database_, "SYSDBA", "masterkey", "insert into t values (9, 'nine')"};
  options.output_file = "/dev/full";
  ProcessResult r = program_.Run(options);
  EXPECT_EQ(r.exit_status, 1);
  EXPECT_EQ(r.error_output, "");
  EXPECT_EQ(QueryValue(database_, "select count(*) from t"), "0");
}

TEST_F(RunTest, AClosedPipeFailsTheRun) {
  ProcessOptions options;
  options.arguments = {database_, "SYSDBA", "masterkey", "insert into t values (9, 'nine')"};
  options.output_closed = true;
  ProcessResult r = program_.Run(options);
  EXPECT_EQ(r.exit_status, 1);
  EXPECT_EQ(r.signal, 0);
  EXPECT_EQ(r.error_output, "");
  EXPECT_EQ(QueryValue(database_, "select count(*) from t"), "0");
}

// While the run waits for ENTER, the process list shows the arguments
// without the password; the echo still shows one star per character.
TEST_F(RunTest, ThePasswordIsGoneFromTheProcessList) {
  const std::string sql = "insert into t values (10, 'ten')";
  const std::string password = "masterkey";
  std::string command_line;
  bool waited = false;
  ProcessOptions options;
  options.arguments = {database_, "SYSDBA", password, sql, "/PAUSE"};
  options.input = "";
  options.while_running = [&](int pid) {
    const std::string proc = "/proc/" + std::to_string(pid);
    // Wait until the program is blocked reading standard input (read is
    // system call 0, standard input descriptor 0).
    for (int i = 0; i < 1000 && !waited; ++i) {
      waited = ReadFile(proc + "/syscall").rfind("0 0x0 ", 0) == 0;
      if (!waited) usleep(10000);
    }
    command_line = ReadFile(proc + "/cmdline");
  };
  ProcessResult r = program_.Run(options);
  ASSERT_TRUE(waited);
  EXPECT_EQ(command_line.find(password), std::string::npos);
  EXPECT_NE(command_line.find(sql), std::string::npos);
  EXPECT_EQ(r.exit_status, 0);
  EXPECT_EQ(r.output, CommandDialogue(sql) + Lines({"press [ENTER] to close."}));
}

}  // namespace
