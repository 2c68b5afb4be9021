// File names of loaded modules on Windows, for the program directory and the
// error report (Windows only).
//
// Paths are bytes in the ANSI code page. The last separator (a backslash or a
// colon) is searched character by character, so the second byte of a
// double-byte character, which may be a backslash's byte, never counts.
#ifndef QELT_PLATFORM_MODULE_PATH_WIN32_H_
#define QELT_PLATFORM_MODULE_PATH_WIN32_H_

#include <windows.h>

#include <string>

namespace platform {

// The full path of the module `module` (null: the program itself), at most
// MAX_PATH bytes; empty when the system can't tell.
std::string ModuleFileName(HMODULE module);

// The length of `path` up to and including its last backslash or colon; 0
// when it holds neither.
size_t DirectoryLength(const std::string& path);

}  // namespace platform

#endif  // QELT_PLATFORM_MODULE_PATH_WIN32_H_
