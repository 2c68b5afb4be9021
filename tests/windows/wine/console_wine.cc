// Standard output on Windows: a file or a pipe gets exactly the dialogue's
// bytes; and the Windows build's own unit tests, run under Wine.
#include <gtest/gtest.h>

#include "wine_run.h"

namespace {

TEST(ConsoleWineTest, OutputToAFileHoldsExactlyTheDialogue) {
  WineRun run("statement\n  kind 2\nfail isc_dsql_execute 1 335544344 \"it broke\"\n");
  TempDir out;
  ProcessOptions options;
  options.output_file = out.File("out.txt");
  ProcessResult r = run.Run({"db.fdb", "SYSDBA", "pw", "insert into t values (1)"}, options);
  EXPECT_EQ(r.exit_status, 1);
  EXPECT_EQ(Masked(ReadFile(out.File("out.txt"))),
            Head("db.fdb", "SYSDBA", "pw", "insert into t values (1)") + InitLines() +
                SqlEcho("insert into t values (1)\r\n") +
                Report("EIBInterBaseError", "it broke", "qelt.exe"));
}

TEST(ConsoleWineTest, AClosedPipeFailsTheRun) {
  WineRun run("statement\n  kind 2\n");
  ProcessOptions options;
  options.output_closed = true;
  ProcessResult r = run.Run({"db.fdb", "SYSDBA", "pw", "insert into t values (1)"}, options);
  EXPECT_EQ(r.exit_status, 1);
  EXPECT_TRUE(run.fake().TraceLines().empty());
}

TEST(WindowsUnitTest, TheUnitTestsPassUnderWine) {
  ProcessOptions options;
  TempDir work;
  options.working_directory = work.path();
  ProcessResult r = RunUnderWine(QELT_WINDOWS_UNIT_TESTS, options);
  EXPECT_EQ(r.exit_status, 0) << r.output;
  EXPECT_NE(r.output.find("[  PASSED  ]"), std::string::npos) << r.output;
}

}  // namespace
