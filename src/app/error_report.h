// The error report: the one form in which an error that nothing absorbs
// reaches the user.
//
//   Exception {kind} in Modul {module} bei {offset}.<LF>{message}{period}
//
// {offset} is 8 upper-case hex digits; {period} is "." unless the message is
// empty or already ends with one. The text is cut after 1023 characters and
// written as one console line, whose own failure is not reported again.
#ifndef QELT_APP_ERROR_REPORT_H_
#define QELT_APP_ERROR_REPORT_H_

#include <cstdint>
#include <string>

class Error;

std::string ErrorReportText(const std::string& kind, const std::string& module, uint32_t offset,
                            const std::string& message);

// Writes the report for `error` to the console.
void ReportError(const Error& error);

#endif  // QELT_APP_ERROR_REPORT_H_
