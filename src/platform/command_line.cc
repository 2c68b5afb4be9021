#include "platform/command_line.h"

#include <algorithm>

namespace {

// Longer arguments are cut, not refused: the argument positions stay as the
// user wrote them.
constexpr size_t kMaxArgumentLength = 4096;

bool IsSeparator(char c) {
  const unsigned char byte = static_cast<unsigned char>(c);
  return byte >= 1 && byte <= 32;
}

}  // namespace

std::vector<std::string> SplitCommandLine(const std::string& command_line) {
  const size_t end = std::min(command_line.find('\0'), command_line.size());
  std::vector<std::string> items;
  size_t i = 0;
  for (;;) {
    while (i < end) {
      if (IsSeparator(command_line[i])) {
        ++i;
      } else if (command_line[i] == '"' && i + 1 < end && command_line[i + 1] == '"') {
        i += 2;
      } else {
        break;
      }
    }
    if (i == end) break;

    std::string item;
    bool quoted = false;
    for (; i < end && (quoted || !IsSeparator(command_line[i])); ++i) {
      if (command_line[i] == '"') {
        quoted = !quoted;
      } else if (item.size() < kMaxArgumentLength) {
        item += command_line[i];
      }
    }
    items.push_back(item);
  }
  // The first item is the program's own name.
  if (!items.empty()) items.erase(items.begin());
  return items;
}

std::vector<std::string> ArgumentsFromArgv(int argc, char** argv) {
  std::vector<std::string> arguments;
  for (int i = 1; i < argc; ++i) {
    if (argv[i] == nullptr || argv[i][0] == '\0') continue;
    std::string argument(argv[i]);
    if (argument.size() > kMaxArgumentLength) argument.resize(kMaxArgumentLength);
    arguments.push_back(argument);
  }
  return arguments;
}
