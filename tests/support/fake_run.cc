#include "fake_run.h"

#include <sstream>

FakeRun::FakeRun(const std::string& script, std::string library_dir)
    : library_dir_(std::move(library_dir)) {
  WriteFile(files_.File("script"), script);
  WriteFile(files_.File("trace"), "");
}

ProcessResult FakeRun::Run(const std::vector<std::string>& arguments) const {
  ProcessOptions options;
  options.arguments = arguments;
  return Run(options);
}

std::vector<std::pair<std::string, std::string>> FakeRun::Environment() const {
  return {{"LD_LIBRARY_PATH", library_dir_},
          {"QELT_FAKE_SCRIPT", files_.File("script")},
          {"QELT_FAKE_TRACE", files_.File("trace")}};
}

ProcessResult FakeRun::Run(ProcessOptions options) const {
  for (const auto& variable : Environment()) options.environment.push_back(variable);
  return program_.Run(options);
}

std::vector<std::string> FakeRun::TraceLines() const {
  std::vector<std::string> lines;
  std::istringstream in(ReadFile(files_.File("trace")));
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::vector<std::string> FakeRun::CallNames() const {
  std::vector<std::string> names;
  for (const std::string& line : TraceLines()) names.push_back(line.substr(0, line.find(' ')));
  return names;
}

std::vector<std::string> FakeRun::LinesOf(const std::string& name) const {
  std::vector<std::string> lines;
  for (const std::string& line : TraceLines()) {
    if (line.rfind(name + " ", 0) == 0) lines.push_back(line);
  }
  return lines;
}

bool FakeRun::EndsAnythingAfter(size_t after) const {
  std::vector<std::string> names = CallNames();
  for (size_t i = after + 1; i < names.size(); ++i) {
    if (names[i] == "isc_commit_transaction" || names[i] == "isc_rollback_transaction" ||
        names[i] == "isc_detach_database") {
      return true;
    }
  }
  return false;
}
