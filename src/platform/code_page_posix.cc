#include "platform/platform.h"

namespace platform {

// The encodings qelt meets on POSIX are single-byte ones and UTF-8, and UTF-8
// needs no pairing either: the later bytes of a sequence are all 128 or above,
// so taken one at a time they can't pass for a quote, a colon or a delimiter.
bool IsLeadByte(unsigned char) { return false; }

}  // namespace platform
