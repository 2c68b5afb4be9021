// The statement run against a real embedded database: where the SQL comes
// from, how it is echoed, which texts are opened and which executed, and the
// errors that end a run.
#include <sys/stat.h>
#include <utime.h>

#include <gtest/gtest.h>

#include "firebird.h"
#include "qelt.h"

namespace {

class StatementRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CreateDatabase(database_,
                   "CREATE TABLE T (ID INTEGER, NAME VARCHAR(20));\n"
                   "INSERT INTO T VALUES (1, 'one');\n"
                   "INSERT INTO T VALUES (2, 'two');\n"
                   "INSERT INTO T VALUES (3, '12:30');\n");
  }

  ProcessResult Run(const std::string& sql_source) const {
    ProcessOptions options;
    options.arguments = {database_, "SYSDBA", "masterkey", sql_source};
    options.working_directory = data_.path();
    return program_.Run(options);
  }

  // Everything after the argument echo and the three init lines.
  std::string AfterInit(const ProcessResult& r, const std::string& sql_source) const {
    std::string head = Head(database_, "SYSDBA", "masterkey", sql_source) + InitLines();
    std::string out = Masked(r.output);
    EXPECT_EQ(out.substr(0, head.size()), head);
    return out.size() >= head.size() ? out.substr(head.size()) : out;
  }

  TempDir data_;
  ProgramDir program_;
  std::string database_ = data_.File("run.fdb");
};

TEST_F(StatementRunTest, RowCountsAreReported) {
  struct Case {
    std::string sql;
    std::string found;  // empty: no found line
  };
  const Case cases[] = {
      {"select * from t", "> Found SQL Result: 3 rows"},
      {"select * from t where id = 2", "> Found SQL Result: 1 rows"},
      {"select * from t where id = 0", ""},
      {"select * from t where name = '12:30'", "> Found SQL Result: 1 rows"},
      {"select * from t where id = :ID", ""},  // the marker is NULL
      {"select * from t where id = :ID or :ID is null", "> Found SQL Result: 3 rows"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.sql);
    ProcessResult r = Run(c.sql);
    EXPECT_EQ(r.exit_status, 0);
    std::string tail = c.found.empty()
                           ? Lines({"> Ready.", ""})
                           : Lines({c.found, "> Writing Result to: \"" +
                                                 program_.File("qeltresult.txt") + "\"",
                                    "> Ready.", ""});
    EXPECT_EQ(AfterInit(r, c.sql), SqlEcho(c.sql + "\r\n") + tail);
  }
}

TEST_F(StatementRunTest, SelectsInAnyCaseAndAfterBlanksAreOpened) {
  for (const std::string sql : {"SeLeCt * from t", "\r\n\n \t select * from t"}) {
    ProcessResult r = Run(sql);
    EXPECT_EQ(r.exit_status, 0);
    EXPECT_NE(r.output.find("> Found SQL Result: 3 rows"), std::string::npos) << r.output;
  }
}

TEST_F(StatementRunTest, RefusedTexts) {
  struct Case {
    std::string sql;
    std::string kind;
    std::string message;  // empty: the server's message, not checked here
  };
  const Case cases[] = {
      {"/* all */ select * from t", "EIBClientError", "use Open for a Select Statement"},
      {"select * from t where id = ::x", "EIBClientError",
       "SQL Parse Error:\r\n\r\nParameter name expected"},
      {"select * from t where id = ? ", "EIBClientError",
       "SQL Parse Error:\r\n\r\nParameter name expected"},
      {"select * from t where name = 'open", "EIBClientError",
       "SQL Parse Error:\r\n\r\nEOF in string detected"},
      {"select * from t /* open", "EIBClientError",
       "SQL Parse Error:\r\n\r\nEOF in comment detected"},
      {"select * from t /* :ID */", "EIBClientError", "XSQLDA index out of range"},
      {"select * from t -- it's", "EIBClientError",
       "SQL Parse Error:\r\n\r\nEOF in string detected"},
      {"   ", "EIBClientError", "Empty SQL Statement"},
      {"set transaction", "EIBClientError", "Not permitted"},
      {"selectx * from t", "EIBInterBaseError", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.sql);
    ProcessResult r = Run(c.sql);
    EXPECT_EQ(r.exit_status, 1);
    std::string rest = AfterInit(r, c.sql);
    std::string echo = SqlEcho(c.sql + "\r\n");
    EXPECT_EQ(rest.substr(0, echo.size()), echo);
    if (c.message.empty()) {
      EXPECT_EQ(rest.substr(echo.size()).rfind("Exception " + c.kind + " in Modul qelt", 0), 0u)
          << rest;
    } else {
      EXPECT_EQ(rest.substr(echo.size()), Report(c.kind, c.message));
    }
  }
}

