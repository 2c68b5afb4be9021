#include "db/fields.h"

#include <cmath>
#include <cstring>
#include <ctime>

#include "db/client_library.h"
#include "db/ib_errors.h"
#include "db/record_cache.h"
#include "export/number_text.h"

namespace {

constexpr int kScaledDecimals = 4;
constexpr char kDbKeyAlias[] = "IBX_INTERNAL_DBKEY";

// 10^0 to 10^18, exact both as integers and as doubles.
constexpr int64_t kPowersOfTen[] = {1,
                                    10,
                                    100,
                                    1000,
                                    10000,
                                    100000,
                                    1000000,
                                    10000000,
                                    100000000,
                                    1000000000,
                                    10000000000,
                                    100000000000,
                                    1000000000000,
                                    10000000000000,
                                    100000000000000,
                                    1000000000000000,
                                    10000000000000000,
                                    100000000000000000,
                                    1000000000000000000};

double PowerOfTen(int exponent) {
  return exponent < 19 ? static_cast<double>(kPowersOfTen[exponent]) : std::pow(10.0, exponent);
}

[[noreturn]] void RaiseInvalidConversion() { throw EIBClientError("Invalid data conversion"); }

int64_t RawInteger(const XSQLVAR& column) {
  switch (column.sqltype & ~1) {
    case SQL_SHORT: {
      int16_t v;
      std::memcpy(&v, column.sqldata, sizeof v);
      return v;
    }
    case SQL_LONG: {
      int32_t v;
      std::memcpy(&v, column.sqldata, sizeof v);
      return v;
    }
    default: {
      int64_t v;
      std::memcpy(&v, column.sqldata, sizeof v);
      return v;
    }
  }
}

double RawDouble(const XSQLVAR& column) {
  if ((column.sqltype & ~1) == SQL_FLOAT) {
    float f;
    std::memcpy(&f, column.sqldata, sizeof f);
    return f;
  }
  if ((column.sqltype & ~1) == SQL_DOUBLE) {
    double d;
    std::memcpy(&d, column.sqldata, sizeof d);
    return d;
  }
  return static_cast<double>(RawInteger(column)) / PowerOfTen(-column.sqlscale);
}

// The float rule: the value as a double, rounded to the column's decimals
// when it has a scale.
double FloatValue(const XSQLVAR& column) {
  double value = RawDouble(column);
  return column.sqlscale != 0 ? RoundToDecimals(value, -column.sqlscale) : value;
}

int64_t ScaledValue(const XSQLVAR& column, unsigned dialect) {
  if (dialect >= 3) {
    int64_t count;
    if (__builtin_mul_overflow(RawInteger(column), kPowersOfTen[kScaledDecimals + column.sqlscale],
                               &count)) {
      RaiseInvalidConversion();
    }
    return count;
  }
  double count = std::round(FloatValue(column) * kPowersOfTen[kScaledDecimals]);
  // 2^63 is the first double beyond the count's range.
  if (!(count >= -9223372036854775808.0 && count < 9223372036854775808.0)) {
    RaiseInvalidConversion();
  }
  return static_cast<int64_t>(count);
}

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

void CheckDate(const DateTimeValue& v) {
  if (v.year < 1 || v.year > 9999 || v.month < 1 || v.month > 12 || v.day < 1 ||
      v.day > DaysInMonth(v.year, v.month)) {
    RaiseInvalidConversion();
  }
}

void CheckTime(const DateTimeValue& v) {
  if (v.hour < 0 || v.hour > 23 || v.minute < 0 || v.minute > 59 || v.second < 0 ||
      v.second > 59) {
    RaiseInvalidConversion();
  }
}

DateTimeValue FromTm(const struct tm& t) {
  return {t.tm_year + 1900, t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec};
}

uint64_t CaptureCalendar(ValueKind kind, const XSQLVAR& column) {
  struct tm t = {};
  DateTimeValue value = {};
  switch (kind) {
    case ValueKind::kDateTime:
      ClientLibrary().decode_date(reinterpret_cast<const ISC_QUAD*>(column.sqldata), &t);
      value = FromTm(t);
      CheckDate(value);
      CheckTime(value);
      break;
    case ValueKind::kDate:
      DecodeSqlDate(reinterpret_cast<const ISC_DATE*>(column.sqldata), &t);
      value = FromTm(t);
      CheckDate(value);
      value.hour = value.minute = value.second = 0;
      break;
    default:  // kTime
      DecodeSqlTime(reinterpret_cast<const ISC_TIME*>(column.sqldata), &t);
      value = {0, 0, 0, t.tm_hour, t.tm_min, t.tm_sec};
      CheckTime(value);
      break;
  }
  return PackCalendar(value);
}

}  // namespace

