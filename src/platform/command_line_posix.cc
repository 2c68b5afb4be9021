// The command line on POSIX: the shell has split it already.
#include "platform/command_line.h"
#include "platform/platform.h"

namespace platform {

std::vector<std::string> CommandLineArguments(int argc, char** argv) {
  return ArgumentsFromArgv(argc, argv);
}

void HideArgument(int argc, char** argv, size_t position) {
  // The kernel shows the process's own argument memory; blanking the bytes
  // there hides them. Empty elements are no arguments, as when splitting.
  size_t seen = 0;
  for (int i = 1; i < argc; ++i) {
    if (argv[i] == nullptr || argv[i][0] == '\0') continue;
    if (seen++ == position) {
      for (char* c = argv[i]; *c; ++c) *c = ' ';
      return;
    }
  }
}

}  // namespace platform
