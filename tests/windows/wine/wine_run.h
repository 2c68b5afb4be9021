// Runs the cross-built qelt.exe under Wine against the fake client library,
// for the Windows end-to-end tests.
//
//   WineRun run("statement\n  kind 2\n");
//   ProcessResult r = run.Run({"db.fdb", "SYSDBA", "pw", "insert ..."});
//   ProcessResult r = run.RunLine("qelt db.fdb SYSDBA \"\" pw sql");
//   run.fake().CallNames(), run.fake().TraceLines()   the fake's trace
//   run.Directory()      the program's directory as Windows names it
//
// Every run goes through launcher.exe, so qelt.exe gets exactly the command
// line given: Run() writes each argument in double quotes, RunLine() takes
// the whole line, the program's name first, and RunCmd() hands it to
// cmd.exe. qelt.exe and the fake's gds32.dll (none with an empty library
// directory) sit together in a fresh directory, which is also the current
// directory unless the options name another. The locale is en_US unless the
// options' environment sets LC_ALL.
#ifndef QELT_TESTS_WINDOWS_WINE_WINE_RUN_H_
#define QELT_TESTS_WINDOWS_WINE_WINE_RUN_H_

#include <string>
#include <vector>

#include "fake_run.h"
#include "process.h"

class WineRun {
 public:
  explicit WineRun(const std::string& script, const std::string& library_dir = FakeClientDir());

  ProcessResult Run(const std::vector<std::string>& arguments, ProcessOptions options = {}) const;
  ProcessResult RunLine(const std::string& command_line, ProcessOptions options = {}) const;
  // Runs "cmd /c `command`": its redirections keep a file open in a Windows
  // process (cmd.exe and, inherited, qelt.exe) while qelt.exe runs.
  ProcessResult RunCmd(const std::string& command, ProcessOptions options = {}) const;

  const FakeRun& fake() const { return fake_; }
  // A file in the program's directory, as a host path.
  std::string File(const std::string& name) const { return fake_.program().File(name); }
  // The program's directory as the program sees it: "Z:\tmp\...\".
  std::string Directory() const;

 private:
  ProcessResult Launch(const std::string& program, const std::string& command_line,
                       ProcessOptions options) const;

  FakeRun fake_;
  TempDir launch_;  // the command-line files, apart from the program
};

// The Windows name of a host path, on the drive Wine maps to "/".
std::string WindowsPath(const std::string& host_path);

// Runs a Windows program under Wine as it is, with Wine's own quoting of the
// arguments.
ProcessResult RunUnderWine(const std::string& program, ProcessOptions options);

#endif  // QELT_TESTS_WINDOWS_WINE_WINE_RUN_H_
