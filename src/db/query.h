// The run's query object: its SQL lines, preparing, opening a result set or
// executing a command, fetching every row into the record cache, stepping
// through the rows and closing.
//
// Order of calls in a run:
//   Close(); ClearSql(); AddSqlLine() or SetSqlLines();
//   Open() (prepares, binds the markers, opens the cursor and fetches row 1)
//     or Execute() (prepares, binds, executes without a cursor);
//   FetchAll(); RowCount(); then Next() through the rows;
//   Close() and ReleaseStatement() at the tear-down.
// The query never starts, commits or rolls back its transaction.
//
// Errors: EIBClientError for the query's own checks ("Empty SQL Statement",
// "Not permitted", "Unknown error", "use Open for a Select Statement",
// "XSQLDA index out of range", "SQL Parse Error: ..."), EDatabaseError for
// field names ("Eine Komponente mit der Bezeichnung {name} existiert bereits",
// "Feldname fehlt"), and the database error for every failed client call.
#ifndef QELT_DB_QUERY_H_
#define QELT_DB_QUERY_H_

#include <ibase.h>

#include <cstdint>
#include <string>
#include <vector>

#include "db/descriptor.h"
#include "db/fields.h"
#include "db/record_cache.h"

class Database;
class Transaction;

class Query {
 public:
  Query(Database* database, Transaction* transaction)
      : database_(database), transaction_(transaction) {}

  // Setting the lines closes the query, releases a prepared statement and
  // derives the parameter list from the new text.
  void ClearSql();
  void AddSqlLine(std::string line);
  void SetSqlLines(std::vector<std::string> lines);
  const std::vector<std::string>& sql() const { return sql_; }
  // Every line followed by CR LF.
  std::string SqlText() const;

  void Open();
  void Execute();
  void FetchAll();
  void Next();
  void Close();
  // Closes the query and releases the prepared statement: the transaction
  // it works in is ending. An invalid statement handle is not an error.
  void ReleaseStatement();

  // Gives back the memory of the rows before the current one, for a reader
  // that only moves forward; they can't be visited again.
  void ReleaseRowsBeforeCurrent() { cache_.ReleaseRowsBefore(current_); }

  int RowCount() const { return open_ ? static_cast<int>(cache_.row_count()) : 0; }
  bool IsOpen() const { return open_; }

  // The current row's fields and values.
  const std::vector<Field>& fields() const { return fields_; }
  bool IsNull(size_t field) const { return cache_.IsNull(current_, field); }
  uint64_t Slot(size_t field) const { return cache_.Slot(current_, field); }
  const RecordCache& cache() const { return cache_; }

  Database* database() const { return database_; }
  Transaction* transaction() const { return transaction_; }

 private:
  void SqlChanged();
  void Prepare();
  void MakeColumnDefinitions();
  void CreateFields();
  void BindMarkers();
  bool HasCursor() const;
  void OpenCursor();
  void AskRecordsAffected();
  // Fetches one row into the cache; false at the end of the rows.
  bool FetchRow(bool fetching_all);
  void CaptureRow();
  void FreeStatement(unsigned short option, ISC_STATUS* status);
  void CloseCursor(bool raise);

  Database* database_;
  Transaction* transaction_;

  std::vector<std::string> sql_;
  std::vector<std::string> parameters_;

  isc_stmt_handle statement_ = 0;
  int kind_ = 0;
  std::vector<std::string> marker_names_;
  std::string sent_text_;
  Descriptor inputs_;
  Descriptor outputs_;
  std::vector<Field> column_definitions_;

  bool open_ = false;
  bool cursor_open_ = false;
  bool cursor_at_end_ = false;
  std::vector<Field> fields_;
  RecordCache cache_;
  size_t current_ = 0;
  bool row_at_end_ = false;
};

#endif  // QELT_DB_QUERY_H_
