// The recording fake of the Firebird client library libfbclient.so.2.
//
// Every exported isc_ call answers as Firebird 3's client library does for
// what qelt relies on (handles, status vectors, info answers, descriptors,
// cursors, segments, calendar and error texts), from a script (see
// fake_script.h, README.md), and appends one line to the trace
// (fake_trace.h). The first call reads QELT_FAKE_SCRIPT and QELT_FAKE_TRACE;
// a script that can't be read or parsed, or a trace that can't be opened,
// ends the process with exit status 86 after a message on standard error.
//
// Built three times: complete, with FAKECLIENT_LACKING_FETCH (no
// isc_dsql_fetch) and with FAKECLIENT_PRE6 (no isc_rollback_retaining).
#include <ibase.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <deque>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "fake_script.h"
#include "fake_trace.h"
#include "portability.h"

namespace {

using fake::Blob;
using fake::Failure;
using fake::Hex;
using fake::Quoted;
using fake::Script;
using fake::Statement;
using fake::Value;
using fake::Variable;
using Vector = std::vector<ISC_STATUS>;

constexpr int kExitBadSetup = 86;

// Error codes, as in ibase.h.
constexpr ISC_STATUS kBadDbHandle = 335544324;
constexpr ISC_STATUS kBadTransHandle = 335544332;
constexpr ISC_STATUS kBadStmtHandle = 335544485;
constexpr ISC_STATUS kBadBlobHandle = 335544328;
constexpr ISC_STATUS kBadBlobId = 335544329;
constexpr ISC_STATUS kSegment = 335544366;
constexpr ISC_STATUS kSegstrEof = 335544367;
constexpr ISC_STATUS kCursorCloseErr = 335544577;
constexpr ISC_STATUS kCursorErr = 335544572;
constexpr ISC_STATUS kCursorOpenErr = 335544576;
constexpr ISC_STATUS kCursorNotOpen = 336003095;
constexpr ISC_STATUS kOpenTrans = 335544357;
constexpr ISC_STATUS kReqSync = 335544364;
constexpr ISC_STATUS kInfoUnprepared = 335545071;
constexpr ISC_STATUS kExecUnprepared = 335544711;
constexpr ISC_STATUS kDsqlError = 335544569;
constexpr ISC_STATUS kSqldaErr = 335544583;
constexpr ISC_STATUS kSqldaValueErr = 335544713;
constexpr ISC_STATUS kDatatypeErr = 335544573;
constexpr ISC_STATUS kSqlvarIndex = 336003106;
constexpr ISC_STATUS kInvalidSqldaVersion = 336003105;
constexpr ISC_STATUS kNoOutputSqlda = 336003110;
constexpr ISC_STATUS kWrongParamNum = 336003111;
constexpr ISC_STATUS kSqlErr = 335544436;
constexpr ISC_STATUS kInfoUnknown = 335544341;
constexpr ISC_STATUS kBadTebForm = 335544885;
constexpr ISC_STATUS kDeclErr = 335544574;
constexpr ISC_STATUS kCursorRedefined = 336003090;

constexpr unsigned char kInfoEnd = 1, kInfoTruncated = 2, kInfoError = 3;

// The fake's own texts and SQL codes, those of Firebird 3; "@N" is the N-th
// argument that follows the code in the vector.
struct Message {
  ISC_STATUS code;
  ISC_LONG sqlcode;
  const char* text;
};
const Message kMessages[] = {
    {0, 0, "unknown ISC error 0"},
    {kBadDbHandle, -904, "invalid database handle (no active connection)"},
    {kBadTransHandle, -901, "invalid transaction handle (expecting explicit transaction start)"},
    {kBadStmtHandle, -901, "invalid statement handle"},
    {kBadBlobHandle, -901, "invalid BLOB handle"},
    {kBadBlobId, -901, "invalid BLOB ID"},
    {kSegment, 101, "segment buffer length shorter than expected"},
    {kSegstrEof, 100, "attempted retrieval of more segments than exist"},
    {kCursorCloseErr, -501, "Attempt to reclose a closed cursor"},
    {kCursorErr, -504, "Invalid cursor reference"},
    {kDatatypeErr, -204, "Data type unknown"},
    {kCursorOpenErr, -502, "Attempt to reopen an open cursor"},
    {kCursorNotOpen, -504, "Cursor is not open"},
    {335544345, -901, "lock conflict on no wait transaction"},
    {335544352, -551, "no permission for @1 access to @2 @3"},
    {kOpenTrans, -901, "cannot disconnect database with open transactions (@1 active)"},
    {kReqSync, -901, "request synchronization error"},
    {kInfoUnprepared, -901, "Attempt to get information about an unprepared dynamic SQL statement."},
    {kExecUnprepared, -901, "Attempt to execute an unprepared dynamic SQL statement."},
    {kDsqlError, -902, "Dynamic SQL Error"},
    {kSqldaErr, -804, "SQLDA error"},
    {kSqldaValueErr, -804, "Incorrect values within SQLDA structure"},
    {kInvalidSqldaVersion, -802, "SQLDA version expected between @1 and @2, found @3"},
    {kNoOutputSqlda, -802, "No SQLDA for output values provided"},
    {kWrongParamNum, -313, "Wrong number of parameters (expected @1, got @2)"},
    {kSqlvarIndex, -802, "at SQLVAR index @1"},
    {kSqlErr, 0, "SQL error code = @1"},
    {kInfoUnknown, -901, "unknown information item"},
    {kBadTebForm, -901, "Invalid TEB format"},
    {kDeclErr, -502, "Invalid cursor declaration"},
    {kCursorRedefined, -502, "Statement already has a cursor @1 assigned"},
    {335544344, -902, "I/O error during \"@1\" operation for file \"@2\""},
    {335544472, -902,
     "Your user name and password are not defined. Ask your database administrator to set up a "
     "Firebird login."},
    {335544326, -901, "unrecognized database parameter block"},
    {335544331, -901, "invalid format for transaction parameter block"},
    {335544321, -802, "arithmetic exception, numeric overflow, or string truncation"},
};

const Message* FindMessage(ISC_STATUS code) {
  for (const Message& m : kMessages) {
    if (m.code == code) return &m;
  }
  return nullptr;
}

struct TransactionState {
  std::vector<unsigned> databases;
};

struct StatementState {
  unsigned database = 0;
  bool prepared = false;
  const Statement* def = nullptr;
  std::vector<Variable> params;
  bool cursor_open = false;
  unsigned cursor_transaction = 0;
  size_t next_row = 0;
  bool at_end = false;  // 100 answered
  bool has_cursor_name = false;
  std::string cursor_name;
};

struct BlobState {
  const Blob* def = nullptr;  // null: the all-zero id, an empty blob
  unsigned transaction = 0;
  size_t position = 0;
  size_t segment_left = 0;
};

// The last injected (or fake-made, with texts) failure, for isc_interprete
// and isc_sqlcode.
struct LastFailure {
  bool active = false;
  Vector vector;
  bool has_sqlcode = false;
  ISC_LONG sqlcode = 0;
  std::vector<std::string> messages;
  const ISC_STATUS* end = nullptr;  // where the caller's walk stands after text 1
  size_t next = 0;
};

struct State {
  bool ready = false;
  Script script;
  Statement default_statement;
  uint64_t calls = 0;
  std::map<std::string, uint64_t> calls_by_name;
  unsigned next_db = 1001, next_tr = 2001, next_stmt = 3001, next_blob = 4001;
  std::map<unsigned, bool> databases;
  std::map<unsigned, TransactionState> transactions;
  std::map<unsigned, StatementState> statements;
  std::map<unsigned, BlobState> blobs;
  LastFailure last;
  std::deque<std::string> strings;  // texts that status vectors point to
};

[[noreturn]] void Die(const std::string& what) {
  std::string line = "fakeclient: " + what + "\n";
  ssize_t ignored = write(2, line.data(), line.size());
  (void)ignored;
  fake::WriteTraceLine("fakeclient_error " + Quoted(what));
  _exit(kExitBadSetup);
}

void Init(State* s) {
  s->ready = true;
  if (const char* trace = std::getenv("QELT_FAKE_TRACE")) {
    if (*trace && !fake::OpenTrace(trace)) Die(std::string("can't open the trace file ") + trace);
  }
  const char* path = std::getenv("QELT_FAKE_SCRIPT");
  if (path && *path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) Die(std::string("can't read the script ") + path);
    std::stringstream content;
    content << in.rdbuf();
    std::string error;
    if (!fake::ParseScript(content.str(), &s->script, &error)) {
      Die(std::string("script ") + path + ", " + error);
    }
  }
}

