// Row text as the client library sees it: blob reads, values that can't be
// held, field names, and the settings file.
#include <gtest/gtest.h>

#include "fake_run.h"

namespace {

const std::string kBlobId = "0100000002000000";

std::vector<std::string> Select() { return {"db.fdb", "SYSDBA", "masterkey", "select * from t"}; }

std::string Tail(const ProcessResult& r, size_t size) {
  std::string out = Masked(r.output);
  return out.size() >= size ? out.substr(out.size() - size) : out;
}

std::string Trimmed(const std::string& line) { return line.substr(0, line.find(" ->")); }

TEST(BlobFakeTest, ABlobIsReadInSegmentsOfAtMost16384Bytes) {
  struct Case {
    size_t size;
    int segment;  // as the blob is stored
    std::vector<std::string> reads;  // the get_segment calls: asked -> status
  };
  const Case cases[] = {
      {40000, 65535, {"16384 -> status=335544366", "16384 -> status=335544366", "7232 -> status=0"}},
      {30000, 10000, {"16384 -> status=0", "16384 -> status=0", "10000 -> status=0"}},
      {5, 65535, {"5 -> status=0"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.size);
    std::string content;
    for (size_t i = 0; i < c.size; ++i) content += static_cast<char>('a' + i % 26);
    FakeRun fake("statement\n  column ID SQL_LONG\n  column NOTE SQL_BLOB sub=1 nullable\n"
                 "  row 1 " + kBlobId + "\n  row 2 0\n  row 3 NULL\n"
                 "blob " + kBlobId + " \"" + content + "\"\n  segment " +
                 std::to_string(c.segment) + "\n");
    ProcessResult r = fake.Run(Select());
    ASSERT_EQ(r.exit_status, 0) << r.output;
    EXPECT_EQ(ReadFile(fake.program().File("qeltresult.txt")),
              "1\t" + content + "\r\n2\t\r\n3\t\r\n");
    // One blob opened: the all-zero and the NULL identifier make no call.
    ASSERT_EQ(fake.LinesOf("isc_open_blob2").size(), 1u);
    EXPECT_EQ(Trimmed(fake.LinesOf("isc_open_blob2")[0]),
              "isc_open_blob2 db=1001 tr=2001 blob=0 id=[01 00 00 00 02 00 00 00] bpb_length=0 "
              "bpb=[]");
    EXPECT_EQ(Trimmed(fake.LinesOf("isc_blob_info")[0]),
              "isc_blob_info blob=4001 items=[04 05 06 07] buffer_length=100");
    std::vector<std::string> reads;
    for (const std::string& line : fake.LinesOf("isc_get_segment")) {
      size_t at = line.find("buffer_length=") + 14;
      reads.push_back(line.substr(at, line.find(" actual") - at));
    }
    EXPECT_EQ(reads, c.reads);
    EXPECT_EQ(fake.LinesOf("isc_close_blob").size(), 1u);
  }
}

// Blobs are read only after every row is fetched, when their line is formed.
TEST(BlobFakeTest, BlobsAreReadAfterTheLastFetch) {
  FakeRun fake("statement\n  column NOTE SQL_BLOB sub=1\n  row " + kBlobId + "\n  row " +
               kBlobId + "\nblob " + kBlobId + " \"x\\r\\ny\\0z\"\n");
  ProcessResult r = fake.Run(Select());
  ASSERT_EQ(r.exit_status, 0) << r.output;
  EXPECT_EQ(ReadFile(fake.program().File("qeltresult.txt")),
            std::string("x\r\ny\0z\r\nx\r\ny\0z\r\n", 16));
  std::vector<std::string> names = fake.CallNames();
  size_t last_fetch = 0, first_open = names.size();
  for (size_t i = 0; i < names.size(); ++i) {
    if (names[i] == "isc_dsql_fetch") last_fetch = i;
    if (names[i] == "isc_open_blob2" && first_open == names.size()) first_open = i;
  }
  EXPECT_LT(last_fetch, first_open);
}

// A blob that can't be read ends the run: the blob is closed, nothing is
// written to the result file, nothing committed.
TEST(BlobFakeTest, AFailedBlobReadEndsTheRun) {
  struct Case {
    std::string failing;
    size_t closes;
  };
  const Case cases[] = {
      {"isc_open_blob2 1", 0},
      {"isc_blob_info 1", 1},
      {"isc_get_segment 2", 1},
      {"isc_close_blob 1", 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.failing);
    FakeRun fake("statement\n  column NOTE SQL_BLOB sub=1\n  row " + kBlobId + "\nblob " +
                 kBlobId + " \"" + std::string(20000, 'b') + "\"\nfail " + c.failing +
                 " 335544344 \"blob read failed\"\n");
    WriteFile(fake.program().File("qeltresult.txt"), "earlier");
    ProcessResult r = fake.Run(Select());
    EXPECT_EQ(r.exit_status, 1);
    std::string tail = Report("EIBInterBaseError", "blob read failed");
    EXPECT_EQ(Tail(r, tail.size()), tail);
    EXPECT_EQ(fake.LinesOf("isc_close_blob").size(), c.closes);
    EXPECT_FALSE(fake.EndsAnythingAfter(0));
    EXPECT_EQ(ReadFile(fake.program().File("qeltresult.txt")), "earlier");
  }
}

TEST(FieldsFakeTest, ColumnsThatAreLeftOut) {
  FakeRun fake("statement\n  column A SQL_LONG\n  column ARR SQL_ARRAY\n  column Q SQL_QUAD\n"
               "  column DF SQL_D_FLOAT\n  column BO SQL_BOOLEAN\n"
               "  column IBX_INTERNAL_DBKEY SQL_TEXT len=8\n  column B SQL_SHORT\n"
               "  row 1 0 0 0 true \"12345678\" 2\n");
  ProcessResult r = fake.Run(Select());
  ASSERT_EQ(r.exit_status, 0) << r.output;
  EXPECT_EQ(ReadFile(fake.program().File("qeltresult.txt")), "1\t2\r\n");
}

TEST(FieldsFakeTest, FieldNamesThatAreRefused) {
  struct Case {
    std::string columns;
    std::string message;
  };
  const Case cases[] = {
      {"  column ID SQL_LONG\n  column id SQL_LONG\n",
       "Eine Komponente mit der Bezeichnung id existiert bereits"},
      {"  column ID SQL_LONG\n  column X SQL_ARRAY\n  column ID SQL_LONG\n",
       "Eine Komponente mit der Bezeichnung ID existiert bereits"},
      {"  column \"\" SQL_LONG\n", "Feldname fehlt"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    FakeRun fake("statement\n" + c.columns);
    ProcessResult r = fake.Run(Select());
    EXPECT_EQ(r.exit_status, 1);
    std::string tail = Report("EDatabaseError", c.message);
    EXPECT_EQ(Tail(r, tail.size()), tail);
    // Refused before anything is executed.
    for (const std::string& name : fake.CallNames()) EXPECT_NE(name, "isc_dsql_execute2");
    EXPECT_FALSE(fake.EndsAnythingAfter(0));
  }
}

// A value that can't be held fails its fetch: on row 1 the open, on a later
// row the fetching of the rest; both end the run.
TEST(FieldsFakeTest, ValuesThatCantBeHeld) {
  struct Case {
    std::string column;
    std::string bad_value;
    std::string kind;
    std::string message;
  };
  const Case cases[] = {
      // The day after 31 December 9999.
      {"SQL_TYPE_DATE", "x:2c5f2d00", "EIBClientError", "Invalid data conversion"},
      // 25 hours after midnight.
      {"SQL_TYPE_TIME", "x:00e9a435", "EIBClientError", "Invalid data conversion"},
      // A NUMERIC(18,1) beyond the ten-thousandths' range.
      {"SQL_INT64 scale=-1", "922337203685477580.7", "EIBClientError", "Invalid data conversion"},
  };
  for (const Case& c : cases) {
    for (int bad_row : {1, 3}) {
      SCOPED_TRACE(c.column + " row " + std::to_string(bad_row));
      std::string script = "statement\n  column V " + c.column + " nullable\n";
      for (int row = 1; row <= 3; ++row) {
        script += "  row " + (row == bad_row ? c.bad_value : std::string("NULL")) + "\n";
      }
      FakeRun fake(script);
      ProcessResult r = fake.Run(Select());
      EXPECT_EQ(r.exit_status, 1);
      std::string tail = Report(c.kind, c.message);
      EXPECT_EQ(Tail(r, tail.size()), tail) << r.output;
      EXPECT_FALSE(fake.EndsAnythingAfter(0));
    }
  }
}

TEST(FieldsFakeTest, DatesNeedAVersion6Library) {
  for (const auto& [column, call] :
       {std::make_pair("SQL_TYPE_DATE", "isc_decode_sql_date"),
        std::make_pair("SQL_TYPE_TIME", "isc_decode_sql_time")}) {
    FakeRun fake(std::string("statement\n  column V ") + column + "\n  row " +
                     (std::string(column) == "SQL_TYPE_DATE" ? "2003-07-15" : "13:05:09") + "\n",
                 FakeClientPre6Dir());
    ProcessResult r = fake.Run(Select());
    EXPECT_EQ(r.exit_status, 1);
    std::string tail = Report("EIBClientError",
                              std::string(call) +
                                  " is an InterBase 6 function. Please upgrade to InterBase 6 to "
                                  "use this functonality");
    EXPECT_EQ(Tail(r, tail.size()), tail);
  }
}

TEST(ResultFileFakeTest, TheSettingsFileIsReadTwice) {
  FakeRun fake("statement\n  column A SQL_LONG\n  row 1\n");
  WriteFile(fake.program().File("qelt.ini"), "[SELECT]\nOutFile=out.txt\n");
  ProcessOptions options;
  // Run under strace, counting the opens of the settings file.
  const std::string log = fake.program().File("strace.log");
  options.arguments = {"-f", "-e", "trace=open,openat", "-o", log, fake.program().program(),
                       "db.fdb", "SYSDBA", "masterkey", "select * from t"};
  options.working_directory = fake.program().path();
  options.environment = fake.Environment();
  ProcessResult r = RunProcess("/usr/bin/strace", options);
  ASSERT_EQ(r.exit_status, 0) << r.output;
  std::string trace = ReadFile(log);
  size_t opens = 0;
  for (size_t at = trace.find("qelt.ini\""); at != std::string::npos;
       at = trace.find("qelt.ini\"", at + 1)) {
    ++opens;
  }
  EXPECT_EQ(opens, 2u) << trace;
  EXPECT_EQ(ReadFile(fake.program().File("out.txt")), "1\r\n");
}

}  // namespace
