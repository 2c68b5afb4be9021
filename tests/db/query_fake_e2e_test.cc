// The query object as the client library sees it: fetch counts, statement
// kinds, cursor handling, markers and the text sent.
#include <algorithm>

#include <gtest/gtest.h>

#include "fake_run.h"

namespace {

const std::vector<std::string> kArguments = {"db.fdb", "SYSDBA", "masterkey"};

std::vector<std::string> With(const std::string& sql) {
  std::vector<std::string> arguments = kArguments;
  arguments.push_back(sql);
  return arguments;
}

size_t Count(const std::vector<std::string>& names, const std::string& name) {
  return static_cast<size_t>(std::count(names.begin(), names.end(), name));
}

std::string SelectScript(int rows) {
  std::string script = "statement\n  match \"select\"\n  column ID SQL_LONG\n";
  for (int i = 1; i <= rows; ++i) script += "  row " + std::to_string(i) + "\n";
  return script;
}

TEST(QueryFakeTest, ASelectOfNRowsMakesNPlusOneFetches) {
  for (int rows : {0, 1, 2, 7, 1001}) {
    SCOPED_TRACE(rows);
    FakeRun fake(SelectScript(rows));
    ProcessResult r = fake.Run(With("select id from t"));
    EXPECT_EQ(r.exit_status, 0) << r.output;
    EXPECT_EQ(Count(fake.CallNames(), "isc_dsql_fetch"), static_cast<size_t>(rows) + 1);
    bool found = r.output.find("> Found SQL Result: " + std::to_string(rows) + " rows") !=
                 std::string::npos;
    EXPECT_EQ(found, rows > 0);
    std::string expected;
    for (int i = 1; i <= rows; ++i) expected += std::to_string(i) + "\r\n";
    if (rows > 0) {
      EXPECT_EQ(ReadFile(fake.program().File("qeltresult.txt")), expected);
    }
  }
}

TEST(QueryFakeTest, ASelectOpensItsCursorThisWay) {
  FakeRun fake(SelectScript(1));
  ProcessResult r = fake.Run(With("select id from t"));
  EXPECT_EQ(r.exit_status, 0);
  std::vector<std::string> calls;
  for (const std::string& line : fake.TraceLines()) {
    std::string name = line.substr(0, line.find(' '));
    if (name.rfind("isc_dsql_", 0) == 0) calls.push_back(line.substr(0, line.find(" ->")));
  }
  EXPECT_EQ(calls, (std::vector<std::string>{
                       "isc_dsql_alloc_statement2 db=1001 stmt=0",
                       "isc_dsql_prepare tr=2001 stmt=3001 length=0 dialect=3 sqlda=null "
                       "sql=\"select id from t\\r\\n\"",
                       "isc_dsql_sql_info stmt=3001 items=[15] buffer_length=8",
                       "isc_dsql_describe stmt=3001 da_version=1 sqln=1",
                       "isc_dsql_execute2 tr=2001 stmt=3001 dialect=1 in=null out=null",
                       "isc_dsql_set_cursor_name stmt=3001 name=\"00822631\" type=0",
                       "isc_dsql_sql_info stmt=3001 items=[17] buffer_length=1049",
                       "isc_dsql_fetch stmt=3001 da_version=1 sqld=1",
                       "isc_dsql_fetch stmt=3001 da_version=1 sqld=1",
                       "isc_dsql_free_statement stmt=3001 option=1",
                       "isc_dsql_free_statement stmt=3001 option=2",
                   }));
}

TEST(QueryFakeTest, MoreColumnsThanRoomAreDescribedAgain) {
  FakeRun fake("statement\n  column A SQL_LONG\n  column B SQL_LONG\n  column C SQL_LONG\n"
               "  row 1 2 3\n");
  ProcessResult r = fake.Run(With("select * from t"));
  EXPECT_EQ(r.exit_status, 0);
  std::vector<std::string> describes = fake.LinesOf("isc_dsql_describe");
  ASSERT_EQ(describes.size(), 2u);
  EXPECT_NE(describes[1].find("sqln=3 -> status=0 sqld=3"), std::string::npos);
  EXPECT_EQ(ReadFile(fake.program().File("qeltresult.txt")), "1\t2\t3\r\n");
}

TEST(QueryFakeTest, StatementKinds) {
  struct Case {
    int kind;
    std::string sql;
    int exit_status;
    std::string message;  // the report's, when the run fails
    std::string executed_with;  // the execute call, when one is made
  };
  const Case cases[] = {
      {2, "insert into t values (1)", 0, "", "isc_dsql_execute "},
      {5, "create table x (a int)", 0, "", "isc_dsql_execute "},
      {13, "set generator g to 1", 0, "", "isc_dsql_execute "},
      {0, "whatever", 0, "", "isc_dsql_execute "},
      {99, "whatever", 0, "", "isc_dsql_execute "},
      {6, "get segment", 1, "Not permitted", ""},
      {7, "put segment", 1, "Not permitted", ""},
      {9, "set transaction", 1, "Not permitted", ""},
      {1, "/* x */ select 1 from t", 1, "use Open for a Select Statement", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.sql);
    FakeRun fake("statement\n  kind " + std::to_string(c.kind) +
                 (c.kind == 1 ? "\n  column A SQL_LONG\n" : "\n"));
    ProcessResult r = fake.Run(With(c.sql));
    EXPECT_EQ(r.exit_status, c.exit_status);
    std::vector<std::string> names = fake.CallNames();
    if (!c.message.empty()) {
      std::string tail = Report("EIBClientError", c.message);
      std::string out = Masked(r.output);
      EXPECT_EQ(out.substr(out.size() - tail.size()), tail);
      EXPECT_FALSE(fake.EndsAnythingAfter(0));
    }
    EXPECT_EQ(Count(names, "isc_dsql_execute") + Count(names, "isc_dsql_execute2"),
              c.executed_with.empty() ? 0u : 1u);
    // Refused kinds release their statement at once.
    if (c.message == "Not permitted") {
      EXPECT_NE(fake.TraceLines().back().find("isc_dsql_free_statement stmt=3001 option=2"),
                std::string::npos);
    }
    // Only a select's outputs are described.
    EXPECT_EQ(Count(names, "isc_dsql_describe"), c.kind == 1 ? 1u : 0u);
    EXPECT_EQ(Count(names, "isc_dsql_fetch"), 0u);
  }
}

TEST(QueryFakeTest, AnExecuteProcedureGetsTheOutputDescriptor) {
  FakeRun fake("statement\n  kind 8\n  column RESULT SQL_LONG\n  row 42\n");
  ProcessResult r = fake.Run(With("execute procedure p"));
  EXPECT_EQ(r.exit_status, 0) << r.output;
  EXPECT_EQ(r.output.find("> Found"), std::string::npos);
  std::vector<std::string> executes = fake.LinesOf("isc_dsql_execute2");
  ASSERT_EQ(executes.size(), 1u);
  EXPECT_NE(executes[0].find("in=null out=sqld=1"), std::string::npos) << executes[0];
  EXPECT_EQ(Count(fake.CallNames(), "isc_dsql_fetch"), 0u);
}

TEST(QueryFakeTest, AFailingExecuteProcedureIsTriedOnceMore) {
  struct Case {
    std::string failure;
    size_t prepares;
  };
  const Case cases[] = {
      {"335544345", 1},  // a lock conflict is raised at once
      {"335544347", 2},  // anything else: prepared again and executed again
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.failure);
    FakeRun fake("statement\n  kind 8\n  column RESULT SQL_LONG\n  row 42\n"
                 "fail isc_dsql_execute2 1+ " + c.failure + " \"failed\"\n");
    ProcessResult r = fake.Run(With("execute procedure p"));
    EXPECT_EQ(r.exit_status, 1);
    std::vector<std::string> names = fake.CallNames();
    EXPECT_EQ(Count(names, "isc_dsql_prepare"), c.prepares);
    EXPECT_EQ(Count(names, "isc_dsql_execute2"), c.prepares);
    EXPECT_FALSE(fake.EndsAnythingAfter(0));
  }
}

