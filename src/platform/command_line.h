// The program's arguments, taken from the command line.
//
// On Windows the process receives its command line as one string and splits
// it itself: SplitCommandLine. On POSIX the shell has split the line already
// and ArgumentsFromArgv keeps only the rules that still apply there. Both
// return the arguments after the program's own name, argument 1 first; an
// argument beyond the last is for the caller to take as the empty string.
//
// An argument holds at most 4096 bytes: a longer one is cut to its first 4096
// bytes, the rest of it is dropped, and the arguments after it keep their
// positions. Neither function fails.
#ifndef QELT_PLATFORM_COMMAND_LINE_H_
#define QELT_PLATFORM_COMMAND_LINE_H_

#include <string>
#include <vector>

// Splits a whole command line, the program's name first, by these rules:
// bytes 1 to 32 separate arguments (a run of them is one separation), bytes
// from 128 up are ordinary; where an argument would begin, a pair of double
// quotes is skipped like a separator, so "" gives no argument and the later
// ones move up; inside an argument a double quote opens a stretch that runs
// to the next double quote or to the end, in which separators belong to the
// argument; the quotes themselves are dropped and nothing escapes them (a
// backslash is ordinary). The line ends at its end or at a NUL byte, as the
// command line is a C string. A lone double quote at the very end begins an
// argument and so gives an empty one.
std::vector<std::string> SplitCommandLine(const std::string& command_line);

// The arguments argv[1] to argv[argc - 1]. An empty element is no argument:
// the ones after it move up, as the empty pair of double quotes does on
// Windows. Double quotes in an element are the user's own (the shell removed
// the quoting ones) and are kept.
std::vector<std::string> ArgumentsFromArgv(int argc, char** argv);

#endif  // QELT_PLATFORM_COMMAND_LINE_H_
