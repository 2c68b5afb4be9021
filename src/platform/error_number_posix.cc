#include "platform/error_number_posix.h"

#include <cerrno>

namespace platform {

int RunTimeErrorNumber(int errno_value) {
  switch (errno_value) {
    case ENOENT: return 2;
    case EMFILE:
    case ENFILE: return 4;
    case EACCES:
    case EPERM: return 5;
    case ENOSPC:
    case EDQUOT: return kDiskFull;
    default: return errno_value;
  }
}

}  // namespace platform
