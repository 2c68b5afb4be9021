// Connection set-up and tear-down as the client library sees them: the
// recording fake client library shows the blocks, the calls and their order.
#include <gtest/gtest.h>

#include "fake_run.h"

namespace {

const std::string kInsert = "insert into t values (1)";

std::string Hex(const std::string& bytes) {
  static const char digits[] = "0123456789abcdef";
  std::string hex;
  for (unsigned char c : bytes) {
    if (!hex.empty()) hex += ' ';
    hex += digits[c >> 4];
    hex += digits[c & 15];
  }
  return hex;
}

TEST(ConnectionFakeTest, ACompletedRunMakesTheseCallsInThisOrder) {
  FakeRun fake("statement\n  kind 2\n");
  ProcessResult r = fake.Run({"db.fdb", "SYSDBA", "masterkey", kInsert});
  EXPECT_EQ(r.exit_status, 0) << r.output;
  EXPECT_EQ(fake.CallNames(),
            (std::vector<std::string>{
                "isc_attach_database", "isc_database_info", "isc_vax_integer", "isc_vax_integer",
                "isc_start_multiple", "isc_dsql_alloc_statement2", "isc_dsql_prepare",
                "isc_dsql_sql_info", "isc_vax_integer", "isc_vax_integer", "isc_dsql_execute",
                "isc_dsql_free_statement", "isc_commit_transaction", "isc_detach_database"}));
  std::vector<std::string> lines = fake.TraceLines();
  EXPECT_EQ(lines[0].substr(0, lines[0].find(" ->")),
            "isc_attach_database file_length=6 file=\"db.fdb\" db=0 dpb_length=20 dpb=[01 1c 06 " +
                Hex("SYSDBA") + " 1d 09 " + Hex("masterkey") + "]");
  EXPECT_NE(lines[1].find("items=[3e] buffer_length=512"), std::string::npos);
  EXPECT_NE(lines[4].find("count=1 teb0.db=1001 teb0.tpb_length=4 teb0.tpb=[03 0f 11 07]"),
            std::string::npos);
  EXPECT_NE(lines[11].find("option=2 -> status=0"), std::string::npos);
}

TEST(ConnectionFakeTest, CredentialsAreSentAsTyped) {
  struct Case {
    std::string user, password;
  };
  const Case cases[] = {
      {"a=bc", "x=y=z"},
      {"MiXed", "Pass Word"},
      {std::string(255, 'u'), std::string(255, 'p')},
      {"\xe4\xf6", "\xfc"},
  };
  for (const Case& c : cases) {
    FakeRun fake("statement\n  kind 2\n");
    ProcessResult r = fake.Run({"a db path.fdb", c.user, c.password, kInsert});
    EXPECT_EQ(r.exit_status, 0);
    std::string dpb = std::string{1, 28, static_cast<char>(c.user.size())} + c.user +
                      std::string{29, static_cast<char>(c.password.size())} + c.password;
    std::vector<std::string> attach = fake.LinesOf("isc_attach_database");
    ASSERT_EQ(attach.size(), 1u);
    EXPECT_NE(attach[0].find("file_length=13 file=\"a db path.fdb\" db=0 dpb_length=" +
                             std::to_string(dpb.size()) + " dpb=[" + Hex(dpb) + "]"),
              std::string::npos)
        << attach[0];
  }
}

TEST(ConnectionFakeTest, OverlongCredentialsAreRefusedBeforeAnyCall) {
  for (const auto& [user, password, message] :
       {std::make_tuple(std::string(256, 'u'), std::string("pw"),
                        std::string("User name is longer than 255 bytes")),
        std::make_tuple(std::string("SYSDBA"), std::string(300, 'p'),
                        std::string("Password is longer than 255 bytes"))}) {
    FakeRun fake("");
    ProcessResult r = fake.Run({"db.fdb", user, password, kInsert});
    EXPECT_EQ(r.exit_status, 1);
    EXPECT_EQ(Masked(r.output), Head("db.fdb", user, password, kInsert) +
                                    Lines({"> Init IBDatabase"}) + Report("EIBClientError", message));
    EXPECT_TRUE(fake.TraceLines().empty());
  }
}

TEST(ConnectionFakeTest, TheDatabasesDialectLowersTheConnections) {
  struct Case {
    std::string script;
    std::string dialect;
  };
  const Case cases[] = {
      {"dialect 3\n", "dialect=3"},
      {"dialect 1\n", "dialect=1"},
      {"db_info_answer 01\n", "dialect=1"},  // no dialect item in the answer
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.script);
    FakeRun fake(c.script + "statement\n  kind 2\n");
    ProcessResult r = fake.Run({"db.fdb", "SYSDBA", "masterkey", kInsert});
    EXPECT_EQ(r.exit_status, 0);
    std::vector<std::string> prepare = fake.LinesOf("isc_dsql_prepare");
    ASSERT_EQ(prepare.size(), 1u);
    EXPECT_NE(prepare[0].find(c.dialect), std::string::npos) << prepare[0];
  }
}

