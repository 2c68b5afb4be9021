// Runs qelt against the recording fake client library.
//
//   FakeRun run("dialect 1\nstatement\n  kind 2\n");
//   ProcessResult r = run.Run({"db", "user", "pw", "insert ..."});
//   run.Calls()        every call, as "name key=value ..." without results
//   run.TraceLines()   every whole trace line
#ifndef QELT_TESTS_SUPPORT_FAKE_RUN_H_
#define QELT_TESTS_SUPPORT_FAKE_RUN_H_

#include <string>
#include <vector>

#include "qelt.h"

class FakeRun {
 public:
  explicit FakeRun(const std::string& script, std::string library_dir = FakeClientDir());

  ProcessResult Run(const std::vector<std::string>& arguments) const;
  ProcessResult Run(ProcessOptions options) const;

  // The variables that point a program at the fake, its script and trace.
  std::vector<std::pair<std::string, std::string>> Environment() const;

  std::vector<std::string> TraceLines() const;
  // The calls' names alone, in order.
  std::vector<std::string> CallNames() const;
  // The trace lines whose call is `name`.
  std::vector<std::string> LinesOf(const std::string& name) const;
  // True when any call after line `after` (0-based) ends or detaches the
  // transaction or the connection.
  bool EndsAnythingAfter(size_t after) const;

  const ProgramDir& program() const { return program_; }

 private:
  TempDir files_;
  ProgramDir program_;
  std::string library_dir_;
};

#endif  // QELT_TESTS_SUPPORT_FAKE_RUN_H_
