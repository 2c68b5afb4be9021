#include "export/result_file.h"

#include "db/query.h"
#include "export/row_text.h"
#include "platform/console.h"
#include "platform/errors.h"
#include "platform/platform.h"

namespace {

// The content is held in blocks of about this size: it grows without being
// copied, and goes out one block per write.
constexpr size_t kBlockSize = size_t{1} << 20;

std::string ResultPath(const std::string& program_directory) {
  return platform::ReadProfileString(program_directory + "qelt.ini", "SELECT", "OutFile",
                                     program_directory + "qeltresult.txt");
}

}  // namespace

void ExportResult(Query& query, int rows, const std::string& program_directory,
                  const FormatSettings& settings) {
  ConsoleLine("> Writing Result to: \"" + ResultPath(program_directory) + "\"");

  RowFormatter formatter(settings);
  std::vector<std::string> content(1);
  content.back().reserve(kBlockSize + kBlockSize / 4);
  for (int i = 0; i < rows; ++i) {
    if (content.back().size() >= kBlockSize) {
      content.emplace_back();
      content.back().reserve(kBlockSize + kBlockSize / 4);
    }
    formatter.AppendRow(query, &content.back());
    content.back() += "\r\n";
    query.Next();
    // A row is visited once: its memory can go as soon as its line is formed.
    query.ReleaseRowsBeforeCurrent();
  }

  // The path is looked up again: this value is the one written to.
  WriteResultFile(ResultPath(program_directory), content);
}

void WriteResultFile(const std::string& path, const std::vector<std::string>& content) {
  platform::ReplacementFile file;
  if (!file.Create(path)) throw EFCreateError("Datei " + path + " kann nicht erstellt werden");
  for (const std::string& block : content) {
    if (!file.Write(block.data(), block.size())) throw EWriteError("Stream-Write-Fehler");
  }
  if (!file.Commit()) throw EWriteError("Stream-Write-Fehler");
}
