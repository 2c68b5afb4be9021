// Every client call of a run fails in turn. Whatever call it is, the run
// ends with the error report and exit status 1, nothing is committed after
// the failure, an earlier result file stays as it was unless the new one was
// already complete, and the calls after the failure are only those that
// clean up after that very failure.
#include <gtest/gtest.h>

#include "fake_run.h"

namespace {

const std::string kBlob1 = "0100000002000000";
const std::string kBlob2 = "0100000003000000";

const std::string kSelectScript =
    "statement\n  match \"select\"\n  column ID SQL_LONG\n  column NAME SQL_VARYING len=10 nullable\n"
    "  column AT SQL_TIMESTAMP nullable\n  column D SQL_TYPE_DATE nullable\n"
    "  column NOTE SQL_BLOB sub=1 nullable\n"
    "  row 1 \"one\" 2003-07-15T13:05:09 2003-07-15 " + kBlob1 + "\n"
    "  row 2 NULL NULL NULL 0\n"
    "  row 3 \"three\" 2000-01-01 1999-12-31 " + kBlob2 + "\n"
    "blob " + kBlob1 + " \"" + std::string(20000, 'x') + "\"\n"
    "blob " + kBlob2 + " \"short\"\n";

const std::string kCommandScript = "statement\n  match \"update\"\n  kind 4\n";

// Calls whose failure the fake can't inject: they report no status.
bool Injectable(const std::string& name) {
  return name != "isc_vax_integer" && name != "isc_decode_date" &&
         name != "isc_decode_sql_date" && name != "isc_decode_sql_time" &&
         name != "isc_sqlcode" && name != "isc_interprete";
}

std::string Name(const std::string& line) { return line.substr(0, line.find(' ')); }

// The calls that may follow a failure of `failed`: the clean-up of that one
// failure, and nothing that ends the transaction or the connection.
std::vector<std::string> AllowedAfter(const std::string& failed, bool during_fetch_all) {
  if (failed == "isc_dsql_fetch" && during_fetch_all) return {"isc_dsql_free_statement"};
  if (failed == "isc_dsql_prepare" || failed == "isc_dsql_sql_info_kind" ||
      failed == "isc_dsql_describe" || failed == "isc_dsql_describe_bind") {
    return {"isc_dsql_free_statement"};
  }
  if (failed == "isc_blob_info" || failed == "isc_get_segment") return {"isc_close_blob"};
  if (failed == "isc_commit_transaction") return {"isc_rollback_transaction", "isc_detach_database"};
  return {};
}

void Sweep(const std::string& script, const std::string& sql, const std::string& result) {
  const std::vector<std::string> arguments = {"db.fdb", "SYSDBA", "masterkey", sql};
  FakeRun baseline(script);
  ProcessResult clean = baseline.Run(arguments);
  ASSERT_EQ(clean.exit_status, 0) << clean.output;
  const std::vector<std::string> lines = baseline.TraceLines();
  // The result file is complete when the tear-down begins: at the first
  // statement release after the last fetch.
  size_t last_fetch = 0;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (Name(lines[i]) == "isc_dsql_fetch") last_fetch = i;
  }
  size_t written_before = lines.size();
  for (size_t i = lines.size(); i-- > last_fetch;) {
    if (Name(lines[i]) == "isc_dsql_free_statement") written_before = i;
  }

  size_t swept = 0;
  for (size_t k = 0; k < lines.size(); ++k) {
    std::string name = Name(lines[k]);
    if (!Injectable(name)) continue;
    ++swept;
    SCOPED_TRACE("call " + std::to_string(k + 1) + ": " + lines[k]);
    FakeRun fake(script + "fail call " + std::to_string(k + 1) +
                 " 335544344 \"injected failure\"\n");
    WriteFile(fake.program().File("qeltresult.txt"), "earlier");
    ProcessResult r = fake.Run(arguments);
    EXPECT_EQ(r.exit_status, 1);
    std::string tail = Report("EIBInterBaseError", "injected failure");
    std::string out = Masked(r.output);
    ASSERT_GE(out.size(), tail.size());
    EXPECT_EQ(out.substr(out.size() - tail.size()), tail);

    std::vector<std::string> trace = fake.TraceLines();
    ASSERT_GT(trace.size(), k);
    EXPECT_NE(trace[k].find(" injected"), std::string::npos);
    // The run up to the failure is the clean run's.
    for (size_t i = 0; i < k; ++i) EXPECT_EQ(Name(trace[i]), Name(lines[i]));

    std::string failed = name;
    if (name == "isc_dsql_sql_info" && trace[k].find("items=[15]") != std::string::npos) {
      failed = "isc_dsql_sql_info_kind";
    }
    bool during_fetch_all = false;
    for (size_t i = 0; i < k; ++i) during_fetch_all |= Name(trace[i]) == "isc_dsql_fetch";
    std::vector<std::string> after;
    for (size_t i = k + 1; i < trace.size(); ++i) {
      if (Injectable(Name(trace[i]))) after.push_back(Name(trace[i]));
    }
    EXPECT_EQ(after, AllowedAfter(failed, during_fetch_all));

    // Compared as a truth value: the content is long.
    EXPECT_TRUE(ReadFile(fake.program().File("qeltresult.txt")) ==
                (k >= written_before ? result : "earlier"));
  }
  EXPECT_GE(swept, 8u);
  ::testing::Test::RecordProperty("calls_swept", static_cast<int>(swept));
}

TEST(FaultSweepTest, EveryCallOfASelectWithBlobs) {
  Sweep(kSelectScript, "select * from t",
        "1\tone\t7/15/03 1:05:09 pm\t7/15/03\t" + std::string(20000, 'x') + "\r\n" +
            "2\t\t\t\t\r\n3\tthree\t1/1/00\t12/31/99\tshort\r\n");
}

TEST(FaultSweepTest, EveryCallOfACommand) {
  Sweep(kCommandScript, "update t set a = 1", "earlier");
}

}  // namespace
