#include "firebird.h"

#include <stdexcept>

#include "process.h"

namespace {

ProcessResult RunIsql(const std::vector<std::string>& arguments, const std::string& input) {
  ProcessOptions options;
  options.arguments = arguments;
  options.input = input;
  options.environment = {{"ISC_USER", "SYSDBA"}, {"ISC_PASSWORD", "masterkey"}};
  return RunProcess("/usr/bin/isql-fb", options);
}

}  // namespace

void CreateDatabase(const std::string& path, const std::string& script, int dialect) {
  std::string input = "SET WARNINGS OFF;\nSET SQL DIALECT " + std::to_string(dialect) + ";\nCREATE DATABASE '" +
                      path + "' USER 'SYSDBA' DEFAULT CHARACTER SET NONE;\nSET AUTODDL ON;\n" +
                      script + "\nCOMMIT;\n";
  ProcessResult r = RunIsql({"-q", "-b", "-e"}, input);
  if (r.exit_status != 0) {
    throw std::runtime_error("creating " + path + " failed:\n" + r.output + r.error_output);
  }
}

std::string Isql(const std::string& path, const std::string& sql) {
  ProcessResult r = RunIsql({"-q", "-b", path}, sql + "\n");
  if (r.exit_status != 0) throw std::runtime_error("isql failed:\n" + r.output + r.error_output);
  return r.output;
}

std::string QueryValue(const std::string& path, const std::string& sql) {
  std::string out = Isql(path, "SET LIST ON;\n" + sql + ";");
  // SET LIST prints "NAME   value".
  size_t start = out.find_first_not_of(" \r\n");
  if (start == std::string::npos) return "";
  size_t gap = out.find(' ', start);
  size_t value = out.find_first_not_of(' ', gap);
  size_t end = out.find_first_of("\r\n", value);
  return out.substr(value, end - value);
}
