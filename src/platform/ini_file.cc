#include "platform/ini_file.h"

#include <vector>

#include "platform/text_lines.h"

namespace {

// The Windows profile call's result buffer holds 2048 bytes, the NUL included.
constexpr size_t kMaxValueLength = 2047;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string TrimBlanks(const std::string& text) {
  size_t begin = 0;
  size_t end = text.size();
  while (begin < end && IsBlank(text[begin])) ++begin;
  while (end > begin && IsBlank(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameName(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  }
  return true;
}

std::string Unquote(const std::string& value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

std::string CutToMaxLength(const std::string& value) { return value.substr(0, kMaxValueLength); }

}  // namespace

std::string FindProfileString(const std::string& content, const std::string& section,
                              const std::string& key, const std::string& default_value) {
  bool in_section = false;
  for (const std::string& raw_line : SplitAtLineBreaks(content)) {
    const std::string line = TrimBlanks(raw_line);
    if (line.empty() || line[0] == ';') continue;
    if (line[0] == '[') {
      const size_t close = line.find(']');
      if (close == std::string::npos) continue;
      // The first section of the name ends here without the key; a later one
      // of the same name is not searched.
      if (in_section) break;
      in_section = SameName(TrimBlanks(line.substr(1, close - 1)), section);
      continue;
    }
    if (!in_section) continue;
    const size_t equals = line.find('=');
    if (equals == std::string::npos) continue;
    if (SameName(TrimBlanks(line.substr(0, equals)), key)) {
      return CutToMaxLength(Unquote(TrimBlanks(line.substr(equals + 1))));
    }
  }
  return CutToMaxLength(default_value);
}
