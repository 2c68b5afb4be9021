#include "qelt.h"

#include <sys/stat.h>


ProgramDir::ProgramDir() : program_(dir_.File("qelt")) {
  WriteFile(program_, ReadFile(QELT_BINARY));
  chmod(program_.c_str(), 0755);
}

ProcessResult ProgramDir::Run(ProcessOptions options) const {
  if (options.working_directory.empty()) options.working_directory = dir_.path();
  return RunProcess(program_, options);
}

ProcessResult ProgramDir::Run(const std::vector<std::string>& arguments) const {
  ProcessOptions options;
  options.arguments = arguments;
  return Run(options);
}

std::string FakeClientDir() { return FAKECLIENT_DIR; }
std::string FakeClientLackingFetchDir() { return FAKECLIENT_LACKING_FETCH_DIR; }
std::string FakeClientPre6Dir() { return FAKECLIENT_PRE6_DIR; }

std::string Lines(std::initializer_list<std::string> lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

std::string Banner() {
  return Lines({"", "QELT - Varnel", "qelt - one SQL statement, its rows as text", ""});
}

std::string Head(const std::string& database, const std::string& user,
                 const std::string& password, const std::string& sql) {
  return Banner() + Lines({"* Parameter: \"" + database + "\" \"" + user + "\" \"" +
                               std::string(password.size(), '*') + "\"",
                           "* SQL-Command: \"" + sql + "\""});
}

std::string InitLines() {
  return Lines({"> Init IBDatabase", "> Init Transaction", "> Init SQL-Engine"});
}

std::string SqlEcho(const std::string& sql_text) {
  std::string rule(79, '-');
  return Lines({"> Running SQL Command:", rule, sql_text, rule});
}

std::string Report(const std::string& kind, const std::string& message,
                   const std::string& module) {
  std::string period = !message.empty() && message.back() != '.' ? "." : "";
  return "Exception " + kind + " in Modul " + module + " bei XXXXXXXX.\n" + message + period +
         "\r\n";
}

std::string Masked(std::string output) {
  const std::string marker = " bei ";
  for (size_t at = output.find("Exception "); at != std::string::npos;
       at = output.find("Exception ", at + 1)) {
    size_t bei = output.find(marker, at);
    if (bei == std::string::npos || bei + marker.size() + 8 > output.size()) break;
    output.replace(bei + marker.size(), 8, "XXXXXXXX");
  }
  return output;
}
