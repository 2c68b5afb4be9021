// The statement run: SQL from a file or the argument, echoed, run as a query
// or a command, its rows fetched, counted and exported.
//
// RunStatement() is called once, between OpenDatabase() and CloseDatabase(),
// and returns after writing "> Ready.". If `sql_source` names a plain file
// (directory search, see platform::FindPlainFile) its lines are the SQL,
// otherwise the text itself is. A text that begins with SELECT (after blanks,
// in any letter case) is opened, every other one executed.
//
// Every failure is raised to the caller, which reports it: EFOpenError
// "Datei {name} kann nicht geöffnet werden" for a file that can't be read,
// the query's errors for preparing, opening and executing, and the errors of
// fetching the rows and exporting them. Nothing is ever dropped, so a run
// that did not write its whole result never ends as a success.
#ifndef QELT_EXPORT_STATEMENT_RUN_H_
#define QELT_EXPORT_STATEMENT_RUN_H_

#include <string>

class Query;
struct FormatSettings;

void RunStatement(Query& query, const std::string& sql_source, const FormatSettings& settings);

#endif  // QELT_EXPORT_STATEMENT_RUN_H_
