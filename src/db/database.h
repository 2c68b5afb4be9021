// The run's database connection and its transaction.
//
// Database: Open() attaches with the connection parameter block and reads
// the database's SQL dialect; the connection's dialect is 3, lowered to the
// database's when that is lower. Detach() ends the attachment.
// Transaction: Start() starts the one transaction on a database with the
// fixed transaction parameter block; Commit() is a full commit; Rollback().
//
// Every failed client call raises the database error (client_library.h) and
// leaves the handle as the library left it; nothing is undone on the way out.
#ifndef QELT_DB_DATABASE_H_
#define QELT_DB_DATABASE_H_

#include <ibase.h>

#include <string>

class Database {
 public:
  // EIBClientError "Database name is missing" for an empty name, without any
  // client call.
  void Open(const std::string& database_name, const std::string& user_name,
            const std::string& password);
  void Detach();

  isc_db_handle* handle() { return &handle_; }
  unsigned short dialect() const { return dialect_; }

 private:
  isc_db_handle handle_ = 0;
  unsigned short dialect_ = 3;
};

class Transaction {
 public:
  void Start(Database* database);
  void Commit();
  void Rollback();

  bool active() const { return handle_ != 0; }
  // Forgets the handle: the transaction has ended whatever the server said.
  void MarkEnded() { handle_ = 0; }
  isc_tr_handle* handle() { return &handle_; }

 private:
  isc_tr_handle handle_ = 0;
};

#endif  // QELT_DB_DATABASE_H_
