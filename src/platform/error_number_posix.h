// Maps errno values onto the run-time's error numbers (POSIX only).
#ifndef QELT_PLATFORM_ERROR_NUMBER_POSIX_H_
#define QELT_PLATFORM_ERROR_NUMBER_POSIX_H_

namespace platform {

// The run-time number for an errno value where both mean the same
// (ENOENT 2, EMFILE/ENFILE 4, EACCES/EPERM 5, ENOSPC/EDQUOT 101); any other
// errno keeps its own number.
int RunTimeErrorNumber(int errno_value);

// The run-time number for a short write: the device took fewer bytes.
constexpr int kDiskFull = 101;

}  // namespace platform

#endif  // QELT_PLATFORM_ERROR_NUMBER_POSIX_H_
