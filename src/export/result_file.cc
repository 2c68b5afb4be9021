#include "export/result_file.h"

#include "db/query.h"
#include "export/row_text.h"
#include "platform/console.h"
#include "platform/errors.h"
#include "platform/platform.h"

namespace {

std::string ResultPath(const std::string& program_directory) {
  return platform::ReadProfileString(program_directory + "qelt.ini", "SELECT", "OutFile",
                                     program_directory + "qeltresult.txt");
}

}  // namespace

void ExportResult(Query& query, int rows, const std::string& program_directory,
                  const FormatSettings& settings) {
  ConsoleLine("> Writing Result to: \"" + ResultPath(program_directory) + "\"");

  RowFormatter formatter(settings);
  std::string content;
  for (int i = 0; i < rows; ++i) {
    formatter.AppendRow(query, &content);
    content += "\r\n";
    query.Next();
  }

  // The path is looked up again: this value is the one written to.
  WriteResultFile(ResultPath(program_directory), content);
}

void WriteResultFile(const std::string& path, const std::string& content) {
  platform::ReplacementFile file;
  if (!file.Create(path)) throw EFCreateError("Datei " + path + " kann nicht erstellt werden");
  if (!file.Write(content.data(), content.size()) || !file.Commit()) {
    throw EWriteError("Stream-Write-Fehler");
  }
}
