// A date, a time or both, as calendar fields: what a fetched DATE, TIME or
// TIMESTAMP holds and what the date patterns format. A time has year, month
// and day 0; a date has hour, minute and second 0.
#ifndef QELT_DB_DATE_TIME_VALUE_H_
#define QELT_DB_DATE_TIME_VALUE_H_

struct DateTimeValue {
  int year, month, day, hour, minute, second;
};

#endif  // QELT_DB_DATE_TIME_VALUE_H_
