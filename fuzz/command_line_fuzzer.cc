// The command-line splitter on arbitrary bytes, as one Windows command line
// and as the elements of a POSIX argv.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz_check.h"
#include "platform/command_line.h"

namespace {

constexpr size_t kMaxArgumentLength = 4096;

bool IsSeparator(char c) {
  const unsigned char byte = static_cast<unsigned char>(c);
  return byte >= 1 && byte <= 32;
}

// Without double quotes the split is a plain split at separator runs, which
// is simple enough to state here and compare with.
std::vector<std::string> SplitWithoutQuotes(const std::string& line) {
  std::vector<std::string> items;
  std::string item;
  bool in_item = false;
  for (char c : line.substr(0, line.find('\0'))) {
    if (IsSeparator(c)) {
      if (in_item) items.push_back(item);
      item.clear();
      in_item = false;
    } else {
      in_item = true;
      if (item.size() < kMaxArgumentLength) item += c;
    }
  }
  if (in_item) items.push_back(item);
  if (!items.empty()) items.erase(items.begin());
  return items;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string line = InputText(data, size);
  const std::vector<std::string> arguments = SplitCommandLine(line);
  for (const std::string& argument : arguments) {
    Check(argument.size() <= kMaxArgumentLength, "an argument holds at most 4096 bytes");
    Check(argument.find('\0') == std::string::npos, "the line ends at a NUL byte");
  }
  if (line.find('"') == std::string::npos) {
    Check(arguments == SplitWithoutQuotes(line), "unquoted arguments split at separators");
  }

  // The same bytes as argv: each NUL ends an element, the string's own
  // terminator the last one; the first element is the program's name.
  std::string elements = line;
  std::vector<char*> argv{&elements[0]};
  for (size_t i = 0; i < elements.size(); ++i) {
    if (elements[i] == '\0') argv.push_back(&elements[i + 1]);
  }
  const int argc = static_cast<int>(argv.size());
  argv.push_back(nullptr);
  std::vector<std::string> expected;
  for (int i = 1; i < argc; ++i) {
    std::string element(argv[i]);
    if (!element.empty()) expected.push_back(element.substr(0, kMaxArgumentLength));
  }
  Check(ArgumentsFromArgv(argc, argv.data()) == expected,
        "argv keeps its non-empty elements, each cut to 4096 bytes");
  return 0;
}