State& Get() {
  static State* state = new State;  // made on the first call, never destroyed
  if (!state->ready) Init(state);
  return *state;
}

std::string Num(long long v) { return std::to_string(v); }

std::string HandleText(const FB_API_HANDLE* h) { return h ? Num(*h) : "null"; }

bool Matches(const ISC_STATUS* p, const Vector& v) {
  for (size_t i = 0; i < v.size(); ++i) {
    if (p[i] != v[i]) return false;
  }
  return true;
}

// The vector from p to its end, as "[1 335544345 0]".
std::string VectorText(const ISC_STATUS* p) {
  if (!p) return "null";
  std::string out = "[";
  for (int i = 0; i < ISC_STATUS_LENGTH;) {
    if (i) out += ' ';
    ISC_STATUS kind = p[i];
    out += Num(kind);
    if (kind == isc_arg_end) break;
    if (i + 1 >= ISC_STATUS_LENGTH) break;
    if (kind == isc_arg_string || kind == isc_arg_interpreted) {
      const char* text = reinterpret_cast<const char*>(p[i + 1]);
      out += " " + (text ? Quoted(text, std::strlen(text)) : std::string("null"));
      i += 2;
    } else if (kind == isc_arg_cstring && i + 2 < ISC_STATUS_LENGTH) {
      out += " " + Num(p[i + 1]) + " " +
             Quoted(reinterpret_cast<const char*>(p[i + 2]), static_cast<size_t>(p[i + 1]));
      i += 3;
    } else {
      out += " " + Num(p[i + 1]);
      i += 2;
    }
  }
  return out + "]";
}

// One call: counts it, decides an injected failure, collects its trace line
// and writes it when the call ends.
class Call {
 public:
  // can_fail: the call returns a status (the others are never injected).
  Call(const char* name, ISC_STATUS* status, bool can_fail = true)
      : s_(Get()), line_(name), status_(status ? status : local_) {
    const uint64_t overall = ++s_.calls;
    const uint64_t own = ++s_.calls_by_name[name];
    if (!can_fail) return;
    for (const Failure& f : s_.script.failures) {
      bool named = !f.function.empty();
      if (named && f.function != name) continue;
      uint64_t n = named ? own : overall;
      if (n == f.count || (f.and_later && n > f.count)) {
        injected_ = &f;
        break;
      }
    }
  }
  Call(const Call&) = delete;
  Call& operator=(const Call&) = delete;

  State& state() { return s_; }
  bool injected() const { return injected_ != nullptr; }
  void Arg(const char* key, const std::string& value) { line_ += std::string(" ") + key + "=" + value; }
  void Out(const char* key, const std::string& value) { outs_ += std::string(" ") + key + "=" + value; }
  void Note(const std::string& note) { Out("note", Quoted(note)); }

  ISC_STATUS Injected() {
    const Failure& f = *injected_;
    Vector v{isc_arg_gds, f.code};
    for (ISC_STATUS c : f.also) {
      v.push_back(isc_arg_gds);
      v.push_back(c);
    }
    v.push_back(isc_arg_end);
    Put(v);
    Remember(v, f.has_sqlcode, f.sqlcode, f.messages);
    outs_ += " injected";
    return Finish(f.code);
  }
  ISC_STATUS Ok() {
    Put({isc_arg_gds, 0, isc_arg_end});
    return Finish(0);
  }
  ISC_STATUS NoMoreRows() {
    Put({isc_arg_gds, 0, isc_arg_end});
    return Finish(100);
  }
  ISC_STATUS Fail(const Vector& v) {
    Put(v);
    return Finish(v[1]);
  }
  // A failure with the fake's own texts.
  ISC_STATUS FailWithTexts(const Vector& v, const std::vector<std::string>& texts) {
    Put(v);
    Remember(v, false, 0, texts);
    return Finish(v[1]);
  }
  // Stores a text that a status vector entry points to.
  ISC_STATUS Text(const std::string& text) {
    s_.strings.push_back(text);
    return reinterpret_cast<ISC_STATUS>(s_.strings.back().c_str());
  }
  // For the calls that return no status.
  void Plain(const std::string& result) { fake::WriteTraceLine(line_ + " -> " + result); }

 private:
  void Put(const Vector& v) {
    for (size_t i = 0; i < v.size() && i < ISC_STATUS_LENGTH; ++i) status_[i] = v[i];
  }
  void Remember(const Vector& v, bool has_sqlcode, ISC_LONG sqlcode,
                const std::vector<std::string>& messages) {
    LastFailure& last = s_.last;
    last.active = true;
    last.vector = v;
    last.has_sqlcode = has_sqlcode;
    last.sqlcode = sqlcode;
    last.messages = messages;
    last.end = nullptr;
    last.next = 0;
  }
  ISC_STATUS Finish(ISC_STATUS rc) {
    fake::WriteTraceLine(line_ + " -> status=" + Num(rc) + outs_);
    return rc;
  }

  State& s_;
  std::string line_;
  std::string outs_;
  ISC_STATUS local_[ISC_STATUS_LENGTH] = {};
  ISC_STATUS* status_;
  const Failure* injected_ = nullptr;
};

Vector Simple(ISC_STATUS code) { return {isc_arg_gds, code, isc_arg_end}; }

Vector SqldaVersionError(long version) {
  return {isc_arg_gds, kSqldaValueErr, isc_arg_gds, kInvalidSqldaVersion, isc_arg_number, 1,
          isc_arg_number, 1, isc_arg_number, version, isc_arg_end};
}

Vector WrongCount(long expected, long got) {
  return {isc_arg_gds, kDsqlError, isc_arg_gds, kSqldaErr, isc_arg_gds, kWrongParamNum,
          isc_arg_number, expected, isc_arg_number, got, isc_arg_end};
}

