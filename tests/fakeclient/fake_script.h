// The script of the recording fake client library: what the fake answers.
//
// The fake (fake_calls.cc) reads the file named by QELT_FAKE_SCRIPT on its
// first call. Without that variable every attach succeeds, the database
// reports dialect 3 and every prepared statement is of kind 2 (insert) with
// no columns and one input marker per "?" of its text.
//
// Script format (README.md beside this file has the same with examples)
// ----------------------------------------------------------------------
// One instruction per line; blank lines are ignored, and "#" at the start of
// a token begins a comment that runs to the end of the line. Tokens are
// separated by blanks or TABs. A token may be written in double quotes, with
// the escapes \\ \" \t \r \n \0 and \xNN (two hex digits) for any byte; a
// quoted token may be empty (""). An option is a bare word=value token
// (the value may be quoted: relation="MY TABLE").
//
// Database:
//   dialect N                 item 62 of isc_database_info answers N (1 to 3;
//                             default 3)
//   db_info_answer HEX...     isc_database_info answers exactly these bytes
//                             instead (e.g. "01": no dialect item at all)
//
// Statements: "statement" begins a block; the lines after it, up to the next
// "statement", "blob" or "fail", describe it. A prepare uses the first block
// whose "match" text occurs in the prepared text (byte for byte); a block
// without "match" matches every text. When the script has statement blocks
// but none matches, the prepare fails (Dynamic SQL Error, 335544569).
//   statement
//   match TEXT                the block is for texts that contain TEXT
//   kind N                    isc_dsql_sql_info item 21 answers N (any
//                             number; default 1 when the block has columns,
//                             else 2)
//   kind_answer HEX...        the answer to an item list holding 21 is exactly
//                             these bytes instead (e.g. "01")
//   params N [nullable|notnull]
//                             describe_bind describes N markers (SQL_VARYING
//                             of 32 bytes; nullable unless notnull). Default:
//                             one per "?" of the prepared text outside '...',
//                             "..." and comments, all nullable.
//   param TYPE [option...]    one explicitly described marker (in order);
//                             options as for column; nullable unless notnull
//   column NAME TYPE [option...]
//                             one result column. NAME is the alias name (may
//                             be "" or hold any bytes, at most 32). TYPE is a
//                             code (bit 0 = nullable) or a name: SQL_TEXT,
//                             SQL_VARYING, SQL_SHORT, SQL_LONG, SQL_INT64,
//                             SQL_FLOAT, SQL_DOUBLE, SQL_D_FLOAT,
//                             SQL_TIMESTAMP, SQL_TYPE_DATE, SQL_TYPE_TIME,
//                             SQL_BLOB, SQL_ARRAY, SQL_QUAD, SQL_BOOLEAN,
//                             SQL_NULL. Options: len=N (required for
//                             SQL_TEXT, SQL_VARYING and unknown codes),
//                             scale=N, sub=N, nullable, notnull,
//                             relation=NAME, field=NAME (default: the alias),
//                             owner=NAME.
//   row VALUE...              one row: one value per column, in order.
//
// Values (a row's values are read by the column's type):
//   NULL                      (bare word) the null value; the column must be
//                             nullable
//   x:HEX                     the data bytes exactly (for SQL_VARYING the
//                             content, without the length word; else exactly
//                             len bytes)
//   text columns              the token's bytes; SQL_TEXT is filled up with
//                             blanks to len, as the server does
//   SQL_SHORT/LONG/INT64      an integer; with a negative scale a decimal
//                             text such as -12.5 (at most -scale decimals),
//                             held as the scaled integer (-1250 at scale -2)
//   SQL_FLOAT/DOUBLE/D_FLOAT  a number as strtod reads it (nan, inf, -inf)
//   SQL_TYPE_DATE             YYYY-MM-DD
//   SQL_TYPE_TIME             HH:MM:SS[.F] with 1 to 4 fraction digits
//   SQL_TIMESTAMP             YYYY-MM-DD, YYYY-MM-DDTHH:MM:SS[.F] or the same
//                             with a blank in quotes ("2024-02-29 12:00:00.5")
//                             Dates are days since 17 November 1858, times
//                             1/10000 s since midnight, as Firebird holds them.
//   SQL_BLOB/ARRAY/QUAD       the 8-byte id as 16 hex digits in memory order,
//                             or 0 for the all-zero id
//   SQL_BOOLEAN               true, false (or 1, 0)
//
// Blobs: "blob ID" begins a block (ID as for row values, not 0).
//   blob ID [TEXT...]         the blob with this id; its content is the texts
//                             joined
//   content TEXT...           appends more bytes to the content
//   segment N                 get_segment delivers segments of at most N
//                             bytes (1 to 65535; default 65535)
//   info_segments N, info_max N, info_total N, info_type N
//                             override what isc_blob_info reports (defaults:
//                             the number of segments, the largest segment,
//                             the content's length, 0 = segmented)
//
// Failures:
//   fail FUNCTION K CODE [option...] [MESSAGE...]
//   fail FUNCTION K+ CODE ...  the K-th call of FUNCTION (an isc_ name that
//                             returns a status) fails; with "+" that call and
//                             every later one
//   fail call N CODE ...      the N-th call overall (trace line N) fails, if
//                             that call returns a status
//   CODE goes into status[1]; options: sqlcode=N (what isc_sqlcode answers for
//   the vector), also=C1,C2,... (more error codes after the first, each as an
//   isc_arg_gds entry). MESSAGEs are quoted texts that isc_interprete yields
//   one per call, after which it returns 0; without them it yields the
//   fake's text for each code ("unknown ISC error N" for codes it does not
//   know). A failing call changes nothing but the status vector.
#ifndef QELT_TESTS_FAKECLIENT_FAKE_SCRIPT_H_
#define QELT_TESTS_FAKECLIENT_FAKE_SCRIPT_H_

