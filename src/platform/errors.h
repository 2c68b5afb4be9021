// The error types of the run-time layer, and the base all of qelt's errors share.
//
// Every failure travels as an exception derived from Error. It carries the
// type's name as the error report shows it ("EInOutError"), its message, and
// the address of the code that raised it, so the report can name the module
// and offset. Exactly one place, the run sequence, reports them; the statement
// run's absorbed region is the one place that drops them.
#ifndef QELT_PLATFORM_ERRORS_H_
#define QELT_PLATFORM_ERRORS_H_

#include <exception>
#include <string>

class Error : public std::exception {
 public:
  // Records the caller's code address as the place the error was raised.
  Error(const char* kind, std::string message);

  const char* kind() const { return kind_; }
  const std::string& message() const { return message_; }
  const void* raise_address() const { return raise_address_; }
  const char* what() const noexcept override { return message_.c_str(); }

 private:
  const char* kind_;
  std::string message_;
  const void* raise_address_;
};

// A console or file read or write error, by its run-time error number.
class EInOutError : public Error {
 public:
  explicit EInOutError(int error_number);
  int error_number() const { return error_number_; }

  // The German message for a run-time error number ("Datei nicht gefunden").
  static std::string MessageFor(int error_number);

 private:
  int error_number_;
};

// A file that can't be opened for reading.
class EFOpenError : public Error {
 public:
  explicit EFOpenError(std::string message) : Error("EFOpenError", std::move(message)) {}
};

// A file that can't be created.
class EFCreateError : public Error {
 public:
  explicit EFCreateError(std::string message) : Error("EFCreateError", std::move(message)) {}
};

// A stream write that failed ("Stream-Write-Fehler").
class EWriteError : public Error {
 public:
  explicit EWriteError(std::string message) : Error("EWriteError", std::move(message)) {}
};

// Memory exhausted ("Zu wenig Arbeitsspeicher").
class EOutOfMemory : public Error {
 public:
  EOutOfMemory() : Error("EOutOfMemory", "Zu wenig Arbeitsspeicher") {}
};

// A failed system call, by the system's error code.
class EWin32Error : public Error {
 public:
  explicit EWin32Error(std::string message) : Error("EWin32Error", std::move(message)) {}
};

// A dataset's own checks: duplicate or missing field names.
class EDatabaseError : public Error {
 public:
  explicit EDatabaseError(std::string message) : Error("EDatabaseError", std::move(message)) {}
};

#endif  // QELT_PLATFORM_ERRORS_H_