[[maybe_unused]] Vector CursorNotOpen() {
  return {isc_arg_gds, kSqlErr, isc_arg_number, -504, isc_arg_gds, kCursorErr, isc_arg_gds,
          kCursorNotOpen, isc_arg_end};
}

Vector CursorAlreadyOpen() {
  return {isc_arg_gds, kSqlErr, isc_arg_number, -502, isc_arg_gds, kCursorOpenErr, isc_arg_end};
}

bool ValidTransaction(State& s, const isc_tr_handle* tr) {
  return tr && *tr && s.transactions.count(*tr);
}
bool ValidDatabase(State& s, const isc_db_handle* db) {
  return db && *db && s.databases.count(*db);
}
StatementState* FindStatement(State& s, const isc_stmt_handle* h) {
  if (!h || !*h) return nullptr;
  auto it = s.statements.find(*h);
  return it == s.statements.end() ? nullptr : &it->second;
}
BlobState* FindBlob(State& s, const isc_blob_handle* h) {
  if (!h || !*h) return nullptr;
  auto it = s.blobs.find(*h);
  return it == s.blobs.end() ? nullptr : &it->second;
}

std::string Le(int64_t v, size_t n) {
  std::string out;
  for (size_t i = 0; i < n; ++i) out += static_cast<char>((static_cast<uint64_t>(v) >> (8 * i)) & 0xff);
  return out;
}

std::string Clumplet(unsigned char item, const std::string& value) {
  return std::string(1, static_cast<char>(item)) + Le(static_cast<int64_t>(value.size()), 2) + value;
}

std::string UnknownItem(unsigned char item) {
  return std::string(1, static_cast<char>(kInfoError)) + Le(5, 2) +
         std::string(1, static_cast<char>(item)) + Le(kInfoUnknown, 4);
}

// An info answer as the engine writes one for database_info and blob_info:
// an item fits only with room for one more byte after it and the end mark;
// what doesn't fit is marked truncated (and ended, when there is room).
// answer(item, &value) gives an item's value, or false for an unknown item.
template <typename Answer>
std::string EngineInfo(const char* items, short item_length, short buffer_length, Answer answer) {
  std::string out;
  const size_t size = buffer_length > 0 ? static_cast<size_t>(buffer_length) : 0;
  if (item_length <= 0 || !items || size == 0) return out;
  for (short i = 0; i < item_length; ++i) {
    unsigned char item = static_cast<unsigned char>(items[i]);
    if (item == kInfoEnd) break;
    std::string value;
    std::string piece = answer(item, &value) ? Clumplet(item, value) : UnknownItem(item);
    if (out.size() + piece.size() + 1 >= size) {
      out += static_cast<char>(kInfoTruncated);
      if (out.size() < size) out += static_cast<char>(kInfoEnd);
      return out;
    }
    out += piece;
  }
  if (out.size() < size) out += static_cast<char>(kInfoEnd);
  return out;
}

// The DSQL layer's form for sql_info: the buffer is cleared, and an item
// fits when it and the end mark do.
template <typename Answer>
std::string DsqlInfo(const char* items, short item_length, short buffer_length, Answer answer) {
  std::string out;
  const size_t size = buffer_length > 0 ? static_cast<size_t>(buffer_length) : 0;
  for (short i = 0; items && i < item_length; ++i) {
    unsigned char item = static_cast<unsigned char>(items[i]);
    if (item == kInfoEnd) break;
    std::string value;
    std::string piece = answer(item, &value) ? Clumplet(item, value) : UnknownItem(item);
    if (out.size() + piece.size() + 1 > size) {
      if (out.size() < size) out += static_cast<char>(kInfoTruncated);
      return out;
    }
    out += piece;
  }
  if (out.size() < size) out += static_cast<char>(kInfoEnd);
  return out;
}

void FillVariable(XSQLVAR* var, const Variable& v) {
  var->sqltype = v.sqltype;
  var->sqlscale = v.scale;
  var->sqlsubtype = v.subtype;
  var->sqllen = v.length;
  auto name = [](ISC_SCHAR* dest, ISC_SHORT* length, const std::string& text) {
    std::memset(dest, 0, 32);
    size_t n = text.size() < 32 ? text.size() : 32;
    std::memcpy(dest, text.data(), n);
    *length = static_cast<ISC_SHORT>(n);
  };
  name(var->sqlname, &var->sqlname_length, v.field);
  name(var->relname, &var->relname_length, v.relation);
  name(var->ownname, &var->ownname_length, v.owner);
  name(var->aliasname, &var->aliasname_length, v.alias);
}

// isc_dsql_describe and _describe_bind.
ISC_STATUS Describe(Call& c, isc_stmt_handle* stmt, unsigned short version, XSQLDA* da, bool inputs) {
  c.Arg("stmt", HandleText(stmt));
  c.Arg("da_version", Num(version));
  c.Arg("sqln", da ? Num(da->sqln) : "null");
  if (c.injected()) return c.Injected();
  StatementState* st = FindStatement(c.state(), stmt);
  if (!st) return c.Fail(Simple(kBadStmtHandle));
  if (!st->prepared) return c.Fail(Simple(kInfoUnprepared));
  if (!da) return c.Ok();
  if (da->version != SQLDA_VERSION1) return c.Fail(SqldaVersionError(da->version));
  const std::vector<Variable>& vars = inputs ? st->params : st->def->columns;
  da->sqld = static_cast<ISC_SHORT>(vars.size());
  // Like Firebird 3: when the descriptor is too small, only sqld is set.
  if (da->sqld <= da->sqln) {
    for (size_t i = 0; i < vars.size(); ++i) FillVariable(&da->sqlvar[i], vars[i]);
  }
  c.Out("sqld", Num(da->sqld));
  return c.Ok();
}

size_t DataSize(const XSQLVAR& var) {
  return static_cast<size_t>(var.sqllen) + ((var.sqltype & ~1) == SQL_VARYING ? 2 : 0);
}

std::string DescriptorText(const XSQLDA* da) {
  std::string out = "sqld=" + Num(da->sqld);
  int n = da->sqld < da->sqln ? da->sqld : da->sqln;
  for (int i = 0; i < n; ++i) {
    const XSQLVAR& v = da->sqlvar[i];
    out += " ." + Num(i) + "={type=" + Num(v.sqltype) + " len=" + Num(v.sqllen) +
           " ind=" + (v.sqlind ? Num(*v.sqlind) : "null") +
           " data=" + (v.sqldata ? Hex(v.sqldata, DataSize(v)) : "null") + "}";
  }
  return out;
}

