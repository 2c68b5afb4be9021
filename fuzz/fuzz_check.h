// What every fuzz target needs beside its parser: the input as a string, and
// a failed promise reported like a crash, so libFuzzer keeps the input and the
// run fails.
#ifndef QELT_FUZZ_FUZZ_CHECK_H_
#define QELT_FUZZ_FUZZ_CHECK_H_

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

inline std::string InputText(const uint8_t* data, size_t size) {
  return std::string(reinterpret_cast<const char*>(data), size);
}

inline void Check(bool holds, const char* promise) {
  if (holds) return;
  std::fprintf(stderr, "broken promise: %s\n", promise);
  std::abort();
}

#endif  // QELT_FUZZ_FUZZ_CHECK_H_
