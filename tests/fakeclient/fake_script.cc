// The script parser of the fake client library; the format is described in
// fake_script.h and README.md.
#include "fake_script.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace fake {
namespace {

struct Token {
  std::string text;
  size_t quote_at = std::string::npos;  // where the first quoted part begins

  bool quoted_whole() const { return quote_at == 0; }
  bool bare() const { return quote_at == std::string::npos; }
};

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool Tokenize(const std::string& line, std::vector<Token>* tokens, std::string* error) {
  size_t i = 0;
  const size_t n = line.size();
  while (true) {
    while (i < n && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r')) ++i;
    if (i >= n || line[i] == '#') return true;
    Token t;
    while (i < n && line[i] != ' ' && line[i] != '\t' && line[i] != '\r') {
      if (line[i] != '"') {
        t.text += line[i++];
        continue;
      }
      if (t.quote_at == std::string::npos) t.quote_at = t.text.size();
      ++i;
      while (true) {
        if (i >= n) {
          *error = "unterminated quoted text";
          return false;
        }
        char c = line[i++];
        if (c == '"') break;
        if (c != '\\') {
          t.text += c;
          continue;
        }
        if (i >= n) {
          *error = "escape at the end of the line";
          return false;
        }
        char e = line[i++];
        switch (e) {
          case '\\': t.text += '\\'; break;
          case '"': t.text += '"'; break;
          case 't': t.text += '\t'; break;
          case 'r': t.text += '\r'; break;
          case 'n': t.text += '\n'; break;
          case '0': t.text += '\0'; break;
          case 'x': {
            int hi = i < n ? HexDigit(line[i]) : -1;
            int lo = i + 1 < n ? HexDigit(line[i + 1]) : -1;
            if (hi < 0 || lo < 0) {
              *error = "\\x needs two hex digits";
              return false;
            }
            t.text += static_cast<char>(hi * 16 + lo);
            i += 2;
            break;
          }
          default:
            *error = std::string("unknown escape \\") + e;
            return false;
        }
      }
    }
    tokens->push_back(t);
  }
}

// An option token: bare key, '=', value (which may be quoted).
bool SplitOption(const Token& t, std::string* key, std::string* value) {
  size_t eq = t.text.find('=');
  if (eq == std::string::npos || eq == 0) return false;
  if (t.quote_at != std::string::npos && t.quote_at <= eq) return false;
  for (size_t i = 0; i < eq; ++i) {
    char c = t.text[i];
    if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_')) return false;
  }
  *key = t.text.substr(0, eq);
  *value = t.text.substr(eq + 1);
  return true;
}

bool ParseInt(const std::string& s, int64_t min, int64_t max, int64_t* out) {
  if (s.empty()) return false;
  errno = 0;
  char* end = nullptr;
  long long v = std::strtoll(s.c_str(), &end, 10);
  if (errno != 0 || end != s.c_str() + s.size()) return false;
  if (v < min || v > max) return false;
  *out = v;
  return true;
}

bool ParseHexBytes(const std::vector<Token>& tokens, size_t from, std::string* out,
                   std::string* error) {
  out->clear();
  for (size_t k = from; k < tokens.size(); ++k) {
    const std::string& s = tokens[k].text;
    if (s.size() % 2 != 0) {
      *error = "hex bytes need an even number of digits: " + s;
      return false;
    }
    for (size_t i = 0; i < s.size(); i += 2) {
      int hi = HexDigit(s[i]), lo = HexDigit(s[i + 1]);
      if (hi < 0 || lo < 0) {
        *error = "not hex: " + s;
        return false;
      }
      *out += static_cast<char>(hi * 16 + lo);
    }
  }
  return true;
}

bool ParseId(const std::string& s, std::string* id) {
  if (s == "0") {
    *id = std::string(8, '\0');
    return true;
  }
  if (s.size() != 16) return false;
  id->clear();
  for (size_t i = 0; i < 16; i += 2) {
    int hi = HexDigit(s[i]), lo = HexDigit(s[i + 1]);
    if (hi < 0 || lo < 0) return false;
    *id += static_cast<char>(hi * 16 + lo);
  }
  return true;
}

template <typename T>
std::string Bytes(T v) {
  std::string s(sizeof v, '\0');
  std::memcpy(&s[0], &v, sizeof v);
  return s;
}

bool IsLeap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int DaysInMonth(int y, int m) {
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return m == 2 && IsLeap(y) ? 29 : kDays[m - 1];
}

// "YYYY-MM-DD" at the start of s; sets *used to the characters read.
bool ParseDatePart(const std::string& s, ISC_DATE* out, size_t* used) {
  int y, m, d, n = 0;
  if (std::sscanf(s.c_str(), "%4d-%2d-%2d%n", &y, &m, &d, &n) != 3) return false;
  if (y < 1 || y > 9999 || m < 1 || m > 12 || d < 1 || d > DaysInMonth(y, m)) return false;
  *out = EncodeDate(y, m, d);
  *used = static_cast<size_t>(n);
  return true;
}

bool ParseTimePart(const std::string& s, ISC_TIME* out) {
  int h, mi, sec, n = 0;
  if (std::sscanf(s.c_str(), "%2d:%2d:%2d%n", &h, &mi, &sec, &n) != 3) return false;
  if (h < 0 || h > 23 || mi < 0 || mi > 59 || sec < 0 || sec > 59) return false;
  unsigned fraction = 0;
  size_t i = static_cast<size_t>(n);
  if (i < s.size()) {
    if (s[i] != '.') return false;
    ++i;
    size_t digits = 0;
    unsigned scale = 1000;
    while (i < s.size()) {
      if (s[i] < '0' || s[i] > '9' || digits == 4) return false;
      fraction += static_cast<unsigned>(s[i] - '0') * scale;
      scale /= 10;
      ++digits;
      ++i;
    }
    if (digits == 0) return false;
  }
  *out = ((static_cast<ISC_TIME>(h) * 60 + static_cast<ISC_TIME>(mi)) * 60 +
          static_cast<ISC_TIME>(sec)) * 10000 + fraction;
  return true;
}

// A decimal text as an integer scaled by 10^-scale.
bool ParseScaled(const std::string& s, int scale, int64_t min, int64_t max, int64_t* out) {
  size_t i = 0;
  bool negative = false;
  if (i < s.size() && (s[i] == '-' || s[i] == '+')) negative = s[i++] == '-';
  uint64_t value = 0;  // the magnitude
  size_t int_digits = 0, frac_digits = 0;
  auto push = [&value](unsigned digit) {
    return !__builtin_mul_overflow(value, 10u, &value) && !__builtin_add_overflow(value, digit, &value);
  };
  while (i < s.size() && s[i] >= '0' && s[i] <= '9') {
    if (!push(static_cast<unsigned>(s[i++] - '0'))) return false;
    ++int_digits;
  }
  if (i < s.size() && s[i] == '.') {
    ++i;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9') {
      if (!push(static_cast<unsigned>(s[i++] - '0'))) return false;
      ++frac_digits;
    }
  }
  if (i != s.size() || int_digits + frac_digits == 0) return false;
  const int decimals = -scale;
  if (static_cast<int>(frac_digits) > decimals) return false;
  for (int k = static_cast<int>(frac_digits); k < decimals; ++k) {
    if (!push(0)) return false;
  }
  if (negative) {
    if (value > static_cast<uint64_t>(-(min + 1)) + 1) return false;
    *out = value == 0 ? 0 : -static_cast<int64_t>(value - 1) - 1;
  } else {
    if (value > static_cast<uint64_t>(max)) return false;
    *out = static_cast<int64_t>(value);
  }
  return true;
}

bool EncodeValue(const Variable& column, const Token& t, Value* v, std::string* error) {
  const std::string& s = t.text;
  const short type = column.base_type();
  if (t.bare() && s == "NULL") {
    if (!column.nullable()) {
      *error = "NULL in a column that is not nullable";
      return false;
    }
    v->null = true;
    return true;
  }
  if (t.bare() && s.compare(0, 2, "x:") == 0) {
    std::vector<Token> hex{Token{s.substr(2), std::string::npos}};
    if (!ParseHexBytes(hex, 0, &v->data, error)) return false;
    if (type != SQL_VARYING && v->data.size() != static_cast<size_t>(column.length)) {
      *error = "raw value of " + std::to_string(v->data.size()) + " bytes for a column of " +
               std::to_string(column.length);
      return false;
    }
    if (type == SQL_VARYING && v->data.size() > static_cast<size_t>(column.length)) {
      *error = "raw value longer than the column";
      return false;
    }
    return true;
  }
  int64_t n = 0;
  switch (type) {
    case SQL_TEXT:
      if (s.size() > static_cast<size_t>(column.length)) {
        *error = "text longer than the column";
        return false;
      }
      v->data = s + std::string(static_cast<size_t>(column.length) - s.size(), ' ');
      return true;
    case SQL_VARYING:
      if (s.size() > static_cast<size_t>(column.length)) {
        *error = "text longer than the column";
        return false;
      }
      v->data = s;
      return true;
    case SQL_SHORT:
    case SQL_LONG:
    case SQL_INT64: {
      int64_t min = type == SQL_SHORT ? std::numeric_limits<int16_t>::min()
                    : type == SQL_LONG ? std::numeric_limits<int32_t>::min()
                                       : std::numeric_limits<int64_t>::min();
      int64_t max = type == SQL_SHORT ? std::numeric_limits<int16_t>::max()
                    : type == SQL_LONG ? std::numeric_limits<int32_t>::max()
                                       : std::numeric_limits<int64_t>::max();
      bool ok = column.scale < 0 ? ParseScaled(s, column.scale, min, max, &n)
                                 : column.scale == 0 && ParseInt(s, min, max, &n);
      if (!ok) {
        *error = "not a number for this column (type, scale or range): " + s;
        return false;
      }
      if (type == SQL_SHORT) v->data = Bytes(static_cast<int16_t>(n));
      else if (type == SQL_LONG) v->data = Bytes(static_cast<int32_t>(n));
      else v->data = Bytes(static_cast<int64_t>(n));
      return true;
    }
    case SQL_FLOAT:
    case SQL_DOUBLE:
    case SQL_D_FLOAT: {
      char* end = nullptr;
      double d = std::strtod(s.c_str(), &end);
      if (s.empty() || end != s.c_str() + s.size()) {
        *error = "not a floating-point number: " + s;
        return false;
      }
      v->data = type == SQL_FLOAT ? Bytes(static_cast<float>(d)) : Bytes(d);
      return true;
    }
    case SQL_TYPE_DATE: {
      ISC_DATE date;
      size_t used = 0;
      if (!ParseDatePart(s, &date, &used) || used != s.size()) {
        *error = "not a date YYYY-MM-DD: " + s;
        return false;
      }
      v->data = Bytes(date);
      return true;
    }
    case SQL_TYPE_TIME: {
      ISC_TIME time;
      if (!ParseTimePart(s, &time)) {
        *error = "not a time HH:MM:SS[.ffff]: " + s;
        return false;
      }
      v->data = Bytes(time);
      return true;
    }
    case SQL_TIMESTAMP: {
      ISC_TIMESTAMP ts{0, 0};
      size_t used = 0;
      bool ok = ParseDatePart(s, &ts.timestamp_date, &used);
      if (ok && used < s.size()) {
        ok = (s[used] == 'T' || s[used] == ' ') && ParseTimePart(s.substr(used + 1), &ts.timestamp_time);
      }
      if (!ok) {
        *error = "not a timestamp YYYY-MM-DD[THH:MM:SS[.ffff]]: " + s;
        return false;
      }
      v->data = Bytes(ts.timestamp_date) + Bytes(ts.timestamp_time);
      return true;
    }
    case SQL_BLOB:
    case SQL_ARRAY:
    case SQL_QUAD:
      if (column.length != 8 || !ParseId(s, &v->data)) {
        *error = "not a blob id (16 hex digits or 0): " + s;
        return false;
      }
      return true;
    case SQL_BOOLEAN:
      if (column.length != 1 || !(s == "true" || s == "false" || s == "1" || s == "0")) {
        *error = "not a boolean: " + s;
        return false;
      }
      v->data = std::string(1, s == "true" || s == "1" ? '\1' : '\0');
      return true;
    default:
      *error = "a value of type " + std::to_string(type) + " can only be NULL or x:HEX";
      return false;
  }
}

short DefaultLength(int type) {
  switch (type) {
    case SQL_SHORT: return 2;
    case SQL_LONG: case SQL_FLOAT: case SQL_TYPE_DATE: case SQL_TYPE_TIME: return 4;
    case SQL_INT64: case SQL_DOUBLE: case SQL_D_FLOAT: case SQL_TIMESTAMP:
    case SQL_BLOB: case SQL_ARRAY: case SQL_QUAD: return 8;
    case SQL_BOOLEAN: return 1;
    case SQL_NULL: return 0;
    default: return -1;
  }
}

// TYPE [options] from tokens[from...] into *var. For markers, nullable is
// the default.
bool ParseVariable(const std::vector<Token>& tokens, size_t from, bool default_nullable,
                   Variable* var, std::string* error) {
  if (from >= tokens.size()) {
    *error = "a type is missing";
    return false;
  }
  int64_t code = TypeCode(tokens[from].text);
  if (code < 0 && !ParseInt(tokens[from].text, 0, 32767, &code)) {
    *error = "unknown type: " + tokens[from].text;
    return false;
  }
  bool nullable = (code & 1) != 0 || default_nullable;
  bool has_length = false;
  int64_t length = 0, scale = 0, sub = 0;
  for (size_t k = from + 1; k < tokens.size(); ++k) {
    const Token& t = tokens[k];
    std::string key, value;
    if (t.bare() && t.text == "nullable") {
      nullable = true;
    } else if (t.bare() && t.text == "notnull") {
      nullable = false;
    } else if (SplitOption(t, &key, &value)) {
      if (key == "len") {
        if (!ParseInt(value, 0, 32767, &length)) {
          *error = "bad len=" + value;
          return false;
        }
        has_length = true;
      } else if (key == "scale") {
        if (!ParseInt(value, -32768, 32767, &scale)) {
          *error = "bad scale=" + value;
          return false;
        }
      } else if (key == "sub") {
        if (!ParseInt(value, -32768, 32767, &sub)) {
          *error = "bad sub=" + value;
          return false;
        }
      } else if (key == "relation" || key == "field" || key == "owner") {
        if (value.size() > 32) {
          *error = key + " longer than 32 bytes";
          return false;
        }
        (key == "relation" ? var->relation : key == "field" ? var->field : var->owner) = value;
      } else {
        *error = "unknown option " + key;
        return false;
      }
    } else {
      *error = "unexpected token: " + t.text;
      return false;
    }
  }
  int base = static_cast<int>(code & ~1);
  if (!has_length) {
    length = DefaultLength(base);
    if (length < 0) {
      *error = "len= is required for type " + std::to_string(base);
      return false;
    }
  }
  var->sqltype = static_cast<short>(base | (nullable ? 1 : 0));
  var->length = static_cast<short>(length);
  var->scale = static_cast<short>(scale);
  var->subtype = static_cast<short>(sub);
  return true;
}

bool ParseFailure(const std::vector<Token>& tokens, Failure* f, std::string* error) {
  if (tokens.size() < 4) {
    *error = "fail needs FUNCTION K CODE";
    return false;
  }
  if (tokens[1].text == "call") {
    f->function.clear();
  } else if (IsStatusFunction(tokens[1].text)) {
    f->function = tokens[1].text;
  } else {
    *error = "not a function that returns a status: " + tokens[1].text;
    return false;
  }
  std::string count = tokens[2].text;
  if (!count.empty() && count.back() == '+') {
    f->and_later = true;
    count.pop_back();
  }
  int64_t n = 0;
  if (!ParseInt(count, 1, std::numeric_limits<int64_t>::max(), &n)) {
    *error = "bad call count: " + tokens[2].text;
    return false;
  }
  f->count = static_cast<uint64_t>(n);
  int64_t code = 0;
  if (!ParseInt(tokens[3].text, 1, std::numeric_limits<int64_t>::max(), &code)) {
    *error = "bad status code: " + tokens[3].text;
    return false;
  }
  f->code = static_cast<ISC_STATUS>(code);
  for (size_t k = 4; k < tokens.size(); ++k) {
    const Token& t = tokens[k];
    std::string key, value;
    if (t.quoted_whole()) {
      f->messages.push_back(t.text);
    } else if (SplitOption(t, &key, &value) && key == "sqlcode") {
      int64_t sc = 0;
      if (!ParseInt(value, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max(), &sc)) {
        *error = "bad sqlcode=" + value;
        return false;
      }
      f->has_sqlcode = true;
      f->sqlcode = static_cast<ISC_LONG>(sc);
    } else if (SplitOption(t, &key, &value) && key == "also") {
      size_t start = 0;
      while (start <= value.size()) {
        size_t comma = value.find(',', start);
        std::string piece = value.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        int64_t c = 0;
        if (!ParseInt(piece, 1, std::numeric_limits<int64_t>::max(), &c)) {
          *error = "bad also= code: " + piece;
          return false;
        }
        f->also.push_back(static_cast<ISC_STATUS>(c));
        if (comma == std::string::npos) break;
        start = comma + 1;
      }
    } else {
      *error = "unexpected token (messages must be quoted): " + t.text;
      return false;
    }
  }
  if (f->messages.size() > 16 || f->also.size() > 8) {
    *error = "at most 16 messages and 8 further codes";
    return false;
  }
  return true;
}

}  // namespace

