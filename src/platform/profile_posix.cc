#include "platform/ini_file.h"
#include "platform/platform.h"

namespace platform {

std::string ReadProfileString(const std::string& file, const std::string& section,
                              const std::string& key,
                              const std::string& default_value) {
  std::string content;
  // A file that can't be read is a missing file: every lookup gives the default.
  if (!ReadWholeFile(file, &content)) content.clear();
  return FindProfileString(content, section, key, default_value);
}

}  // namespace platform
