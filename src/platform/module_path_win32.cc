#include "platform/module_path_win32.h"

#include "platform/platform.h"

namespace platform {

std::string ModuleFileName(HMODULE module) {
  char path[MAX_PATH + 1];
  DWORD length = GetModuleFileNameA(module, path, MAX_PATH);
  return std::string(path, length);
}

size_t DirectoryLength(const std::string& path) {
  size_t length = 0;
  for (size_t i = 0; i < path.size(); ++i) {
    if (IsLeadByte(static_cast<unsigned char>(path[i])) && i + 1 < path.size()) {
      ++i;
    } else if (path[i] == '\\' || path[i] == ':') {
      length = i + 1;
    }
  }
  return length;
}

}  // namespace platform