int TypeCode(const std::string& name) {
  static const struct { const char* name; int code; } kTypes[] = {
      {"SQL_TEXT", SQL_TEXT},           {"SQL_VARYING", SQL_VARYING},
      {"SQL_SHORT", SQL_SHORT},         {"SQL_LONG", SQL_LONG},
      {"SQL_INT64", SQL_INT64},         {"SQL_FLOAT", SQL_FLOAT},
      {"SQL_DOUBLE", SQL_DOUBLE},       {"SQL_D_FLOAT", SQL_D_FLOAT},
      {"SQL_TIMESTAMP", SQL_TIMESTAMP}, {"SQL_TYPE_DATE", SQL_TYPE_DATE},
      {"SQL_TYPE_TIME", SQL_TYPE_TIME}, {"SQL_BLOB", SQL_BLOB},
      {"SQL_ARRAY", SQL_ARRAY},         {"SQL_QUAD", SQL_QUAD},
      {"SQL_BOOLEAN", SQL_BOOLEAN},     {"SQL_NULL", SQL_NULL},
  };
  for (const auto& t : kTypes) {
    if (name == t.name) return t.code;
  }
  return -1;
}

bool IsStatusFunction(const std::string& name) {
  static const char* const kNames[] = {
      "isc_attach_database",     "isc_database_info",      "isc_detach_database",
      "isc_start_multiple",      "isc_commit_transaction", "isc_rollback_transaction",
      "isc_rollback_retaining",  "isc_dsql_alloc_statement2", "isc_dsql_prepare",
      "isc_dsql_sql_info",       "isc_dsql_describe_bind", "isc_dsql_describe",
      "isc_dsql_execute2",       "isc_dsql_set_cursor_name", "isc_dsql_execute",
      "isc_dsql_fetch",          "isc_dsql_free_statement", "isc_open_blob2",
      "isc_blob_info",           "isc_get_segment",        "isc_close_blob",
  };
  for (const char* n : kNames) {
    if (name == n) return true;
  }
  return false;
}

