// Runs a program the way a script would, for the end-to-end tests.
//
//   ProcessOptions o;  o.arguments = {...};  o.environment = {{"K", "V"}};
//   ProcessResult r = RunProcess("/path/to/qelt", o);
//   r.exit_status, r.output (standard output's bytes, exactly)
//
// Standard input is /dev/null unless `input` is set (then a pipe holding
// it, closed after it) or `inherit_input_from` names a file. Standard error
// is captured separately, so a test can check that nothing goes there.
#ifndef QELT_TESTS_SUPPORT_PROCESS_H_
#define QELT_TESTS_SUPPORT_PROCESS_H_

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

struct ProcessOptions {
  std::vector<std::string> arguments;  // after the program name
  std::vector<std::pair<std::string, std::string>> environment;  // added or replaced
  std::string working_directory;                                 // empty: unchanged
  std::optional<std::string> input;
  // Standard output to this file instead of a pipe (then `output` is empty).
  std::string output_file;
  // Standard output a pipe that nobody reads: every write fails.
  bool output_closed = false;
  // The program's address space limit in bytes (0: none).
  size_t memory_limit = 0;
  // Called with the child's process id while it runs, before standard input
  // (with `input` set) is closed; output is drained after it returns.
  std::function<void(int pid)> while_running;
};

struct ProcessResult {
  int exit_status = -1;  // -1 when the program did not exit normally
  int signal = 0;
  std::string output;
  std::string error_output;
};

ProcessResult RunProcess(const std::string& program, const ProcessOptions& options);

// The content of a file, or "<missing>" when it can't be read.
std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& content);
bool FileExists(const std::string& path);

// A fresh directory under /tmp, removed with everything in it at the end.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

#endif  // QELT_TESTS_SUPPORT_PROCESS_H_
