// The line splitter on arbitrary bytes, as a SQL file's content and as any
// other text.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz_check.h"
#include "platform/text_lines.h"

namespace {

std::string WithoutLineBreaks(const std::string& text) {
  std::string result;
  for (char c : text) {
    if (c != '\r' && c != '\n') result += c;
  }
  return result;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text = InputText(data, size);
  const std::vector<std::string> lines = SplitAtLineBreaks(text);
  std::string joined;
  for (const std::string& line : lines) {
    Check(line.find_first_of("\r\n") == std::string::npos, "a line holds no break");
    joined += line;
  }
  Check(joined == WithoutLineBreaks(text), "every byte but the breaks is kept, in order");
  Check(lines.empty() == text.empty(), "only empty text gives no lines");
  Check(SplitAtLineBreaks(JoinSqlLines(lines)) == lines, "joined lines split back alike");

  const std::string content = text.substr(0, text.find('\0'));
  Check(SplitSqlLines(text) == SplitAtLineBreaks(content), "a NUL byte ends a file");
  return 0;
}
