// qelt: runs one SQL statement against a Firebird/InterBase database inside
// one transaction and writes a query's rows to a text file.
#include "app/run.h"
#include "export/format_settings.h"
#include "platform/platform.h"

int main(int argc, char** argv) {
  std::vector<std::string> arguments = platform::CommandLineArguments(argc, argv);
  // The password is held from here on; the process list need not show it.
  constexpr size_t kPasswordPosition = 2;
  platform::HideArgument(argc, argv, kPasswordPosition);
  platform::InitLocale();
  const FormatSettings settings = ReadFormatSettings();
  return Run(arguments, settings);
}
