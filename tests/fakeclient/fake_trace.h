// The trace of the fake client library: one line per call, appended with one
// write(2) to the file named by QELT_FAKE_TRACE before the call returns.
//
// A line is the function's name, its arguments as key=value, " -> ", and what
// it gave back (status=N for the calls that return a status, then the
// values they set). Values are written as:
//   numbers and handles   in decimal; a null pointer as "null"
//   byte blocks           in brackets, two lowercase hex digits per byte,
//                         separated by blanks: dpb=[01 1c 06 53 59 53 44 42 41]
//                         (an empty block is [])
//   texts                 in double quotes, bytes 32 to 126 as they are except
//                         \\ and \", and \t \r \n \0 or \xNN for other bytes:
//                         sql="SELECT 1\r\n"
// README.md lists the line of every call.
#ifndef QELT_TESTS_FAKECLIENT_FAKE_TRACE_H_
#define QELT_TESTS_FAKECLIENT_FAKE_TRACE_H_

#include <cstddef>
#include <string>

namespace fake {

// "[01 1c]" for the bytes.
std::string Hex(const void* data, size_t size);
std::string Hex(const std::string& bytes);

// "\"...\"" with the escapes above.
std::string Quoted(const void* data, size_t size);
std::string Quoted(const std::string& text);

// Opens the trace file (appending, created when missing). Returns false when
// it can't be opened.
bool OpenTrace(const char* path);

// Appends `line` and a line feed in one write. Does nothing without a trace.
void WriteTraceLine(const std::string& line);

}  // namespace fake

#endif  // QELT_TESTS_FAKECLIENT_FAKE_TRACE_H_
