// The program's run: banner, arguments, connection, statement, tear-down,
// the optional wait for ENTER, and the exit status.
//
// Run() takes the arguments after the program's name as the command line
// gives them, and the format settings read at start-up, and returns the exit status: 0 after a completed run or the
// usage text, 1 after an error, which it reports in the one place errors are
// reported. It catches every error, so nothing escapes to the run-time.
#ifndef QELT_APP_RUN_H_
#define QELT_APP_RUN_H_

#include <string>
#include <vector>

struct FormatSettings;

int Run(const std::vector<std::string>& arguments, const FormatSettings& settings);

#endif  // QELT_APP_RUN_H_
