// The fixed parameter blocks qelt sends: the connection's (user name and
// password, nothing else) and the transaction's (read committed, record
// version, no wait).
#ifndef QELT_DB_PARAMETER_BLOCKS_H_
#define QELT_DB_PARAMETER_BLOCKS_H_

#include <string>

// The connection parameter block: version, user name, password. Each value
// has a one-byte length, so a value over 255 bytes raises EIBClientError
// instead of sending a corrupted block.
std::string ConnectionParameterBlock(const std::string& user_name,
                                     const std::string& password);

// The four bytes 3 15 17 7.
std::string TransactionParameterBlock();

#endif  // QELT_DB_PARAMETER_BLOCKS_H_
