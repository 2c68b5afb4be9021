// gds32.dll as qelt.exe finds, binds and calls it, and the error report's
// module and offset on Windows.
#include <gtest/gtest.h>

#include "wine_run.h"

namespace {

const std::string kInsert = "insert into t values (1)";

std::string Tail(const ProcessResult& r, size_t size) {
  std::string out = Masked(r.output);
  return out.size() >= size ? out.substr(out.size() - size) : out;
}

// Every entry point is called through the right convention with the right
// argument sizes: the whole conversation is the same as on Linux.
TEST(ClientLibraryWineTest, ACompletedRunMakesTheseCallsInThisOrder) {
  WineRun run("statement\n  kind 2\n");
  ProcessResult r = run.Run({"db.fdb", "SYSDBA", "masterkey", kInsert});
  EXPECT_EQ(r.exit_status, 0) << r.output;
  EXPECT_EQ(run.fake().CallNames(),
            (std::vector<std::string>{
                "isc_attach_database", "isc_database_info", "isc_vax_integer", "isc_vax_integer",
                "isc_start_multiple", "isc_dsql_alloc_statement2", "isc_dsql_prepare",
                "isc_dsql_sql_info", "isc_vax_integer", "isc_vax_integer", "isc_dsql_execute",
                "isc_dsql_free_statement", "isc_commit_transaction", "isc_detach_database"}));
  std::vector<std::string> lines = run.fake().TraceLines();
  EXPECT_EQ(lines[0].substr(0, lines[0].find(" ->")),
            "isc_attach_database file_length=6 file=\"db.fdb\" db=0 dpb_length=20 dpb=[01 1c 06 "
            "53 59 53 44 42 41 1d 09 6d 61 73 74 65 72 6b 65 79]");
  EXPECT_NE(lines[4].find("count=1 teb0.db=1001 teb0.tpb_length=4 teb0.tpb=[03 0f 11 07]"),
            std::string::npos);
}

TEST(ClientLibraryWineTest, ASelectsRowsReachTheResultFile) {
  WineRun run("statement\n  column ID SQL_LONG\n  column NAME SQL_VARYING len=10 nullable\n"
              "  column PRICE SQL_INT64 scale=-2\n  column AT SQL_TIMESTAMP\n"
              "  row 1 \"ab\" 12.50 2003-07-15T13:05:09\n  row -2 NULL -0.05 2003-07-15\n");
  ProcessResult r = run.Run({"db.fdb", "SYSDBA", "masterkey", "select * from t"});
  ASSERT_EQ(r.exit_status, 0) << r.output;
  EXPECT_NE(r.output.find(Lines({"> Found SQL Result: 2 rows",
                                 "> Writing Result to: \"" + run.Directory() + "qeltresult.txt\"",
                                 "> Ready.", ""})),
            std::string::npos)
      << r.output;
  EXPECT_EQ(ReadFile(run.File("qeltresult.txt")),
            "1\tab\t12.5\t7/15/2003 1:05:09 PM\r\n-2\t\t-0.05\t7/15/2003\r\n");
}

TEST(ClientLibraryWineTest, AMissingLibraryIsReported) {
  WineRun run("", "");
  ProcessResult r = run.Run({"db.fdb", "SYSDBA", "masterkey", kInsert, "/PAUSE"});
  EXPECT_EQ(r.exit_status, 1);
  EXPECT_EQ(Masked(r.output),
            Head("db.fdb", "SYSDBA", "masterkey", kInsert) + Lines({"> Init IBDatabase"}) +
                Report("EIBClientError",
                       "InterBase library gds32.dll not found in the path. Please install "
                       "InterBase to use this functionality",
                       "qelt.exe"));
}

TEST(ClientLibraryWineTest, TheLibraryIsFoundOnThePath) {
  WineRun run("statement\n  kind 2\n", "");
  ProcessOptions options;
  options.environment = {{"WINEPATH", WindowsPath(FakeClientDir())}};
  ProcessResult r = run.Run({"db.fdb", "SYSDBA", "masterkey", kInsert}, options);
  EXPECT_EQ(r.exit_status, 0) << r.output;
  EXPECT_EQ(run.fake().CallNames().size(), 14u);
}

// A required entry point that the library lacks is the system's error.
TEST(ClientLibraryWineTest, AMissingEntryPointIsAWin32Error) {
  WineRun run("", FakeClientLackingFetchDir());
  ProcessResult r = run.Run({"db.fdb", "SYSDBA", "masterkey", kInsert});
  EXPECT_EQ(r.exit_status, 1);
  std::string head = Masked(Head("db.fdb", "SYSDBA", "masterkey", kInsert) +
                            Lines({"> Init IBDatabase"}) +
                            "Exception EWin32Error in Modul qelt.exe bei XXXXXXXX.\n"
                            "Win32-Fehler. Code: 127.\n");
  std::string out = Masked(r.output);
  EXPECT_EQ(out.substr(0, head.size()), head);
  // Then the system's text for the code, and the end of the line.
  EXPECT_GT(out.size(), head.size() + 3);
  EXPECT_EQ(out.substr(out.size() - 2), "\r\n");
  EXPECT_TRUE(run.fake().TraceLines().empty());
}

TEST(ClientLibraryWineTest, DatesNeedAVersion6Library) {
  WineRun run("statement\n  column V SQL_TYPE_DATE\n  row 2003-07-15\n", FakeClientPre6Dir());
  ProcessResult r = run.Run({"db.fdb", "SYSDBA", "masterkey", "select * from t"});
  EXPECT_EQ(r.exit_status, 1);
  std::string tail = Report("EIBClientError",
                            "isc_decode_sql_date is an InterBase 6 function. Please upgrade to "
                            "InterBase 6 to use this functonality",
                            "qelt.exe");
  EXPECT_EQ(Tail(r, tail.size()), tail);
}

// The report names qelt.exe and an offset into it: 8 upper-case hex digits
// that lie inside the program's image.
TEST(ClientLibraryWineTest, TheReportNamesTheProgramAndAnOffsetInIt) {
  WineRun run("statement\n  kind 2\nfail isc_dsql_execute 1 335544344 sqlcode=-902 "
              "\"I/O error\" \"it broke.\"\n");
  ProcessResult r = run.Run({"db.fdb", "SYSDBA", "masterkey", kInsert, "/PAUSE"});
  EXPECT_EQ(r.exit_status, 1);
  std::string tail = Report("EIBInterBaseError", "I/O error\r\nit broke", "qelt.exe");
  EXPECT_EQ(Tail(r, tail.size()), tail);
  size_t at = r.output.find(" bei ");
  ASSERT_NE(at, std::string::npos);
  std::string offset = r.output.substr(at + 5, 8);
  EXPECT_EQ(offset.find_first_not_of("0123456789ABCDEF"), std::string::npos) << offset;
  EXPECT_GT(std::stoul(offset, nullptr, 16), 0x1000u);
  EXPECT_LT(std::stoul(offset, nullptr, 16), ReadFile(QELT_BINARY).size());
  EXPECT_FALSE(run.fake().EndsAnythingAfter(10));
}

}  // namespace