// Checks an output descriptor against the columns, then writes the row.
// Returns false (nothing written) when a variable doesn't fit the column.
bool WriteRow(const XSQLDA* da, const std::vector<Variable>& columns, const std::vector<Value>& row,
              std::string* why) {
  for (size_t i = 0; i < columns.size(); ++i) {
    const XSQLVAR& var = da->sqlvar[i];
    const Variable& col = columns[i];
    if ((var.sqltype & ~1) != col.base_type() || var.sqllen != col.length) {
      *why = "variable " + Num(static_cast<long long>(i)) + " is type " + Num(var.sqltype) + " len " +
             Num(var.sqllen) + ", the column " + Num(col.sqltype) + " len " + Num(col.length) +
             " (the fake doesn't convert)";
      return false;
    }
    if (!var.sqldata) {
      *why = "variable " + Num(static_cast<long long>(i)) + " has no sqldata";
      return false;
    }
    if ((var.sqltype & 1) && !var.sqlind) {
      *why = "nullable variable " + Num(static_cast<long long>(i)) + " has no sqlind";
      return false;
    }
    if (row[i].null && !(var.sqltype & 1)) {
      *why = "NULL for variable " + Num(static_cast<long long>(i)) + ", which is not nullable";
      return false;
    }
  }
  for (size_t i = 0; i < columns.size(); ++i) {
    const XSQLVAR& var = da->sqlvar[i];
    const Value& value = row[i];
    char* data = var.sqldata;
    std::memset(data, 0, DataSize(var));
    if (var.sqltype & 1) *var.sqlind = value.null ? -1 : 0;
    if (value.null) continue;
    if ((var.sqltype & ~1) == SQL_VARYING) {
      uint16_t length = static_cast<uint16_t>(value.data.size());
      std::memcpy(data, &length, 2);
      std::memcpy(data + 2, value.data.data(), value.data.size());
    } else {
      std::memcpy(data, value.data.data(), value.data.size());
    }
  }
  return true;
}

bool HasCursor(const Statement* def) {
  int64_t kind = def->Kind();
  return kind == isc_info_sql_stmt_select || kind == isc_info_sql_stmt_select_for_upd;
}

// isc_dsql_execute and _execute2.
ISC_STATUS Execute(Call& c, isc_tr_handle* tr, isc_stmt_handle* stmt, unsigned short dialect,
                   const XSQLDA* in, const XSQLDA* out, bool with_out) {
  c.Arg("tr", HandleText(tr));
  c.Arg("stmt", HandleText(stmt));
  c.Arg("dialect", Num(dialect));
  c.Arg("in", in ? DescriptorText(in) : "null");
  if (with_out) c.Arg("out", out ? "sqld=" + Num(out->sqld) : "null");
  if (c.injected()) return c.Injected();
  State& s = c.state();
  StatementState* st = FindStatement(s, stmt);
  if (!st) return c.Fail(Simple(kBadStmtHandle));
  if (!st->prepared) return c.Fail(Simple(kExecUnprepared));
  if (!ValidTransaction(s, tr)) return c.Fail(Simple(kBadTransHandle));
  const long params = static_cast<long>(st->params.size());
  if (!in && params > 0) {
    return c.Fail({isc_arg_gds, kDsqlError, isc_arg_gds, kSqldaErr, isc_arg_gds, kDatatypeErr,
                   isc_arg_gds, kSqlvarIndex, isc_arg_number, 0, isc_arg_end});
  }
  if (in) {
    if (in->version != SQLDA_VERSION1) return c.Fail(SqldaVersionError(in->version));
    if (in->sqld != params) return c.Fail(WrongCount(params, in->sqld));
    for (long i = 0; i < params; ++i) {
      const XSQLVAR& v = in->sqlvar[i];
      bool null = (v.sqltype & 1) && v.sqlind && *v.sqlind == -1;
      if (((v.sqltype & 1) && !v.sqlind) || (!null && !v.sqldata)) {
        c.Note("input variable " + Num(i) + " lacks its sqlind or sqldata");
        return c.Fail(Simple(kSqldaValueErr));
      }
    }
  }
  const Statement* def = st->def;
  if (HasCursor(def) && !out) {
    if (st->cursor_open) return c.Fail(CursorAlreadyOpen());
    st->cursor_open = true;
    st->cursor_transaction = *tr;
    st->next_row = 0;
    st->at_end = false;
    c.Out("cursor", "open");
    return c.Ok();
  }
  if (out) {
    if (out->version != SQLDA_VERSION1) return c.Fail(SqldaVersionError(out->version));
    if (out->sqld != static_cast<long>(def->columns.size())) {
      return c.Fail(WrongCount(static_cast<long>(def->columns.size()), out->sqld));
    }
    if (def->rows.empty()) {
      if (HasCursor(def)) return c.NoMoreRows();  // a singleton select without a row
      return c.Ok();
    }
    std::string why;
    if (!WriteRow(out, def->columns, def->rows[0], &why)) {
      c.Note(why);
      return c.Fail(Simple(kSqldaValueErr));
    }
    c.Out("row", "1");
  }
  return c.Ok();
}

void EndTransaction(State& s, unsigned tr) {
  for (auto& entry : s.statements) {
    StatementState& st = entry.second;
    if (st.cursor_open && st.cursor_transaction == tr) {
      st.cursor_open = false;
      st.at_end = false;
    }
  }
  for (auto it = s.blobs.begin(); it != s.blobs.end();) {
    it = it->second.transaction == tr ? s.blobs.erase(it) : std::next(it);
  }
  s.transactions.erase(tr);
}

ISC_STATUS EndTransactionCall(Call& c, isc_tr_handle* tr, bool retaining) {
  c.Arg("tr", HandleText(tr));
  if (c.injected()) return c.Injected();
  State& s = c.state();
  if (!ValidTransaction(s, tr)) return c.Fail(Simple(kBadTransHandle));
  if (!retaining) {
    EndTransaction(s, *tr);
    *tr = 0;
  }
  c.Out("tr", Num(*tr));
  return c.Ok();
}

// Firebird's decode_date into struct tm (NoThrowTimeStamp::decode_date).
void DecodeDateInto(ISC_DATE nday, struct tm* times) {
  std::memset(times, 0, sizeof *times);
  if ((times->tm_wday = (nday + 3) % 7) < 0) times->tm_wday += 7;
  int year, month, day;
  fake::DecodeDate(nday, &year, &month, &day);
  times->tm_mday = day;
  times->tm_mon = month - 1;
  times->tm_year = year - 1900;
  int yday = day - 1 + (214 * (month - 1) + 3) / 7;
  if (month - 1 >= 2) {
    bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    yday -= leap ? 1 : 2;
  }
  times->tm_yday = yday;
}

void DecodeTimeInto(ISC_TIME ntime, struct tm* times) {
  times->tm_hour = static_cast<int>(ntime / (3600 * ISC_TIME_SECONDS_PRECISION));
  ntime %= 3600 * ISC_TIME_SECONDS_PRECISION;
  times->tm_min = static_cast<int>(ntime / (60 * ISC_TIME_SECONDS_PRECISION));
  ntime %= 60 * ISC_TIME_SECONDS_PRECISION;
  times->tm_sec = static_cast<int>(ntime / ISC_TIME_SECONDS_PRECISION);
}

std::string DateText(const struct tm& t) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d", t.tm_year + 1900, t.tm_mon + 1, t.tm_mday);
  return buffer;
}

std::string TimeText(const struct tm& t) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%02d:%02d:%02d", t.tm_hour, t.tm_min, t.tm_sec);
  return buffer;
}

