// Real Firebird databases for the end-to-end tests, made and read with the
// engine's own console tool in embedded mode (a local path, no server).
#ifndef QELT_TESTS_SUPPORT_FIREBIRD_H_
#define QELT_TESTS_SUPPORT_FIREBIRD_H_

#include <string>

// Creates the database `path` with the given SQL dialect and runs `script`
// (statements ending with ";") in it, then commits. Throws on failure.
void CreateDatabase(const std::string& path, const std::string& script, int dialect = 3);

// Runs `sql` in the database and returns what the tool printed.
std::string Isql(const std::string& path, const std::string& sql);

// The single value a one-row, one-column query gives, trimmed.
std::string QueryValue(const std::string& path, const std::string& sql);

#endif  // QELT_TESTS_SUPPORT_FIREBIRD_H_
