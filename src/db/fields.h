// Result columns as the query's fields, and their values as captured at fetch.
//
// Each output column of a prepared select becomes a field of one of ten value
// kinds, or is left out (arrays, quads, D_FLOAT, unknown types, and the
// internal db-key column). CaptureValue() converts one column of a fetched
// row into its 8-byte slot in the record cache: integers as they are, scaled
// decimals as a count of ten-thousandths, floats as doubles, dates decoded
// into their calendar fields, text into the cache's text store, blob
// identifiers as delivered. A date or time that can't be represented raises
// EIBClientError "Invalid data conversion"; so does a scaled decimal outside
// the range of the count.
#ifndef QELT_DB_FIELDS_H_
#define QELT_DB_FIELDS_H_

#include <ibase.h>

#include <cstdint>
#include <string>

#include "db/date_time_value.h"

class RecordCache;

enum class ValueKind {
  kText,
  kSmallInt,
  kInteger,
  kLargeInt,
  kFloat,
  kScaled,  // signed 64-bit count of ten-thousandths
  kDate,
  kTime,
  kDateTime,
  kBlob,  // the 8-byte identifier; the content is read when asked for
};

struct Field {
  ValueKind kind;
  std::string name;  // the column's alias name
  int column;        // its position in the output descriptor
  short sql_type;    // without the nullable bit
  short scale;
  int size;
  int precision;
};

// The field for an output column; false when the column is left out.
bool FieldForColumn(const XSQLVAR& column, int position, Field* field);

uint64_t PackCalendar(const DateTimeValue& value);
DateTimeValue UnpackCalendar(uint64_t slot);

// Converts the column's current data into *slot and *null; `dialect` is the
// connection's SQL dialect.
void CaptureValue(const Field& field, const XSQLVAR& column, unsigned dialect,
                  RecordCache* cache, uint64_t* slot, uint8_t* null);

#endif  // QELT_DB_FIELDS_H_