TEST(QueryFakeTest, ASelectForUpdateDeliversItsRows) {
  FakeRun fake("statement\n  kind 12\n  column ID SQL_LONG\n  row 1\n  row 2\n");
  ProcessResult r = fake.Run(With("select id from t for update"));
  EXPECT_EQ(r.exit_status, 0) << r.output;
  EXPECT_NE(r.output.find("> Found SQL Result: 2 rows"), std::string::npos);
  EXPECT_EQ(ReadFile(fake.program().File("qeltresult.txt")), "1\r\n2\r\n");
}

// Fetching the rows after the first is part of the run's work: its failure
// ends the run with the report, without "> Ready.", without a result file and
// without commit, rollback or detach.
TEST(QueryFakeTest, AFailingFetchEndsTheRun) {
  for (int failing : {1, 2, 5}) {
    SCOPED_TRACE(failing);
    FakeRun fake(SelectScript(9) + "fail isc_dsql_fetch " + std::to_string(failing) +
                 " 335544344 \"I/O error during read\"\n");
    WriteFile(fake.program().File("qeltresult.txt"), "earlier");
    ProcessResult r = fake.Run(With("select id from t"));
    EXPECT_EQ(r.exit_status, 1);
    std::string tail = Lines({std::string(79, '-')}) +
                       Report("EIBInterBaseError", "I/O error during read");
    std::string out = Masked(r.output);
    EXPECT_EQ(out.substr(out.size() - tail.size()), tail);
    EXPECT_EQ(ReadFile(fake.program().File("qeltresult.txt")), "earlier");
    EXPECT_FALSE(fake.EndsAnythingAfter(0));
    std::vector<std::string> names = fake.CallNames();
    EXPECT_EQ(Count(names, "isc_dsql_fetch"), static_cast<size_t>(failing));
    // While fetching all, the cursor is closed on the server first.
    EXPECT_EQ(Count(names, "isc_dsql_free_statement"), failing > 1 ? 1u : 0u);
  }
}

