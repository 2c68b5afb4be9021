#include "platform/console.h"

#include <algorithm>
#include <cstring>

#include "platform/errors.h"
#include "platform/platform.h"

namespace {

constexpr size_t kBufferSize = 128;
// Run-time error numbers for standard handles that can't be used at all.
constexpr int kOutputUnavailable = 103;

class OutputStream {
 public:
  // Appends one line with its CR LF; returns 0 or the number of the first
  // write that failed while the line was added.
  int AppendLine(std::string_view text) {
    Bind();
    if (kind_ == platform::OutputKind::kUnavailable) return kOutputUnavailable;
    line_error_ = 0;
    Append(text.data(), text.size());
    Append("\r\n", 2);
    if (kind_ == platform::OutputKind::kCharDevice) Flush();
    return line_error_;
  }

  void FlushQuietly() {
    if (bound_ && kind_ != platform::OutputKind::kUnavailable) Flush();
  }

 private:
  void Bind() {
    if (bound_) return;
    kind_ = platform::StandardOutputKind();
    bound_ = true;
  }

  void Append(const char* data, size_t size) {
    while (size > 0 && line_error_ == 0) {
      size_t n = std::min(size, kBufferSize - used_);
      std::memcpy(buffer_ + used_, data, n);
      used_ += n;
      data += n;
      size -= n;
      if (used_ == kBufferSize) Flush();
    }
  }

  // Writes the buffer out; the buffer is empty afterwards whatever happened.
  void Flush() {
    if (used_ == 0) return;
    int error = platform::WriteStandardOutput(buffer_, used_);
    used_ = 0;
    if (error != 0 && line_error_ == 0) line_error_ = error;
  }

  bool bound_ = false;
  platform::OutputKind kind_ = platform::OutputKind::kOther;
  char buffer_[kBufferSize];
  size_t used_ = 0;
  int line_error_ = 0;
};

OutputStream& Output() {
  static OutputStream stream;
  return stream;
}

}  // namespace

void ConsoleLine(std::string_view text) {
  int error = Output().AppendLine(text);
  if (error != 0) throw EInOutError(error);
}

void ConsoleReportLine(std::string_view text) { Output().AppendLine(text); }

void FlushConsoleAtExit() { Output().FlushQuietly(); }

void WaitForEnter() {
  constexpr char kCarriageReturn = 13;
  constexpr char kCtrlZ = 26;
  char buffer[kBufferSize];
  for (;;) {
    size_t got = 0;
    int error = platform::ReadStandardInput(buffer, sizeof buffer, &got);
    if (error != 0) throw EInOutError(error);
    if (got == 0) return;
    // A LF after the CR would be consumed with it; nothing reads standard
    // input after the wait, so it is left where it is.
    for (size_t i = 0; i < got; ++i) {
      if (buffer[i] == kCarriageReturn || buffer[i] == kCtrlZ) return;
    }
  }
}
