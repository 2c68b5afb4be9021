#include "platform/strftime_items_posix.h"

#include <cctype>
#include <cstring>
#include <vector>

namespace platform {
namespace {

// One piece of a strftime format: a conversion letter, or a literal byte when
// `conversion` is 0.
struct FormatPiece {
  char conversion;
  bool unpadded;  // the "-" flag: no leading zero or blank
  char literal;
};

const char* TwelveHourFormat(const StrftimeFormats& formats) {
  return formats.twelve_hour.empty() ? "%I:%M:%S %p" : formats.twelve_hour.c_str();
}

// Splits a strftime format into pieces, the combined conversions (%D, %F,
// %T, %R, %r, %x, %X) replaced by what they stand for. `depth` keeps formats
// that name each other from looping.
void ParseFormat(const char* format, const StrftimeFormats& formats, int depth,
                 std::vector<FormatPiece>* pieces) {
  for (const char* p = format; *p != '\0'; ++p) {
    if (*p != '%') {
      pieces->push_back(FormatPiece{0, false, *p});
      continue;
    }
    ++p;
    bool unpadded = false;
    while (*p != '\0' && std::strchr("-_0^#", *p) != nullptr) {
      if (*p == '-') unpadded = true;
      ++p;
    }
    while (std::isdigit(static_cast<unsigned char>(*p))) ++p;
    if (*p == 'E' || *p == 'O') ++p;
    if (*p == '\0') return;
    bool nested = depth < 2;
    const char* combined = nullptr;
    switch (*p) {
      case 'D': combined = "%m/%d/%y"; break;
      case 'F': combined = "%Y-%m-%d"; break;
      case 'T': combined = "%H:%M:%S"; break;
      case 'R': combined = "%H:%M"; break;
      case 'r': combined = nested ? TwelveHourFormat(formats) : ""; break;
      case 'x': combined = nested ? formats.date.c_str() : ""; break;
      case 'X': combined = nested ? formats.time.c_str() : ""; break;
      case 'n': pieces->push_back(FormatPiece{0, false, '\n'}); break;
      case 't': pieces->push_back(FormatPiece{0, false, '\t'}); break;
      case '%': pieces->push_back(FormatPiece{0, false, '%'}); break;
      default: pieces->push_back(FormatPiece{*p, unpadded, 0}); break;
    }
    if (combined != nullptr) ParseFormat(combined, formats, depth + 1, pieces);
  }
}

std::vector<FormatPiece> Pieces(const std::string& format, const StrftimeFormats& formats) {
  std::vector<FormatPiece> pieces;
  ParseFormat(format.c_str(), formats, 0, &pieces);
  return pieces;
}

bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// The first literal that is ASCII punctuation (the bytes of a UTF-8
// character never are; blanks only space the parts), 0 for none.
char SeparatorOf(const std::vector<FormatPiece>& pieces) {
  for (const FormatPiece& piece : pieces) {
    unsigned char c = static_cast<unsigned char>(piece.literal);
    if (piece.conversion == 0 && c < 0x80 && std::ispunct(c) != 0) return piece.literal;
  }
  return 0;
}

bool IsHourConversion(char c) { return c == 'H' || c == 'k' || c == 'I' || c == 'l'; }

// The first hour conversion of the pieces, null for none.
const FormatPiece* FirstHour(const std::vector<FormatPiece>& pieces) {
  for (const FormatPiece& piece : pieces) {
    if (IsHourConversion(piece.conversion)) return &piece;
  }
  return nullptr;
}

// Appends literal bytes so that the pattern reads them as themselves:
// letters, "/", ":" and single quotes go inside double quotes, a double quote
// inside single ones.
void AppendLiteral(const std::string& literal, std::string* pattern) {
  bool quoted = false;
  for (char c : literal) {
    if (c == '"') {
      if (quoted) pattern->push_back('"');
      quoted = false;
      pattern->append("'\"'");
      continue;
    }
    bool special = IsAsciiLetter(c) || c == '/' || c == ':' || c == '\'';
    if (special != quoted) {
      pattern->push_back('"');
      quoted = special;
    }
    pattern->push_back(c);
  }
  if (quoted) pattern->push_back('"');
}

// The pattern element of a date conversion; conversions without one are left
// out.
const char* DateElement(const FormatPiece& piece) {
  switch (piece.conversion) {
    case 'd': return piece.unpadded ? "d" : "dd";
    case 'e': return "d";
    case 'm': return piece.unpadded ? "M" : "MM";
    case 'y':
    case 'g': return "yy";
    case 'Y':
    case 'G': return "yyyy";
    case 'b':
    case 'h': return "MMM";
    case 'B': return "MMMM";
    case 'a': return "ddd";
    case 'A': return "dddd";
    default: return "";
  }
}

std::string ShortDatePattern(const std::vector<FormatPiece>& pieces) {
  char separator = SeparatorOf(pieces);
  std::string pattern;
  std::string literal;
  for (const FormatPiece& piece : pieces) {
    if (piece.conversion == 0 && piece.literal != separator) {
      literal.push_back(piece.literal);
      continue;
    }
    AppendLiteral(literal, &pattern);
    literal.clear();
    pattern += piece.conversion == 0 ? "/" : DateElement(piece);
  }
  AppendLiteral(literal, &pattern);
  return pattern;
}

bool LongDatePattern(const std::vector<FormatPiece>& pieces, std::string* text) {
  // The position of the first day, month and year conversion.
  size_t day = pieces.size();
  size_t month = pieces.size();
  size_t year = pieces.size();
  for (size_t i = pieces.size(); i-- > 0;) {
    char c = pieces[i].conversion;
    if (c == 'd' || c == 'e') day = i;
    if (c == 'm' || c == 'b' || c == 'h' || c == 'B') month = i;
    if (c == 'y' || c == 'Y' || c == 'g' || c == 'G') year = i;
  }
  if (day == pieces.size() || month == pieces.size() || year == pieces.size()) return false;
  if (year < day && year < month) {
    *text = "yyyy MMMM d";
  } else if (month < day && day < year) {
    *text = "MMMM d, yyyy";
  } else {
    *text = "d MMMM yyyy";
  }
  return true;
}

// "1" for the 24-hour clock, "0" for the 12-hour clock.
const char* Clock(const StrftimeFormats& formats) {
  std::vector<FormatPiece> pieces = Pieces(formats.time, formats);
  const FormatPiece* hour = FirstHour(pieces);
  if (hour != nullptr) return hour->conversion == 'H' || hour->conversion == 'k' ? "1" : "0";
  return formats.twelve_hour.empty() ? "1" : "0";
}

// "1" when the AM/PM marker stands before the hour, "0" otherwise.
const char* TimeMarkPosition(const StrftimeFormats& formats) {
  for (const FormatPiece& piece : Pieces(TwelveHourFormat(formats), formats)) {
    if (piece.conversion == 'p' || piece.conversion == 'P') return "1";
    if (IsHourConversion(piece.conversion)) return "0";
  }
  return "0";
}

}  // namespace

bool StrftimeItem(LocaleItem item, const StrftimeFormats& formats, std::string* text) {
  switch (item) {
    case LocaleItem::kDateSeparator:
    case LocaleItem::kTimeSeparator: {
      bool date = item == LocaleItem::kDateSeparator;
      char separator = SeparatorOf(Pieces(date ? formats.date : formats.time, formats));
      if (separator == 0) return false;
      *text = std::string(1, separator);
      return true;
    }
    case LocaleItem::kShortDatePattern:
      *text = ShortDatePattern(Pieces(formats.date, formats));
      return true;
    case LocaleItem::kLongDatePattern:
      return LongDatePattern(Pieces(formats.date, formats), text);
    case LocaleItem::kHourLeadingZero: {
      std::vector<FormatPiece> pieces = Pieces(formats.time, formats);
      const FormatPiece* hour = FirstHour(pieces);
      if (hour == nullptr) return false;
      bool zero = (hour->conversion == 'H' || hour->conversion == 'I') && !hour->unpadded;
      *text = zero ? "1" : "0";
      return true;
    }
    case LocaleItem::kClock:
      *text = Clock(formats);
      return true;
    case LocaleItem::kTimeMarkPosition:
      *text = TimeMarkPosition(formats);
      return true;
    default:
      return false;
  }
}

}  // namespace platform
