#include "app/run.h"

#include <new>
#include <stdexcept>

#include "app/error_report.h"
#include "db/connection.h"
#include "export/format_settings.h"
#include "export/statement_run.h"
#include "platform/console.h"
#include "platform/errors.h"

namespace {

constexpr char kAttribution[] = "qelt - one SQL statement, its rows as text";

struct Arguments {
  std::string DatabasePath;
  std::string UserName;
  std::string Password;
  std::string SqlSource;
};

bool ReadArguments(const std::vector<std::string>& given, Arguments* arguments) {
  if (given.size() < 4) return false;
  arguments->DatabasePath = given[0];
  arguments->UserName = given[1];
  arguments->Password = given[2];
  arguments->SqlSource = given[3];
  return true;
}

bool IsPauseSwitch(std::string argument) {
  for (char& c : argument) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return argument == "/PAUSE";
}

void RunSequence(const std::vector<std::string>& given, const FormatSettings& settings) {
  ConsoleLine("");
  ConsoleLine("QELT - Varnel");
  ConsoleLine(kAttribution);
  ConsoleLine("");

  Arguments arguments;
  if (ReadArguments(given, &arguments)) {
    ConsoleLine("* Parameter: \"" + arguments.DatabasePath + "\" \"" + arguments.UserName +
                "\" \"" + std::string(arguments.Password.size(), '*') + "\"");
    ConsoleLine("* SQL-Command: \"" + arguments.SqlSource + "\"");
    Connection& connection =
        OpenDatabase(arguments.DatabasePath, arguments.UserName, arguments.Password);
    RunStatement(connection.MainQuery, arguments.SqlSource, settings);
    CloseDatabase(connection);
  } else {
    ConsoleLine("Syntax:    QELT \"DatabasePath\" \"UserName\" \"Password\" \"SQL TEXT\"");
    ConsoleLine(
        "        or QELT \"DatabasePath\" \"UserName\" \"Password\" \"FullQualifiedFileName\"");
  }
  ConsoleLine("");

  if (given.size() >= 5 && IsPauseSwitch(given[4])) {
    ConsoleLine("press [ENTER] to close.");
    WaitForEnter();
  }
}

}  // namespace

int Run(const std::vector<std::string>& arguments, const FormatSettings& settings) {
  int status = 0;
  try {
    try {
      RunSequence(arguments, settings);
    } catch (const std::bad_alloc&) {
      throw EOutOfMemory();
    } catch (const std::length_error&) {
      // A size beyond what memory can hold, such as a blob's stated length.
      throw EOutOfMemory();
    }
  } catch (const Error& error) {
    ReportError(error);
    status = 1;
  }
  FlushConsoleAtExit();
  return status;
}
