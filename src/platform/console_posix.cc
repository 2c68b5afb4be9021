// Standard handles on POSIX.
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

#include "platform/error_number_posix.h"
#include "platform/platform.h"

namespace platform {

namespace {

constexpr int kInputUnavailable = 104;

// A closed pipe must become a write error, not a silent death by SIGPIPE.
struct IgnoreSigpipe {
  IgnoreSigpipe() { std::signal(SIGPIPE, SIG_IGN); }
};

}  // namespace

OutputKind StandardOutputKind() {
  static IgnoreSigpipe ignore_sigpipe;
  struct stat st;
  if (fstat(STDOUT_FILENO, &st) != 0) return OutputKind::kUnavailable;
  return S_ISCHR(st.st_mode) ? OutputKind::kCharDevice : OutputKind::kOther;
}

int WriteStandardOutput(const char* data, size_t size) {
  while (size > 0) {
    ssize_t n = write(STDOUT_FILENO, data, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      return RunTimeErrorNumber(errno);
    }
    if (n == 0) return kDiskFull;
    data += n;
    size -= static_cast<size_t>(n);
  }
  return 0;
}

int ReadStandardInput(char* buffer, size_t capacity, size_t* got) {
  *got = 0;
  struct stat st;
  if (fstat(STDIN_FILENO, &st) != 0) return kInputUnavailable;
  ssize_t n;
  do {
    n = read(STDIN_FILENO, buffer, capacity);
  } while (n < 0 && errno == EINTR);
  if (n < 0) return errno == EPIPE ? 0 : RunTimeErrorNumber(errno);
  *got = static_cast<size_t>(n);
  // A terminal turns ENTER into LF; the wait looks for the CR the key sends.
  if (isatty(STDIN_FILENO)) {
    for (size_t i = 0; i < *got; ++i) {
      if (buffer[i] == '\n') buffer[i] = '\r';
    }
  }
  return 0;
}

}  // namespace platform
