// Inputs at and beyond the sizes a run meets in practice: handled without a
// crash, with the full result or a clear error.
#include <gtest/gtest.h>

#include "fake_run.h"
#include "firebird.h"

namespace {

std::string Hex(const std::string& bytes) {
  static const char digits[] = "0123456789abcdef";
  std::string hex;
  for (unsigned char c : bytes) {
    hex += digits[c >> 4];
    hex += digits[c & 15];
  }
  return hex;
}

// Every byte as a \xNN escape of the fake's script.
std::string Escaped(const std::string& bytes) {
  std::string text;
  for (size_t i = 0; i < bytes.size(); ++i) text += "\\x" + Hex(bytes.substr(i, 1));
  return text;
}

std::string ResultOf(const FakeRun& fake) { return ReadFile(fake.program().File("qeltresult.txt")); }

TEST(LimitsTest, ArgumentsAreCutAfter4096Bytes) {
  const std::string sql = "insert into t values (1) /*" + std::string(5000, 'x') + "*/";
  FakeRun fake("statement\n  kind 2\n");
  ProcessResult r = fake.Run({"db.fdb", "SYSDBA", "masterkey", sql});
  // The cut leaves the comment open.
  EXPECT_EQ(r.exit_status, 1);
  EXPECT_NE(r.output.find("* SQL-Command: \"" + sql.substr(0, 4096) + "\"\r\n"),
            std::string::npos);
  EXPECT_NE(r.output.find("EOF in comment detected"), std::string::npos);
}

TEST(LimitsTest, AHundredMegabyteSqlFile) {
  FakeRun fake("statement\n  kind 2\n");
  const std::string file = fake.program().File("big.sql");
  std::string content = "insert into t values (1)\n";
  const std::string line = "-- " + std::string(1021, 'y') + "\n";
  while (content.size() < (100u << 20)) content += line;
  WriteFile(file, content);
  ProcessResult r = fake.Run({"db.fdb", "SYSDBA", "masterkey", file});
  EXPECT_EQ(r.exit_status, 0);
  EXPECT_GT(r.output.size(), 100u << 20);
  EXPECT_EQ(r.output.substr(r.output.size() - 12), "> Ready.\r\n\r\n");
  std::vector<std::string> prepare = fake.LinesOf("isc_dsql_prepare");
  ASSERT_EQ(prepare.size(), 1u);
  EXPECT_GT(prepare[0].size(), 100u << 20);
}

TEST(LimitsTest, AThousandColumns) {
  std::string script = "statement\n";
  std::string row = "  row";
  std::string expected;
  for (int i = 0; i < 1000; ++i) {
    script += "  column C" + std::to_string(i) + " SQL_LONG\n";
    row += " " + std::to_string(i);
    expected += (i ? "\t" : "") + std::to_string(i);
  }
  FakeRun fake(script + row + "\n" + row + "\n");
  ProcessResult r = fake.Run({"db.fdb", "SYSDBA", "masterkey", "select * from t"});
  EXPECT_EQ(r.exit_status, 0) << r.output.substr(0, 2000);
  EXPECT_EQ(ResultOf(fake), expected + "\r\n" + expected + "\r\n");
}

TEST(LimitsTest, EveryByteValuePassesThrough) {
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  const std::string id = "0100000002000000";
  FakeRun fake("statement\n  column T SQL_VARYING len=300\n  column C SQL_TEXT len=255\n"
               "  column B SQL_BLOB\n  row x:" + Hex(all.substr(1)) + " x:" + Hex(all.substr(1)) +
               " " + id + "\nblob " + id + " \"" + Escaped(all) + "\"\n");
  ProcessResult r = fake.Run({"db.fdb", "SYSDBA", "masterkey", "select * from t"});
  ASSERT_EQ(r.exit_status, 0) << r.output;
  std::string no_zero = all.substr(1);
  EXPECT_TRUE(ResultOf(fake) == no_zero + "\t" + no_zero + "\t" + all + "\r\n");
}

TEST(LimitsTest, AFiftyMegabyteBlob) {
  const std::string id = "0100000002000000";
  std::string script =
      "statement\n  column B SQL_BLOB sub=1\n  row " + id + "\nblob " + id + "\n  segment 32768\n";
  const std::string piece(32768, 'z');
  for (int i = 0; i < 1600; ++i) script += "  content \"" + piece + "\"\n";
  FakeRun fake(script);
  ProcessResult r = fake.Run({"db.fdb", "SYSDBA", "masterkey", "select * from t"});
  ASSERT_EQ(r.exit_status, 0) << r.output;
  std::string result = ResultOf(fake);
  EXPECT_EQ(result.size(), 1600u * 32768u + 2u);
  EXPECT_EQ(fake.LinesOf("isc_get_segment").size(), 3200u);
}

// Memory that runs out is an error like any other: the report, exit status
// 1, nothing committed and no result file.
TEST(LimitsTest, ExhaustedMemoryIsReported) {
  const std::string id = "0100000002000000";
  FakeRun fake("statement\n  column B SQL_BLOB sub=1\n  row " + id + "\nblob " + id +
               " \"x\"\n  info_total 2000000000\n");
  ProcessOptions options;
  options.arguments = {"db.fdb", "SYSDBA", "masterkey", "select * from t"};
  options.memory_limit = size_t{512} << 20;
  ProcessResult r = fake.Run(options);
  EXPECT_EQ(r.exit_status, 1);
  std::string tail = Report("EOutOfMemory", "Zu wenig Arbeitsspeicher");
  std::string out = Masked(r.output);
  EXPECT_EQ(out.substr(out.size() - std::min(out.size(), tail.size())), tail) << out;
  EXPECT_FALSE(fake.EndsAnythingAfter(0));
  EXPECT_EQ(ResultOf(fake), "<missing>");
}

TEST(LimitsTest, ExhaustedMemoryDuringALargeFetch) {
  TempDir data;
  const std::string database = data.File("big.fdb");
  // 20000 rows of 32000 bytes each: small on disk, 640 MB when fetched.
  CreateDatabase(database,
                 "CREATE TABLE T (C CHAR(32000));\n"
                 "SET TERM ^ ;\n"
                 "EXECUTE BLOCK AS DECLARE I INTEGER = 0; BEGIN\n"
                 "  WHILE (I < 20000) DO BEGIN INSERT INTO T VALUES ('x'); I = I + 1; END\n"
                 "END^\n"
                 "SET TERM ; ^\n");
  ProgramDir program;
  ProcessOptions options;
  options.arguments = {database, "SYSDBA", "masterkey", "select * from t"};
  options.memory_limit = size_t{600} << 20;
  ProcessResult r = program.Run(options);
  EXPECT_EQ(r.exit_status, 1);
  std::string tail = Report("EOutOfMemory", "Zu wenig Arbeitsspeicher");
  std::string out = Masked(r.output);
  EXPECT_EQ(out.substr(out.size() - std::min(out.size(), tail.size())), tail) << out;
  EXPECT_FALSE(FileExists(program.File("qeltresult.txt")));
}

// A result that does not fit on its file system: the write fails, the new
// file is removed and the earlier result stays whole.
TEST(LimitsTest, AFullFileSystemKeepsTheEarlierResult) {
  ProcessOptions probe;
  probe.arguments = {"-m", "true"};
  if (RunProcess("/usr/bin/unshare", probe).exit_status != 0) GTEST_SKIP() << "no namespaces";
  std::string script = "statement\n  column V SQL_VARYING len=1000\n";
  for (int i = 0; i < 200; ++i) script += "  row \"" + std::string(1000, 'v') + "\"\n";
  FakeRun fake(script);
  const std::string dir = fake.program().File("small");
  WriteFile(fake.program().File("qelt.ini"), "[SELECT]\nOutFile=" + dir + "/out.txt\n");
  ProcessOptions options;
  // A 64 KiB file system, private to this run, holding an earlier result.
  options.arguments = {
      "-m", "sh", "-c",
      "mkdir -p '" + dir + "' && mount -t tmpfs -o size=64k tmpfs '" + dir + "' && "
      "printf earlier > '" + dir + "/out.txt' && \"$0\" \"$@\"; "
      "echo \"status=$?\"; cat '" + dir + "/out.txt'; echo; ls '" + dir + "'",
      fake.program().program(), "db.fdb", "SYSDBA", "masterkey", "select * from t"};
  options.environment = fake.Environment();
  options.working_directory = fake.program().path();
  ProcessResult r = RunProcess("/usr/bin/unshare", options);
  std::string tail = Report("EWriteError", "Stream-Write-Fehler") +
                     "status=1\nearlier\nout.txt\n";
  std::string out = Masked(r.output);
  EXPECT_EQ(out.substr(out.size() - std::min(out.size(), tail.size())), tail) << out;
}

}  // namespace
