#include "db/param_markers.h"

#include "db/ib_errors.h"
#include "platform/text_lines.h"
#include "platform/platform.h"

namespace {

bool IsQuoteCharacter(char c) { return c == '\'' || c == '"' || c == '`'; }

bool EndsParameterName(char c) {
  return c == ' ' || c == ',' || c == ';' || c == ')' || c == '\r' || c == '\n';
}

bool IsMarkerNameByte(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
         c == '_' || c == '$';
}

bool StartsDoubleByteCharacter(const std::string& text, size_t i) {
  return platform::IsLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size();
}

[[noreturn]] void FailParse(const char* reason) {
  throw EIBClientError(std::string("SQL Parse Error:") + "\r\n\r\n" + reason);
}

}  // namespace

std::vector<std::string> DeriveParameterList(const std::string& sql_text) {
  std::vector<std::string> names;
  bool in_literal = false;
  size_t i = 0;
  while (i < sql_text.size()) {
    const char c = sql_text[i];
    if (IsQuoteCharacter(c)) {
      in_literal = !in_literal;
      ++i;
    } else if (StartsDoubleByteCharacter(sql_text, i)) {
      i += 2;
    } else if (in_literal || c != ':') {
      ++i;
    } else if (i + 1 < sql_text.size() && sql_text[i + 1] == ':') {
      i += 2;
    } else {
      const size_t begin = i + 1;
      size_t end = begin;
      while (end < sql_text.size()) {
        const char b = sql_text[end];
        if (IsQuoteCharacter(b)) {
          in_literal = !in_literal;
        } else if (StartsDoubleByteCharacter(sql_text, end)) {
          ++end;
        } else if (!in_literal && EndsParameterName(b)) {
          break;
        }
        ++end;
      }
      names.push_back(sql_text.substr(begin, end - begin));
      i = end + 1;  // past the delimiter
    }
  }
  return names;
}

MarkerScan ScanMarkers(const std::string& sql_text) {
  enum class State { kNormal, kQuoted, kComment, kMarker };
  const size_t size = sql_text.size();
  MarkerScan scan;
  std::string written;
  State state = State::kNormal;
  char closing_quote = '\0';
  size_t i = 0;
  while (i < size) {
    const char c = sql_text[i];
    const bool last = i + 1 == size;
    switch (state) {
      case State::kNormal:
        if (c == '\'' || c == '"') {
          written += c;
          closing_quote = c;
          state = State::kQuoted;
        } else if (c == '/' && !last && sql_text[i + 1] == '*') {
          written += "/*";
          state = State::kComment;
          ++i;
        } else if (c == ':' || c == '?') {
          written += '?';
          state = State::kMarker;
        } else {
          written += c;
        }
        ++i;
        break;

      case State::kQuoted:
        if (last) FailParse("EOF in string detected");
        written += c;
        if (c == closing_quote) {
          if (sql_text[i + 1] == closing_quote) {
            written += c;
            ++i;
          } else {
            state = State::kNormal;
          }
        }
        ++i;
        break;

      case State::kComment:
        if (last) FailParse("EOF in comment detected");
        written += c;
        // Only the "*" is taken here; the "/" is read again in Normal.
        if (c == '*' && sql_text[i + 1] == '/') state = State::kNormal;
        ++i;
        break;

      case State::kMarker: {
        size_t end = i;
        if (c == '"') {
          end = sql_text.find('"', i + 1);
          if (end == std::string::npos) FailParse("EOF in string detected");
          scan.marker_names.push_back(sql_text.substr(i + 1, end - i - 1));
          ++end;  // the closing quote
        } else if (IsMarkerNameByte(c)) {
          while (end < size && IsMarkerNameByte(sql_text[end])) ++end;
          scan.marker_names.push_back(sql_text.substr(i, end - i));
        } else {
          FailParse("Parameter name expected");
        }
        // The byte after the name is taken as it stands: it opens no quoted
        // section, comment or marker.
        if (end < size) written += sql_text[end++];
        i = end;
        state = State::kNormal;
        break;
      }
    }
  }
  // The text ended right after an opening quote, "/*", or a marker.
  switch (state) {
    case State::kQuoted: FailParse("EOF in string detected");
    case State::kComment: FailParse("EOF in comment detected");
    case State::kMarker: FailParse("Parameter name expected");
    case State::kNormal: break;
  }
  scan.sent_text = JoinSqlLines(SplitAtLineBreaks(written));
  return scan;
}