// A failure anywhere before the tear-down ends the run there: no commit, no
// rollback, no detach follows it.
TEST(ConnectionFakeTest, NothingIsEndedAfterAFailure) {
  struct Case {
    std::string failing;
    std::string last_line;  // the progress line before the report
  };
  const Case cases[] = {
      {"isc_attach_database 1", "> Init IBDatabase"},
      {"isc_database_info 1", "> Init IBDatabase"},
      {"isc_start_multiple 1", "> Init Transaction"},
      {"isc_dsql_alloc_statement2 1", "-------------------------------------------------------"
                                      "------------------------"},
      {"isc_dsql_execute 1", "-------------------------------------------------------"
                             "------------------------"},
      {"isc_dsql_free_statement 1", "> Ready."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.failing);
    FakeRun fake("statement\n  kind 2\nfail " + c.failing +
                 " 335544344 sqlcode=-902 \"I/O error\" \"it broke.\"\n");
    ProcessResult r = fake.Run({"db.fdb", "SYSDBA", "masterkey", kInsert, "/PAUSE"});
    EXPECT_EQ(r.exit_status, 1);
    std::string tail = Lines({c.last_line}) + Report("EIBInterBaseError", "I/O error\r\nit broke");
    std::string out = Masked(r.output);
    ASSERT_GE(out.size(), tail.size());
    EXPECT_EQ(out.substr(out.size() - tail.size()), tail);
    std::vector<std::string> lines = fake.TraceLines();
    size_t failed = 0;
    while (failed < lines.size() && lines[failed].find(" injected") == std::string::npos) ++failed;
    ASSERT_LT(failed, lines.size());
    EXPECT_FALSE(fake.EndsAnythingAfter(failed));
  }
}

TEST(ConnectionFakeTest, PermissionErrorsAreRoleErrors) {
  FakeRun fake("statement\n  kind 2\nfail isc_dsql_execute 1 335544352 sqlcode=-551 "
               "\"no permission for INSERT access to TABLE T\"\n");
  ProcessResult r = fake.Run({"db.fdb", "SYSDBA", "masterkey", kInsert});
  EXPECT_EQ(r.exit_status, 1);
  std::string tail =
      Report("EIBInterBaseRoleError", "no permission for INSERT access to TABLE T");
  EXPECT_EQ(Masked(r.output).substr(Masked(r.output).size() - tail.size()), tail);
}

// A commit that fails is rolled back, the connection detached, and the
// failure reported: the run's work was not kept, so it is no success.
TEST(ConnectionFakeTest, AFailedCommitIsRolledBackDetachedAndReported) {
  FakeRun fake("statement\n  kind 2\nfail isc_commit_transaction 1 335544345 "
               "\"lock conflict on no wait transaction\"\n");
  ProcessResult r = fake.Run({"db.fdb", "SYSDBA", "masterkey", kInsert, "/PAUSE"});
  EXPECT_EQ(r.exit_status, 1);
  std::vector<std::string> names;
  for (const std::string& name : fake.CallNames()) {
    if (name != "isc_sqlcode" && name != "isc_interprete") names.push_back(name);
  }
  ASSERT_GE(names.size(), 3u);
  EXPECT_EQ(std::vector<std::string>(names.end() - 3, names.end()),
            (std::vector<std::string>{"isc_commit_transaction", "isc_rollback_transaction",
                                      "isc_detach_database"}));
  std::string tail = Lines({"> Ready."}) +
                     Report("EIBInterBaseError", "lock conflict on no wait transaction");
  std::string out = Masked(r.output);
  EXPECT_EQ(out.substr(out.size() - tail.size()), tail);
}

TEST(ConnectionFakeTest, AMissingEntryPointIsReported) {
  FakeRun fake("", FakeClientLackingFetchDir());
  ProcessResult r = fake.Run({"db.fdb", "SYSDBA", "masterkey", kInsert});
  EXPECT_EQ(r.exit_status, 1);
  EXPECT_EQ(Masked(r.output),
            Head("db.fdb", "SYSDBA", "masterkey", kInsert) + Lines({"> Init IBDatabase"}) +
                Report("EIBClientError",
                       "InterBase library libfbclient.so.2 lacks the entry point isc_dsql_fetch. "
                       "Please install InterBase to use this functionality"));
  EXPECT_TRUE(fake.TraceLines().empty());
}

}  // namespace
