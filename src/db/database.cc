#include "db/database.h"

#include "db/client_library.h"
#include "db/ib_errors.h"
#include "db/parameter_blocks.h"

namespace {

constexpr short kDialectInfoBufferSize = 512;

// One database's entry for isc_start_multiple, as the library reads it.
struct TransactionEntry {
  isc_db_handle* database;
  int tpb_length;
  const char* tpb;
};

}  // namespace

void Database::Open(const std::string& database_name, const std::string& user_name,
                    const std::string& password) {
  const ClientCalls& c = ClientLibrary();
  if (database_name.empty()) throw EIBClientError("Database name is missing");
  std::string dpb = ConnectionParameterBlock(user_name, password);

  ISC_STATUS_ARRAY status;
  c.attach_database(status, static_cast<short>(database_name.size()), database_name.data(),
                    &handle_, static_cast<short>(dpb.size()), dpb.data());
  CheckStatus(status);

  const char items[] = {isc_info_db_sql_dialect};
  char answer[kDialectInfoBufferSize] = {};
  c.database_info(status, &handle_, sizeof items, items, sizeof answer, answer);
  CheckStatus(status);
  unsigned short database_dialect = 1;
  if (answer[0] == isc_info_db_sql_dialect) {
    auto length = static_cast<short>(c.vax_integer(answer + 1, 2));
    database_dialect = static_cast<unsigned short>(c.vax_integer(answer + 3, length));
  }
  if (database_dialect < dialect_) dialect_ = database_dialect;
}

void Database::Detach() {
  ISC_STATUS_ARRAY status;
  ClientLibrary().detach_database(status, &handle_);
  CheckStatus(status);
  handle_ = 0;
}

void Transaction::Start(Database* database) {
  std::string tpb = TransactionParameterBlock();
  TransactionEntry teb = {database->handle(), static_cast<int>(tpb.size()), tpb.data()};
  ISC_STATUS_ARRAY status;
  ClientLibrary().start_multiple(status, &handle_, 1, &teb);
  CheckStatus(status);
}

void Transaction::Commit() {
  ISC_STATUS_ARRAY status;
  ClientLibrary().commit_transaction(status, &handle_);
  CheckStatus(status);
}

void Transaction::Rollback() {
  ISC_STATUS_ARRAY status;
  ClientLibrary().rollback_transaction(status, &handle_);
  CheckStatus(status);
}
