// The client library: its entry points in one table, and the one way their
// failures become errors.
//
// ClientLibrary() loads the library on first use (by its file name through
// the system's normal search, so LD_LIBRARY_PATH can put a test library in
// its place) and binds every entry point qelt calls. Loading fails with
// EIBClientError "InterBase library {file} not found in the path. ..." when
// the library can't be loaded. A required call that is missing fails with
// the system's error where it has one (Windows: EWin32Error "Win32-Fehler.
// Code: {code}." and its text), else with EIBClientError "... lacks the entry
// point {name} ...".
//
// Every call takes a status vector and returns its second entry: 0 success,
// above 0 a failure. CheckStatus() turns a failure into the database error:
// EIBInterBaseError (EIBInterBaseRoleError for SQL code -551) whose message is
// the library's texts for the vector, joined by CR LF, without a final ".".
#ifndef QELT_DB_CLIENT_LIBRARY_H_
#define QELT_DB_CLIENT_LIBRARY_H_

#include <ibase.h>

#include <string>

struct ClientCalls {
  decltype(&::isc_attach_database) attach_database;
  decltype(&::isc_database_info) database_info;
  decltype(&::isc_detach_database) detach_database;
  decltype(&::isc_start_multiple) start_multiple;
  decltype(&::isc_commit_transaction) commit_transaction;
  decltype(&::isc_rollback_transaction) rollback_transaction;
  decltype(&::isc_dsql_alloc_statement2) dsql_alloc_statement2;
  decltype(&::isc_dsql_prepare) dsql_prepare;
  decltype(&::isc_dsql_sql_info) dsql_sql_info;
  decltype(&::isc_dsql_describe_bind) dsql_describe_bind;
  decltype(&::isc_dsql_describe) dsql_describe;
  decltype(&::isc_dsql_execute2) dsql_execute2;
  decltype(&::isc_dsql_set_cursor_name) dsql_set_cursor_name;
  decltype(&::isc_dsql_execute) dsql_execute;
  decltype(&::isc_dsql_fetch) dsql_fetch;
  decltype(&::isc_dsql_free_statement) dsql_free_statement;
  decltype(&::isc_vax_integer) vax_integer;
  decltype(&::isc_decode_date) decode_date;
  // Null in a library older than version 6 (see DecodeSqlDate/Time).
  decltype(&::isc_decode_sql_date) decode_sql_date;
  decltype(&::isc_decode_sql_time) decode_sql_time;
  decltype(&::isc_open_blob2) open_blob2;
  decltype(&::isc_blob_info) blob_info;
  decltype(&::isc_get_segment) get_segment;
  decltype(&::isc_close_blob) close_blob;
  decltype(&::isc_sqlcode) sqlcode;
  ISC_LONG (*interprete)(ISC_SCHAR*, ISC_STATUS**);
};

// The loaded library's calls; loads it on the first call.
const ClientCalls& ClientLibrary();

// Raises the database error when `status` reports a failure.
void CheckStatus(const ISC_STATUS* status);

// Raises the database error for the failure `status` reports.
[[noreturn]] void RaiseDatabaseError(const ISC_STATUS* status);

// True when `status` holds the error code `code` anywhere in its chain.
bool StatusHolds(const ISC_STATUS* status, ISC_STATUS code);

// The database error's message for `status`: the library's texts, joined.
std::string DatabaseErrorText(const ISC_STATUS* status);

// The calendar decoding calls of version 6; EIBClientError "{name} is an
// InterBase 6 function. ..." with a library that lacks them.
void DecodeSqlDate(const ISC_DATE* date, struct tm* out);
void DecodeSqlTime(const ISC_TIME* time, struct tm* out);

#endif  // QELT_DB_CLIENT_LIBRARY_H_
