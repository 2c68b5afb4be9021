#include "process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <stdexcept>

extern char** environ;

namespace {

void Fail(const char* what) { throw std::runtime_error(std::string(what) + ": " + std::strerror(errno)); }

}  // namespace

ProcessResult RunProcess(const std::string& program, const ProcessOptions& options) {
  int out_pipe[2], err_pipe[2], in_pipe[2];
  if (pipe(out_pipe) != 0 || pipe(err_pipe) != 0 || pipe(in_pipe) != 0) Fail("pipe");
  signal(SIGPIPE, SIG_IGN);
  if (options.output_closed) close(out_pipe[0]);

  pid_t pid = fork();
  if (pid < 0) Fail("fork");
  if (pid == 0) {
    if (options.input) {
      dup2(in_pipe[0], 0);
    } else {
      int null_fd = open("/dev/null", O_RDONLY);
      dup2(null_fd, 0);
    }
    if (!options.output_file.empty()) {
      int fd = open(options.output_file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
      dup2(fd, 1);
    } else {
      dup2(out_pipe[1], 1);
    }
    dup2(err_pipe[1], 2);
    if (options.memory_limit > 0) {
      rlimit limit = {options.memory_limit, options.memory_limit};
      setrlimit(RLIMIT_AS, &limit);
    }
    for (int fd : {out_pipe[0], out_pipe[1], err_pipe[0], err_pipe[1], in_pipe[0], in_pipe[1]}) {
      close(fd);
    }
    for (const auto& [key, value] : options.environment) setenv(key.c_str(), value.c_str(), 1);
    if (!options.working_directory.empty() && chdir(options.working_directory.c_str()) != 0) {
      _exit(126);
    }
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& a : options.arguments) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execv(program.c_str(), argv.data());
    _exit(127);
  }
  close(out_pipe[1]);
  close(err_pipe[1]);
  close(in_pipe[0]);
  if (options.input) {
    const std::string& data = *options.input;
    size_t done = 0;
    while (done < data.size()) {
      ssize_t n = write(in_pipe[1], data.data() + done, data.size() - done);
      if (n <= 0) break;
      done += static_cast<size_t>(n);
    }
  }
  // Standard input stays open while the caller looks at the running program.
  if (options.while_running) options.while_running(pid);
  close(in_pipe[1]);

  ProcessResult result;
  pollfd fds[2] = {{options.output_closed ? -1 : out_pipe[0], POLLIN, 0},
                   {err_pipe[0], POLLIN, 0}};
  std::string* sinks[2] = {&result.output, &result.error_output};
  int open_count = options.output_closed ? 1 : 2;
  while (open_count > 0) {
    if (poll(fds, 2, -1) < 0) {
      if (errno == EINTR) continue;
      Fail("poll");
    }
    for (int i = 0; i < 2; ++i) {
      if (fds[i].fd < 0 || !(fds[i].revents & (POLLIN | POLLHUP | POLLERR))) continue;
      char buffer[65536];
      ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
      if (n > 0) {
        sinks[i]->append(buffer, static_cast<size_t>(n));
      } else {
        close(fds[i].fd);
        fds[i].fd = -1;
        --open_count;
      }
    }
  }
  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  if (WIFEXITED(status)) result.exit_status = WEXITSTATUS(status);
  if (WIFSIGNALED(status)) result.signal = WTERMSIG(status);
  return result;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return "<missing>";
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

void WriteFile(const std::string& path, const std::string& content) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << content;
  if (!out) throw std::runtime_error("can't write " + path);
}

bool FileExists(const std::string& path) { return access(path.c_str(), F_OK) == 0; }

TempDir::TempDir() {
  char pattern[] = "/tmp/qelt-test-XXXXXX";
  if (!mkdtemp(pattern)) Fail("mkdtemp");
  path_ = pattern;
  // The server runs as its own user and must reach databases made here.
  chmod(path_.c_str(), 0777);
}

TempDir::~TempDir() {
  std::string command = "rm -rf '" + path_ + "'";
  if (std::system(command.c_str()) != 0) {
    // Leftovers in /tmp do no harm to later runs.
  }
}