bool FieldForColumn(const XSQLVAR& column, int position, Field* field) {
  short type = static_cast<short>(column.sqltype & ~1);
  short scale = column.sqlscale;
  ValueKind kind;
  int size = 0;
  int precision = 0;
  switch (type) {
    case SQL_TEXT:
    case SQL_VARYING:
      kind = ValueKind::kText;
      size = column.sqllen;
      break;
    case SQL_SHORT:
    case SQL_LONG:
    case SQL_INT64:
      if (scale > 0) return false;  // no such column type
      if (scale == 0) {
        kind = type == SQL_SHORT ? ValueKind::kSmallInt
               : type == SQL_LONG ? ValueKind::kInteger
                                  : ValueKind::kLargeInt;
      } else if (scale >= -kScaledDecimals) {
        kind = ValueKind::kScaled;
        size = -scale;
        precision = type == SQL_SHORT ? 4 : type == SQL_LONG ? 9 : 18;
      } else {
        kind = ValueKind::kFloat;
      }
      break;
    case SQL_FLOAT:
    case SQL_DOUBLE: kind = ValueKind::kFloat; break;
    case SQL_TIMESTAMP: kind = ValueKind::kDateTime; break;
    case SQL_TYPE_DATE: kind = ValueKind::kDate; break;
    case SQL_TYPE_TIME: kind = ValueKind::kTime; break;
    case SQL_BLOB:
      kind = ValueKind::kBlob;
      size = 8;
      break;
    default: return false;
  }
  std::string name(column.aliasname, static_cast<size_t>(column.aliasname_length));
  if (name == kDbKeyAlias) return false;
  *field = {kind, std::move(name), position, type, scale, size, precision};
  return true;
}

uint64_t PackCalendar(const DateTimeValue& v) {
  return (static_cast<uint64_t>(v.year) << 26) | (static_cast<uint64_t>(v.month) << 22) |
         (static_cast<uint64_t>(v.day) << 17) | (static_cast<uint64_t>(v.hour) << 12) |
         (static_cast<uint64_t>(v.minute) << 6) | static_cast<uint64_t>(v.second);
}

DateTimeValue UnpackCalendar(uint64_t slot) {
  return {static_cast<int>(slot >> 26),         static_cast<int>((slot >> 22) & 0xF),
          static_cast<int>((slot >> 17) & 0x1F), static_cast<int>((slot >> 12) & 0x1F),
          static_cast<int>((slot >> 6) & 0x3F),  static_cast<int>(slot & 0x3F)};
}

void CaptureValue(const Field& field, const XSQLVAR& column, unsigned dialect,
                  RecordCache* cache, uint64_t* slot, uint8_t* null) {
  *null = (column.sqltype & 1) && column.sqlind && *column.sqlind == -1;
  if (*null) {
    *slot = 0;
    return;
  }
  switch (field.kind) {
    case ValueKind::kText:
      if (field.sql_type == SQL_VARYING) {
        auto length = static_cast<size_t>(
            static_cast<uint16_t>(ClientLibrary().vax_integer(column.sqldata, 2)));
        *slot = cache->StoreText(column.sqldata + 2, length);
      } else {
        *slot = cache->StoreText(column.sqldata, static_cast<size_t>(column.sqllen));
      }
      break;
    case ValueKind::kSmallInt:
    case ValueKind::kInteger:
    case ValueKind::kLargeInt:
      *slot = static_cast<uint64_t>(RawInteger(column));
      break;
    case ValueKind::kScaled:
      *slot = static_cast<uint64_t>(ScaledValue(column, dialect));
      break;
    case ValueKind::kFloat: {
      double value = FloatValue(column);
      std::memcpy(slot, &value, sizeof value);
      break;
    }
    case ValueKind::kDate:
    case ValueKind::kTime:
    case ValueKind::kDateTime:
      *slot = CaptureCalendar(field.kind, column);
      break;
    case ValueKind::kBlob:
      std::memcpy(slot, column.sqldata, sizeof *slot);
      break;
  }
}
