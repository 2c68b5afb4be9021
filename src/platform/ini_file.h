// Finding one value in the text of an INI file, the way the Windows profile
// reader finds it.
//
// FindProfileString works on the file's content and touches no file; the
// POSIX platform::ReadProfileString reads the file and hands it here. On
// Windows the system's own profile call does the whole job. Nothing fails: a
// value that can't be found is the default.
//
// The syntax it reads:
//   [Section]          a section line; text after the "]" is ignored
//   Key = Value        a key line in the section above it
//   ; anything         a comment line
// Lines end at CR LF, lone CR or lone LF. Blanks (space, tab) around section
// names, key names and values don't count. Section and key names are compared
// without regard to the case of the letters A to Z. A line in a section that
// holds no "=" is no key, and a line starting with "[" that holds no "]" is
// ignored. Only the first section of the wanted name is searched, and in it
// the first key of the wanted name counts.
#ifndef QELT_PLATFORM_INI_FILE_H_
#define QELT_PLATFORM_INI_FILE_H_

#include <string>

// The value of `key` in `section` of the INI text `content`, or
// `default_value` when the section or the key is missing. A value wrapped in
// a matching pair of quotes (both ' or both ") loses them; the result is cut
// to 2047 bytes, the default as well.
std::string FindProfileString(const std::string& content, const std::string& section,
                              const std::string& key, const std::string& default_value);

#endif  // QELT_PLATFORM_INI_FILE_H_
