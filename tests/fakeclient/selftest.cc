// The fake client library's own test: the script parser directly, and the
// built library through dlopen, each library test in a child process of its
// own (the fake reads its script once per process).
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <ibase.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "fake_script.h"

namespace {

// ---- The script parser ---------------------------------------------------------

TEST(FakeScript, ParsesColumnsRowsBlobsAndFailures) {
  const std::string text =
      "# a comment\n"
      "dialect 1\n"
      "statement\n"
      "  match \"SELECT\"\n"
      "  column ID SQL_LONG\n"
      "  column \"n\\x01me\" SQL_VARYING len=5 nullable relation=T field=NAME\n"
      "  column PRICE 496 scale=-2\n"
      "  column AT SQL_TIMESTAMP\n"
      "  column D SQL_TYPE_DATE\n"
      "  column T SQL_TYPE_TIME\n"
      "  column TXT SQL_TEXT len=4\n"
      "  row 7 \"a\\tb\" -12.5 \"1858-11-17 00:00:01.5\" 2024-02-29 12:34:56.7891 ab\n"
      "  row -1 NULL 3 2024-02-29 1858-11-17 00:00:00 x:00010203\n"
      "blob 0100000002000000 \"hello \" \"world\"\n"
      "  segment 5\n"
      "  info_total 99\n"
      "fail isc_dsql_fetch 2+ 335544345 sqlcode=-901 also=335544572 \"one\" \"two\"\n"
      "fail call 9 335544344\n";
  fake::Script s;
  std::string error;
  ASSERT_TRUE(fake::ParseScript(text, &s, &error)) << error;
  EXPECT_EQ(s.dialect, 1);
  ASSERT_EQ(s.statements.size(), 1u);
  const fake::Statement& st = s.statements[0];
  EXPECT_EQ(st.match, "SELECT");
  EXPECT_EQ(st.Kind(), 1);
  ASSERT_EQ(st.columns.size(), 7u);
  EXPECT_EQ(st.columns[1].alias, std::string("n\x01me"));
  EXPECT_EQ(st.columns[1].sqltype, SQL_VARYING + 1);
  EXPECT_EQ(st.columns[1].relation, "T");
  EXPECT_EQ(st.columns[1].field, "NAME");
  EXPECT_EQ(st.columns[2].scale, -2);
  EXPECT_EQ(st.columns[2].length, 4);
  ASSERT_EQ(st.rows.size(), 2u);
  const auto& r = st.rows[0];
  EXPECT_EQ(r[1].data, "a\tb");
  int32_t price;
  std::memcpy(&price, r[2].data.data(), 4);
  EXPECT_EQ(price, -1250);
  ISC_TIMESTAMP ts;
  std::memcpy(&ts, r[3].data.data(), 8);
  EXPECT_EQ(ts.timestamp_date, 0);
  EXPECT_EQ(ts.timestamp_time, 15000u);
  ISC_DATE date;
  std::memcpy(&date, r[4].data.data(), 4);
  EXPECT_EQ(date, 60369);
  ISC_TIME time;
  std::memcpy(&time, r[5].data.data(), 4);
  EXPECT_EQ(time, 452967891u);
  EXPECT_EQ(r[6].data, "ab  ");  // CHAR filled up with blanks
  EXPECT_TRUE(st.rows[1][1].null);
  std::memcpy(&price, st.rows[1][2].data.data(), 4);
  EXPECT_EQ(price, 300);
  EXPECT_EQ(st.rows[1][6].data, std::string("\0\1\2\3", 4));
  ASSERT_EQ(s.blobs.size(), 1u);
  EXPECT_EQ(s.blobs[0].id, std::string("\1\0\0\0\2\0\0\0", 8));
  EXPECT_EQ(s.blobs[0].content, "hello world");
  EXPECT_EQ(s.blobs[0].segment_size, 5u);
  EXPECT_EQ(s.blobs[0].info_total, 99);
  ASSERT_EQ(s.failures.size(), 2u);
  EXPECT_EQ(s.failures[0].function, "isc_dsql_fetch");
  EXPECT_EQ(s.failures[0].count, 2u);
  EXPECT_TRUE(s.failures[0].and_later);
  EXPECT_EQ(s.failures[0].sqlcode, -901);
  EXPECT_EQ(s.failures[0].also, std::vector<ISC_STATUS>{335544572});
  EXPECT_EQ(s.failures[0].messages, (std::vector<std::string>{"one", "two"}));
  EXPECT_EQ(s.failures[1].function, "");
  EXPECT_EQ(s.failures[1].count, 9u);
}

TEST(FakeScript, RefusesMistakesWithTheLine) {
  struct Case {
    const char* text;
    const char* error;
  };
  const Case cases[] = {
      {"statement\ncolumn A SQL_LONG\nrow 1 2\n", "line 3: row has 2 values for 1 columns"},
      {"statement\ncolumn A SQL_LONG\nrow NULL\n", "line 3: value 1: NULL in a column that is not nullable"},
      {"statement\ncolumn A SQL_SHORT scale=-1\nrow 1.25\n", "line 3: value 1: not a number"},
      {"statement\ncolumn A SQL_TYPE_DATE\nrow 2023-02-29\n", "line 3: value 1: not a date"},
      {"column A SQL_LONG\n", "line 1: column outside a statement block"},
      {"statement\ncolumn A SQL_TEXT\n", "line 2: len= is required"},
      {"fail isc_vax_integer 1 335544345\n", "line 1: not a function that returns a status"},
      {"fail isc_dsql_fetch 1 335544345 text\n", "line 1: unexpected token (messages must be quoted)"},
      {"dialect 4\n", "line 1: dialect needs 1, 2 or 3"},
      {"statement\nmatch \"abc\n", "line 2: unterminated quoted text"},
  };
  for (const Case& c : cases) {
    fake::Script s;
    std::string error;
    EXPECT_FALSE(fake::ParseScript(c.text, &s, &error)) << c.text;
    EXPECT_EQ(error.compare(0, std::strlen(c.error), c.error), 0) << c.text << " gave " << error;
  }
}

TEST(FakeScript, CountsMarkersOutsideQuotesAndComments) {
  EXPECT_EQ(fake::CountMarkers("select ? from t where a = ? and b = '?' and \"c?\" = 1"), 2);
  EXPECT_EQ(fake::CountMarkers("select /* ? */ 1 from t -- ?\r\nwhere x = ?"), 1);
  EXPECT_EQ(fake::CountMarkers("select 'it''s ?' from t"), 0);
}

// ---- The library, in a child process ------------------------------------------

class Library {
 public:
  explicit Library(const char* path) : handle_(dlopen(path, RTLD_NOW | RTLD_LOCAL)) {}
  bool loaded() const { return handle_ != nullptr; }
  void* symbol(const char* name) const { return dlsym(handle_, name); }
  template <typename F>
  F get(const char* name) const {
    void* entry = symbol(name);
    if (!entry) {
      ADD_FAILURE() << "no " << name;
      std::_Exit(1);
    }
    return reinterpret_cast<F>(entry);
  }

