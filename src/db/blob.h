// Reading a blob's whole content.
//
// AppendBlobContent() opens the blob by its identifier, asks for its total
// length, reads it in segments of at most 16384 bytes straight into *out and
// closes it. A failure of the length query or of a segment read closes the
// blob (that close's own failure ignored) and raises the database error; a
// failure of the open, or of the close after a complete read, raises it
// directly. The caller skips the all-zero identifier of a missing blob.
#ifndef QELT_DB_BLOB_H_
#define QELT_DB_BLOB_H_

#include <ibase.h>

#include <string>

class Database;
class Transaction;

void AppendBlobContent(Database* database, Transaction* transaction, ISC_QUAD id,
                       std::string* out);

#endif  // QELT_DB_BLOB_H_
