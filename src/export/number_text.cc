#include "export/number_text.h"

#include <charconv>
#include <system_error>
#include <cmath>

namespace {

// Significant digits of the expansion every float form starts from.
constexpr int kExpansionDigits = 18;
// Significant digits a float is shown and rounded with.
constexpr int kFloatDigits = 15;

// Writes the correctly rounded 18-digit expansion of `magnitude` (finite,
// above 0) into `digits` and returns the exponent E for which the value is
// 0.d1d2... times 10 to the power E.
int ExpandDigits(double magnitude, char* digits) {
  // "d.ddddddddddddddddde-XXX": 18 digits, the point, the exponent.
  char text[32];
  std::to_chars_result result =
      std::to_chars(text, text + sizeof text, magnitude,
                    std::chars_format::scientific, kExpansionDigits - 1);
  digits[0] = text[0];
  for (int i = 1; i < kExpansionDigits; ++i) digits[i] = text[i + 1];
  int exponent = 0;
  const char* exponent_text = text + kExpansionDigits + 2;  // past the 'e'
  if (*exponent_text == '+') ++exponent_text;
  std::from_chars(exponent_text, result.ptr, exponent);
  return exponent + 1;
}

// Keeps the first `keep` of the 18 digits, adding one to them when the digit
// after them is 5 or more; a carry out of the first digit leaves the single
// digit 1 and raises *exponent. Returns how many digits are left once the
// trailing zeros are dropped, 0 when the value rounded to nothing.
int RoundDigits(char* digits, int keep, int* exponent) {
  if (keep < 0) return 0;
  int count = keep;
  if (digits[keep] >= '5') {
    int i = keep - 1;
    while (i >= 0 && digits[i] == '9') {
      digits[i] = '0';
      --i;
    }
    if (i >= 0) {
      ++digits[i];
    } else {
      digits[0] = '1';
      count = 1;
      ++*exponent;
    }
  }
  while (count > 0 && digits[count - 1] == '0') --count;
  return count;
}

// Writes the digits 0.d1d2...dn times 10 to the power `exponent` in fixed
// notation: "0," and zeros before the digits when the exponent is 0 or less,
// otherwise the whole part (filled up with zeros) and any decimals.
void AppendFixed(const char* digits, int count, int exponent,
                 char decimal_separator, std::string* out) {
  if (exponent <= 0) {
    out->push_back('0');
    out->push_back(decimal_separator);
    out->append(static_cast<size_t>(-exponent), '0');
    out->append(digits, static_cast<size_t>(count));
    return;
  }
  if (count <= exponent) {
    out->append(digits, static_cast<size_t>(count));
    out->append(static_cast<size_t>(exponent - count), '0');
    return;
  }
  out->append(digits, static_cast<size_t>(exponent));
  out->push_back(decimal_separator);
  out->append(digits + exponent, static_cast<size_t>(count - exponent));
}

}  // namespace

void AppendFloatText(double value, char decimal_separator, std::string* out) {
  if (std::isnan(value)) {
    out->append("NAN");
    return;
  }
  if (std::signbit(value)) out->push_back('-');
  if (std::isinf(value)) {
    out->append("INF");
    return;
  }
  if (value == 0) {
    // Negative zero shows no sign.
    if (std::signbit(value)) out->pop_back();
    out->push_back('0');
    return;
  }
  char digits[kExpansionDigits];
  int exponent = ExpandDigits(std::fabs(value), digits);
  int count = RoundDigits(digits, kFloatDigits, &exponent);
  if (exponent > kFloatDigits || exponent < -3) {
    out->push_back(digits[0]);
    if (count > 1) {
      out->push_back(decimal_separator);
      out->append(digits + 1, static_cast<size_t>(count - 1));
    }
    out->push_back('E');
    char text[8];
    std::to_chars_result result = std::to_chars(text, text + sizeof text, exponent - 1);
    out->append(text, result.ptr);
    return;
  }
  AppendFixed(digits, count, exponent, decimal_separator, out);
}

void AppendScaledText(int64_t ten_thousandths, char decimal_separator,
                      std::string* out) {
  if (ten_thousandths == 0) {
    out->push_back('0');
    return;
  }
  // Negated as unsigned, so INT64_MIN has its magnitude too.
  uint64_t magnitude = static_cast<uint64_t>(ten_thousandths);
  if (ten_thousandths < 0) {
    out->push_back('-');
    magnitude = 0 - magnitude;
  }
  char digits[24];
  std::to_chars_result result = std::to_chars(digits, digits + sizeof digits, magnitude);
  int count = static_cast<int>(result.ptr - digits);
  int exponent = count - 4;
  while (digits[count - 1] == '0') --count;
  AppendFixed(digits, count, exponent, decimal_separator, out);
}

void AppendIntegerText(int64_t value, std::string* out) {
  char text[24];
  std::to_chars_result result = std::to_chars(text, text + sizeof text, value);
  out->append(text, result.ptr);
}

// The rounding starts from the same 18-digit expansion as the general form,
// so a value that the general form shows as ending in 5 at the rounding place
// rounds up: 0.125 to two decimals gives 0.13, and the binary error below
// the 18th digit never decides a half.
double RoundToDecimals(double value, int decimals) {
  if (!std::isfinite(value)) return value;
  if (value == 0) return 0.0;
  char digits[kExpansionDigits];
  int exponent = ExpandDigits(std::fabs(value), digits);
  // The decimals end after exponent + decimals digits; written that way so a
  // huge `decimals` can't overflow.
  int keep = decimals > kFloatDigits - exponent ? kFloatDigits : exponent + decimals;
  int count = RoundDigits(digits, keep, &exponent);
  if (count == 0) return 0.0;
  // Read back as "-d1d2...dnE(exponent-n)".
  char text[40];
  char* end = text;
  if (value < 0) *end++ = '-';
  for (int i = 0; i < count; ++i) *end++ = digits[i];
  *end++ = 'e';
  end = std::to_chars(end, text + sizeof text, exponent - count).ptr;
  double rounded = 0;
  // Only a value next to the largest double can round past it; it stays.
  if (std::from_chars(text, end, rounded).ec != std::errc()) return value;
  return rounded;
}