 private:
  void* handle_;
};

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// Runs body in a child process with the script, and returns the trace lines.
std::vector<std::string> RunWithScript(const std::string& script,
                                       const std::function<void(const Library&)>& body) {
  char dir_template[] = "/tmp/fakeclient_selftest_XXXXXX";
  const char* dir = mkdtemp(dir_template);
  EXPECT_NE(dir, nullptr);
  if (!dir) return {};
  const std::string script_path = std::string(dir) + "/script";
  const std::string trace_path = std::string(dir) + "/trace";
  std::ofstream(script_path, std::ios::binary) << script;
  std::fflush(nullptr);
  pid_t child = fork();
  if (child == 0) {
    setenv("QELT_FAKE_SCRIPT", script_path.c_str(), 1);
    setenv("QELT_FAKE_TRACE", trace_path.c_str(), 1);
    Library lib(FAKECLIENT_PATH);
    if (!lib.loaded()) {
      ADD_FAILURE() << dlerror();
    } else {
      body(lib);
    }
    std::fflush(nullptr);
    std::_Exit(::testing::Test::HasFailure() ? 1 : 0);
  }
  int status = 0;
  EXPECT_EQ(waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
      << "the child failed (status " << status << ")";
  std::vector<std::string> lines = Lines(ReadFile(trace_path));
  std::remove(script_path.c_str());
  std::remove(trace_path.c_str());
  rmdir(dir);
  return lines;
}

using Attach = ISC_STATUS (*)(ISC_STATUS*, short, const ISC_SCHAR*, isc_db_handle*, short, const ISC_SCHAR*);
using DatabaseInfo = ISC_STATUS (*)(ISC_STATUS*, isc_db_handle*, short, const ISC_SCHAR*, short, ISC_SCHAR*);
using OnHandle = ISC_STATUS (*)(ISC_STATUS*, FB_API_HANDLE*);
using StartMultiple = ISC_STATUS (*)(ISC_STATUS*, isc_tr_handle*, short, void*);
using Alloc = ISC_STATUS (*)(ISC_STATUS*, isc_db_handle*, isc_stmt_handle*);
using Prepare = ISC_STATUS (*)(ISC_STATUS*, isc_tr_handle*, isc_stmt_handle*, unsigned short,
                               const ISC_SCHAR*, unsigned short, XSQLDA*);
using SqlInfo = ISC_STATUS (*)(ISC_STATUS*, isc_stmt_handle*, short, const ISC_SCHAR*, short, ISC_SCHAR*);
using Describe = ISC_STATUS (*)(ISC_STATUS*, isc_stmt_handle*, unsigned short, XSQLDA*);
using Execute2 = ISC_STATUS (*)(ISC_STATUS*, isc_tr_handle*, isc_stmt_handle*, unsigned short,
                                const XSQLDA*, const XSQLDA*);
using CursorName = ISC_STATUS (*)(ISC_STATUS*, isc_stmt_handle*, const ISC_SCHAR*, unsigned short);
using Fetch = ISC_STATUS (*)(ISC_STATUS*, isc_stmt_handle*, unsigned short, const XSQLDA*);
using FreeStatement = ISC_STATUS (*)(ISC_STATUS*, isc_stmt_handle*, unsigned short);
using OpenBlob = ISC_STATUS (*)(ISC_STATUS*, isc_db_handle*, isc_tr_handle*, isc_blob_handle*,
                                ISC_QUAD*, ISC_USHORT, const ISC_UCHAR*);
using BlobInfo = ISC_STATUS (*)(ISC_STATUS*, isc_blob_handle*, short, const ISC_SCHAR*, short, ISC_SCHAR*);
using GetSegment = ISC_STATUS (*)(ISC_STATUS*, isc_blob_handle*, unsigned short*, unsigned short, ISC_SCHAR*);
using SqlCode = ISC_LONG (*)(const ISC_STATUS*);
using Interprete = ISC_LONG (*)(ISC_SCHAR*, ISC_STATUS**);
using VaxInteger = ISC_LONG (*)(const ISC_SCHAR*, short);
using DecodeSqlDate = void (*)(const ISC_DATE*, void*);
using DecodeDate = void (*)(const ISC_QUAD*, void*);

struct Teb {
  isc_db_handle* db;
  int tpb_length;
  const char* tpb;
};

// Attaches and starts a transaction.
void Connect(const Library& lib, isc_db_handle* db, isc_tr_handle* tr) {
  ISC_STATUS sv[20];
  const char dpb[] = {1, 28, 2, 'm', 'e', 29, 1, 'p'};
  ASSERT_EQ(lib.get<Attach>("isc_attach_database")(sv, 4, "x.fd", db, sizeof dpb, dpb), 0);
  const char tpb[] = {3, 15, 17, 7};
  Teb teb = {db, 4, tpb};
  ASSERT_EQ(lib.get<StartMultiple>("isc_start_multiple")(sv, tr, 1, &teb), 0);
}

XSQLDA* NewDescriptor(int n) {
  XSQLDA* da = static_cast<XSQLDA*>(std::calloc(1, XSQLDA_LENGTH(n)));
  da->version = SQLDA_VERSION1;
  da->sqln = static_cast<ISC_SHORT>(n);
  return da;
}

std::string Texts(const Library& lib, ISC_STATUS* sv) {
  auto interprete = lib.get<Interprete>("isc_interprete");
  std::string all;
  char buffer[20480];
  ISC_STATUS* p = sv;
  for (int i = 0; i < 10 && interprete(buffer, &p) > 0; ++i) all += std::string(buffer) + "|";
  return all;
}

TEST(FakeClient, DescribeAndFetchRoundTrip) {
  const std::string script =
      "dialect 1\n"
      "statement\n"
      "  column ID SQL_LONG\n"
      "  column NAME SQL_VARYING len=10 nullable\n"
      "  column PRICE SQL_INT64 scale=-2 sub=1\n"
      "  column AT SQL_TIMESTAMP\n"
      "  column R SQL_DOUBLE\n"
      "  row 1 \"ab\" 1234567.89 2024-02-29T12:34:56.5 2.5\n"
      "  row 2 NULL -0.05 1858-11-17 -0.25\n";
  auto trace = RunWithScript(script, [](const Library& lib) {
    ISC_STATUS sv[20];
    isc_db_handle db = 0;
    isc_tr_handle tr = 0;
    Connect(lib, &db, &tr);
    char answer[512];
    ASSERT_EQ(lib.get<DatabaseInfo>("isc_database_info")(sv, &db, 1, "\x3e", sizeof answer, answer), 0);
    EXPECT_EQ(std::string(answer, 5), std::string("\x3e\x01\x00\x01\x01", 5));
    isc_stmt_handle st = 0;
    ASSERT_EQ(lib.get<Alloc>("isc_dsql_alloc_statement2")(sv, &db, &st), 0);
    EXPECT_NE(st, 0u);
    ASSERT_EQ(lib.get<Prepare>("isc_dsql_prepare")(sv, &tr, &st, 0, "SELECT * FROM T\r\n", 1, nullptr), 0);
    char kind[8];
    ASSERT_EQ(lib.get<SqlInfo>("isc_dsql_sql_info")(sv, &st, 1, "\x15", 8, kind), 0);
    EXPECT_EQ(std::string(kind, 8), std::string("\x15\x04\x00\x01\x00\x00\x00\x01", 8));
    auto describe = lib.get<Describe>("isc_dsql_describe");
    XSQLDA* one = NewDescriptor(1);
    ASSERT_EQ(describe(sv, &st, 1, one), 0);
    EXPECT_EQ(one->sqld, 5);
    EXPECT_EQ(one->sqlvar[0].sqltype, 0);  // too small: nothing filled, as Firebird 3
    XSQLDA* out = NewDescriptor(5);
    ASSERT_EQ(describe(sv, &st, 1, out), 0);
    EXPECT_EQ(out->sqlvar[1].sqltype, SQL_VARYING + 1);
    EXPECT_EQ(out->sqlvar[1].sqllen, 10);
    EXPECT_EQ(std::string(out->sqlvar[1].aliasname, out->sqlvar[1].aliasname_length), "NAME");
    EXPECT_EQ(out->sqlvar[2].sqlscale, -2);
    EXPECT_EQ(out->sqlvar[2].sqlsubtype, 1);
    for (int i = 0; i < 5; ++i) {
      out->sqlvar[i].sqldata = static_cast<char*>(std::calloc(1, out->sqlvar[i].sqllen + 2));
      out->sqlvar[i].sqlind = static_cast<short*>(std::calloc(1, sizeof(short)));
    }
    ASSERT_EQ(lib.get<Execute2>("isc_dsql_execute2")(sv, &tr, &st, 1, nullptr, nullptr), 0);
    ASSERT_EQ(lib.get<CursorName>("isc_dsql_set_cursor_name")(sv, &st, "00012345", 0), 0);
    auto fetch = lib.get<Fetch>("isc_dsql_fetch");
    ASSERT_EQ(fetch(sv, &st, 1, out), 0);
    int32_t id;
    std::memcpy(&id, out->sqlvar[0].sqldata, 4);
    EXPECT_EQ(id, 1);
    EXPECT_EQ(*out->sqlvar[1].sqlind, 0);
    EXPECT_EQ(std::string(out->sqlvar[1].sqldata, 4), std::string("\x02\x00" "ab", 4));
    int64_t price;
    std::memcpy(&price, out->sqlvar[2].sqldata, 8);
    EXPECT_EQ(price, 123456789);
    ISC_TIMESTAMP ts;
    std::memcpy(&ts, out->sqlvar[3].sqldata, 8);
    struct tm t;
    lib.get<DecodeDate>("isc_decode_date")(reinterpret_cast<ISC_QUAD*>(&ts), &t);
    EXPECT_EQ(t.tm_year, 124);
    EXPECT_EQ(t.tm_mon, 1);
    EXPECT_EQ(t.tm_mday, 29);
    EXPECT_EQ(t.tm_hour, 12);
    EXPECT_EQ(t.tm_min, 34);
    EXPECT_EQ(t.tm_sec, 56);
    EXPECT_EQ(t.tm_wday, 4);
    EXPECT_EQ(t.tm_yday, 59);
    EXPECT_EQ(ts.timestamp_time % 10000, 5000u);
    double r;
    std::memcpy(&r, out->sqlvar[4].sqldata, 8);
    EXPECT_EQ(r, 2.5);
    ASSERT_EQ(fetch(sv, &st, 1, out), 0);
    EXPECT_EQ(*out->sqlvar[1].sqlind, -1);
    EXPECT_EQ(fetch(sv, &st, 1, out), 100);
    EXPECT_EQ(sv[1], 0);
    EXPECT_EQ(fetch(sv, &st, 1, out), 335544364);  // after the end, as Firebird
    auto free_statement = lib.get<FreeStatement>("isc_dsql_free_statement");
    EXPECT_EQ(free_statement(sv, &st, DSQL_close), 0);
    EXPECT_EQ(free_statement(sv, &st, DSQL_close), 335544577);
    EXPECT_EQ(Texts(lib, sv), "Attempt to reclose a closed cursor|");
    EXPECT_EQ(lib.get<SqlCode>("isc_sqlcode")(sv), -501);
    EXPECT_EQ(fetch(sv, &st, 1, out), 335544436);
    EXPECT_EQ(Texts(lib, sv), "SQL error code = -504|Invalid cursor reference|Cursor is not open|");
    EXPECT_EQ(free_statement(sv, &st, DSQL_drop), 0);
    EXPECT_EQ(st, 0u);
    ASSERT_EQ(lib.get<OnHandle>("isc_commit_transaction")(sv, &tr), 0);
    EXPECT_EQ(tr, 0u);
    EXPECT_EQ(lib.get<OnHandle>("isc_commit_transaction")(sv, &tr), 335544332);
    ASSERT_EQ(lib.get<OnHandle>("isc_detach_database")(sv, &db), 0);
    EXPECT_EQ(lib.get<OnHandle>("isc_detach_database")(sv, &db), 335544324);
  });
  ASSERT_GE(trace.size(), 10u);
  EXPECT_EQ(trace[0],
            "isc_attach_database file_length=4 file=\"x.fd\" db=0 dpb_length=8 "
            "dpb=[01 1c 02 6d 65 1d 01 70] -> status=0 db=1001");
  EXPECT_EQ(trace[1],
            "isc_start_multiple tr=0 count=1 teb0.db=1001 teb0.tpb_length=4 teb0.tpb=[03 0f 11 07] "
            "-> status=0 tr=2001");
  EXPECT_EQ(trace[2], "isc_database_info db=1001 items=[3e] buffer_length=512 -> status=0 answer=[3e 01 00 01 01]");
  EXPECT_EQ(trace[4],
            "isc_dsql_prepare tr=2001 stmt=3001 length=0 dialect=1 sqlda=null sql=\"SELECT * FROM T\\r\\n\" "
            "-> status=0 block=line2");
  EXPECT_EQ(trace[9], "isc_dsql_set_cursor_name stmt=3001 name=\"00012345\" type=0 -> status=0");
  EXPECT_EQ(trace[10], "isc_dsql_fetch stmt=3001 da_version=1 sqld=5 -> status=0 row=1");
  bool saw_end = false;
  for (const std::string& line : trace) {
    saw_end = saw_end || line == "isc_dsql_fetch stmt=3001 da_version=1 sqld=5 -> status=100";
  }
  EXPECT_TRUE(saw_end);
}

TEST(FakeClient, ReadsABlobInPartialSegments) {
  const std::string script =
      "blob 0100000002000000 \"hello world blob\"\n"
      "  segment 16\n";
  auto trace = RunWithScript(script, [](const Library& lib) {
    ISC_STATUS sv[20];
    isc_db_handle db = 0;
    isc_tr_handle tr = 0;
    Connect(lib, &db, &tr);
    ISC_QUAD id;
    std::memcpy(&id, "\1\0\0\0\2\0\0\0", 8);
    isc_blob_handle blob = 0;
    ASSERT_EQ(lib.get<OpenBlob>("isc_open_blob2")(sv, &db, &tr, &blob, &id, 0, nullptr), 0);
    char info[100];
    ASSERT_EQ(lib.get<BlobInfo>("isc_blob_info")(sv, &blob, 4, "\x04\x05\x06\x07", sizeof info, info), 0);
    const char expected_info[] = {4, 4, 0, 1, 0, 0, 0, 5, 4, 0, 16, 0, 0, 0,
                                  6, 4, 0, 16, 0, 0, 0, 7, 1, 0, 0, 1};
    EXPECT_EQ(std::string(info, sizeof expected_info), std::string(expected_info, sizeof expected_info));
    auto get_segment = lib.get<GetSegment>("isc_get_segment");
    std::string content;
    char buffer[5];
    unsigned short got = 0;
    for (const char* part : {"hello", " worl", "d blo"}) {
      EXPECT_EQ(get_segment(sv, &blob, &got, sizeof buffer, buffer), 335544366);
      EXPECT_EQ(std::string(buffer, got), part);
    }
    EXPECT_EQ(get_segment(sv, &blob, &got, sizeof buffer, buffer), 0);
    EXPECT_EQ(std::string(buffer, got), "b");
    EXPECT_EQ(get_segment(sv, &blob, &got, sizeof buffer, buffer), 335544367);
    EXPECT_EQ(got, 0);
    ASSERT_EQ(lib.get<OnHandle>("isc_close_blob")(sv, &blob), 0);
    EXPECT_EQ(blob, 0u);
    ISC_QUAD unknown;
    std::memcpy(&unknown, "\7\0\0\0\7\0\0\0", 8);
    EXPECT_EQ(lib.get<OpenBlob>("isc_open_blob2")(sv, &db, &tr, &blob, &unknown, 0, nullptr), 335544329);
  });
  ASSERT_GE(trace.size(), 6u);
  EXPECT_EQ(trace[2],
            "isc_open_blob2 db=1001 tr=2001 blob=0 id=[01 00 00 00 02 00 00 00] bpb_length=0 bpb=[] "
            "-> status=0 blob=4001");
  EXPECT_EQ(trace[4], "isc_get_segment blob=4001 buffer_length=5 -> status=335544366 actual=5");
  EXPECT_EQ(trace[7], "isc_get_segment blob=4001 buffer_length=5 -> status=0 actual=1");
}

TEST(FakeClient, InjectsFailuresWithTheirTexts) {
  const std::string script =
      "statement\n"
      "  column A SQL_SHORT\n"
      "  row 1\n"
      "  row 2\n"
      "fail isc_dsql_fetch 2 335544345 sqlcode=-551 \"lock conflict on no wait transaction\" "
      "\"deadlock\\r\\nupdate conflicts\"\n"
      "fail call 13 335544472\n";
  auto trace = RunWithScript(script, [](const Library& lib) {
    ISC_STATUS sv[20];
    isc_db_handle db = 0;
    isc_tr_handle tr = 0;
    Connect(lib, &db, &tr);
    isc_stmt_handle st = 0;
    ASSERT_EQ(lib.get<Alloc>("isc_dsql_alloc_statement2")(sv, &db, &st), 0);
    ASSERT_EQ(lib.get<Prepare>("isc_dsql_prepare")(sv, &tr, &st, 0, "select a from t", 3, nullptr), 0);
    XSQLDA* out = NewDescriptor(1);
    ASSERT_EQ(lib.get<Describe>("isc_dsql_describe")(sv, &st, 1, out), 0);
    short value = 0;
    out->sqlvar[0].sqldata = reinterpret_cast<char*>(&value);
    ASSERT_EQ(lib.get<Execute2>("isc_dsql_execute2")(sv, &tr, &st, 3, nullptr, nullptr), 0);
    auto fetch = lib.get<Fetch>("isc_dsql_fetch");
    ASSERT_EQ(fetch(sv, &st, 1, out), 0);                 // call 7
    EXPECT_EQ(fetch(sv, &st, 1, out), 335544345);         // call 8: injected
    EXPECT_EQ(sv[0], 1);
    EXPECT_EQ(sv[1], 335544345);
    EXPECT_EQ(sv[2], 0);
    EXPECT_EQ(lib.get<SqlCode>("isc_sqlcode")(sv), -551);  // call 9
    EXPECT_EQ(Texts(lib, sv), "lock conflict on no wait transaction|deadlock\r\nupdate conflicts|");
    // The fetch that failed delivered nothing: the next one gives row 2.
    ASSERT_EQ(fetch(sv, &st, 1, out), 335544472);         // call 13: injected overall
    EXPECT_EQ(Texts(lib, sv), "Your user name and password are not defined. Ask your database "
                              "administrator to set up a Firebird login.|");
    ASSERT_EQ(fetch(sv, &st, 1, out), 0);
    EXPECT_EQ(value, 2);
  });
  ASSERT_GE(trace.size(), 13u);
  EXPECT_EQ(trace[7], "isc_dsql_fetch stmt=3001 da_version=1 sqld=1 -> status=335544345 injected");
  EXPECT_EQ(trace[8], "isc_sqlcode vector=[1 335544345 0] -> -551");
  EXPECT_EQ(trace[9],
            "isc_interprete vector=[1 335544345 0] -> length=36 text=\"lock conflict on no wait transaction\"");
  EXPECT_EQ(trace[12], "isc_dsql_fetch stmt=3001 da_version=1 sqld=1 -> status=335544472 injected");
}

TEST(FakeClient, DecodesTheCalendarAndLittleEndianIntegers) {
  RunWithScript("", [](const Library& lib) {
    auto vax = lib.get<VaxInteger>("isc_vax_integer");
    EXPECT_EQ(vax("\x3e\x01", 2), 318);
    EXPECT_EQ(vax("\xff\xff", 2), -1);
    EXPECT_EQ(vax("\x01\x02\x03\x84", 4), static_cast<ISC_LONG>(0x84030201u));
    EXPECT_EQ(vax("\x01\x02\x03\x04\x05", 5), 0);  // Firebird reads 1 to 4 bytes only
    struct tm t;
    std::memset(&t, 0x7f, sizeof t);
    ISC_DATE zero = 0;
    lib.get<DecodeSqlDate>("isc_decode_sql_date")(&zero, &t);
    EXPECT_EQ(t.tm_year, -42);
    EXPECT_EQ(t.tm_mon, 10);
    EXPECT_EQ(t.tm_mday, 17);
    EXPECT_EQ(t.tm_wday, 3);
    EXPECT_EQ(t.tm_yday, 320);
    EXPECT_EQ(t.tm_hour, 0);
    EXPECT_EQ(t.tm_isdst, 0);
    ISC_DATE d = fake::EncodeDate(2000, 3, 1);
    lib.get<DecodeSqlDate>("isc_decode_sql_date")(&d, &t);
    EXPECT_EQ(t.tm_year, 100);
    EXPECT_EQ(t.tm_mon, 2);
    EXPECT_EQ(t.tm_mday, 1);
    EXPECT_EQ(t.tm_yday, 60);
  });
}

TEST(FakeClient, VariantsLackOneEntryPoint) {
  Library lacking_fetch(FAKECLIENT_LACKING_FETCH_PATH);
  ASSERT_TRUE(lacking_fetch.loaded()) << dlerror();
  EXPECT_EQ(lacking_fetch.symbol("isc_dsql_fetch"), nullptr);
  EXPECT_NE(lacking_fetch.symbol("isc_rollback_retaining"), nullptr);
  Library pre6(FAKECLIENT_PRE6_PATH);
  ASSERT_TRUE(pre6.loaded()) << dlerror();
  EXPECT_EQ(pre6.symbol("isc_rollback_retaining"), nullptr);
  EXPECT_NE(pre6.symbol("isc_dsql_fetch"), nullptr);
  EXPECT_NE(pre6.symbol("isc_decode_sql_date"), nullptr);
}

}  // namespace
