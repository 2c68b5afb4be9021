// The text forms of numbers in the result file, and the decimal rounding that
// float values get when they are fetched.
//
// Every Append function appends to the caller's string and allocates nothing
// beyond that string's growth, so one reused line buffer formats a million
// values without a heap call per value. None of them depends on the process's
// locale: the decimal separator is the caller's. None of them can fail.
#ifndef QELT_EXPORT_NUMBER_TEXT_H_
#define QELT_EXPORT_NUMBER_TEXT_H_

#include <cstdint>
#include <string>

// The general form of a float: 15 significant digits without trailing zeros,
// scientific ("1E15", "1.5E-5") when the decimal exponent is above 15 or
// below -3; "NAN", "INF" and "-INF" for the values that are no numbers;
// "0" for zero of either sign.
void AppendFloatText(double value, char decimal_separator, std::string* out);

// The exact form of a count of ten-thousandths: up to four decimals, never
// trailing zeros, never scientific ("12.5", "3", "-0.05"). Every int64_t,
// INT64_MIN included, has its text.
void AppendScaledText(int64_t ten_thousandths, char decimal_separator,
                      std::string* out);

// Decimal digits, "-" before a negative number, no separators.
void AppendIntegerText(int64_t value, std::string* out);

// `value` as it reads back from its fixed-notation text with `decimals`
// (0 or more) decimals and at most 15 significant digits, halves rounded away
// from zero. NaN and the infinities come back unchanged; a value that
// rounds to nothing comes back as 0.
double RoundToDecimals(double value, int decimals);

#endif  // QELT_EXPORT_NUMBER_TEXT_H_
