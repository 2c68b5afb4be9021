// Standard handles on Windows. Error numbers are the system's own
// (GetLastError), as the run-time reports them.
#include <windows.h>

#include "platform/platform.h"

namespace platform {

namespace {

constexpr int kInputUnavailable = 104;
// The device took fewer bytes than it was given.
constexpr int kShortWrite = 101;

bool Usable(HANDLE handle) { return handle != nullptr && handle != INVALID_HANDLE_VALUE; }

}  // namespace

OutputKind StandardOutputKind() {
  HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
  if (!Usable(output)) return OutputKind::kUnavailable;
  return GetFileType(output) == FILE_TYPE_CHAR ? OutputKind::kCharDevice : OutputKind::kOther;
}

int WriteStandardOutput(const char* data, size_t size) {
  HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
  DWORD written = 0;
  // A synchronous write takes every byte or fails; the console stream hands
  // over at most 128 bytes at a time.
  if (!WriteFile(output, data, static_cast<DWORD>(size), &written, nullptr)) {
    return static_cast<int>(GetLastError());
  }
  return written == size ? 0 : kShortWrite;
}

int ReadStandardInput(char* buffer, size_t capacity, size_t* got) {
  *got = 0;
  HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
  if (!Usable(input)) return kInputUnavailable;
  DWORD read = 0;
  if (!ReadFile(input, buffer, static_cast<DWORD>(capacity), &read, nullptr)) {
    DWORD error = GetLastError();
    // A pipe whose writer has gone is the end of input.
    return error == ERROR_BROKEN_PIPE ? 0 : static_cast<int>(error);
  }
  *got = read;
  return 0;
}

}  // namespace platform
