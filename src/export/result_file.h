// The export step: a query's rows written to the result file.
//
// ExportResult() looks up the result path (key "OutFile" of section
// "SELECT" in qelt.ini in the program directory, or qeltresult.txt there),
// writes "> Writing Result to: "{path}"", forms every row's line, looks the
// path up a second time and writes all lines, each followed by CR LF, to
// that path. The file is replaced only when every byte is out: until then an
// earlier result file stays as it was.
//
// Errors: whatever forming a line raises (a blob that can't be read),
// EFCreateError "Datei {path} kann nicht erstellt werden" when the file can't
// be created, EWriteError "Stream-Write-Fehler" when writing it fails.
#ifndef QELT_EXPORT_RESULT_FILE_H_
#define QELT_EXPORT_RESULT_FILE_H_

#include <string>
#include <vector>

class Query;
struct FormatSettings;

void ExportResult(Query& query, int rows, const std::string& program_directory,
                  const FormatSettings& settings);

// Replaces the file at `path` by the blocks of `content`, one after the
// other, the careful way.
void WriteResultFile(const std::string& path, const std::vector<std::string>& content);

#endif  // QELT_EXPORT_RESULT_FILE_H_