// The text of the message at p in the real walk: the code's text with the
// arguments that follow it; sets *next to the entry after them.
bool WalkMessage(const ISC_STATUS* p, std::string* text, const ISC_STATUS** next) {
  switch (p[0]) {
    case isc_arg_gds:
    case isc_arg_warning: {
      const ISC_STATUS code = p[1];
      const ISC_STATUS* q = p + 2;
      std::vector<std::string> args;
      while (q - p < ISC_STATUS_LENGTH) {
        if (*q == isc_arg_string) {
          const char* a = reinterpret_cast<const char*>(q[1]);
          args.push_back(a ? a : "");
          q += 2;
        } else if (*q == isc_arg_cstring) {
          args.push_back(std::string(reinterpret_cast<const char*>(q[2]), static_cast<size_t>(q[1])));
          q += 3;
        } else if (*q == isc_arg_number) {
          args.push_back(Num(q[1]));
          q += 2;
        } else {
          break;
        }
      }
      const Message* m = FindMessage(code);
      std::string form = m ? m->text : "unknown ISC error " + Num(code);
      text->clear();
      for (size_t i = 0; i < form.size(); ++i) {
        if (form[i] == '@' && i + 1 < form.size() && form[i + 1] >= '1' && form[i + 1] <= '9') {
          size_t k = static_cast<size_t>(form[i + 1] - '1');
          *text += k < args.size() ? args[k]
                                   : "<Missing arg #" + Num(static_cast<long long>(k + 1)) +
                                         " - possibly status vector overflow>";
          ++i;
        } else {
          *text += form[i];
        }
      }
      *next = q;
      return true;
    }
    case isc_arg_interpreted: {
      const char* a = reinterpret_cast<const char*>(p[1]);
      *text = a ? a : "";
      *next = p + 2;
      return true;
    }
    case isc_arg_unix:
      *text = std::strerror(static_cast<int>(p[1]));
      *next = p + 2;
      return true;
    default:
      return false;
  }
}

}  // namespace

// ---- Connection ---------------------------------------------------------------

FAKE_EXPORT ISC_STATUS isc_attach_database(ISC_STATUS* status, short file_length,
                                           const ISC_SCHAR* file_name, isc_db_handle* handle,
                                           short dpb_length, const ISC_SCHAR* dpb) {
  Call c("isc_attach_database", status);
  size_t length = file_length > 0 ? static_cast<size_t>(file_length)
                                  : (file_name ? std::strlen(file_name) : 0);
  c.Arg("file_length", Num(file_length));
  c.Arg("file", Quoted(file_name ? file_name : "", length));
  c.Arg("db", HandleText(handle));
  c.Arg("dpb_length", Num(dpb_length));
  c.Arg("dpb", Hex(dpb ? dpb : "", dpb && dpb_length > 0 ? static_cast<size_t>(dpb_length) : 0));
  if (c.injected()) return c.Injected();
  State& s = c.state();
  if (!handle || *handle) return c.Fail(Simple(kBadDbHandle));
  *handle = s.next_db++;
  s.databases[*handle] = true;
  c.Out("db", Num(*handle));
  return c.Ok();
}

FAKE_EXPORT ISC_STATUS isc_database_info(ISC_STATUS* status, isc_db_handle* handle,
                                         short item_length, const ISC_SCHAR* items,
                                         short buffer_length, ISC_SCHAR* buffer) {
  Call c("isc_database_info", status);
  c.Arg("db", HandleText(handle));
  c.Arg("items", Hex(items ? items : "", items && item_length > 0 ? static_cast<size_t>(item_length) : 0));
  c.Arg("buffer_length", Num(buffer_length));
  if (c.injected()) return c.Injected();
  State& s = c.state();
  if (!ValidDatabase(s, handle)) return c.Fail(Simple(kBadDbHandle));
  std::string answer;
  if (s.script.has_db_info_answer) {
    answer = s.script.db_info_answer.substr(0, buffer_length > 0 ? static_cast<size_t>(buffer_length) : 0);
  } else {
    const int dialect = s.script.dialect;
    answer = EngineInfo(items, item_length, buffer_length, [dialect](unsigned char item, std::string* v) {
      if (item != isc_info_db_sql_dialect) return false;
      *v = Le(dialect, 1);
      return true;
    });
  }
  if (buffer) std::memcpy(buffer, answer.data(), answer.size());
  c.Out("answer", Hex(answer));
  return c.Ok();
}

FAKE_EXPORT ISC_STATUS isc_detach_database(ISC_STATUS* status, isc_db_handle* handle) {
  Call c("isc_detach_database", status);
  c.Arg("db", HandleText(handle));
  if (c.injected()) return c.Injected();
  State& s = c.state();
  if (!ValidDatabase(s, handle)) return c.Fail(Simple(kBadDbHandle));
  long open = 0;
  for (const auto& t : s.transactions) {
    for (unsigned db : t.second.databases) open += db == *handle ? 1 : 0;
  }
  if (open > 0) return c.Fail({isc_arg_gds, kOpenTrans, isc_arg_number, open, isc_arg_end});
  for (auto it = s.statements.begin(); it != s.statements.end();) {
    it = it->second.database == *handle ? s.statements.erase(it) : std::next(it);
  }
  s.databases.erase(*handle);
  *handle = 0;
  c.Out("db", "0");
  return c.Ok();
}

// ---- Transactions -------------------------------------------------------------

namespace {
// The transaction existence block of isc_start_multiple, as Firebird reads it.
struct TransactionEntry {
  isc_db_handle* database;
  int tpb_length;
  const ISC_SCHAR* tpb;
};
}  // namespace

FAKE_EXPORT ISC_STATUS isc_start_multiple(ISC_STATUS* status, isc_tr_handle* handle, short count,
                                          void* vector) {
  Call c("isc_start_multiple", status);
  c.Arg("tr", HandleText(handle));
  c.Arg("count", Num(count));
  const TransactionEntry* teb = static_cast<const TransactionEntry*>(vector);
  for (short i = 0; teb && i < count && i < 16; ++i) {
    const TransactionEntry& e = teb[i];
    std::string prefix = "teb" + Num(i) + ".";
    c.Arg((prefix + "db").c_str(), HandleText(e.database));
    c.Arg((prefix + "tpb_length").c_str(), Num(e.tpb_length));
    c.Arg((prefix + "tpb").c_str(),
          Hex(e.tpb ? e.tpb : "", e.tpb && e.tpb_length > 0 ? static_cast<size_t>(e.tpb_length) : 0));
  }
  if (c.injected()) return c.Injected();
  State& s = c.state();
  if (!handle || *handle) return c.Fail(Simple(kBadTransHandle));
  if (count <= 0 || !teb) return c.Fail(Simple(kBadTebForm));
  TransactionState t;
  for (short i = 0; i < count; ++i) {
    if (!ValidDatabase(s, teb[i].database)) return c.Fail(Simple(kBadDbHandle));
    t.databases.push_back(*teb[i].database);
  }
  *handle = s.next_tr++;
  s.transactions[*handle] = t;
  c.Out("tr", Num(*handle));
  return c.Ok();
}

FAKE_EXPORT ISC_STATUS isc_commit_transaction(ISC_STATUS* status, isc_tr_handle* handle) {
  Call c("isc_commit_transaction", status);
  return EndTransactionCall(c, handle, false);
}

FAKE_EXPORT ISC_STATUS isc_rollback_transaction(ISC_STATUS* status, isc_tr_handle* handle) {
  Call c("isc_rollback_transaction", status);
  return EndTransactionCall(c, handle, false);
}

