// Program path, file search, file reading and the result file on Windows.
#include <windows.h>

#include <algorithm>
#include <string>

#include "platform/module_path_win32.h"
#include "platform/platform.h"

namespace platform {

namespace {

HANDLE AsHandle(intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }

// Reads and writes go in pieces a DWORD can count.
constexpr size_t kMaxPiece = 1u << 30;

}  // namespace

std::string ProgramDirectory() {
  std::string path = ModuleFileName(nullptr);
  return path.substr(0, DirectoryLength(path));
}

bool FindPlainFile(const std::string& pattern) {
  WIN32_FIND_DATAA entry;
  HANDLE search = FindFirstFileA(pattern.c_str(), &entry);
  if (search == INVALID_HANDLE_VALUE) return false;
  FindClose(search);
  if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return false;
  // The conversion to an MS-DOS date fails outside 1980 to 2107.
  FILETIME local;
  WORD dos_date;
  WORD dos_time;
  return FileTimeToLocalFileTime(&entry.ftLastWriteTime, &local) &&
         FileTimeToDosDateTime(&local, &dos_date, &dos_time);
}

bool ReadWholeFile(const std::string& name, std::string* content) {
  // Others may go on reading the file, but no one may write it meanwhile;
  // the open fails while someone has it open for writing.
  HANDLE file = CreateFileA(name.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER size;
  bool ok = GetFileSizeEx(file, &size) != 0;
  if (ok) {
    size_t start = content->size();
    size_t total = static_cast<size_t>(size.QuadPart);
    content->resize(start + total);
    size_t done = 0;
    while (done < total) {
      DWORD piece = static_cast<DWORD>(std::min(total - done, kMaxPiece));
      DWORD read = 0;
      if (!ReadFile(file, &(*content)[start + done], piece, &read, nullptr)) {
        ok = false;
        break;
      }
      if (read == 0) break;  // the file shrank since it was measured
      done += read;
    }
    content->resize(start + done);
  }
  CloseHandle(file);
  return ok;
}

// ---- ReplacementFile ----

ReplacementFile::~ReplacementFile() { Discard(); }

bool ReplacementFile::Create(const std::string& target) {
  if (target.empty()) return false;
  DWORD attributes = GetFileAttributesA(target.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES &&
      (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY))) {
    return false;
  }
  // Opening the target exclusively tells a file that someone else has open
  // (it can't be replaced) from one that is free, and a device (NUL, CON, a
  // pipe), which is written as it is, from a disk file. Nothing is written
  // to the target here.
  HANDLE existing = CreateFileA(target.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
  if (existing == INVALID_HANDLE_VALUE) {
    if (GetLastError() != ERROR_FILE_NOT_FOUND) return false;
  } else if (GetFileType(existing) != FILE_TYPE_DISK) {
    handle_ = reinterpret_cast<intptr_t>(existing);
    direct_ = true;
    return true;
  } else {
    CloseHandle(existing);
  }
  target_ = target;
  static unsigned counter = 0;
  for (int attempt = 0; attempt < 100; ++attempt) {
    temp_path_ = target_ + ".qelt-" + std::to_string(GetCurrentProcessId()) + "-" +
                 std::to_string(++counter);
    // Not shared: while it is written, no other process opens it.
    HANDLE file = CreateFileA(temp_path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
      handle_ = reinterpret_cast<intptr_t>(file);
      return true;
    }
    if (GetLastError() != ERROR_FILE_EXISTS) break;
  }
  temp_path_.clear();
  return false;
}

bool ReplacementFile::Write(const char* data, size_t size) {
  if (handle_ == -1) return false;
  while (size > 0) {
    DWORD piece = static_cast<DWORD>(std::min(size, kMaxPiece));
    DWORD written = 0;
    if (!WriteFile(AsHandle(handle_), data, piece, &written, nullptr) || written == 0) {
      return false;
    }
    data += written;
    size -= written;
  }
  return true;
}

bool ReplacementFile::Commit() {
  if (handle_ == -1) return false;
  HANDLE file = AsHandle(handle_);
  handle_ = -1;
  if (!CloseHandle(file)) return false;
  if (direct_) return true;
  if (!MoveFileExA(temp_path_.c_str(), target_.c_str(), MOVEFILE_REPLACE_EXISTING)) return false;
  temp_path_.clear();
  return true;
}

void ReplacementFile::Discard() {
  if (handle_ != -1) CloseHandle(AsHandle(handle_));
  handle_ = -1;
  if (!temp_path_.empty()) DeleteFileA(temp_path_.c_str());
  temp_path_.clear();
}

}  // namespace platform
