// launcher.exe PROGRAM FILE: runs PROGRAM with the command line that FILE
// holds, byte for byte, on the launcher's own standard handles, and ends
// with the program's exit status (255 when it can't be started).
//
// Wine turns its Unix arguments into a Windows command line by quoting them
// as it sees fit; the tests need the very line a user types, unequal quotes
// and all. PROGRAM and FILE are plain paths without blanks or quotes.
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

int main(int argc, char** argv) {
  constexpr int kNotStarted = 255;
  if (argc != 3) {
    std::fprintf(stderr, "usage: launcher PROGRAM COMMAND-LINE-FILE\n");
    return kNotStarted;
  }
  std::ifstream in(argv[2], std::ios::binary);
  std::string line((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (!in.good() && !in.eof()) return kNotStarted;

  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
  startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  for (HANDLE handle : {startup.hStdInput, startup.hStdOutput, startup.hStdError}) {
    SetHandleInformation(handle, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
  }
  PROCESS_INFORMATION process = {};
  if (!CreateProcessA(argv[1], &line[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                      &process)) {
    std::fprintf(stderr, "launcher: can't start %s: error %lu\n", argv[1], GetLastError());
    return kNotStarted;
  }
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD status = kNotStarted;
  GetExitCodeProcess(process.hProcess, &status);
  return static_cast<int>(status);
}
