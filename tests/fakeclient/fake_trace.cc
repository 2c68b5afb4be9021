// The trace writer and value forms of the fake client library (fake_trace.h).
#include "fake_trace.h"

#include <cerrno>

#include "portability.h"

namespace fake {
namespace {

int trace_fd = -1;

const char kDigits[] = "0123456789abcdef";

}  // namespace

std::string Hex(const void* data, size_t size) {
  const unsigned char* p = static_cast<const unsigned char*>(data);
  std::string out = "[";
  for (size_t i = 0; i < size; ++i) {
    if (i) out += ' ';
    out += kDigits[p[i] >> 4];
    out += kDigits[p[i] & 15];
  }
  out += ']';
  return out;
}

std::string Hex(const std::string& bytes) { return Hex(bytes.data(), bytes.size()); }

std::string Quoted(const void* data, size_t size) {
  const unsigned char* p = static_cast<const unsigned char*>(data);
  std::string out = "\"";
  for (size_t i = 0; i < size; ++i) {
    unsigned char c = p[i];
    switch (c) {
      case '\\': out += "\\\\"; break;
      case '"': out += "\\\""; break;
      case '\t': out += "\\t"; break;
      case '\r': out += "\\r"; break;
      case '\n': out += "\\n"; break;
      case '\0': out += "\\0"; break;
      default:
        if (c >= 32 && c <= 126) {
          out += static_cast<char>(c);
        } else {
          out += "\\x";
          out += kDigits[c >> 4];
          out += kDigits[c & 15];
        }
    }
  }
  out += '"';
  return out;
}

std::string Quoted(const std::string& text) { return Quoted(text.data(), text.size()); }

bool OpenTrace(const char* path) {
  trace_fd = open(path, kTraceOpenFlags, 0644);
  return trace_fd >= 0;
}

void WriteTraceLine(const std::string& line) {
  if (trace_fd < 0) return;
  std::string out = line + "\n";
  const char* p = out.data();
  size_t left = out.size();
  while (left > 0) {
    ssize_t n = write(trace_fd, p, left);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;
    p += n;
    left -= static_cast<size_t>(n);
  }
}

}  // namespace fake
