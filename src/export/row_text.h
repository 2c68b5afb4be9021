// A fetched row as one line of text: its values' texts joined by TAB.
//
// RowFormatter compiles the date and time patterns of the format settings
// once; AppendRow() then appends the current row's line (without a line end)
// for every row. Each value's text follows its kind: integers in decimal,
// floats in the general 15-digit form, scaled decimals exactly, dates with
// the short date pattern, times with the long time pattern, date-times with
// both, text and blob content byte for byte (text up to its first 0 byte).
// NULL is the empty text. Values are neither quoted nor escaped.
//
// Reading a blob's content can fail with the database error; nothing else
// here can fail.
#ifndef QELT_EXPORT_ROW_TEXT_H_
#define QELT_EXPORT_ROW_TEXT_H_

#include <string>

#include "export/date_pattern.h"
#include "export/format_settings.h"

class Query;

class RowFormatter {
 public:
  explicit RowFormatter(const FormatSettings& settings);

  void AppendRow(const Query& query, std::string* out) const;
  void AppendValue(const Query& query, size_t field, std::string* out) const;

 private:
  char decimal_separator_;
  DateTimeForms forms_;
};

#endif  // QELT_EXPORT_ROW_TEXT_H_