TEST(QueryFakeTest, TheCursorEndCodeEndsTheRows) {
  FakeRun fake(SelectScript(5) + "fail isc_dsql_fetch 3 335544572\n");
  ProcessResult r = fake.Run(With("select id from t"));
  EXPECT_EQ(r.exit_status, 0) << r.output;
  EXPECT_NE(r.output.find("> Found SQL Result: 2 rows"), std::string::npos);
}

TEST(QueryFakeTest, CursorCloseFailuresThatAreIgnored) {
  for (const char* code : {"335544485", "335544577"}) {
    SCOPED_TRACE(code);
    FakeRun fake(SelectScript(2) + "fail isc_dsql_free_statement 1 " + code + "\n");
    ProcessResult r = fake.Run(With("select id from t"));
    EXPECT_EQ(r.exit_status, 0) << r.output;
    std::vector<std::string> names = fake.CallNames();
    EXPECT_EQ(names.back(), "isc_detach_database");
    EXPECT_EQ(Count(names, "isc_commit_transaction"), 1u);
  }
  FakeRun fake(SelectScript(2) + "fail isc_dsql_free_statement 1 335544344\n");
  ProcessResult r = fake.Run(With("select id from t"));
  EXPECT_EQ(r.exit_status, 1);
  EXPECT_FALSE(fake.EndsAnythingAfter(0));
}

TEST(QueryFakeTest, MarkersAreSentAsQuestionMarksAndBoundToNull) {
  const std::string sql = "select * from t where a = :A and b = :\"b c\"\rand c = 'x:y' /* :z */\n"
                          "and d = :A";
  // Markers: A, b c, A; the parameter list: A, "b c", z, A.
  FakeRun fake("statement\n  column A SQL_LONG\n  params 3\n  row 1\n");
  ProcessResult r = fake.Run(With(sql));
  // The marker inside the comment is counted by the parameter list but is no
  // marker: binding fails.
  EXPECT_EQ(r.exit_status, 1);
  std::vector<std::string> prepare = fake.LinesOf("isc_dsql_prepare");
  ASSERT_EQ(prepare.size(), 1u);
  EXPECT_NE(prepare[0].find("sql=\"select * from t where a = ? and b = ?\\r\\nand c = 'x:y' "
                            "/* :z */\\r\\nand d = ?\\r\\n\""),
            std::string::npos)
      << prepare[0];
  std::string tail = Report("EIBClientError", "XSQLDA index out of range");
  std::string out = Masked(r.output);
  EXPECT_EQ(out.substr(out.size() - tail.size()), tail);
}

// Each parameter of the list sets the marker at its position to NULL, and
// every other marker of the same name. A "?" marker is no parameter: where
// no parameter reaches it, it keeps the zero value it was described with.
TEST(QueryFakeTest, MarkersAreBoundByPositionAndName) {
  struct Case {
    std::string sql;
    std::vector<std::string> indicators;  // per marker
  };
  const Case cases[] = {
      {"insert into t values (:A, ?b, :A)", {"ind=-1", "ind=-1", "ind=-1"}},
      {"insert into t values (:A, ?b)", {"ind=-1", "ind=0"}},
      {"insert into t values (?b, :A)", {"ind=-1", "ind=0"}},
      {"insert into t values (?b, ?c)", {"ind=0", "ind=0"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.sql);
    FakeRun fake("statement\n  kind 2\n");
    ProcessResult r = fake.Run(With(c.sql));
    EXPECT_EQ(r.exit_status, 0) << r.output;
    std::vector<std::string> executes = fake.LinesOf("isc_dsql_execute");
    ASSERT_EQ(executes.size(), 1u);
    const std::string& line = executes[0];
    for (size_t i = 0; i < c.indicators.size(); ++i) {
      size_t start = line.find("." + std::to_string(i) + "={");
      size_t end = line.find("}", start);
      ASSERT_NE(start, std::string::npos) << line;
      EXPECT_NE(line.substr(start, end - start).find(c.indicators[i]), std::string::npos)
          << i << ": " << line;
    }
  }
}

TEST(QueryFakeTest, AnEmptyTextMakesNoStatementCall) {
  for (const std::string sql : {" ", "\t\r\n"}) {
    FakeRun fake("");
    ProcessResult r = fake.Run(With(sql));
    EXPECT_EQ(r.exit_status, 1);
    for (const std::string& name : fake.CallNames()) EXPECT_EQ(name.rfind("isc_dsql", 0), std::string::npos);
  }
}

}  // namespace
