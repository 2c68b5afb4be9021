// Program path, file search, file reading and the result file on POSIX.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace platform {

namespace {

// "*" matches any run of bytes, "?" any one byte; everything else, "[" too,
// stands for itself.
bool MatchesPattern(const char* pattern, const char* name) {
  const char* star = nullptr;
  const char* resume = nullptr;
  while (*name) {
    if (*pattern == '?' || (*pattern != '*' && *pattern == *name)) {
      ++pattern;
      ++name;
    } else if (*pattern == '*') {
      star = pattern++;
      resume = name;
    } else if (star) {
      pattern = star + 1;
      name = ++resume;
    } else {
      return false;
    }
  }
  while (*pattern == '*') ++pattern;
  return *pattern == '\0';
}

// The first entry a directory search for `pattern` finds, as a path; empty
// when there is none. Entries come in name order, so the answer is the same
// on every run ("." first, as a search for "*" finds it first).
std::string FirstMatch(const std::string& pattern) {
  size_t slash = pattern.rfind('/');
  std::string dir = slash == std::string::npos ? "." : pattern.substr(0, slash + 1);
  std::string name = slash == std::string::npos ? pattern : pattern.substr(slash + 1);
  if (name.empty()) return "";
  if (name.find_first_of("*?") == std::string::npos) {
    struct stat st;
    return lstat(pattern.c_str(), &st) == 0 ? pattern : "";
  }
  DIR* d = opendir(dir.c_str());
  if (!d) return "";
  std::vector<std::string> matches;
  while (dirent* entry = readdir(d)) {
    if (MatchesPattern(name.c_str(), entry->d_name)) matches.push_back(entry->d_name);
  }
  closedir(d);
  if (matches.empty()) return "";
  std::string first = *std::min_element(matches.begin(), matches.end());
  return slash == std::string::npos ? first : dir + first;
}

bool IsMsDosTime(time_t t) {
  struct tm local;
  if (!localtime_r(&t, &local)) return false;
  int year = local.tm_year + 1900;
  return year >= 1980 && year <= 2107;
}

}  // namespace

std::string ProgramDirectory() {
  char path[PATH_MAX];
  ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
  if (n <= 0) return "";
  std::string full(path, static_cast<size_t>(n));
  size_t slash = full.rfind('/');
  return slash == std::string::npos ? "" : full.substr(0, slash + 1);
}

bool FindPlainFile(const std::string& pattern) {
  std::string first = FirstMatch(pattern);
  struct stat st;
  if (first.empty() || stat(first.c_str(), &st) != 0) return false;
  return !S_ISDIR(st.st_mode) && IsMsDosTime(st.st_mtime);
}

bool ReadWholeFile(const std::string& name, std::string* content) {
  // Without a writer a FIFO would block the open for good.
  int fd = open(name.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return false;
  fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  struct stat st;
  bool ok = fstat(fd, &st) == 0 && !S_ISDIR(st.st_mode);
  if (ok) {
    size_t start = content->size();
    content->resize(start + static_cast<size_t>(st.st_size));
    size_t done = 0;
    while (done < static_cast<size_t>(st.st_size)) {
      ssize_t n = read(fd, &(*content)[start + done], static_cast<size_t>(st.st_size) - done);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) {
        ok = false;
        break;
      }
      if (n == 0) break;  // the file shrank since it was measured
      done += static_cast<size_t>(n);
    }
    content->resize(start + done);
  }
  close(fd);
  return ok;
}

// ---- ReplacementFile ----

ReplacementFile::~ReplacementFile() { Discard(); }

bool ReplacementFile::Create(const std::string& target) {
  if (target.empty()) return false;
  struct stat st;
  if (stat(target.c_str(), &st) == 0) {
    if (!S_ISREG(st.st_mode)) {
      // A FIFO or a device can't be replaced; it is written as it is.
      int fd = open(target.c_str(), O_WRONLY | O_CLOEXEC);
      if (fd < 0) return false;
      handle_ = fd;
      direct_ = true;
      return true;
    }
    // A read-only file is not replaced behind the user's back, not even for
    // a user whom the system would let write it.
    if ((st.st_mode & 0222) == 0 || access(target.c_str(), W_OK) != 0) return false;
  }
  // Follow a link, so the file it points to is what gets replaced.
  char resolved[PATH_MAX];
  target_ = realpath(target.c_str(), resolved) ? std::string(resolved) : target;
  static unsigned counter = 0;
  for (int attempt = 0; attempt < 100; ++attempt) {
    temp_path_ = target_ + ".qelt-" + std::to_string(getpid()) + "-" + std::to_string(++counter);
    int fd = open(temp_path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0) {
      handle_ = fd;
      return true;
    }
    if (errno != EEXIST) break;
  }
  temp_path_.clear();
  return false;
}

bool ReplacementFile::Write(const char* data, size_t size) {
  if (handle_ < 0) return false;
  while (size > 0) {
    ssize_t n = write(static_cast<int>(handle_), data, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    data += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

bool ReplacementFile::Commit() {
  if (handle_ < 0) return false;
  int fd = static_cast<int>(handle_);
  handle_ = -1;
  if (close(fd) != 0) return false;
  if (direct_) return true;
  if (rename(temp_path_.c_str(), target_.c_str()) != 0) return false;
  temp_path_.clear();
  return true;
}

void ReplacementFile::Discard() {
  if (handle_ >= 0) close(static_cast<int>(handle_));
  handle_ = -1;
  if (!temp_path_.empty()) unlink(temp_path_.c_str());
  temp_path_.clear();
}

}  // namespace platform
