// The console: standard output as qelt writes it, and the wait for ENTER.
//
// Every line any part of the program shows goes through ConsoleLine(): the
// text's bytes and CR LF are appended to a 128-byte buffer. On a terminal the
// buffer is written out at the end of every line; on a file or a pipe only
// when it is full and at the end of the process (FlushConsoleAtExit()). After
// each line, a failed write of standard output raises EInOutError with the
// error number; further bytes of that line are dropped, as the stream stops
// accepting writes once one has failed.
//
// The error report goes through the same stream with ConsoleReportLine(),
// which never raises. WaitForEnter() reads and discards standard input up to a
// CR, a Ctrl+Z or the end of input; a failed read raises EInOutError.
#ifndef QELT_PLATFORM_CONSOLE_H_
#define QELT_PLATFORM_CONSOLE_H_

#include <string_view>

// Writes one console line; raises EInOutError when standard output fails.
void ConsoleLine(std::string_view text);

// Writes one console line and ignores any failure.
void ConsoleReportLine(std::string_view text);

// Writes out what is left in the buffer; a failure is ignored.
void FlushConsoleAtExit();

// Waits for ENTER on standard input; raises EInOutError on a failed read.
void WaitForEnter();

#endif  // QELT_PLATFORM_CONSOLE_H_
