// Text as a list of lines: how a file's bytes become lines (a SQL file, a
// settings file), and how lines become one text again.
//
// SplitSqlLines takes a loaded file's content; JoinSqlLines gives the SQL text
// of a list of lines. SplitAtLineBreaks is the split alone, for text that
// is not a file's content. Bytes pass through unchanged apart from the line
// breaks; none of these fails.
#ifndef QELT_PLATFORM_TEXT_LINES_H_
#define QELT_PLATFORM_TEXT_LINES_H_

#include <string>
#include <vector>

// Splits `text` into lines. A line ends at CR LF, at a lone CR or at a lone
// LF, so LF CR is two line ends. The end of the text ends the last line: a
// last line without a break counts, a final break adds no empty line. Every
// other byte, NUL included, belongs to a line. Empty text gives no lines.
std::vector<std::string> SplitAtLineBreaks(const std::string& text);

// The lines of a SQL file's content: as SplitAtLineBreaks, except that a NUL
// byte ends the content (it and everything after it are ignored).
std::vector<std::string> SplitSqlLines(const std::string& content);

// The SQL text: every line followed by CR LF; no lines give the empty text.
std::string JoinSqlLines(const std::vector<std::string>& lines);

#endif  // QELT_PLATFORM_TEXT_LINES_H_
