// The parameter derivation and the marker scan on arbitrary SQL text. The
// scan may refuse the text with EIBClientError; any other exception escapes
// and counts as a crash.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "db/ib_errors.h"
#include "db/param_markers.h"
#include "fuzz_check.h"

namespace {

// Every CR is followed by an LF and every LF follows a CR.
bool HasOnlyCrLfBreaks(const std::string& text) {
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n')) return false;
    if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) return false;
  }
  return true;
}

size_t CountOf(const std::string& text, const char* bytes) {
  size_t count = 0;
  for (char c : text) {
    if (c != '\0' && std::strchr(bytes, c) != nullptr) ++count;
  }
  return count;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string sql = InputText(data, size);

  const std::vector<std::string> names = DeriveParameterList(sql);
  Check(names.size() <= CountOf(sql, ":"), "each parameter begins at a colon");
  for (const std::string& name : names) {
    Check(sql.find(name) != std::string::npos, "a name is a piece of the text");
  }

  try {
    const MarkerScan scan = ScanMarkers(sql);
    Check(scan.marker_names.size() <= CountOf(sql, ":?"), "each marker is a : or a ?");
    Check(CountOf(scan.sent_text, "?") >= scan.marker_names.size(),
          "each marker is sent as ?");
    Check(HasOnlyCrLfBreaks(scan.sent_text), "the sent text's breaks are CR LF");
    Check(scan.sent_text.empty() ||
              scan.sent_text.compare(scan.sent_text.size() - 2, 2, "\r\n") == 0,
          "the sent text ends with CR LF");
  } catch (const EIBClientError& error) {
    Check(error.message().rfind("SQL Parse Error:\r\n\r\n", 0) == 0,
          "a refused text says why it can't be parsed");
  }
  return 0;
}