#ifndef FAKECLIENT_PRE6
FAKE_EXPORT ISC_STATUS isc_rollback_retaining(ISC_STATUS* status, isc_tr_handle* handle) {
  Call c("isc_rollback_retaining", status);
  return EndTransactionCall(c, handle, true);
}
#endif

// ---- Statements ---------------------------------------------------------------

FAKE_EXPORT ISC_STATUS isc_dsql_alloc_statement2(ISC_STATUS* status, isc_db_handle* db,
                                                 isc_stmt_handle* stmt) {
  Call c("isc_dsql_alloc_statement2", status);
  c.Arg("db", HandleText(db));
  c.Arg("stmt", HandleText(stmt));
  if (c.injected()) return c.Injected();
  State& s = c.state();
  if (!ValidDatabase(s, db)) return c.Fail(Simple(kBadDbHandle));
  if (!stmt || *stmt) return c.Fail(Simple(kBadStmtHandle));
  *stmt = s.next_stmt++;
  s.statements[*stmt].database = *db;
  c.Out("stmt", Num(*stmt));
  return c.Ok();
}

FAKE_EXPORT ISC_STATUS isc_dsql_prepare(ISC_STATUS* status, isc_tr_handle* tr, isc_stmt_handle* stmt,
                                        unsigned short length, const ISC_SCHAR* text,
                                        unsigned short dialect, XSQLDA* da) {
  Call c("isc_dsql_prepare", status);
  std::string sql;
  if (text) sql.assign(text, length ? length : std::strlen(text));
  c.Arg("tr", HandleText(tr));
  c.Arg("stmt", HandleText(stmt));
  c.Arg("length", Num(length));
  c.Arg("dialect", Num(dialect));
  c.Arg("sqlda", da ? "sqln=" + Num(da->sqln) : "null");
  c.Arg("sql", Quoted(sql));
  if (c.injected()) return c.Injected();
  State& s = c.state();
  StatementState* st = FindStatement(s, stmt);
  if (!st) return c.Fail(Simple(kBadStmtHandle));
  if (!ValidTransaction(s, tr)) return c.Fail(Simple(kBadTransHandle));
  st->cursor_open = false;
  st->at_end = false;
  st->has_cursor_name = false;
  st->prepared = false;
  const Statement* def = nullptr;
  if (s.script.statements.empty()) {
    def = &s.default_statement;
  } else {
    for (const Statement& candidate : s.script.statements) {
      if (!candidate.has_match || sql.find(candidate.match) != std::string::npos) {
        def = &candidate;
        break;
      }
    }
  }
  if (!def) {
    c.Note("no statement block of the script matches the text");
    return c.FailWithTexts(Simple(kDsqlError),
                           {"Dynamic SQL Error",
                            "fake client: no statement block of the script matches the prepared text"});
  }
  if (da && da->version != SQLDA_VERSION1) return c.Fail(SqldaVersionError(da->version));
  st->def = def;
  st->prepared = true;
  if (def->has_params) {
    st->params = def->params;
  } else {
    Variable v;
    v.sqltype = SQL_VARYING | 1;
    v.length = 32;
    st->params.assign(static_cast<size_t>(fake::CountMarkers(sql)), v);
  }
  c.Out("block", def == &s.default_statement ? "default" : "line" + Num(def->line));
  if (da) {
    da->sqld = static_cast<ISC_SHORT>(def->columns.size());
    if (da->sqld <= da->sqln) {
      for (size_t i = 0; i < def->columns.size(); ++i) FillVariable(&da->sqlvar[i], def->columns[i]);
    }
    c.Out("sqld", Num(da->sqld));
  }
  return c.Ok();
}

FAKE_EXPORT ISC_STATUS isc_dsql_sql_info(ISC_STATUS* status, isc_stmt_handle* stmt, short item_length,
                                         const ISC_SCHAR* items, short buffer_length,
                                         ISC_SCHAR* buffer) {
  Call c("isc_dsql_sql_info", status);
  c.Arg("stmt", HandleText(stmt));
  c.Arg("items", Hex(items ? items : "", items && item_length > 0 ? static_cast<size_t>(item_length) : 0));
  c.Arg("buffer_length", Num(buffer_length));
  if (c.injected()) return c.Injected();
  State& s = c.state();
  StatementState* st = FindStatement(s, stmt);
  if (!st) return c.Fail(Simple(kBadStmtHandle));
  if (!st->prepared) return c.Fail(Simple(kInfoUnprepared));
  const size_t size = buffer_length > 0 ? static_cast<size_t>(buffer_length) : 0;
  const Statement* def = st->def;
  bool asks_kind = items && item_length > 0 &&
                   std::memchr(items, isc_info_sql_stmt_type, static_cast<size_t>(item_length));
  std::string answer;
  if (def->has_kind_answer && asks_kind) {
    answer = def->kind_answer.substr(0, size);
  } else {
    const int64_t fetched = st->cursor_open ? static_cast<int64_t>(st->next_row) : 0;
    answer = DsqlInfo(items, item_length, buffer_length, [def, fetched](unsigned char item, std::string* v) {
      if (item == isc_info_sql_stmt_type) {
        *v = Le(def->Kind(), 4);
        return true;
      }
      if (item == isc_info_sql_records) {
        *v = Clumplet(isc_info_req_update_count, Le(0, 4)) +
             Clumplet(isc_info_req_delete_count, Le(0, 4)) +
             Clumplet(isc_info_req_select_count, Le(fetched, 4)) +
             Clumplet(isc_info_req_insert_count, Le(0, 4)) + std::string(1, static_cast<char>(kInfoEnd));
        return true;
      }
      return false;
    });
  }
  if (buffer) {
    std::memset(buffer, 0, size);
    std::memcpy(buffer, answer.data(), answer.size());
  }
  c.Out("answer", Hex(answer));
  return c.Ok();
}

FAKE_EXPORT ISC_STATUS isc_dsql_describe_bind(ISC_STATUS* status, isc_stmt_handle* stmt,
                                              unsigned short da_version, XSQLDA* da) {
  Call c("isc_dsql_describe_bind", status);
  return Describe(c, stmt, da_version, da, true);
}

FAKE_EXPORT ISC_STATUS isc_dsql_describe(ISC_STATUS* status, isc_stmt_handle* stmt,
                                         unsigned short da_version, XSQLDA* da) {
  Call c("isc_dsql_describe", status);
  return Describe(c, stmt, da_version, da, false);
}

FAKE_EXPORT ISC_STATUS isc_dsql_execute2(ISC_STATUS* status, isc_tr_handle* tr, isc_stmt_handle* stmt,
                                         unsigned short dialect, const XSQLDA* in, const XSQLDA* out) {
  Call c("isc_dsql_execute2", status);
  return Execute(c, tr, stmt, dialect, in, out, true);
}

FAKE_EXPORT ISC_STATUS isc_dsql_execute(ISC_STATUS* status, isc_tr_handle* tr, isc_stmt_handle* stmt,
                                        unsigned short dialect, const XSQLDA* in) {
  Call c("isc_dsql_execute", status);
  return Execute(c, tr, stmt, dialect, in, nullptr, false);
}

