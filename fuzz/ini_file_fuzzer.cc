// The INI reader on arbitrary text. The input is the section name, the key
// name and the default, each ended by a NUL byte, then the file's content
// (which may hold NUL bytes itself); missing parts are empty.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_check.h"
#include "platform/ini_file.h"

namespace {

constexpr size_t kMaxValueLength = 2047;

// The text up to the next NUL byte from *pos, moving *pos past that byte.
std::string NextPart(const std::string& input, size_t* pos) {
  const size_t end = std::min(input.find('\0', *pos), input.size());
  std::string part = input.substr(*pos, end - *pos);
  *pos = std::min(end + 1, input.size());
  return part;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string input = InputText(data, size);
  size_t pos = 0;
  const std::string section = NextPart(input, &pos);
  const std::string key = NextPart(input, &pos);
  const std::string default_value = NextPart(input, &pos);
  const std::string content = input.substr(pos);

  const std::string value = FindProfileString(content, section, key, default_value);
  Check(value.size() <= kMaxValueLength, "a value holds at most 2047 bytes");
  Check(value == default_value.substr(0, kMaxValueLength) ||
            content.find(value) != std::string::npos,
        "a value is the default or a piece of the file");
  Check(value.find_first_of("\r\n") == std::string::npos ||
            value == default_value.substr(0, kMaxValueLength),
        "a value from the file is within one line");
  return 0;
}
