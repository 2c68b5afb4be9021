#!/usr/bin/env bash
# Installs what qelt needs, builds it and runs every test: the suite, the
# same suite under the sanitizers, the Windows program under Wine, and a
# short run of every fuzz target.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

phase() { echo "== $1 (at ${SECONDS}s)"; }

phase "install"
bash scripts/install-deps.sh
phase "build"
bash scripts/build.sh

# The network tests need a server on loopback; one started here is stopped
# again however the tests end.
pidfile=$root/build/firebird-server.pid
bash scripts/firebird-server.sh start "$pidfile"
trap 'bash "$root/scripts/firebird-server.sh" stop "$pidfile"' EXIT
QELT_SERVER_PASSWORD=$(bash scripts/firebird-server.sh password)
export QELT_SERVER_PASSWORD

phase "tests"
(cd build && ctest --output-on-failure -j2 --timeout 300)
phase "tests under AddressSanitizer and UBSan"
bash scripts/sanitize.sh
phase "Windows program under Wine"
bash scripts/windows-test.sh
phase "fuzzing"
bash scripts/fuzz.sh
phase "done"
