// The command line on Windows: the process splits the one string it is given.
#include <windows.h>

#include "platform/command_line.h"
#include "platform/platform.h"

namespace platform {

namespace {

bool IsSeparator(wchar_t c) { return c >= 1 && c <= 32; }

// Where argument `position` stands in the command line, by the rules of
// SplitCommandLine; false when there is no such argument. SplitCommandLine
// gives the arguments' values, this gives the stretch of the line that holds
// one, quotes included.
bool FindArgument(const wchar_t* line, size_t position, size_t* begin, size_t* end) {
  size_t i = 0;
  // Item 0 is the program's own name.
  for (size_t item = 0;; ++item) {
    for (;;) {
      if (IsSeparator(line[i])) {
        ++i;
      } else if (line[i] == L'"' && line[i + 1] == L'"') {
        i += 2;
      } else {
        break;
      }
    }
    if (line[i] == L'\0') return false;
    *begin = i;
    bool quoted = false;
    for (; line[i] != L'\0' && (quoted || !IsSeparator(line[i])); ++i) {
      if (line[i] == L'"') quoted = !quoted;
    }
    *end = i;
    if (item == position + 1) return true;
  }
}

}  // namespace

std::vector<std::string> CommandLineArguments(int, char**) {
  return SplitCommandLine(GetCommandLineA());
}

// What a process list shows is the command line in the process's parameter
// block, and GetCommandLineW hands out that very buffer: blanking the
// argument there hides it from every tool that reads another process's
// command line. GetCommandLineA is only the run-time's ANSI copy, made at
// start-up, which no other process sees. The arguments are split already,
// so nothing the program holds changes.
void HideArgument(int, char**, size_t position) {
  size_t begin = 0;
  size_t end = 0;
  wchar_t* line = GetCommandLineW();
  if (!FindArgument(line, position, &begin, &end)) return;
  for (size_t i = begin; i < end; ++i) line[i] = L' ';
}

}  // namespace platform
