// The operating-system services qelt stands on, behind one small interface.
//
// Each function here has one implementation per platform: platform_posix.cc
// and friends on Linux, *_win32.cc on Windows. Nothing above this layer knows
// which one it runs on; no OS type appears in these declarations.
//
// Error numbers are in the run-time's numbering, the one the console and file
// errors report: 2 file not found, 4 too many open files, 5 access denied,
// 101 disk full; any other OS error keeps its own number.
//
// None of these functions throws, except where memory runs out.
#ifndef QELT_PLATFORM_PLATFORM_H_
#define QELT_PLATFORM_PLATFORM_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// ---- Command line -------------------------------------------------------------

// The arguments after the program's own name, as this platform splits its
// command line (see command_line.h); `argc` and `argv` are main()'s.
std::vector<std::string> CommandLineArguments(int argc, char** argv);

// Makes argument `position` (0 is the first after the program's name, as
// CommandLineArguments counts) unreadable in what the process list shows.
void HideArgument(int argc, char** argv, size_t position);

// ---- Console handles ------------------------------------------------------

enum class OutputKind {
  kCharDevice,   // a terminal: every console line is written out at its end
  kOther,        // a file or a pipe: written when the buffer is full
  kUnavailable,  // standard output can't be used at all
};

// What standard output is. Asked once, when the first console line is made.
OutputKind StandardOutputKind();

// Writes all `size` bytes to standard output. Returns 0, or the error number
// of the failed write (a short write counts as disk full, 101).
int WriteStandardOutput(const char* data, size_t size);

// Reads at most `capacity` bytes of standard input into `buffer`. Returns 0
// and sets *got (0 at the end of input; a pipe whose writer has gone is the
// end of input too), or the error number of the failed read. Returns 104 when
// standard input can't be used at all. On a terminal the key that ends a line
// is delivered as CR, as the console delivers ENTER.
int ReadStandardInput(char* buffer, size_t capacity, size_t* got);

// ---- Code page ---------------------------------------------------------------

// True when `byte` is the lead byte of a two-byte character in the system's
// code page; then it and the byte after it are one character.
bool IsLeadByte(unsigned char byte);

// ---- Program path -----------------------------------------------------------

// The running executable's full path up to and including its last directory
// separator; empty when it can't be found.
std::string ProgramDirectory();

// ---- File search and reading -----------------------------------------------

// True when a directory search with `pattern` ("*" and "?" are wildcards, a
// relative name starts at the current directory) finds an entry, the first
// entry is not a directory, and its last-write time in local time lies
// between 1 January 1980 and 31 December 2107.
bool FindPlainFile(const std::string& pattern);

// Opens the existing file `name` for reading and appends its whole content,
// up to its size as measured after opening, to *content. Returns false when
// the file can't be opened or read.
bool ReadWholeFile(const std::string& name, std::string* content);

// ---- Result file --------------------------------------------------------------

// A file written the careful way: the content goes to a new file beside the
// target, and Commit() puts it in the target's place only when every byte is
// out. Until then the target stays as it was; the destructor removes the new
// file of an uncommitted write. A target that exists and is not a regular
// file (a FIFO, a device) is written directly instead.
//
//   ReplacementFile f;
//   if (!f.Create(path)) ... can't be created
//   if (!f.Write(data, n) || !f.Commit()) ... write failed; target unchanged
class ReplacementFile {
 public:
  ReplacementFile() = default;
  ~ReplacementFile();
  ReplacementFile(const ReplacementFile&) = delete;
  ReplacementFile& operator=(const ReplacementFile&) = delete;

  bool Create(const std::string& target);
  bool Write(const char* data, size_t size);
  bool Commit();

 private:
  void Discard();

  intptr_t handle_ = -1;
  bool direct_ = false;
  std::string target_;
  std::string temp_path_;
};

// ---- Settings file -------------------------------------------------------------

// The value of `key` in `section` of the INI file `file`, or `default_value`
// when the file, the section or the key is missing. At most 2047 bytes.
std::string ReadProfileString(const std::string& file, const std::string& section,
                              const std::string& key,
                              const std::string& default_value);

// ---- Locale ----------------------------------------------------------------------

// The regional settings the result file's number and date forms come from,
// named as the Windows locale items they are on Windows.
enum class LocaleItem {
  kDecimalSeparator,   // LOCALE_SDECIMAL
  kDateSeparator,      // LOCALE_SDATE
  kTimeSeparator,      // LOCALE_STIME
  kShortDatePattern,   // LOCALE_SSHORTDATE, in the pattern language of date_pattern.h
  kLongDatePattern,    // LOCALE_SLONGDATE, likewise
  kAmString,           // LOCALE_S1159
  kPmString,           // LOCALE_S2359
  kHourLeadingZero,    // LOCALE_ITLZERO: "0" or "1"
  kClock,              // LOCALE_ITIME: "0" 12-hour, "1" 24-hour
  kTimeMarkPosition,   // LOCALE_ITIMEMARKPOSN: "0" after the time, "1" before
  kCalendarType,       // LOCALE_ICALENDARTYPE: "1" Gregorian
  kPrimaryLanguage,    // "zh", "ja", "ko", ... (ISO 639-1)
  kShortMonthName,     // index 1 to 12
  kLongMonthName,      // index 1 to 12
  kShortDayName,       // index 1 (Sunday) to 7 (Saturday)
  kLongDayName,        // index 1 (Sunday) to 7 (Saturday)
};

// Prepares the process's locale from the user's environment. Called once,
// before the first GetLocaleItem.
void InitLocale();

// Sets *text to the locale's value of `item` (`index` for the names) and
// returns true, or returns false when the locale does not supply it.
bool GetLocaleItem(LocaleItem item, int index, std::string* text);

// ---- Library loading --------------------------------------------------------------

// The client library's file name, as it is looked up and as messages name it.
const char* ClientLibraryFileName();

// Loads the library by name through the system's normal search; null when it
// can't be loaded. The library stays loaded until the process ends.
void* LoadLibrary(const char* file_name);

// The address of the exported symbol `name`, or null.
void* LibrarySymbol(void* library, const char* name);

// Asked right after LibrarySymbol gave null: true when the system reports a
// missing entry point as an error of its own, with *message set to the
// EWin32Error text ("Win32-Fehler. Code: {code}." LF and the system's text
// for the code; Windows); false when the caller describes it (POSIX).
bool MissingSymbolError(std::string* message);

// ---- Code location ---------------------------------------------------------------------

struct CodeLocation {
  std::string module;  // file name of the module, without directory
  uint32_t offset;     // the address's distance from the module's start
};

// Where `address` lies: the module that holds it and the offset into it. For
// an address in no module, the program's own file name and the address.
CodeLocation LocateCode(const void* address);

}  // namespace platform

#endif  // QELT_PLATFORM_PLATFORM_H_
