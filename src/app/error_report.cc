#include "app/error_report.h"

#include <cstdio>

#include "platform/console.h"
#include "platform/errors.h"
#include "platform/platform.h"

namespace {

constexpr size_t kMaxReportLength = 1023;

}  // namespace

std::string ErrorReportText(const std::string& kind, const std::string& module, uint32_t offset,
                            const std::string& message) {
  char hex[9];
  std::snprintf(hex, sizeof hex, "%08X", offset);
  std::string text = "Exception " + kind + " in Modul " + module + " bei " + hex + ".\n" + message;
  if (!message.empty() && message.back() != '.') text += '.';
  if (text.size() > kMaxReportLength) text.resize(kMaxReportLength);
  return text;
}

void ReportError(const Error& error) {
  platform::CodeLocation where = platform::LocateCode(error.raise_address());
  ConsoleReportLine(ErrorReportText(error.kind(), where.module, where.offset, error.message()));
}
