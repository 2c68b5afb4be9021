#include <windows.h>

#include "platform/platform.h"

namespace platform {

std::string ReadProfileString(const std::string& file, const std::string& section,
                              const std::string& key,
                              const std::string& default_value) {
  char value[2048];
  DWORD length = GetPrivateProfileStringA(section.c_str(), key.c_str(), default_value.c_str(),
                                          value, sizeof value, file.c_str());
  return std::string(value, length);
}

}  // namespace platform
