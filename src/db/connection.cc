#include "db/connection.h"

#include <exception>

#include "db/client_library.h"
#include "platform/console.h"
#include "platform/errors.h"

Connection& OpenDatabase(const std::string& database_path, const std::string& user_name,
                         const std::string& password) {
  ConsoleLine("> Init IBDatabase");
  ClientLibrary();
  // Created once and never destroyed: the process's end is what ends them.
  static Connection* connection = new Connection;
  connection->MainDatabase.Open(database_path, user_name, password);

  ConsoleLine("> Init Transaction");
  connection->MainTransaction.Start(&connection->MainDatabase);

  ConsoleLine("> Init SQL-Engine");
  return *connection;
}

void CloseDatabase(Connection& connection) {
  connection.MainQuery.Close();

  std::exception_ptr commit_failure;
  if (connection.MainTransaction.active()) {
    connection.MainQuery.ReleaseStatement();
    try {
      connection.MainTransaction.Commit();
    } catch (const Error&) {
      commit_failure = std::current_exception();
      try {
        connection.MainTransaction.Rollback();
      } catch (const Error&) {
        // The commit's failure is the one to report.
      }
    }
    connection.MainTransaction.MarkEnded();
  }
  connection.MainDatabase.Detach();
  if (commit_failure) std::rethrow_exception(commit_failure);
}
