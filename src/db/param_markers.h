// The parameter markers of a SQL text: a ":" or "?" followed by a name.
//
// The query derives its parameter list with DeriveParameterList whenever its
// SQL lines change, and runs ScanMarkers on the SQL text before it prepares
// the statement; the server gets the scan's sent text, and binding pairs the
// parameter list with the scan's markers by position. The two look at the
// text differently on purpose (the derivation knows no comments and no "?"
// markers, the scan knows no backquotes), so their counts can differ.
//
// DeriveParameterList never fails. ScanMarkers throws EIBClientError with
// "SQL Parse Error:", CR LF twice and the reason when the text can't be
// scanned; then nothing may be prepared.
#ifndef QELT_DB_PARAM_MARKERS_H_
#define QELT_DB_PARAM_MARKERS_H_

#include <string>
#include <vector>

// The names of the parameters in `sql_text`, in the order found, repeats
// included. Each of ' " ` flips a literal flag, whether or not they pair.
// Outside the flag "::" is skipped and any other ":" begins a parameter whose
// name runs up to a blank, comma, semicolon, ")", CR, LF or the end; quote
// characters in the name still flip the flag (and stay in the name), and
// while the flag is on those delimiters don't end it. The scan goes on after
// the delimiter. A lead byte and the byte after it are taken together. The
// name may be empty (":" before a delimiter).
std::vector<std::string> DeriveParameterList(const std::string& sql_text);

struct MarkerScan {
  // The text with every marker replaced by "?", its line breaks (CR LF, lone
  // CR, lone LF) made CR LF and a CR LF after the last line.
  std::string sent_text;
  // The name of marker 0, 1, 2, ... in the order the markers stand.
  std::vector<std::string> marker_names;
};

// Scans `sql_text` in four states. Normal: ' or " opens a quoted section
// closed by the same quote (doubled, it stays open), "/*" opens a comment
// closed by "*/", and ":" or "?" is a marker, written as "?". A marker's name
// is either a run of letters, digits, "_" and "$", or every byte up to the
// next double quote when it begins with one. The byte right after the name
// is written as it is, without being looked at: ":a:b" gives "?:b" with the
// one marker "a". There are no "--" comments.
//
// Fails with "EOF in string detected" when a quoted section is open at the
// last byte of the text or a quoted marker name has no closing quote; "EOF in
// comment detected" when a comment is open at the last byte; "Parameter name
// expected" when a marker has no name. A quoted section counts as open at the
// last byte even when that byte closes it ("'x'" fails); the CR LF that ends
// every SQL text keeps this from mattering.
MarkerScan ScanMarkers(const std::string& sql_text);

#endif  // QELT_DB_PARAM_MARKERS_H_
