// Loading the client library and locating code on Windows.
#include <windows.h>
// windows.h makes LoadLibrary a macro for LoadLibraryA; here it is the
// platform's own function.
#undef LoadLibrary

#include <string>

#include "platform/module_path_win32.h"
#include "platform/platform.h"

namespace platform {

namespace {

std::string FileNameOf(const std::string& path) { return path.substr(DirectoryLength(path)); }

// The system's text for an error code, without the line break it ends with.
std::string SystemErrorText(DWORD code) {
  char text[1024];
  DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                nullptr, code, 0, text, sizeof text, nullptr);
  while (length > 0 && static_cast<unsigned char>(text[length - 1]) <= 32) --length;
  return std::string(text, length);
}

}  // namespace

const char* ClientLibraryFileName() { return "gds32.dll"; }

void* LoadLibrary(const char* file_name) { return ::LoadLibraryA(file_name); }

void* LibrarySymbol(void* library, const char* name) {
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), name));
}

bool MissingSymbolError(std::string* message) {
  DWORD code = GetLastError();
  *message = "Win32-Fehler. Code: " + std::to_string(code) + ".\n" + SystemErrorText(code);
  return true;
}

CodeLocation LocateCode(const void* address) {
  HMODULE module = nullptr;
  if (address &&
      GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                             GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                         static_cast<LPCSTR>(address), &module)) {
    auto offset = reinterpret_cast<uintptr_t>(address) - reinterpret_cast<uintptr_t>(module);
    return {FileNameOf(ModuleFileName(module)), static_cast<uint32_t>(offset)};
  }
  // An address in no module: the program's own name and the address itself.
  return {FileNameOf(ModuleFileName(nullptr)),
          static_cast<uint32_t>(reinterpret_cast<uintptr_t>(address))};
}

}  // namespace platform
