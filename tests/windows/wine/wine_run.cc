#include "wine_run.h"

#include <cstdio>
#include <cstdlib>

namespace {

// Every Wine process of the tests shares the prefix in the cross build. No
// prompts to install Mono or Gecko when the prefix is brought up to date.
const char kWineEnvironment[] =
    "WINEPREFIX='" QELT_WINEPREFIX "' WINEDEBUG=-all WINEDLLOVERRIDES='mscoree,mshtml=' ";

// Wine's own services start with the first program of a prefix and live as
// long as its server. They are started here, holding none of a test's pipes,
// since a run's output ends only when every holder of the pipe has closed
// it. The server stays a minute after its last program.
void StartWine() {
  static const bool started = [] {
    std::string command = std::string("(") + kWineEnvironment + QELT_WINESERVER " -p60 && " +
                          kWineEnvironment + QELT_WINE " cmd /c exit) </dev/null >/dev/null 2>&1";
    return std::system(command.c_str()) == 0;
  }();
  if (!started) std::fprintf(stderr, "wine_run: Wine did not start\n");
}

void AddWineEnvironment(ProcessOptions* options) {
  StartWine();
  std::vector<std::pair<std::string, std::string>> wine = {
      {"WINEPREFIX", QELT_WINEPREFIX},
      {"WINEDEBUG", "-all"},
      {"WINEDLLOVERRIDES", "mscoree,mshtml="},
      {"LC_ALL", "en_US.UTF-8"}};
  // The test's own settings win.
  for (auto& variable : wine) {
    bool given = false;
    for (const auto& set : options->environment) given = given || set.first == variable.first;
    if (!given) options->environment.push_back(variable);
  }
}

void CopyFile(const std::string& from, const std::string& to) { WriteFile(to, ReadFile(from)); }

}  // namespace

std::string WindowsPath(const std::string& host_path) {
  std::string path = "Z:" + host_path;
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  return path;
}

ProcessResult RunUnderWine(const std::string& program, ProcessOptions options) {
  AddWineEnvironment(&options);
  options.arguments.insert(options.arguments.begin(), program);
  return RunProcess(QELT_WINE, options);
}

WineRun::WineRun(const std::string& script, const std::string& library_dir)
    : fake_(script, library_dir) {
  // The program is copied as "qelt"; Windows runs it by its proper name.
  std::rename(fake_.program().program().c_str(), File("qelt.exe").c_str());
  if (!library_dir.empty()) CopyFile(library_dir + "/gds32.dll", File("gds32.dll"));
}

std::string WineRun::Directory() const { return WindowsPath(fake_.program().path()) + "\\"; }

ProcessResult WineRun::Run(const std::vector<std::string>& arguments,
                           ProcessOptions options) const {
  std::string line = "qelt";
  for (const std::string& argument : arguments) line += " \"" + argument + "\"";
  return RunLine(line, std::move(options));
}

ProcessResult WineRun::RunLine(const std::string& command_line, ProcessOptions options) const {
  return Launch(WindowsPath(File("qelt.exe")), command_line, std::move(options));
}

ProcessResult WineRun::RunCmd(const std::string& command, ProcessOptions options) const {
  return Launch("C:\\windows\\system32\\cmd.exe", "cmd /c " + command, std::move(options));
}

ProcessResult WineRun::Launch(const std::string& program, const std::string& command_line,
                              ProcessOptions options) const {
  const std::string line_file = launch_.File("command_line");
  WriteFile(line_file, command_line);
  for (const auto& variable : fake_.Environment()) options.environment.push_back(variable);
  if (options.working_directory.empty()) options.working_directory = fake_.program().path();
  options.arguments = {program, WindowsPath(line_file)};
  return RunUnderWine(QELT_LAUNCHER, std::move(options));
}
