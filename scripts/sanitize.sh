#!/usr/bin/env bash
# Builds qelt, its tests and the fake client library with AddressSanitizer
# and UndefinedBehaviorSanitizer into build-asan/ and runs the whole test
# suite there; the end-to-end tests then run the sanitized qelt. Any finding
# ends the process that made it with a report and a failing test.
# The server tests run when QELT_SERVER_PASSWORD is set and a server listens
# (scripts/test.sh does both), and skip otherwise.
# The real client library and its embedded engine, loaded by the sanitized
# qelt, run with the leak checker on as well: they leave nothing it reports,
# so no suppressions are needed.
set -euo pipefail
cd "$(dirname "$0")/.."

# -O1 keeps the build short and the reports' lines exact.
flags="-O1 -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_C_FLAGS="$flags" -DCMAKE_CXX_FLAGS="$flags" \
  -DCMAKE_EXE_LINKER_FLAGS="$flags" -DCMAKE_SHARED_LINKER_FLAGS="$flags" >/dev/null
cmake --build build-asan -j2

# A finding exits with a status no test expects of qelt.
export UBSAN_OPTIONS=print_stacktrace=1:exitcode=86
export ASAN_OPTIONS=exitcode=86:detect_leaks=1:strict_string_checks=1
ASAN_OPTIONS+=:detect_stack_use_after_return=1

# Two kinds of test can't run as they are written under the sanitizers:
# - the leak checker stops the threads through ptrace at exit, so it can't
#   work in a process that strace traces; those tests run without it.
# - the sanitizers reserve terabytes of address space for their shadow
#   memory, so a process under an address-space limit can't even start; the
#   tests of exhausted memory run in the plain build only.
under_ptrace='ResultFileFakeTest\.TheSettingsFileIsReadTwice'
address_limit='LimitsTest\.ExhaustedMemory'

cd build-asan
status=0
ctest --output-on-failure -j2 --timeout 300 -E "$under_ptrace|$address_limit" || status=1
ASAN_OPTIONS=$ASAN_OPTIONS:detect_leaks=0 \
  ctest --output-on-failure -j2 --timeout 300 -R "$under_ptrace" || status=1
exit "$status"
