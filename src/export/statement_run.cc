#include "export/statement_run.h"

#include "db/query.h"
#include "platform/text_lines.h"
#include "export/result_file.h"
#include "platform/console.h"
#include "platform/errors.h"
#include "platform/platform.h"

namespace {

const std::string kRule(79, '-');

std::vector<std::string> LoadSqlFile(const std::string& name) {
  std::string content;
  if (!platform::ReadWholeFile(name, &content)) {
    throw EFOpenError("Datei " + name + " kann nicht geöffnet werden");
  }
  return SplitSqlLines(content);
}

// The first six bytes of the text, blanks and control bytes trimmed from the
// front and letters upper-cased, decide whether it is a query.
bool BeginsWithSelect(const std::string& text) {
  size_t start = 0;
  size_t end = text.size();
  while (start < end && static_cast<unsigned char>(text[start]) <= 32) ++start;
  while (end > start && static_cast<unsigned char>(text[end - 1]) <= 32) --end;
  std::string head = text.substr(start, std::min<size_t>(6, end - start));
  for (char& c : head) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return head == "SELECT";
}

// Fetches the remaining rows and exports them. Its failures end the run like
// every other error: a result that was not completely written must never be
// reported as a success.
void FetchAndExport(Query& query, const std::string& program_directory,
                    const FormatSettings& settings) {
  query.FetchAll();
  int rows = query.RowCount();
  if (rows <= 0) return;
  ConsoleLine("> Found SQL Result: " + std::to_string(rows) + " rows");
  ExportResult(query, rows, program_directory, settings);
}

}  // namespace

void RunStatement(Query& query, const std::string& sql_source, const FormatSettings& settings) {
  query.Close();
  query.ClearSql();

  if (platform::FindPlainFile(sql_source)) {
    ConsoleLine("> Loading SQL from File \"" + sql_source + "\"");
    query.SetSqlLines(LoadSqlFile(sql_source));
  } else {
    query.AddSqlLine(sql_source);
  }

  std::string text = query.SqlText();
  ConsoleLine("> Running SQL Command:");
  ConsoleLine(kRule);
  ConsoleLine(text);
  ConsoleLine(kRule);

  if (BeginsWithSelect(text)) {
    query.Open();
  } else {
    query.Execute();
  }

  std::string program_directory = platform::ProgramDirectory();
  FetchAndExport(query, program_directory, settings);
  ConsoleLine("> Ready.");
}
