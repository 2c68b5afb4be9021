#include "db/client_library.h"

#include "db/ib_errors.h"
#include "platform/errors.h"
#include "platform/platform.h"

namespace {

constexpr ISC_LONG kNoPermissionSqlCode = -551;
constexpr size_t kMessageBufferSize = 20480;

void* Bind(void* library, const char* name) {
  void* entry = platform::LibrarySymbol(library, name);
  if (!entry) {
    std::string system_message;
    if (platform::MissingSymbolError(&system_message)) throw EWin32Error(system_message);
    throw EIBClientError(std::string("InterBase library ") + platform::ClientLibraryFileName() +
                         " lacks the entry point " + name +
                         ". Please install InterBase to use this functionality");
  }
  return entry;
}

template <typename Call>
void BindCall(void* library, const char* name, Call* call) {
  *call = reinterpret_cast<Call>(Bind(library, name));
}

ClientCalls Load() {
  void* library = platform::LoadLibrary(platform::ClientLibraryFileName());
  if (!library) {
    throw EIBClientError(std::string("InterBase library ") + platform::ClientLibraryFileName() +
                         " not found in the path. Please install InterBase to use this "
                         "functionality");
  }
  ClientCalls c{};
  BindCall(library, "isc_attach_database", &c.attach_database);
  BindCall(library, "isc_database_info", &c.database_info);
  BindCall(library, "isc_detach_database", &c.detach_database);
  BindCall(library, "isc_start_multiple", &c.start_multiple);
  BindCall(library, "isc_commit_transaction", &c.commit_transaction);
  BindCall(library, "isc_rollback_transaction", &c.rollback_transaction);
  BindCall(library, "isc_dsql_alloc_statement2", &c.dsql_alloc_statement2);
  BindCall(library, "isc_dsql_prepare", &c.dsql_prepare);
  BindCall(library, "isc_dsql_sql_info", &c.dsql_sql_info);
  BindCall(library, "isc_dsql_describe_bind", &c.dsql_describe_bind);
  BindCall(library, "isc_dsql_describe", &c.dsql_describe);
  BindCall(library, "isc_dsql_execute2", &c.dsql_execute2);
  BindCall(library, "isc_dsql_set_cursor_name", &c.dsql_set_cursor_name);
  BindCall(library, "isc_dsql_execute", &c.dsql_execute);
  BindCall(library, "isc_dsql_fetch", &c.dsql_fetch);
  BindCall(library, "isc_dsql_free_statement", &c.dsql_free_statement);
  BindCall(library, "isc_vax_integer", &c.vax_integer);
  BindCall(library, "isc_decode_date", &c.decode_date);
  BindCall(library, "isc_open_blob2", &c.open_blob2);
  BindCall(library, "isc_blob_info", &c.blob_info);
  BindCall(library, "isc_get_segment", &c.get_segment);
  BindCall(library, "isc_close_blob", &c.close_blob);
  BindCall(library, "isc_sqlcode", &c.sqlcode);
  BindCall(library, "isc_interprete", &c.interprete);
  // A library without isc_rollback_retaining predates version 6 and its
  // calendar calls; those are then refused when a value needs them.
  if (platform::LibrarySymbol(library, "isc_rollback_retaining")) {
    BindCall(library, "isc_decode_sql_date", &c.decode_sql_date);
    BindCall(library, "isc_decode_sql_time", &c.decode_sql_time);
  }
  return c;
}

[[noreturn]] void RaiseVersion6Missing(const char* name) {
  throw EIBClientError(std::string(name) +
                       " is an InterBase 6 function. Please upgrade to InterBase 6 to use "
                       "this functonality");
}

}  // namespace

const ClientCalls& ClientLibrary() {
  static const ClientCalls calls = Load();
  return calls;
}

std::string DatabaseErrorText(const ISC_STATUS* status) {
  const ClientCalls& c = ClientLibrary();
  std::string text;
  std::string piece(kMessageBufferSize, '\0');
  ISC_STATUS* vector = const_cast<ISC_STATUS*>(status);
  while (c.interprete(&piece[0], &vector) > 0) {
    if (!text.empty() && text.back() != '\n') text += "\r\n";
    text += piece.c_str();
  }
  if (!text.empty() && text.back() == '.') text.pop_back();
  return text;
}

void RaiseDatabaseError(const ISC_STATUS* status) {
  ISC_LONG sql_code = ClientLibrary().sqlcode(status);
  std::string message = DatabaseErrorText(status);
  if (sql_code == kNoPermissionSqlCode) {
    throw EIBInterBaseRoleError(std::move(message), sql_code, status[1]);
  }
  throw EIBInterBaseError(std::move(message), sql_code, status[1]);
}

bool StatusHolds(const ISC_STATUS* status, ISC_STATUS code) {
  // The vector is a chain of (kind, value...) entries ending with isc_arg_end.
  for (int i = 0; i < ISC_STATUS_LENGTH - 1 && status[i] != isc_arg_end;) {
    if (status[i] == isc_arg_gds && status[i + 1] == code) return true;
    i += status[i] == isc_arg_cstring ? 3 : 2;
  }
  return false;
}

void CheckStatus(const ISC_STATUS* status) {
  if (status[1] > 0) RaiseDatabaseError(status);
}

void DecodeSqlDate(const ISC_DATE* date, struct tm* out) {
  const ClientCalls& c = ClientLibrary();
  if (!c.decode_sql_date) RaiseVersion6Missing("isc_decode_sql_date");
  c.decode_sql_date(date, out);
}

void DecodeSqlTime(const ISC_TIME* time, struct tm* out) {
  const ClientCalls& c = ClientLibrary();
  if (!c.decode_sql_time) RaiseVersion6Missing("isc_decode_sql_time");
  c.decode_sql_time(time, out);
}
