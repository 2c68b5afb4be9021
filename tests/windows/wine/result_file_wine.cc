// The result file on Windows: its default place beside qelt.exe, the path
// that qelt.ini names through the system's profile call, a file that can't
// be replaced, and the user's regional forms.
#include <gtest/gtest.h>

#include "wine_run.h"

namespace {

const char kOneRow[] = "statement\n  column X SQL_VARYING len=5\n  row x\n";

std::vector<std::string> Select() { return {"db.fdb", "SYSDBA", "pw", "select * from t"}; }

std::string WritingLine(const std::string& path) {
  return Lines({"> Writing Result to: \"" + path + "\""});
}

TEST(ResultFileWineTest, WithoutSettingsTheRowsGoBesideTheProgram) {
  WineRun run(kOneRow);
  ProcessResult r = run.Run(Select());
  ASSERT_EQ(r.exit_status, 0) << r.output;
  EXPECT_NE(r.output.find(WritingLine(run.Directory() + "qeltresult.txt")), std::string::npos)
      << r.output;
  EXPECT_EQ(ReadFile(run.File("qeltresult.txt")), "x\r\n");
}

TEST(ResultFileWineTest, TheSettingsFileNamesThePath) {
  struct Case {
    std::string ini;
    std::string shown;   // the path as the console shows it
    std::string written; // the file that gets the rows, as a host path
  };
  TempDir elsewhere;
  const std::string absolute = WindowsPath(elsewhere.File("abs.txt"));
  const Case cases[] = {
      {"[SELECT]\r\nOutFile=" + absolute + "\r\n", absolute, elsewhere.File("abs.txt")},
      // Letter case, blanks and quotes as the profile call takes them.
      {"; results\n[select]\n  outfile =  \"" + absolute + "\"  \n", absolute,
       elsewhere.File("abs.txt")},
      // A relative path counts from the current directory.
      {"[SELECT]\nOutFile=relative.txt\n", "relative.txt", elsewhere.File("relative.txt")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.ini);
    WineRun run(kOneRow);
    WriteFile(run.File("qelt.ini"), c.ini);
    ProcessOptions options;
    options.working_directory = elsewhere.path();
    ProcessResult r = run.Run(Select(), options);
    EXPECT_EQ(r.exit_status, 0) << r.output;
    EXPECT_NE(r.output.find(WritingLine(c.shown)), std::string::npos) << r.output;
    EXPECT_EQ(ReadFile(c.written), "x\r\n");
    EXPECT_FALSE(FileExists(run.File("qeltresult.txt")));
    std::remove(c.written.c_str());
  }
}

TEST(ResultFileWineTest, AnEarlierResultIsReplacedWhole) {
  WineRun run(kOneRow);
  WriteFile(run.File("qeltresult.txt"), "a much longer earlier result\r\nwith two lines\r\n");
  ProcessResult r = run.Run(Select());
  EXPECT_EQ(r.exit_status, 0) << r.output;
  EXPECT_EQ(ReadFile(run.File("qeltresult.txt")), "x\r\n");
}

// A target that can't be created fails the run and leaves what stood there.
TEST(ResultFileWineTest, ATargetThatCantBeCreatedKeepsTheEarlierFile) {
  struct Case {
    std::string out_file;  // relative to the program's directory
    bool held_open;        // by cmd.exe while qelt.exe runs
  };
  const Case cases[] = {
      {"missing-dir\\out.txt", false},
      {"out.txt", true},
      {"bad?name.txt", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.out_file);
    WineRun run(kOneRow);
    const std::string target = run.Directory() + c.out_file;
    WriteFile(run.File("qelt.ini"), "[SELECT]\nOutFile=" + target + "\n");
    WriteFile(run.File("out.txt"), "earlier");
    ProcessResult r =
        c.held_open ? run.RunCmd("qelt.exe db.fdb SYSDBA pw \"select * from t\" 2>>out.txt")
                    : run.Run(Select());
    EXPECT_EQ(r.exit_status, 1);
    std::string tail = WritingLine(target) +
                       Report("EFCreateError", "Datei " + target + " kann nicht erstellt werden",
                              "qelt.exe");
    std::string out = Masked(r.output);
    ASSERT_GE(out.size(), tail.size());
    EXPECT_EQ(out.substr(out.size() - tail.size()), tail);
    EXPECT_EQ(ReadFile(run.File("out.txt")), "earlier");
  }
}

// Wine takes the user's locale from the environment, as Windows from the
// user's regional settings. Wine's German short date is "d.M.yyyy", where
// Windows' is "dd.MM.yyyy".
TEST(ResultFileWineTest, AGermanLocaleGivesItsSeparatorAndPatterns) {
  WineRun run("statement\n  column N SQL_LONG scale=-2\n  column D SQL_DOUBLE\n"
              "  column DT SQL_TYPE_DATE\n  column TS SQL_TIMESTAMP\n"
              "  row 12.50 2.5 2003-07-15 2003-07-15T13:05:09\n");
  ProcessOptions options;
  options.environment = {{"LC_ALL", "de_DE.UTF-8"}};
  ProcessResult r = run.Run(Select(), options);
  ASSERT_EQ(r.exit_status, 0) << r.output;
  EXPECT_EQ(ReadFile(run.File("qeltresult.txt")), "12,5\t2,5\t15.7.2003\t15.7.2003 13:05:09\r\n");
}

}  // namespace
