// Loading the client library and locating code on POSIX.
#include <dlfcn.h>
#include <unistd.h>

#include <climits>

#include <string>

#include "platform/platform.h"

namespace platform {

namespace {

std::string BaseName(const std::string& path) {
  size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

const char* ClientLibraryFileName() { return "libfbclient.so.2"; }

void* LoadLibrary(const char* file_name) { return dlopen(file_name, RTLD_NOW | RTLD_LOCAL); }

void* LibrarySymbol(void* library, const char* name) { return dlsym(library, name); }

bool MissingSymbolError(std::string*) { return false; }

// The executable's own file name; the loader names the main program after
// however it was started, so it is taken from the kernel instead.
static std::string ProgramFileName() {
  char path[PATH_MAX];
  ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
  return n > 0 ? BaseName(std::string(path, static_cast<size_t>(n))) : "qelt";
}

CodeLocation LocateCode(const void* address) {
  Dl_info info;
  if (address && dladdr(address, &info) != 0) {
    auto offset = reinterpret_cast<uintptr_t>(address) - reinterpret_cast<uintptr_t>(info.dli_fbase);
    Dl_info own;
    bool in_program = dladdr(reinterpret_cast<const void*>(&LocateCode), &own) != 0 &&
                      own.dli_fbase == info.dli_fbase;
    std::string module = in_program || !info.dli_fname || !info.dli_fname[0]
                             ? ProgramFileName()
                             : BaseName(info.dli_fname);
    return {module, static_cast<uint32_t>(offset)};
  }
  // An address in no module: the program's own name and the address itself.
  return {ProgramFileName(), static_cast<uint32_t>(reinterpret_cast<uintptr_t>(address))};
}

}  // namespace platform