int CountMarkers(const std::string& sql) {
  int count = 0;
  size_t i = 0;
  const size_t n = sql.size();
  while (i < n) {
    char c = sql[i];
    if (c == '\'' || c == '"') {
      size_t close = sql.find(c, i + 1);
      i = close == std::string::npos ? n : close + 1;
    } else if (c == '/' && i + 1 < n && sql[i + 1] == '*') {
      size_t close = sql.find("*/", i + 2);
      i = close == std::string::npos ? n : close + 2;
    } else if (c == '-' && i + 1 < n && sql[i + 1] == '-') {
      size_t close = sql.find_first_of("\r\n", i + 2);
      i = close == std::string::npos ? n : close;
    } else {
      if (c == '?') ++count;
      ++i;
    }
  }
  return count;
}

// Firebird's NoThrowTimeStamp::encode_date / decode_date.
ISC_DATE EncodeDate(int year, int month, int day) {
  if (month > 2) {
    month -= 3;
  } else {
    month += 9;
    year -= 1;
  }
  const int c = year / 100;
  const int ya = year - 100 * c;
  return static_cast<ISC_DATE>((static_cast<int64_t>(146097) * c) / 4 + (1461 * ya) / 4 +
                               (153 * month + 2) / 5 + day + 1721119 - 2400001);
}