FAKE_EXPORT ISC_STATUS isc_dsql_set_cursor_name(ISC_STATUS* status, isc_stmt_handle* stmt,
                                                const ISC_SCHAR* name, unsigned short type) {
  Call c("isc_dsql_set_cursor_name", status);
  std::string cursor = name ? name : "";
  c.Arg("stmt", HandleText(stmt));
  c.Arg("name", Quoted(cursor));
  c.Arg("type", Num(type));
  if (c.injected()) return c.Injected();
  StatementState* st = FindStatement(c.state(), stmt);
  if (!st) return c.Fail(Simple(kBadStmtHandle));
  if (st->has_cursor_name && st->cursor_name != cursor) {
    return c.Fail({isc_arg_gds, kDeclErr, isc_arg_gds, kCursorRedefined, isc_arg_string,
                   c.Text(st->cursor_name), isc_arg_end});
  }
  st->has_cursor_name = true;
  st->cursor_name = cursor;
  return c.Ok();
}

#ifndef FAKECLIENT_LACKING_FETCH
FAKE_EXPORT ISC_STATUS isc_dsql_fetch(ISC_STATUS* status, isc_stmt_handle* stmt,
                                      unsigned short da_version, const XSQLDA* da) {
  Call c("isc_dsql_fetch", status);
  c.Arg("stmt", HandleText(stmt));
  c.Arg("da_version", Num(da_version));
  c.Arg("sqld", da ? Num(da->sqld) : "null");
  if (c.injected()) return c.Injected();
  StatementState* st = FindStatement(c.state(), stmt);
  if (!st) return c.Fail(Simple(kBadStmtHandle));
  if (!st->cursor_open) return c.Fail(CursorNotOpen());
  if (st->at_end) return c.Fail(Simple(kReqSync));
  if (!da) return c.Fail({isc_arg_gds, kSqldaErr, isc_arg_gds, kNoOutputSqlda, isc_arg_end});
  if (da->version != SQLDA_VERSION1) return c.Fail(SqldaVersionError(da->version));
  const Statement* def = st->def;
  if (da->sqld != static_cast<long>(def->columns.size())) {
    return c.Fail(WrongCount(static_cast<long>(def->columns.size()), da->sqld));
  }
  if (st->next_row >= def->rows.size()) {
    st->at_end = true;
    return c.NoMoreRows();
  }
  std::string why;
  if (!WriteRow(da, def->columns, def->rows[st->next_row], &why)) {
    c.Note(why);
    return c.Fail(Simple(kSqldaValueErr));
  }
  ++st->next_row;
  c.Out("row", Num(static_cast<long long>(st->next_row)));
  return c.Ok();
}
#endif

FAKE_EXPORT ISC_STATUS isc_dsql_free_statement(ISC_STATUS* status, isc_stmt_handle* stmt,
                                               unsigned short option) {
  Call c("isc_dsql_free_statement", status);
  c.Arg("stmt", HandleText(stmt));
  c.Arg("option", Num(option));
  if (c.injected()) return c.Injected();
  State& s = c.state();
  StatementState* st = FindStatement(s, stmt);
  if (!st) return c.Fail(Simple(kBadStmtHandle));
  if (option & DSQL_drop) {
    s.statements.erase(*stmt);
    *stmt = 0;
  } else if (option & DSQL_unprepare) {
    st->cursor_open = false;
    st->at_end = false;
    st->prepared = false;
    st->def = nullptr;
  } else if (option & DSQL_close) {
    if (!st->cursor_open) return c.Fail(Simple(kCursorCloseErr));
    st->cursor_open = false;
    st->at_end = false;
  }
  c.Out("stmt", Num(*stmt));
  return c.Ok();
}

// ---- Values -------------------------------------------------------------------

FAKE_EXPORT ISC_LONG isc_vax_integer(const ISC_SCHAR* ptr, short length) {
  Call c("isc_vax_integer", nullptr, false);
  // As Firebird: lengths 1 to 4, the last byte signed; 0 for anything else.
  bool readable = ptr && length > 0 && length <= 4;
  c.Arg("bytes", Hex(ptr ? ptr : "", readable ? static_cast<size_t>(length) : 0));
  c.Arg("length", Num(length));
  ISC_LONG value = 0;
  if (readable) {
    const unsigned char* p = reinterpret_cast<const unsigned char*>(ptr);
    uint32_t v = 0;
    int shift = 0;
    for (short i = 0; i + 1 < length; ++i, shift += 8) v += static_cast<uint32_t>(p[i]) << shift;
    v += static_cast<uint32_t>(static_cast<int32_t>(static_cast<signed char>(p[length - 1]))) << shift;
    value = static_cast<ISC_LONG>(v);
  }
  c.Plain(Num(value));
  return value;
}

FAKE_EXPORT void isc_decode_date(const ISC_QUAD* date, void* times_arg) {
  Call c("isc_decode_date", nullptr, false);
  struct tm* times = static_cast<struct tm*>(times_arg);
  if (!date || !times) {
    c.Arg("date", "null");
    c.Plain("nothing");
    return;
  }
  ISC_TIMESTAMP ts;
  std::memcpy(&ts, date, sizeof ts);
  c.Arg("date", Num(ts.timestamp_date));
  c.Arg("time", Num(ts.timestamp_time));
  DecodeDateInto(ts.timestamp_date, times);
  DecodeTimeInto(ts.timestamp_time, times);
  c.Plain(DateText(*times) + " " + TimeText(*times));
}

FAKE_EXPORT void isc_decode_sql_date(const ISC_DATE* date, void* times_arg) {
  Call c("isc_decode_sql_date", nullptr, false);
  struct tm* times = static_cast<struct tm*>(times_arg);
  if (!date || !times) {
    c.Arg("date", "null");
    c.Plain("nothing");
    return;
  }
  c.Arg("date", Num(*date));
  DecodeDateInto(*date, times);
  c.Plain(DateText(*times));
}

FAKE_EXPORT void isc_decode_sql_time(const ISC_TIME* time, void* times_arg) {
  Call c("isc_decode_sql_time", nullptr, false);
  struct tm* times = static_cast<struct tm*>(times_arg);
  if (!time || !times) {
    c.Arg("time", "null");
    c.Plain("nothing");
    return;
  }
  c.Arg("time", Num(*time));
  std::memset(times, 0, sizeof *times);
  DecodeTimeInto(*time, times);
  c.Plain(TimeText(*times));
}

// ---- Blobs --------------------------------------------------------------------

FAKE_EXPORT ISC_STATUS isc_open_blob2(ISC_STATUS* status, isc_db_handle* db, isc_tr_handle* tr,
                                      isc_blob_handle* blob, ISC_QUAD* id, ISC_USHORT bpb_length,
                                      const ISC_UCHAR* bpb) {
  Call c("isc_open_blob2", status);
  c.Arg("db", HandleText(db));
  c.Arg("tr", HandleText(tr));
  c.Arg("blob", HandleText(blob));
  c.Arg("id", id ? Hex(id, sizeof *id) : "null");
  c.Arg("bpb_length", Num(bpb_length));
  c.Arg("bpb", Hex(bpb ? bpb : reinterpret_cast<const ISC_UCHAR*>(""), bpb ? bpb_length : 0));
  if (c.injected()) return c.Injected();
  State& s = c.state();
  if (!ValidDatabase(s, db)) return c.Fail(Simple(kBadDbHandle));
  if (!ValidTransaction(s, tr)) return c.Fail(Simple(kBadTransHandle));
  if (!blob || *blob) return c.Fail(Simple(kBadBlobHandle));
  if (!id) return c.Fail(Simple(kBadBlobId));
  std::string key(reinterpret_cast<const char*>(id), sizeof *id);
  BlobState b;
  b.transaction = *tr;
  if (key != std::string(8, '\0')) {
    for (const Blob& candidate : s.script.blobs) {
      if (candidate.id == key) b.def = &candidate;
    }
    if (!b.def) return c.Fail(Simple(kBadBlobId));
  }
  *blob = s.next_blob++;
  s.blobs[*blob] = b;
  c.Out("blob", Num(*blob));
  return c.Ok();
}

