// Running the built qelt for the end-to-end tests, and the texts its
// dialogue is made of.
//
// A ProgramDir holds a copy of the program, so the settings file and the
// default result file of a run sit beside it, as for an installed program.
#ifndef QELT_TESTS_SUPPORT_QELT_H_
#define QELT_TESTS_SUPPORT_QELT_H_

#include <initializer_list>
#include <string>
#include <vector>

#include "process.h"

class ProgramDir {
 public:
  ProgramDir();
  const std::string& program() const { return program_; }
  std::string File(const std::string& name) const { return dir_.File(name); }
  const std::string& path() const { return dir_.path(); }

  // Runs the program with `options` (arguments, environment, ...).
  ProcessResult Run(ProcessOptions options) const;
  ProcessResult Run(const std::vector<std::string>& arguments) const;

 private:
  TempDir dir_;
  std::string program_;
};

// Where the test libraries are.
std::string FakeClientDir();
std::string FakeClientLackingFetchDir();
std::string FakeClientPre6Dir();

// Each text followed by CR LF.
std::string Lines(std::initializer_list<std::string> lines);

// The banner: an empty line, the two banner lines, an empty line.
std::string Banner();

// The banner and the two echo lines of a run with these arguments.
std::string Head(const std::string& database, const std::string& user,
                 const std::string& password, const std::string& sql);

// The three progress lines of a connection that opened.
std::string InitLines();

// The echo of an SQL text: running line, rule, the text, rule.
std::string SqlEcho(const std::string& sql_text);

// The error report line as Masked() shows it: the offset as XXXXXXXX, the
// period added to the message as the program adds it.
std::string Report(const std::string& kind, const std::string& message,
                   const std::string& module = "qelt");

// `output` with the offset of every error report replaced by XXXXXXXX, as
// offsets move with every build.
std::string Masked(std::string output);

#endif  // QELT_TESTS_SUPPORT_QELT_H_
