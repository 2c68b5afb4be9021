// What the fake client library does differently where it is built as
// Windows' gds32.dll by the cross compiler rather than as libfbclient.so.2.
//
//   FAKE_EXPORT        marks an exported isc_ call (undecorated on x64)
//   kTraceOpenFlags    open(2) flags of the trace: appending, created when
//                      missing, bytes unchanged, not inherited by children
//   write, _exit       as on POSIX (MinGW's run-time has both)
#ifndef QELT_TESTS_FAKECLIENT_PORTABILITY_H_
#define QELT_TESTS_FAKECLIENT_PORTABILITY_H_

#include <fcntl.h>
#include <unistd.h>

#ifdef _WIN32
#define FAKE_EXPORT extern "C" __declspec(dllexport)
constexpr int kTraceOpenFlags = O_WRONLY | O_APPEND | O_CREAT | O_BINARY | O_NOINHERIT;
#else
#define FAKE_EXPORT extern "C" __attribute__((visibility("default")))
constexpr int kTraceOpenFlags = O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC;
#endif

#endif  // QELT_TESTS_FAKECLIENT_PORTABILITY_H_
