// Where the SQL comes from on Windows: the directory search that decides
// whether the argument names a file, and the file's opening.
#include <sys/stat.h>
#include <utime.h>

#include <gtest/gtest.h>

#include "wine_run.h"

namespace {

const char kInsertScript[] = "statement\n  kind 2\n";

// What follows the three progress lines of the connection.
std::string AfterInit(const ProcessResult& r) {
  std::string out = Masked(r.output);
  size_t at = out.find(InitLines());
  return at == std::string::npos ? out : out.substr(at + InitLines().size());
}

std::string OpenFailure(const std::string& name) {
  return Report("EFOpenError", "Datei " + name + " kann nicht ge\xf6" "ffnet werden", "qelt.exe");
}

TEST(StatementRunWineTest, AFileNamedByTheArgumentHoldsTheSql) {
  WineRun run(kInsertScript);
  WriteFile(run.File("query.sql"), "insert into t\nvalues (1)\r\n");
  for (const std::string& name : {std::string("query.sql"), run.Directory() + "QUERY.SQL"}) {
    SCOPED_TRACE(name);
    ProcessResult r = run.Run({"db.fdb", "SYSDBA", "pw", name});
    EXPECT_EQ(r.exit_status, 0) << r.output;
    EXPECT_EQ(AfterInit(r), Lines({"> Loading SQL from File \"" + name + "\""}) +
                                SqlEcho("insert into t\r\nvalues (1)\r\n") +
                                Lines({"> Ready.", ""}));
  }
}

// The search finds the file, but the name itself can't be opened.
TEST(StatementRunWineTest, AWildcardMatchingAFileCantBeOpened) {
  WineRun run(kInsertScript);
  WriteFile(run.File("query.sql"), "insert into t values (1)");
  for (const std::string& name : {std::string("que?y.*"), std::string("*.sql")}) {
    SCOPED_TRACE(name);
    ProcessResult r = run.Run({"db.fdb", "SYSDBA", "pw", name});
    EXPECT_EQ(r.exit_status, 1);
    EXPECT_EQ(AfterInit(r),
              Lines({"> Loading SQL from File \"" + name + "\""}) + OpenFailure(name));
  }
}

TEST(StatementRunWineTest, NamesThatAreNoPlainFilesAreSqlText) {
  WineRun run(kInsertScript);
  mkdir(run.File("adir").c_str(), 0755);
  WriteFile(run.File("old.sql"), "insert into t values (9)");
  struct utimbuf old_time = {315000000, 315000000};  // December 1979
  utime(run.File("old.sql").c_str(), &old_time);
  for (const std::string name : {"adir", "old.sql", "missing.sql", "*.none"}) {
    SCOPED_TRACE(name);
    ProcessResult r = run.Run({"db.fdb", "SYSDBA", "pw", name});
    EXPECT_EQ(r.exit_status, 0) << r.output;
    EXPECT_EQ(AfterInit(r), SqlEcho(name + "\r\n") + Lines({"> Ready.", ""}));
  }
}

// A file that a process has open for writing can't be read: here cmd.exe
// holds it as qelt.exe's standard error.
TEST(StatementRunWineTest, AFileOpenForWritingCantBeOpened) {
  WineRun run(kInsertScript);
  WriteFile(run.File("query.sql"), "insert into t values (1)");
  ProcessResult r = run.RunCmd("qelt.exe db.fdb SYSDBA pw query.sql 2>>query.sql");
  EXPECT_EQ(r.exit_status, 1);
  EXPECT_EQ(AfterInit(r), Lines({"> Loading SQL from File \"query.sql\""}) +
                              OpenFailure("query.sql"));
  // Open for reading elsewhere is no hindrance.
  r = run.RunCmd("qelt.exe db.fdb SYSDBA pw query.sql <query.sql");
  EXPECT_EQ(r.exit_status, 0) << r.output;
}

}  // namespace
