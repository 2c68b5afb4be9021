// The run's connection set-up and tear-down.
//
// OpenDatabase() writes "> Init IBDatabase", loads the client library and
// attaches; writes "> Init Transaction" and starts the one transaction;
// writes "> Init SQL-Engine" and makes the query bound to both. The three
// objects live until the process ends; nothing ties a commit, rollback or
// detach to their destruction.
//
// CloseDatabase() closes the query, commits the still-active transaction
// (after releasing the prepared statement), and detaches. A failed commit is
// followed by a rollback and the detach, and is then raised, so a run whose
// work was not committed never ends as a success.
//
// Both raise the error of the failing step and catch nothing else.
#ifndef QELT_DB_CONNECTION_H_
#define QELT_DB_CONNECTION_H_

#include <string>

#include "db/database.h"
#include "db/query.h"

struct Connection {
  Database MainDatabase;
  Transaction MainTransaction;
  Query MainQuery{&MainDatabase, &MainTransaction};
};

Connection& OpenDatabase(const std::string& database_path, const std::string& user_name,
                         const std::string& password);

void CloseDatabase(Connection& connection);

#endif  // QELT_DB_CONNECTION_H_
