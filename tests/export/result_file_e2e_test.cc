// Result files of real queries against embedded databases, byte for byte.
#include <sys/stat.h>

#include <gtest/gtest.h>

#include "firebird.h"
#include "qelt.h"

namespace {

class ResultFileTest : public ::testing::Test {
 protected:
  ProcessResult Select(const std::string& sql, ProcessOptions options = {}) const {
    options.arguments = {database_, "SYSDBA", "masterkey", sql};
    return program_.Run(options);
  }

  std::string DefaultResult() const { return ReadFile(program_.File("qeltresult.txt")); }

  TempDir data_;
  ProgramDir program_;
  std::string database_ = data_.File("result.fdb");
};

const char kAllTypes[] =
    "CREATE TABLE ALLTYPES (K INTEGER, C CHAR(5), V VARCHAR(10), S SMALLINT, B BIGINT,"
    " AR INTEGER[3], N92 NUMERIC(9,2), N182 NUMERIC(18,2), N186 NUMERIC(18,6), F FLOAT,"
    " D DOUBLE PRECISION, DT DATE, TM TIME, TS TIMESTAMP, BL BLOB SUB_TYPE TEXT, BO BOOLEAN);\n"
    "INSERT INTO ALLTYPES VALUES (1, 'ab', 'a' || ASCII_CHAR(0) || 'b', -1,"
    " 9223372036854775807, NULL, 12.50, 1234567.89, 1.5, 0.1, 0.1, '2003-07-15', '13:05:09',"
    " '2003-07-15 00:00:00', 'x' || ASCII_CHAR(13) || ASCII_CHAR(10) || 'y', TRUE);\n"
    "INSERT INTO ALLTYPES VALUES (2, 'abcde', '', 0, -9223372036854775808, NULL, 3.00, 5.00,"
    " 123456789012.123456, 2.5, 1E15, '1999-12-31', '00:00:00', '2003-07-15 13:05:09.5678',"
    " NULL, FALSE);\n"
    "INSERT INTO ALLTYPES (K) VALUES (3);\n"
    "INSERT INTO ALLTYPES (K, N92, N182, D, TS) VALUES (4, -0.05, 0, 1E-5,"
    " '2003-07-15 00:00:01');\n"
    "INSERT INTO ALLTYPES (K, N92, D, BL) VALUES (5, 100.00, 0.0001,"
    " 'a' || ASCII_CHAR(0) || 'b');\n";

TEST_F(ResultFileTest, EveryColumnTypeHasItsText) {
  CreateDatabase(database_, kAllTypes);
  ProcessResult r = Select("select * from alltypes order by k");
  ASSERT_EQ(r.exit_status, 0) << r.output;
  EXPECT_NE(r.output.find(Lines({"> Found SQL Result: 5 rows", "> Writing Result to: \"" +
                                                                    program_.File("qeltresult.txt") +
                                                                    "\"",
                                 "> Ready.", ""})),
            std::string::npos)
      << r.output;
  EXPECT_EQ(DefaultResult(),
            // The ARRAY and BOOLEAN columns are left out: 14 values, 13 TABs.
            "1\tab   \ta\t-1\t9223372036854775807\t12.5\t1234567.89\t1.5\t0.100000001490116\t0.1"
            "\t7/15/03\t1:05:09 pm\t7/15/03\tx\r\ny\r\n"
            "2\tabcde\t\t0\t-9223372036854775808\t3\t5\t123456789012.123\t2.5\t1E15"
            "\t12/31/99\t12:00:00 am\t7/15/03 1:05:09 pm\t\r\n"
            "3\t\t\t\t\t\t\t\t\t\t\t\t\t\r\n"
            "4\t\t\t\t\t-0.05\t0\t\t\t1E-5\t\t\t7/15/03 12:00:01 am\t\r\n"
            "5\t\t\t\t\t100\t\t\t\t0.0001\t\t\t\ta" +
                std::string(1, '\0') + "b\r\n");
}

TEST_F(ResultFileTest, AGermanLocaleGivesItsSeparatorAndPatterns) {
  CreateDatabase(database_,
                 "CREATE TABLE T (N NUMERIC(9,2), D DOUBLE PRECISION, DT DATE, TS TIMESTAMP);\n"
                 "INSERT INTO T VALUES (12.50, 2.5, '2003-07-15', '2003-07-15 13:05:09');\n");
  ProcessOptions options;
  options.environment = {{"LC_ALL", "de_DE.UTF-8"}};
  ProcessResult r = Select("select * from t", options);
  ASSERT_EQ(r.exit_status, 0) << r.output;
  EXPECT_EQ(DefaultResult(), "12,5\t2,5\t15.07.2003\t15.07.2003 13:05:09\r\n");
}

TEST_F(ResultFileTest, ADialect1DatabaseTakesDecimalsThroughDoubles) {
  CreateDatabase(database_,
                 "CREATE TABLE T (N NUMERIC(9,2), W NUMERIC(15,2), DT DATE);\n"
                 "INSERT INTO T VALUES (12.50, 1234567.89, '15-JUL-2003 13:05:09');\n",
                 1);
  ProcessResult r = Select("select * from t");
  ASSERT_EQ(r.exit_status, 0) << r.output;
  // A dialect 1 DATE is a date-time.
  EXPECT_EQ(DefaultResult(), "12.5\t1234567.89\t7/15/03 1:05:09 pm\r\n");
}

class ResultPathTest : public ResultFileTest {
 protected:
  void SetUp() override {
    CreateDatabase(database_, "CREATE TABLE T (X VARCHAR(5));\nINSERT INTO T VALUES ('x');\n");
  }
};

TEST_F(ResultPathTest, TheSettingsFileNamesThePath) {
  const std::string absolute = data_.File("absolute.txt");
  WriteFile(program_.File("qelt.ini"), "[SELECT]\r\nOutFile=" + absolute + "\r\n");
  ProcessResult r = Select("select * from t");
  EXPECT_EQ(r.exit_status, 0);
  EXPECT_NE(r.output.find("> Writing Result to: \"" + absolute + "\"\r\n"), std::string::npos);
  EXPECT_EQ(ReadFile(absolute), "x\r\n");
  EXPECT_FALSE(FileExists(program_.File("qeltresult.txt")));
}

TEST_F(ResultPathTest, ARelativePathCountsFromTheCurrentDirectory) {
  WriteFile(program_.File("qelt.ini"), "[select]\noutfile = relative.txt\n");
  ProcessOptions options;
  options.working_directory = data_.path();
  ProcessResult r = Select("select * from t", options);
  EXPECT_EQ(r.exit_status, 0);
  EXPECT_NE(r.output.find("> Writing Result to: \"relative.txt\"\r\n"), std::string::npos);
  EXPECT_EQ(ReadFile(data_.File("relative.txt")), "x\r\n");
}

TEST_F(ResultPathTest, NoRowsLeaveAnEarlierResultAlone) {
  WriteFile(program_.File("qeltresult.txt"), "earlier");
  ProcessResult r = Select("select * from t where x = 'none'");
  EXPECT_EQ(r.exit_status, 0);
  EXPECT_EQ(r.output.find("> Found"), std::string::npos);
  EXPECT_EQ(DefaultResult(), "earlier");
}

TEST_F(ResultPathTest, AnEarlierResultIsReplacedWhole) {
  WriteFile(program_.File("qeltresult.txt"), "a much longer earlier result\r\nwith two lines\r\n");
  ProcessResult r = Select("select * from t");
  EXPECT_EQ(r.exit_status, 0);
  EXPECT_EQ(DefaultResult(), "x\r\n");
}

// A result that can't be written is an error, and whatever stood at the
// target before stays as it was; nothing of the run is committed.
TEST_F(ResultPathTest, AnUnwritableTargetKeepsTheEarlierFile) {
  const std::string locked_dir = data_.File("locked");
  mkdir(locked_dir.c_str(), 0755);
  WriteFile(locked_dir + "/out.txt", "earlier");
  chmod((locked_dir + "/out.txt").c_str(), 0444);
  struct Case {
    std::string target;
    std::string earlier_file;
  };
  const Case cases[] = {
      {data_.File("missing-dir/out.txt"), ""},
      {locked_dir, ""},
      {locked_dir + "/out.txt", locked_dir + "/out.txt"},
      {"", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.target);
    WriteFile(program_.File("qelt.ini"), "[SELECT]\nOutFile=" + c.target + "\n");
    ProcessResult r = Select("select * from t");
    EXPECT_EQ(r.exit_status, 1);
    std::string tail = Lines({"> Writing Result to: \"" + c.target + "\""}) +
                       Report("EFCreateError", "Datei " + c.target + " kann nicht erstellt werden");
    std::string out = Masked(r.output);
    ASSERT_GE(out.size(), tail.size());
    EXPECT_EQ(out.substr(out.size() - tail.size()), tail);
    if (!c.earlier_file.empty()) {
      EXPECT_EQ(ReadFile(c.earlier_file), "earlier");
    }
  }
}

TEST_F(ResultPathTest, AFullDiskLeavesNoHalfWrittenFile) {
  WriteFile(program_.File("qelt.ini"), "[SELECT]\nOutFile=/dev/full\n");
  ProcessResult r = Select("select * from t");
  EXPECT_EQ(r.exit_status, 1);
  std::string out = Masked(r.output);
  std::string tail = Report("EWriteError", "Stream-Write-Fehler");
  EXPECT_EQ(out.substr(out.size() - tail.size()), tail) << out;
}

}  // namespace