FAKE_EXPORT ISC_STATUS isc_blob_info(ISC_STATUS* status, isc_blob_handle* blob, short item_length,
                                     const ISC_SCHAR* items, short buffer_length, ISC_SCHAR* buffer) {
  Call c("isc_blob_info", status);
  c.Arg("blob", HandleText(blob));
  c.Arg("items", Hex(items ? items : "", items && item_length > 0 ? static_cast<size_t>(item_length) : 0));
  c.Arg("buffer_length", Num(buffer_length));
  if (c.injected()) return c.Injected();
  BlobState* b = FindBlob(c.state(), blob);
  if (!b) return c.Fail(Simple(kBadBlobHandle));
  const Blob* def = b->def;
  const int64_t total = def ? static_cast<int64_t>(def->content.size()) : 0;
  const int64_t segment = def ? def->segment_size : 0;
  const int64_t segments = total == 0 ? 0 : (total + segment - 1) / segment;
  const int64_t max = total < segment ? total : segment;
  std::string answer = EngineInfo(items, item_length, buffer_length, [&](unsigned char item, std::string* v) {
    switch (item) {
      case isc_info_blob_num_segments:
        *v = Le(def && def->has_info_segments ? def->info_segments : segments, 4);
        return true;
      case isc_info_blob_max_segment:
        *v = Le(def && def->has_info_max ? def->info_max : max, 4);
        return true;
      case isc_info_blob_total_length:
        *v = Le(def && def->has_info_total ? def->info_total : total, 4);
        return true;
      case isc_info_blob_type:
        *v = Le(def && def->has_info_type ? def->info_type : 0, 1);
        return true;
      default:
        return false;
    }
  });
  if (buffer) std::memcpy(buffer, answer.data(), answer.size());
  c.Out("answer", Hex(answer));
  return c.Ok();
}

FAKE_EXPORT ISC_STATUS isc_get_segment(ISC_STATUS* status, isc_blob_handle* blob,
                                       unsigned short* actual, unsigned short buffer_length,
                                       ISC_SCHAR* buffer) {
  Call c("isc_get_segment", status);
  c.Arg("blob", HandleText(blob));
  c.Arg("buffer_length", Num(buffer_length));
  if (c.injected()) return c.Injected();
  BlobState* b = FindBlob(c.state(), blob);
  if (!b) return c.Fail(Simple(kBadBlobHandle));
  const std::string empty;
  const std::string& content = b->def ? b->def->content : empty;
  if (b->position >= content.size()) {
    if (actual) *actual = 0;
    c.Out("actual", "0");
    return c.Fail(Simple(kSegstrEof));
  }
  if (b->segment_left == 0) {
    size_t left = content.size() - b->position;
    b->segment_left = left < b->def->segment_size ? left : b->def->segment_size;
  }
  size_t n = buffer_length < b->segment_left ? buffer_length : b->segment_left;
  if (n && buffer) std::memcpy(buffer, content.data() + b->position, n);
  b->position += n;
  b->segment_left -= n;
  if (actual) *actual = static_cast<unsigned short>(n);
  c.Out("actual", Num(static_cast<long long>(n)));
  if (b->segment_left > 0) return c.Fail(Simple(kSegment));
  return c.Ok();
}

FAKE_EXPORT ISC_STATUS isc_close_blob(ISC_STATUS* status, isc_blob_handle* blob) {
  Call c("isc_close_blob", status);
  c.Arg("blob", HandleText(blob));
  if (c.injected()) return c.Injected();
  State& s = c.state();
  if (!FindBlob(s, blob)) return c.Fail(Simple(kBadBlobHandle));
  s.blobs.erase(*blob);
  *blob = 0;
  c.Out("blob", "0");
  return c.Ok();
}

// ---- Errors -------------------------------------------------------------------

FAKE_EXPORT ISC_LONG isc_sqlcode(const ISC_STATUS* status) {
  Call c("isc_sqlcode", nullptr, false);
  c.Arg("vector", VectorText(status));
  State& s = c.state();
  ISC_LONG result = -999;
  if (status && s.last.active && s.last.has_sqlcode && Matches(status, s.last.vector)) {
    result = s.last.sqlcode;
  } else if (status) {
    // As Firebird: an isc_sqlerr entry gives its number; otherwise the first
    // code's SQL code, -999 when it has none.
    bool have = false;
    for (int i = 0; i < ISC_STATUS_LENGTH - 1 && status[i] != isc_arg_end;) {
      if (status[i] == isc_arg_gds) {
        if (status[i + 1] == kSqlErr) {
          // Firebird returns the entry two after the code, the number.
          result = i + 3 < ISC_STATUS_LENGTH ? static_cast<ISC_LONG>(status[i + 3]) : 0;
          break;
        }
        if (!have) {
          const Message* m = FindMessage(status[i + 1]);
          if (m) result = m->sqlcode;
          have = true;
        }
        i += 2;
      } else {
        i += status[i] == isc_arg_cstring ? 3 : 2;
      }
    }
  }
  c.Plain(Num(result));
  return result;
}

FAKE_EXPORT ISC_LONG isc_interprete(ISC_SCHAR* buffer, ISC_STATUS** vector) {
  Call c("isc_interprete", nullptr, false);
  const ISC_STATUS* p = vector ? *vector : nullptr;
  c.Arg("vector", VectorText(p));
  if (!buffer || !p) {
    c.Plain("0");
    return 0;
  }
  State& s = c.state();
  LastFailure& last = s.last;
  std::string text;
  const ISC_STATUS* next = p;
  bool have = false;
  if (last.active && !last.messages.empty()) {
    if (Matches(p, last.vector)) {
      // The first text of a scripted failure; the walk then stands at its end.
      text = last.messages[0];
      last.end = p + last.vector.size() - 1;
      last.next = 1;
      next = last.end;
      have = true;
    } else if (p == last.end && *p == isc_arg_end && last.next < last.messages.size()) {
      text = last.messages[last.next++];
      have = true;
    }
  }
  if (!have) {
    if (*p == isc_arg_end || !WalkMessage(p, &text, &next)) {
      c.Plain("0");
      return 0;
    }
  }
  std::memcpy(buffer, text.c_str(), text.size() + 1);
  *vector = const_cast<ISC_STATUS*>(next);
  c.Plain("length=" + Num(static_cast<long long>(text.size())) + " text=" + Quoted(text));
  return static_cast<ISC_LONG>(text.size());
}