#include <ibase.h>

#include <cstdint>
#include <string>
#include <vector>

namespace fake {

// A described variable: a result column or an input marker.
struct Variable {
  std::string alias;     // aliasname
  std::string field;     // sqlname
  std::string relation;  // relname
  std::string owner;     // ownname
  short sqltype = 0;     // with bit 0 for nullable
  short scale = 0;
  short subtype = 0;
  short length = 0;      // sqllen: the data length (without a VARYING's length word)

  short base_type() const { return static_cast<short>(sqltype & ~1); }
  bool nullable() const { return (sqltype & 1) != 0; }
};

// One value of a row: null, or the data bytes as the client receives them
// (for SQL_VARYING only the content; the length word is added at fetch).
struct Value {
  bool null = false;
  std::string data;
};

struct Statement {
  int line = 0;
  bool has_match = false;
  std::string match;
  bool has_kind = false;
  int64_t kind = 0;
  bool has_kind_answer = false;
  std::string kind_answer;
  bool has_params = false;  // params or param given
  std::vector<Variable> params;
  std::vector<Variable> columns;
  std::vector<std::vector<Value>> rows;

  int64_t Kind() const { return has_kind ? kind : (columns.empty() ? 2 : 1); }
};

struct Blob {
  int line = 0;
  std::string id;  // 8 bytes
  std::string content;
  unsigned segment_size = 65535;
  bool has_info_segments = false, has_info_max = false, has_info_total = false,
       has_info_type = false;
  int64_t info_segments = 0, info_max = 0, info_total = 0, info_type = 0;
};

struct Failure {
  int line = 0;
  std::string function;  // empty: the N-th call overall
  uint64_t count = 0;    // K or N, from 1
  bool and_later = false;
  ISC_STATUS code = 0;
  bool has_sqlcode = false;
  ISC_LONG sqlcode = 0;
  std::vector<ISC_STATUS> also;
  std::vector<std::string> messages;
};

struct Script {
  int dialect = 3;
  bool has_db_info_answer = false;
  std::string db_info_answer;
  std::vector<Statement> statements;
  std::vector<Blob> blobs;
  std::vector<Failure> failures;
};

// Parses a script text. On failure returns false with "line N: what" in *error.
bool ParseScript(const std::string& text, Script* script, std::string* error);

// The SQL type code for a name such as "SQL_LONG", or -1.
int TypeCode(const std::string& name);

// True for the exported functions that return a status (and so can fail).
bool IsStatusFunction(const std::string& name);

// The default input markers of a prepared text: one per "?" outside '...',
// "..." and comments.
int CountMarkers(const std::string& sql);

// Firebird's calendar: days since 17 November 1858 for a date of the
// proleptic Gregorian calendar, and back.
ISC_DATE EncodeDate(int year, int month, int day);
void DecodeDate(ISC_DATE date, int* year, int* month, int* day);

}  // namespace fake

#endif  // QELT_TESTS_FAKECLIENT_FAKE_SCRIPT_H_
