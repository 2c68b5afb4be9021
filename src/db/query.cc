#include "db/query.h"

#include <cctype>

#include "db/client_library.h"
#include "db/database.h"
#include "db/ib_errors.h"
#include "db/param_markers.h"
#include "platform/text_lines.h"
#include "platform/errors.h"

namespace {

constexpr ISC_STATUS kInvalidStatementHandle = 335544485;
constexpr ISC_STATUS kCursorCloseError = 335544577;
constexpr ISC_STATUS kCursorEndError = 335544572;
constexpr ISC_STATUS kLockConflict = 335544345;
constexpr ISC_STATUS kNoMoreRows = 100;

constexpr short kStatementTypeAnswerSize = 8;
constexpr short kRecordsAnswerSize = 1049;

// Statement kinds as the server reports them.
constexpr int kSelect = isc_info_sql_stmt_select;
constexpr int kExecProcedure = isc_info_sql_stmt_exec_procedure;
constexpr int kSelectForUpdate = isc_info_sql_stmt_select_for_upd;
constexpr int kLastKnownKind = isc_info_sql_stmt_set_generator;

bool IsBlankByte(char c) { return static_cast<unsigned char>(c) <= 32; }

bool IsBlankText(const std::string& text) {
  for (char c : text) {
    if (!IsBlankByte(c)) return false;
  }
  return true;
}

bool SameNameIgnoringCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (std::toupper(static_cast<unsigned char>(a[i])) !=
        std::toupper(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

// Cursor names are 8 decimal digits from a generator that is never seeded,
// so every run names its cursor alike.
std::string NextCursorName() {
  static uint32_t seed = 0;
  std::string name(8, '0');
  for (char& digit : name) {
    seed = seed * 134775813u + 1u;
    digit = static_cast<char>('0' + (static_cast<uint64_t>(seed) * 10u >> 32));
  }
  return name;
}

// Describes the statement's inputs or outputs into `descriptor`, with room
// for `room` variables at first and for as many as the server reports when
// that is more.
void Describe(decltype(&::isc_dsql_describe) describe, isc_stmt_handle* statement, int room,
              Descriptor* descriptor) {
  ISC_STATUS_ARRAY status;
  descriptor->Resize(room);
  describe(status, statement, SQLDA_VERSION1, descriptor->get());
  CheckStatus(status);
  if (descriptor->get()->sqld > descriptor->get()->sqln) {
    descriptor->Resize(descriptor->get()->sqld);
    describe(status, statement, SQLDA_VERSION1, descriptor->get());
    CheckStatus(status);
  }
  descriptor->AllocateBuffers();
}

}  // namespace

// ---- SQL lines ----

void Query::ClearSql() {
  sql_.clear();
  SqlChanged();
}

void Query::AddSqlLine(std::string line) {
  sql_.push_back(std::move(line));
  SqlChanged();
}

void Query::SetSqlLines(std::vector<std::string> lines) {
  sql_ = std::move(lines);
  SqlChanged();
}

std::string Query::SqlText() const { return JoinSqlLines(sql_); }

void Query::SqlChanged() {
  Close();
  if (statement_ != 0) ReleaseStatement();
  parameters_ = DeriveParameterList(SqlText());
}

// ---- Preparing ----

void Query::FreeStatement(unsigned short option, ISC_STATUS* status) {
  ClientLibrary().dsql_free_statement(status, &statement_, option);
}

void Query::Prepare() {
  const ClientCalls& c = ClientLibrary();
  std::string text = SqlText();
  if (IsBlankText(text)) throw EIBClientError("Empty SQL Statement");
  MarkerScan scan = ScanMarkers(text);

  ISC_STATUS_ARRAY status;
  c.dsql_alloc_statement2(status, database_->handle(), &statement_);
  CheckStatus(status);
  try {
    c.dsql_prepare(status, transaction_->handle(), &statement_, 0, scan.sent_text.c_str(),
                   database_->dialect(), nullptr);
    CheckStatus(status);

    const char items[] = {isc_info_sql_stmt_type};
    char answer[kStatementTypeAnswerSize] = {};
    c.dsql_sql_info(status, &statement_, sizeof items, items, sizeof answer, answer);
    CheckStatus(status);
    if (answer[0] != isc_info_sql_stmt_type) throw EIBClientError("Unknown error");
    auto length = static_cast<short>(c.vax_integer(answer + 1, 2));
    kind_ = static_cast<int>(c.vax_integer(answer + 3, length));

    if (kind_ == isc_info_sql_stmt_get_segment || kind_ == isc_info_sql_stmt_put_segment ||
        kind_ == isc_info_sql_stmt_start_trans) {
      throw EIBClientError("Not permitted");
    }
    if (kind_ > 0 && kind_ <= kLastKnownKind) {
      if (!scan.marker_names.empty()) {
        Describe(c.dsql_describe_bind, &statement_, static_cast<int>(scan.marker_names.size()),
                 &inputs_);
      }
      if (kind_ == kSelect || kind_ == kExecProcedure || kind_ == kSelectForUpdate) {
        Describe(c.dsql_describe, &statement_, 1, &outputs_);
      }
    }
  } catch (...) {
    ISC_STATUS_ARRAY ignored;
    FreeStatement(DSQL_drop, ignored);
    statement_ = 0;
    inputs_.Clear();
    outputs_.Clear();
    throw;
  }
  marker_names_ = std::move(scan.marker_names);
  sent_text_ = std::move(scan.sent_text);
  MakeColumnDefinitions();
}

void Query::MakeColumnDefinitions() {
  column_definitions_.clear();
  for (int i = 0; i < outputs_.count(); ++i) {
    Field field;
    if (!FieldForColumn(outputs_[i], i, &field)) continue;
    for (const Field& earlier : column_definitions_) {
      if (SameNameIgnoringCase(earlier.name, field.name)) {
        throw EDatabaseError("Eine Komponente mit der Bezeichnung " + field.name +
                             " existiert bereits");
      }
    }
    column_definitions_.push_back(std::move(field));
  }
}

void Query::CreateFields() {
  for (const Field& definition : column_definitions_) {
    if (definition.name.empty()) throw EDatabaseError("Feldname fehlt");
  }
  fields_ = column_definitions_;
}

// Every marker the parameter list names is set to NULL: by position, and
// every other nullable marker written with the same name.
void Query::BindMarkers() {
  for (size_t i = 0; i < parameters_.size(); ++i) {
    if (i >= marker_names_.size() || static_cast<int>(i) >= inputs_.count()) {
      throw EIBClientError("XSQLDA index out of range");
    }
    XSQLVAR& marker = inputs_[static_cast<int>(i)];
    marker.sqltype = static_cast<ISC_SHORT>(marker.sqltype | 1);
    *marker.sqlind = -1;
    for (size_t j = 0; j < marker_names_.size() && static_cast<int>(j) < inputs_.count(); ++j) {
      XSQLVAR& other = inputs_[static_cast<int>(j)];
      if (j != i && marker_names_[j] == marker_names_[i] && (other.sqltype & 1)) {
        *other.sqlind = -1;
      }
    }
  }
}

// ---- Opening and executing ----

bool Query::HasCursor() const { return kind_ == kSelect || kind_ == kSelectForUpdate; }

void Query::Open() {
  if (statement_ == 0) Prepare();
  BindMarkers();
  CreateFields();
  if (HasCursor()) {
    OpenCursor();
  } else {
    ISC_STATUS_ARRAY status;
    ClientLibrary().dsql_execute(status, transaction_->handle(), &statement_, SQLDA_VERSION1,
                                 inputs_.get());
    CheckStatus(status);
  }
  AskRecordsAffected();
  cache_.Reset(fields_.size());
  current_ = 0;
  row_at_end_ = false;
  // From here the query is open, also when row 1 can't be fetched.
  open_ = true;
  if (cursor_open_) FetchRow(false);
}

void Query::OpenCursor() {
  const ClientCalls& c = ClientLibrary();
  ISC_STATUS_ARRAY status;
  c.dsql_execute2(status, transaction_->handle(), &statement_, SQLDA_VERSION1, inputs_.get(),
                  nullptr);
  CheckStatus(status);
  std::string name = NextCursorName();
  c.dsql_set_cursor_name(status, &statement_, name.c_str(), 0);
  CheckStatus(status);
  cursor_open_ = true;
  cursor_at_end_ = false;
}

void Query::AskRecordsAffected() {
  ISC_STATUS_ARRAY status;
  const char items[] = {isc_info_sql_records};
  char answer[kRecordsAnswerSize];
  ClientLibrary().dsql_sql_info(status, &statement_, sizeof items, items, sizeof answer, answer);
  CheckStatus(status);
}

void Query::Execute() {
  const ClientCalls& c = ClientLibrary();
  if (sql_.empty()) throw EIBClientError("Empty SQL Statement");
  if (statement_ == 0) Prepare();
  if (!parameters_.empty()) BindMarkers();
  if (kind_ == kSelect) throw EIBClientError("use Open for a Select Statement");
  ISC_STATUS_ARRAY status;
  if (kind_ == kExecProcedure) {
    c.dsql_execute2(status, transaction_->handle(), &statement_, SQLDA_VERSION1, inputs_.get(),
                    outputs_.get());
    if (status[1] > 0 && !StatusHolds(status, kLockConflict)) {
      // One more attempt, prepared afresh on the same handle; the second
      // execute's failure is the one reported.
      ISC_STATUS_ARRAY ignored;
      c.dsql_prepare(ignored, transaction_->handle(), &statement_, 0, sent_text_.c_str(),
                     database_->dialect(), nullptr);
      c.dsql_execute2(status, transaction_->handle(), &statement_, SQLDA_VERSION1,
                      inputs_.get(), outputs_.get());
    }
  } else {
    c.dsql_execute(status, transaction_->handle(), &statement_, SQLDA_VERSION1, inputs_.get());
  }
  CheckStatus(status);
}

// ---- Fetching ----

bool Query::FetchRow(bool fetching_all) {
  ISC_STATUS_ARRAY status;
  ISC_STATUS answer =
      ClientLibrary().dsql_fetch(status, &statement_, SQLDA_VERSION1, outputs_.get());
  if (answer == kNoMoreRows || (fetching_all && StatusHolds(status, kCursorEndError))) {
    cursor_at_end_ = true;
    return false;
  }
  if (status[1] > 0) {
    // While fetching all, the server's cursor is closed before the failure
    // is raised; the close's own failure would only hide the fetch's.
    if (fetching_all) CloseCursor(false);
    RaiseDatabaseError(status);
  }
  CaptureRow();
  return true;
}

void Query::CaptureRow() {
  uint8_t* nulls;
  uint64_t* slots = cache_.BeginRow(&nulls);
  const unsigned dialect = database_->dialect();
  for (size_t i = 0; i < fields_.size(); ++i) {
    const Field& field = fields_[i];
    CaptureValue(field, outputs_[field.column], dialect, &cache_, &slots[i], &nulls[i]);
  }
  cache_.CommitRow();
}

void Query::FetchAll() {
  if (!cursor_open_ || cursor_at_end_) return;
  size_t remembered = current_;
  while (FetchRow(true)) {
  }
  current_ = remembered;
}

void Query::Next() {
  if (row_at_end_) return;
  if (current_ + 1 < cache_.row_count()) {
    ++current_;
  } else if (cursor_at_end_ || !cursor_open_ || !FetchRow(true)) {
    row_at_end_ = true;
  } else {
    current_ = cache_.row_count() - 1;
  }
}

// ---- Closing ----

void Query::CloseCursor(bool raise) {
  if (!cursor_open_) return;
  cursor_open_ = false;
  cursor_at_end_ = false;
  ISC_STATUS_ARRAY status;
  FreeStatement(DSQL_close, status);
  if (raise && status[1] > 0 && !StatusHolds(status, kInvalidStatementHandle) &&
      !StatusHolds(status, kCursorCloseError)) {
    RaiseDatabaseError(status);
  }
}

void Query::Close() {
  if (!open_) return;
  open_ = false;
  cache_.Reset(0);
  fields_.clear();
  current_ = 0;
  row_at_end_ = false;
  CloseCursor(true);
}

void Query::ReleaseStatement() {
  Close();
  if (statement_ == 0) return;
  ISC_STATUS_ARRAY status;
  FreeStatement(DSQL_drop, status);
  statement_ = 0;
  inputs_.Clear();
  outputs_.Clear();
  column_definitions_.clear();
  if (status[1] > 0 && !StatusHolds(status, kInvalidStatementHandle)) RaiseDatabaseError(status);
}
