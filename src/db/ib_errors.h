// The errors of the database layer.
//
// EIBClientError is raised by the layer's own checks, with fixed English
// messages ("Empty SQL Statement"). EIBInterBaseError carries a failure that
// the client library reported: its message is built from the library's texts
// for the status vector (see client_library.h, CheckStatus), together with the
// SQL code and the status vector's error code. SQL code -551 (no permission)
// is raised as EIBInterBaseRoleError.
#ifndef QELT_DB_IB_ERRORS_H_
#define QELT_DB_IB_ERRORS_H_

#include <cstdint>
#include <string>

#include "platform/errors.h"

class EIBClientError : public Error {
 public:
  explicit EIBClientError(std::string message)
      : Error("EIBClientError", std::move(message)) {}
};

class EIBInterBaseError : public Error {
 public:
  EIBInterBaseError(std::string message, long sql_code, intptr_t error_code)
      : EIBInterBaseError("EIBInterBaseError", std::move(message), sql_code, error_code) {}

  long sql_code() const { return sql_code_; }
  intptr_t error_code() const { return error_code_; }

 protected:
  EIBInterBaseError(const char* kind, std::string message, long sql_code,
                    intptr_t error_code)
      : Error(kind, std::move(message)), sql_code_(sql_code), error_code_(error_code) {}

 private:
  long sql_code_;
  intptr_t error_code_;
};

class EIBInterBaseRoleError : public EIBInterBaseError {
 public:
  EIBInterBaseRoleError(std::string message, long sql_code, intptr_t error_code)
      : EIBInterBaseError("EIBInterBaseRoleError", std::move(message), sql_code,
                          error_code) {}
};

#endif  // QELT_DB_IB_ERRORS_H_
