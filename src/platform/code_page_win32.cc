#include <windows.h>

#include "platform/platform.h"

namespace platform {

bool IsLeadByte(unsigned char byte) { return IsDBCSLeadByte(byte) != 0; }

}  // namespace platform