void DecodeDate(ISC_DATE nday, int* year, int* month, int* day) {
  int64_t n = static_cast<int64_t>(nday) + 2400001 - 1721119;
  const int64_t century = (4 * n - 1) / 146097;
  n = 4 * n - 1 - 146097 * century;
  int64_t d = n / 4;
  n = (4 * d + 3) / 1461;
  d = 4 * d + 3 - 1461 * n;
  d = (d + 4) / 4;
  int64_t m = (5 * d - 3) / 153;
  d = 5 * d - 3 - 153 * m;
  d = (d + 5) / 5;
  int64_t y = 100 * century + n;
  if (m < 10) {
    m += 3;
  } else {
    m -= 9;
    y += 1;
  }
  *year = static_cast<int>(y);
  *month = static_cast<int>(m);
  *day = static_cast<int>(d);
}

bool ParseScript(const std::string& text, Script* script, std::string* error) {
  *script = Script();
  enum { kNone, kStatement, kBlob } block = kNone;
  int line_number = 0;
  size_t pos = 0;
  while (pos <= text.size()) {
    size_t eol = text.find('\n', pos);
    std::string line = text.substr(pos, eol == std::string::npos ? std::string::npos : eol - pos);
    pos = eol == std::string::npos ? text.size() + 1 : eol + 1;
    ++line_number;
    std::vector<Token> tokens;
    std::string why;
    auto fail = [&](const std::string& what) {
      *error = "line " + std::to_string(line_number) + ": " + what;
      return false;
    };
    if (!Tokenize(line, &tokens, &why)) return fail(why);
    if (tokens.empty()) continue;
    const std::string& word = tokens[0].text;
    if (!tokens[0].bare()) return fail("an instruction word can't be quoted");
    int64_t n = 0;
    Statement* st = script->statements.empty() ? nullptr : &script->statements.back();
    Blob* blob = script->blobs.empty() ? nullptr : &script->blobs.back();
    auto need_statement = [&]() { return block == kStatement ? true : fail(word + " outside a statement block"); };
    auto need_blob = [&]() { return block == kBlob ? true : fail(word + " outside a blob block"); };
    if (word == "dialect") {
      if (tokens.size() != 2 || !ParseInt(tokens[1].text, 1, 3, &n)) return fail("dialect needs 1, 2 or 3");
      script->dialect = static_cast<int>(n);
    } else if (word == "db_info_answer") {
      if (!ParseHexBytes(tokens, 1, &script->db_info_answer, &why)) return fail(why);
      script->has_db_info_answer = true;
    } else if (word == "statement") {
      if (tokens.size() != 1) return fail("statement takes nothing after it");
      script->statements.emplace_back();
      script->statements.back().line = line_number;
      block = kStatement;
    } else if (word == "match") {
      if (!need_statement()) return false;
      if (tokens.size() != 2) return fail("match needs one text");
      st->has_match = true;
      st->match = tokens[1].text;
    } else if (word == "kind") {
      if (!need_statement()) return false;
      if (tokens.size() != 2 || !ParseInt(tokens[1].text, std::numeric_limits<int32_t>::min(),
                                          std::numeric_limits<int32_t>::max(), &n)) {
        return fail("kind needs a number");
      }
      st->has_kind = true;
      st->kind = n;
    } else if (word == "kind_answer") {
      if (!need_statement()) return false;
      if (!ParseHexBytes(tokens, 1, &st->kind_answer, &why)) return fail(why);
      st->has_kind_answer = true;
    } else if (word == "params") {
      if (!need_statement()) return false;
      if (tokens.size() < 2 || tokens.size() > 3 || !ParseInt(tokens[1].text, 0, 1000, &n)) {
        return fail("params needs a count and maybe nullable or notnull");
      }
      bool nullable = true;
      if (tokens.size() == 3) {
        if (tokens[2].text == "notnull") nullable = false;
        else if (tokens[2].text != "nullable") return fail("params: nullable or notnull expected");
      }
      if (st->has_params) return fail("the markers are described already");
      st->has_params = true;
      Variable v;
      v.sqltype = static_cast<short>(SQL_VARYING | (nullable ? 1 : 0));
      v.length = 32;
      st->params.assign(static_cast<size_t>(n), v);
    } else if (word == "param") {
      if (!need_statement()) return false;
      Variable v;
      if (!ParseVariable(tokens, 1, true, &v, &why)) return fail(why);
      st->has_params = true;
      st->params.push_back(v);
    } else if (word == "column") {
      if (!need_statement()) return false;
      if (!st->rows.empty()) return fail("columns must come before the rows");
      if (tokens.size() < 3) return fail("column needs NAME TYPE");
      Variable v;
      v.alias = tokens[1].text;
      v.field = v.alias;
      if (v.alias.size() > 32) return fail("alias name longer than 32 bytes");
      if (!ParseVariable(tokens, 2, false, &v, &why)) return fail(why);
      st->columns.push_back(v);
    } else if (word == "row") {
      if (!need_statement()) return false;
      if (tokens.size() - 1 != st->columns.size()) {
        return fail("row has " + std::to_string(tokens.size() - 1) + " values for " +
                    std::to_string(st->columns.size()) + " columns");
      }
      std::vector<Value> row(st->columns.size());
      for (size_t k = 0; k < st->columns.size(); ++k) {
        if (!EncodeValue(st->columns[k], tokens[k + 1], &row[k], &why)) {
          return fail("value " + std::to_string(k + 1) + ": " + why);
        }
      }
      st->rows.push_back(row);
    } else if (word == "blob") {
      if (tokens.size() < 2) return fail("blob needs an id");
      Blob b;
      b.line = line_number;
      if (!ParseId(tokens[1].text, &b.id) || b.id == std::string(8, '\0')) {
        return fail("blob id must be 16 hex digits, not all zero");
      }
      for (const Blob& other : script->blobs) {
        if (other.id == b.id) return fail("blob id given twice");
      }
      for (size_t k = 2; k < tokens.size(); ++k) b.content += tokens[k].text;
      script->blobs.push_back(b);
      block = kBlob;
    } else if (word == "content") {
      if (!need_blob()) return false;
      for (size_t k = 1; k < tokens.size(); ++k) blob->content += tokens[k].text;
    } else if (word == "segment") {
      if (!need_blob()) return false;
      if (tokens.size() != 2 || !ParseInt(tokens[1].text, 1, 65535, &n)) return fail("segment needs 1 to 65535");
      blob->segment_size = static_cast<unsigned>(n);
    } else if (word == "info_segments" || word == "info_max" || word == "info_total" ||
               word == "info_type") {
      if (!need_blob()) return false;
      if (tokens.size() != 2 || !ParseInt(tokens[1].text, std::numeric_limits<int32_t>::min(),
                                          std::numeric_limits<int32_t>::max(), &n)) {
        return fail(word + " needs a number");
      }
      if (word == "info_segments") blob->has_info_segments = true, blob->info_segments = n;
      if (word == "info_max") blob->has_info_max = true, blob->info_max = n;
      if (word == "info_total") blob->has_info_total = true, blob->info_total = n;
      if (word == "info_type") blob->has_info_type = true, blob->info_type = n;
    } else if (word == "fail") {
      Failure f;
      f.line = line_number;
      if (!ParseFailure(tokens, &f, &why)) return fail(why);
      script->failures.push_back(f);
      block = kNone;
    } else {
      return fail("unknown instruction " + word);
    }
  }
  return true;
}

}  // namespace fake
