// The number forms on raw values. The input: 8 bytes taken both as a double
// and as a count of ten-thousandths, 1 byte the decimal separator, 4 bytes
// the decimals to round to (the top bit cleared, as the count is never
// negative); numbers in the machine's byte order, missing bytes 0.
//
// The texts are read back with std::from_chars, which knows no locale, while
// the process runs under a locale whose own separator is a comma: a form
// that leaned on the locale would show it.
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <system_error>

#include "export/number_text.h"
#include "fuzz_check.h"

namespace {

constexpr size_t kInputSize = 13;
// Half a unit in the 15th significant digit, relative to the value, with room
// for the 18-digit expansion the rounding starts from.
constexpr double kFifteenDigitError = 5.0001e-15;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// `text` with its separator made a point, or empty when it holds a byte that
// has no place in a number's form.
std::string WithPoint(const std::string& text, char separator) {
  std::string result;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (IsDigit(c) || (c == '-' && (i == 0 || text[i - 1] == 'E')) || c == 'E') {
      result += c;
    } else if (c == separator) {
      result += '.';
    } else {
      return std::string();
    }
  }
  return result;
}

double ReadBack(const std::string& text) {
  double value = 0;
  const std::from_chars_result result =
      std::from_chars(text.data(), text.data() + text.size(), value);
  if (result.ec == std::errc::result_out_of_range) return std::numeric_limits<double>::infinity();
  Check(result.ec == std::errc() && result.ptr == text.data() + text.size(),
        "the text reads back as a number");
  return value;
}

// The significant digits of a number's text: the digits of its mantissa
// without leading and trailing zeros.
size_t SignificantDigits(const std::string& text) {
  std::string digits;
  for (char c : text.substr(0, text.find('E'))) {
    if (IsDigit(c) && (c != '0' || !digits.empty())) digits += c;
  }
  while (!digits.empty() && digits.back() == '0') digits.pop_back();
  return digits.size();
}

bool WithinError(double read, double value, double allowed) {
  // One step of the double grid on top, for values read back near the
  // smallest doubles, where the grid is coarser than the digits.
  const double step = std::fabs(std::nextafter(value, 0.0) - value);
  return std::fabs(read - value) <= allowed + 2 * step;
}

void CheckFloatText(double value, char separator) {
  std::string text;
  AppendFloatText(value, separator, &text);
  if (std::isnan(value)) {
    Check(text == "NAN", "NaN is NAN");
    return;
  }
  if (std::isinf(value)) {
    Check(text == (value < 0 ? "-INF" : "INF"), "an infinity is INF or -INF");
    return;
  }
  if (value == 0) {
    Check(text == "0", "zero of either sign is 0");
    return;
  }
  if (IsDigit(separator) || separator == '-' || separator == 'E') return;
  const std::string number = WithPoint(text, separator);
  Check(!number.empty(), "the text holds digits, the separator, - and E only");
  Check(SignificantDigits(number) <= 15, "at most 15 significant digits");
  const size_t point = number.find('.');
  if (point != std::string::npos) {
    const size_t end = std::min(number.find('E'), number.size());
    Check(number[end - 1] != '0' && end - 1 != point, "decimals end in no zero");
  }
  const double read = ReadBack(number);
  // The largest doubles show digits rounded up past the largest double.
  if (std::isinf(read) && std::fabs(value) > 1.797693134862315e308) return;
  Check(WithinError(read, value, std::fabs(value) * kFifteenDigitError),
        "the text reads back as the value to 15 significant digits");
}

void CheckScaledText(int64_t ten_thousandths, char separator) {
  std::string text;
  AppendScaledText(ten_thousandths, separator, &text);
  if (IsDigit(separator) || separator == '-') return;
  const size_t point = text.find(separator);
  std::string digits = text;
  if (point != std::string::npos) {
    const size_t decimals = text.size() - point - 1;
    Check(decimals >= 1 && decimals <= 4, "one to four decimals");
    Check(text.back() != '0', "decimals end in no zero");
    digits.erase(point, 1);
    digits.append(4 - decimals, '0');
  } else if (ten_thousandths != 0) {
    digits.append(4, '0');
  }
  int64_t read = 0;
  const std::from_chars_result result =
      std::from_chars(digits.data(), digits.data() + digits.size(), read);
  Check(result.ec == std::errc() && result.ptr == digits.data() + digits.size() &&
            read == ten_thousandths,
        "the text is the count of ten-thousandths exactly");
}

void CheckRounding(double value, int decimals) {
  const double rounded = RoundToDecimals(value, decimals);
  if (!std::isfinite(value)) {
    Check(std::isnan(value) ? std::isnan(rounded) : rounded == value,
          "NaN and the infinities stay");
    return;
  }
  Check(std::isfinite(rounded), "a finite value rounds to a finite one");
  Check(rounded == 0 || std::signbit(rounded) == std::signbit(value), "the sign stays");
  Check(RoundToDecimals(rounded, decimals) == rounded, "a rounded value rounds to itself");
  const double allowed = std::fmax(std::fabs(value) * kFifteenDigitError,
                                   0.50001 * std::pow(10.0, -decimals));
  Check(WithinError(rounded, value, allowed), "the rounding moves less than half a unit");
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // Any of these makes the comma the locale's decimal separator; without
  // one installed the check for locale independence is only weaker.
  for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE"}) {
    if (std::setlocale(LC_ALL, name) != nullptr) break;
  }
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  unsigned char input[kInputSize] = {};
  std::memcpy(input, data, std::min(size, kInputSize));
  double value;
  int64_t ten_thousandths;
  std::memcpy(&value, input, sizeof value);
  std::memcpy(&ten_thousandths, input, sizeof ten_thousandths);
  const char separator = static_cast<char>(input[8]);
  uint32_t decimals = 0;
  std::memcpy(&decimals, input + 9, sizeof decimals);
  decimals &= 0x7fffffffu;

  CheckFloatText(value, separator);
  CheckScaledText(ten_thousandths, separator);
  CheckRounding(value, static_cast<int>(decimals));
  return 0;
}