TEST_F(StatementRunTest, SqlFilesWithEveryKindOfLineEnd) {
  struct Case {
    const char* name;
    std::string content;
    std::string echoed;
  };
  const Case cases[] = {
      {"crlf.sql", "insert into t\r\nvalues (4, 'four')\r\n", "insert into t\r\nvalues (4, 'four')\r\n"},
      {"lf.sql", "insert into t\nvalues (5, 'five')", "insert into t\r\nvalues (5, 'five')\r\n"},
      {"cr.sql", "insert into t\rvalues (6, 'six')\r", "insert into t\r\nvalues (6, 'six')\r\n"},
      {"lfcr.sql", "insert into t\n\rvalues (7, 'seven')",
       "insert into t\r\n\r\nvalues (7, 'seven')\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    WriteFile(data_.File(c.name), c.content);
    ProcessResult r = Run(c.name);
    EXPECT_EQ(r.exit_status, 0);
    EXPECT_EQ(AfterInit(r, c.name), Lines({std::string("> Loading SQL from File \"") + c.name + "\""}) +
                                        SqlEcho(c.echoed) + Lines({"> Ready.", ""}));
  }
  EXPECT_EQ(QueryValue(database_, "select count(*) from t where id between 4 and 7"), "4");
}

TEST_F(StatementRunTest, EmptySqlFilesAreRefused) {
  const std::pair<const char*, std::string> files[] = {
      {"empty.sql", ""},
      {"blank.sql", "\r\n  \n\t\r\n"},
      {"nul.sql", std::string("\0insert into t values (8, 'eight')", 34)},
  };
  for (const auto& [name, content] : files) {
    SCOPED_TRACE(name);
    WriteFile(data_.File(name), content);
    ProcessResult r = Run(name);
    EXPECT_EQ(r.exit_status, 1);
    std::string rest = AfterInit(r, name);
    std::string loading = Lines({std::string("> Loading SQL from File \"") + name + "\""});
    EXPECT_EQ(rest.substr(0, loading.size()), loading);
    EXPECT_NE(rest.find(Report("EIBClientError", "Empty SQL Statement")), std::string::npos)
        << rest;
  }
  EXPECT_EQ(QueryValue(database_, "select count(*) from t"), "3");
}

TEST_F(StatementRunTest, NamesThatAreNoPlainFilesAreSqlText) {
  // A directory, and a file last written before 1980.
  mkdir(data_.File("adir").c_str(), 0755);
  WriteFile(data_.File("old.sql"), "insert into t values (9, 'nine')");
  struct utimbuf old_time = {315000000, 315000000};  // December 1979
  utime(data_.File("old.sql").c_str(), &old_time);
  for (const std::string name : {"adir", "old.sql"}) {
    SCOPED_TRACE(name);
    ProcessResult r = Run(name);
    EXPECT_EQ(r.exit_status, 1);
    std::string rest = AfterInit(r, name);
    EXPECT_EQ(rest.rfind(SqlEcho(name + "\r\n") + "Exception EIBInterBaseError", 0), 0u) << rest;
  }
  EXPECT_EQ(QueryValue(database_, "select count(*) from t"), "3");
}

TEST_F(StatementRunTest, AWildcardMatchingAFileCantBeOpened) {
  WriteFile(data_.File("query.sql"), "select * from t");
  ProcessResult r = Run("que?y.*");
  EXPECT_EQ(r.exit_status, 1);
  EXPECT_EQ(AfterInit(r, "que?y.*"),
            Lines({"> Loading SQL from File \"que?y.*\""}) +
                Report("EFOpenError", "Datei que?y.* kann nicht geöffnet werden"));
}

TEST_F(StatementRunTest, ASelectFromAFileIsOpened) {
  WriteFile(data_.File("query.sql"), "\n-- every row\nselect * from t order by id\n");
  ProcessResult r = Run(data_.File("query.sql"));
  EXPECT_EQ(r.exit_status, 1);  // a "--" comment first: executed, so refused
  WriteFile(data_.File("query.sql"), "\n  select * from t order by id\n");
  r = Run(data_.File("query.sql"));
  EXPECT_EQ(r.exit_status, 0) << r.output;
  EXPECT_EQ(ReadFile(program_.File("qeltresult.txt")), "1\tone\r\n2\ttwo\r\n3\t12:30\r\n");
}

// A failure while the rows after the first are fetched ends the run as an
// error: no "> Ready.", no result file, nothing committed, exit status 1.
TEST_F(StatementRunTest, AFetchFailureIsNeverASuccess) {
  Isql(database_,
       "SET TERM ^ ;\n"
       "CREATE EXCEPTION BOOM 'boom'^\n"
       "CREATE PROCEDURE ROWS_UNTIL (LAST INTEGER) RETURNS (N INTEGER) AS BEGIN\n"
       "  N = 0;\n"
       "  WHILE (1 = 1) DO BEGIN\n"
       "    N = N + 1;\n"
       "    IF (N = LAST) THEN EXCEPTION BOOM;\n"
       "    SUSPEND;\n"
       "  END\n"
       "END^\n"
       "SET TERM ; ^\n"
       "COMMIT;");
  WriteFile(program_.File("qeltresult.txt"), "earlier");
  for (const std::string sql : {"select * from rows_until(5)", "select * from rows_until(1)"}) {
    SCOPED_TRACE(sql);
    ProcessResult r = Run(sql);
    EXPECT_EQ(r.exit_status, 1);
    std::string rest = AfterInit(r, sql);
    EXPECT_EQ(rest.rfind(SqlEcho(sql + "\r\n") + "Exception EIBInterBaseError", 0), 0u) << rest;
    EXPECT_NE(rest.find("boom"), std::string::npos);
    EXPECT_EQ(rest.find("> Found"), std::string::npos);
    EXPECT_EQ(rest.find("> Ready."), std::string::npos);
    EXPECT_EQ(ReadFile(program_.File("qeltresult.txt")), "earlier");
  }
}

}  // namespace
